#include "records/gui/Tfrm_TorzsKeszulek_Szerkeszt.h"

#include "foundation/Conversions.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "records/CustomerWindows.h"
#include "records/DeviceTypes.h"
#include "records/Devices.h"
#include "records/TypeWindows.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kml {

// One labelled row of a page.
struct Tfrm_TorzsKeszulek_Szerkeszt::PageRow {
    enum Kind { Type, Customer, Serial, Text, Number, Date, Memo };
    Kind kind;
    const char* label;
    const char* field = "";
};

namespace {

QToolButton* ChooseButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("..."));
    return button;
}

QPushButton* SmallButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Tfrm_TorzsKeszulek_Szerkeszt::Tfrm_TorzsKeszulek_Szerkeszt(QWidget* parent)
    : EditWindow(QStringLiteral("frm_TorzsKeszulek_Szerkeszt"), QStringLiteral("keszulek"), parent) {
    setWindowTitle(Beall().keszulekstr + device_text::EditorCaptionSuffix);
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(m_pages, 1);

    using R = PageRow;
    addPage(QStringLiteral("Készülék adatlap"), {{R::Type, "Gyártó / Típus"},
                                                 {R::Customer, "Ügyfél"},
                                                 {R::Serial, "Gy.szám", "gysz"},
                                                 {R::Serial, "Gy.szám 2.", "gysz2"},
                                                 {R::Number, "Gyártás éve", "evjarat"},
                                                 {R::Text, "Garanciajegy", "garjegy"},
                                                 {R::Date, "Garancia lejárat", "dat_garilejar"},
                                                 {R::Date, "Vásárolva", "dat_vasarol"},
                                                 {R::Date, "Üzembe helyezve", "dat_uzembe"},
                                                 {R::Memo, "Megjegyzés", "megjegyzes"}});
    addPage(QStringLiteral("Gépjármű adatlap"), {{R::Type, "Gyártó / Típus"},
                                                 {R::Customer, "Ügyfél"},
                                                 {R::Serial, "Rendszám", "gysz"},
                                                 {R::Serial, "Alvázszám", "gysz2"},
                                                 {R::Serial, "Motorkód", "gysz3"},
                                                 {R::Number, "Gyártás éve", "evjarat"},
                                                 {R::Number, "Motortérfogat (cm3)", "cm3"},
                                                 {R::Number, "Teljesítmény (kW)", "kw"},
                                                 {R::Date, "Műszaki vizsga", "dat_muszaki"},
                                                 {R::Memo, "Megjegyzés", "megjegyzes"}});
    addPage(QStringLiteral("SIM kártya"), {{R::Customer, "Ügyfél"},
                                           {R::Type, "Típus"},
                                           {R::Serial, "Telefonszám", "gysz"},
                                           {R::Date, "Vásárolva", "dat_vasarol"},
                                           {R::Memo, "Megjegyzés", "megjegyzes"}});

    const std::vector<DevicePage> shown = DevicePagesFor(Beall().prgtipus);
    for (int page = 0; page < m_pages->count(); ++page)
        m_pages->setTabVisible(page, std::find(shown.begin(), shown.end(), DevicePage(page)) != shown.end());
    m_pages->setCurrentIndex(int(shown.front()));
    m_serialNumbers.at(size_t(shown.front()))->setFocus(Qt::OtherFocusReason);

    addOkCancel(layout);
    setCtrlEnterAccepts(true);
    resize(620, 480);
}

