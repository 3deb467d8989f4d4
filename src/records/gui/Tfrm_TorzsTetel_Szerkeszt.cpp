#include "records/gui/Tfrm_TorzsTetel_Szerkeszt.h"

#include "foundation/Dialogs.h"
#include "foundation/Settings.h"
#include "records/Catalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kml {

Tfrm_TorzsTetel_Szerkeszt::Tfrm_TorzsTetel_Szerkeszt(int programType, QWidget* parent)
    : EditWindow(QStringLiteral("frm_TorzsTetel_Szerkeszt"), QStringLiteral("tetel"), parent) {
    setWindowTitle(catalogue_text::EditorCaption);
    const ItemEditorPage page = ItemEditorPageFor(programType);

    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    auto* sheet = new QWidget(pages);
    pages->addTab(sheet, page.caption);
    layout->addWidget(pages, 1);
    m_form = new QFormLayout(sheet);

    // Created in the order Enter moves through them. A field may have a
    // button after it.
    const auto edit = [this, sheet](const char* field, const QString& caption, bool number,
                                    FieldOptions options = {}, const QString& buttonCaption = {}) {
        auto* box = new QLineEdit(sheet);
        box->setObjectName(QLatin1String(field));
        number ? bindNumber(box, box->objectName(), options) : bindText(box, box->objectName(), options);
        m_fields[box->objectName()] = box;
        if (buttonCaption.isEmpty()) {
            m_form->addRow(caption, box);
            return static_cast<QPushButton*>(nullptr);
        }
        auto* button = new QPushButton(buttonCaption, sheet);
        button->setObjectName(box->objectName() + QStringLiteral("Button"));
        button->setAutoDefault(false);
        auto* line = new QHBoxLayout;
        line->addWidget(box, 1);
        line->addWidget(button);
        m_form->addRow(caption, line);
        return button;
    };

    edit("tetel_kod", QStringLiteral("Tétel kód (cikkszám)"), false);
    edit("tetel_nev", QStringLiteral("Tétel neve"), false, {.upcaseFirst = true});
    edit("ar_besz", QStringLiteral("Vételi ár"), true);
    edit("ar_elad", QStringLiteral("Eladási ár"), true);
    if (page.listPrices) {
        edit("ar_teljes", QStringLiteral("Listaár"), true);
        QPushButton* received =
            edit("kedv_kap", QStringLiteral("Kapott kedv%"), true, {}, QStringLiteral("Vételi ár számítása"));
        connect(received, &QPushButton::clicked, this,
                [this] { priceButton(&ApplyReceivedDiscount, "ar_besz"); });
        QPushButton* given =
            edit("kedv_ad", QStringLiteral("Adott kedv%"), true, {}, QStringLiteral("Eladási ár számítása"));
        connect(given, &QPushButton::clicked, this, [this] { priceButton(&ApplyGivenDiscount, "ar_elad"); });
        m_grossUp = new QPushButton(QStringLiteral("Bruttósítás"), sheet);
        m_grossUp->setObjectName(QStringLiteral("btnBrutto"));
        m_grossUp->setAutoDefault(false);
        m_form->addRow(QString(), m_grossUp);
        connect(m_grossUp, &QPushButton::clicked, this, [this] { grossUp(); });
        edit("egyeb", QStringLiteral("Gyári cikkszám"), false);
    }
    auto* service = new QCheckBox(QStringLiteral("Szolgáltatás?"), sheet);
    service->setObjectName(QStringLiteral("ezszolg"));
    bindFlag(service, service->objectName());
    m_form->addRow(QString(), service);
    if (page.unit)
        edit("mert", QStringLiteral("Mértékegység"), false);
    auto* remark = new QPlainTextEdit(sheet);
    remark->setObjectName(QStringLiteral("megjegyzes"));
    remark->setTabChangesFocus(true);
    bindMemo(remark, remark->objectName());
    m_form->addRow(QStringLiteral("Megjegyzés"), remark);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    auto* cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    setButtons(m_ok, cancel);
    setCtrlEnterAccepts(true);
    SetItemLimits(limits());

    resize(480, page.listPrices ? 460 : 340);
    m_fields.at(QStringLiteral("tetel_kod"))->setFocus(Qt::OtherFocusReason);
}

void Tfrm_TorzsTetel_Szerkeszt::startNewItem(bool automaticCode) {
    startNew();
    m_proposedCode = StartNewItem(table(), automaticCode);
    showValues();
}

void Tfrm_TorzsTetel_Szerkeszt::priceButton(void (*apply)(Table&), const QString& focusField) {
    // A discount out of 0-100 or a price that is no number is refused first.
    if (!table().isActive() || !limits().check(table(), this))
        return;
    apply(table());
    showValues();
    m_fields.at(focusField)->setFocus(Qt::OtherFocusReason);
}

void Tfrm_TorzsTetel_Szerkeszt::grossUp() {
    if (!table().isActive() || !limits().check(table(), this))
        return;
    GrossUpPrices(table(), Beall().afakulcs);
    showValues();
    // Once per opening: a second press would add the tax again.
    m_grossUp->setEnabled(false);
    m_ok->setFocus(Qt::OtherFocusReason);
}

bool Tfrm_TorzsTetel_Szerkeszt::validate() {
    if (const QString problem = ItemRemarkProblem(table()); !problem.isEmpty()) {
        ShowError(problem, this);
        return false;
    }
    LeaveCodeToServer(table(), m_proposedCode);
    return true;
}

RowKey Tfrm_TorzsTetel_Szerkeszt::Run(RowKey item, QWidget* parent) {
    Tfrm_TorzsTetel_Szerkeszt window(Beall().prgtipus, parent ? parent : QApplication::activeWindow());
    if (!item)
        window.startNewItem(Beall().autocikkszam);
    else if (!window.startEdit(*item))
        return std::nullopt;
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey();
}

} // namespace kml