QWidget* Tfrm_TorzsKeszulek_Szerkeszt::addPage(const QString& title, std::initializer_list<PageRow> rows) {
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(m_pages->count() + 1));
    auto* grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    const QString prefix = QStringLiteral("p%1_").arg(m_pages->count() + 1);
    int line = 0;
    bool serialSeen = false;
    for (const PageRow& row : rows) {
        const QString field = QString::fromLatin1(row.field);
        auto* label = new QLabel(QString::fromUtf8(row.label), page);
        if (row.kind == PageRow::Memo) {
            auto* memo = new QPlainTextEdit(page);
            memo->setObjectName(prefix + field);
            memo->setTabChangesFocus(true);
            bindMemo(memo, field);
            label->setBuddy(memo);
            grid->addWidget(label, line, 0, Qt::AlignTop);
            grid->addWidget(memo, line, 1);
            grid->setRowStretch(line++, 1);
            continue;
        }
        // The edit, and beside it its buttons.
        auto* edit = new QLineEdit(page);
        label->setBuddy(edit);
        auto* value = new QHBoxLayout;
        value->addWidget(edit, 1);
        grid->addWidget(label, line, 0);
        grid->addLayout(value, line++, 1);
        switch (row.kind) {
        case PageRow::Type:
        case PageRow::Customer: {
            const bool type = row.kind == PageRow::Type;
            edit->setObjectName(prefix + (type ? QStringLiteral("tipus") : QStringLiteral("ugyfel")));
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::NoFocus);
            (type ? m_typeBoxes : m_customerBoxes).push_back(edit);
            QToolButton* choose = ChooseButton(page);
            choose->setObjectName(edit->objectName() + QStringLiteral("Choose"));
            connect(choose, &QToolButton::clicked, this,
                    type ? &Tfrm_TorzsKeszulek_Szerkeszt::chooseType
                         : &Tfrm_TorzsKeszulek_Szerkeszt::chooseCustomer);
            value->addWidget(choose);
            break;
        }
        case PageRow::Serial:
            edit->setObjectName(prefix + field);
            bindText(edit, field, {.upperCase = true});
            if (!serialSeen)
                m_serialNumbers.push_back(edit);
            serialSeen = true;
            break;
        case PageRow::Text:
            edit->setObjectName(prefix + field);
            bindText(edit, field);
            break;
        case PageRow::Number:
            edit->setObjectName(prefix + field);
            bindNumber(edit, field);
            edit->setFixedWidth(110);
            value->addStretch(1);
            break;
        case PageRow::Date: {
            edit->setObjectName(prefix + field);
            bindDisplay(edit, field);
            edit->setFocusPolicy(Qt::NoFocus);
            edit->setFixedWidth(110);
            QPushButton* set = SmallButton(device_text::SetDate, page);
            set->setObjectName(edit->objectName() + QStringLiteral("Set"));
            QPushButton* clear = SmallButton(device_text::ClearDate, page);
            clear->setObjectName(edit->objectName() + QStringLiteral("Clear"));
            connect(set, &QPushButton::clicked, this, [this, field] {
                if (AskDeviceDate(table(), field))
                    showValues();
            });
            connect(clear, &QPushButton::clicked, this, [this, field] {
                ClearDeviceDate(table(), field);
                showValues();
            });
            value->addWidget(set);
            value->addWidget(clear);
            value->addStretch(1);
            break;
        }
        case PageRow::Memo:
            break;
        }
    }
    if (!serialSeen)
        m_serialNumbers.push_back(nullptr);
    m_pages->addTab(page, title);
    return page;
}

void Tfrm_TorzsKeszulek_Szerkeszt::showNames() {
    const QString type = TypeText(VarInt(fieldValue(QStringLiteral("tipus"))));
    const QString customer =
        LookupName(VarInt(fieldValue(QStringLiteral("ugyfel"))), QStringLiteral("ugyfel"));
    for (QLineEdit* box : m_typeBoxes)
        box->setText(type);
    for (QLineEdit* box : m_customerBoxes)
        box->setText(customer);
}

void Tfrm_TorzsKeszulek_Szerkeszt::chooseType() {
    const ChosenRow type = OpenDeviceTypeList(KeyOf(fieldValue(QStringLiteral("tipus"))), true);
    if (type.key) {
        setFieldValue(QStringLiteral("tipus"), *type.key);
        for (QLineEdit* box : m_typeBoxes)
            box->setText(type.name);
    }
    focusSerialNumber();
}

void Tfrm_TorzsKeszulek_Szerkeszt::chooseCustomer() {
    const ChosenRow customer =
        OpenCustomerList(KeyOf(fieldValue(QStringLiteral("ugyfel"))), true, CustomerChooserCaption);
    if (customer.key) {
        setFieldValue(QStringLiteral("ugyfel"), *customer.key);
        for (QLineEdit* box : m_customerBoxes)
            box->setText(customer.name);
    }
    focusSerialNumber();
}

void Tfrm_TorzsKeszulek_Szerkeszt::focusSerialNumber() {
    QLineEdit* serial = m_serialNumbers.at(size_t(m_pages->currentIndex()));
    if (serial && serial->isVisible() && serial->isEnabled())
        serial->setFocus(Qt::OtherFocusReason);
}

RowKey Tfrm_TorzsKeszulek_Szerkeszt::Run(RowKey device, RowKey type, RowKey customer) {
    Tfrm_TorzsKeszulek_Szerkeszt window(QApplication::activeWindow());
    if (!device) {
        window.startNew();
        window.setFieldValue(QStringLiteral("tipus"), type ? QVariant(*type) : QVariant());
        window.setFieldValue(QStringLiteral("ugyfel"), customer ? QVariant(*customer) : QVariant());
    } else if (!window.startEdit(*device)) {
        return std::nullopt;
    }
    window.showNames();
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey();
}

} // namespace kml
