#include "worksheets/gui/Tfrm_SorHozza.h"

#include "components/NumberFormat.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/LastAction.h"
#include "foundation/Settings.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/gui/EditWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString WindowName = QStringLiteral("frm_SorHozza");

QString EditText(double value) {
    return FloatText(QStringLiteral(","), value);
}

double EditValue(const QLineEdit* edit) {
    return StrFloat(edit->text(), 0);
}

QPushButton* NewButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(true);
    return button;
}

} // namespace

Tfrm_SorHozza::Tfrm_SorHozza(int sheet, int line, const LineRecord& record, int programType, QWidget* parent)
    : EditWindow(WindowName, QString(), parent), m_sheet(sheet), m_line(line), m_programType(programType),
      m_record(record), m_read(record), m_firstItem(record.tetel) {
    setWindowTitle(QStringLiteral("Sor hozzáadása"));

    const bool vehicle = programType == 2;
    const bool service = programType == 5;

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(programType));
    m_pages->addTab(page, LinePageCaption(programType));

    // Created in the order Enter moves through them.
    m_code = new QLineEdit(page);
    m_code->setObjectName(QStringLiteral("edtTetelKod"));
    m_name = new QLineEdit(page);
    m_name->setObjectName(QStringLiteral("edtTetelNev"));
    for (QLineEdit* shown : {m_code, m_name}) {
        shown->setReadOnly(true);
        shown->setFocusPolicy(Qt::NoFocus);
    }
    m_chooseItem = NewButton(QStringLiteral("..."), "btnTetel", page);
    m_chooseItem->setToolTip(QStringLiteral("Másik tétel választása"));
    m_listPrice = numberEdit("edtArTeljes");
    m_received = numberEdit("edtKedvKap");
    m_applyReceived = NewButton(QStringLiteral("="), "btnKedvKap", page);
    m_applyReceived->setToolTip(QStringLiteral("Beszerzési ár a listaárból és a kapott kedvezményből"));
    m_given = numberEdit("edtKedvAd");
    m_applyGiven = NewButton(QStringLiteral("="), "btnKedvAd", page);
    m_applyGiven->setToolTip(QStringLiteral("Egységár a listaárból és az adott kedvezményből"));
    m_quantity = numberEdit("edtDb");
    m_unitPrice = numberEdit("edtEgysar");
    m_total = new QLineEdit(page);
    m_total->setObjectName(QStringLiteral("edtOsszar"));
    m_total->setReadOnly(true);
    m_total->setFocusPolicy(Qt::NoFocus);
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_purchasePrice = numberEdit("edtBeszar");
    m_remark = new QComboBox(page);
    m_remark->setObjectName(QStringLiteral("cmbMegjegyzes"));
    m_remark->setEditable(true);
    m_remark->setInsertPolicy(QComboBox::NoInsert);
    m_remark->lineEdit()->setMaxLength(255);
    m_other = new QLineEdit(page);
    m_other->setObjectName(QStringLiteral("edtEgyeb"));
    m_other->setMaxLength(50);
    m_grossUp = NewButton(QStringLiteral("Bruttósítás"), "btnBrutto", page);

    auto* grid = new QGridLayout(page);
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* field, QWidget* beside = nullptr) {
        auto* label = new QLabel(caption, page);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, 1, beside ? 1 : 2);
        if (beside)
            grid->addWidget(beside, row, 2);
        ++row;
        return label;
    };
    addRow(QStringLiteral("Tétel kód"), m_code);
    addRow(QStringLiteral("Tétel neve"), m_name, m_chooseItem);
    QLabel* listLabel = addRow(QStringLiteral("Listaár"), m_listPrice);
    QLabel* receivedLabel = addRow(QStringLiteral("Kapott kedv%"), m_received, m_applyReceived);
    QLabel* givenLabel = addRow(QStringLiteral("Adott kedv%"), m_given, m_applyGiven);
    addRow(QStringLiteral("Mennyiség"), m_quantity);
    addRow(QStringLiteral("Egységár"), m_unitPrice);
    addRow(QStringLiteral("Összesen"), m_total);
    QLabel* purchaseLabel = addRow(QStringLiteral("Beszerzési ár"), m_purchasePrice);
    addRow(QStringLiteral("Megjegyzés"), m_remark);
    addRow(vehicle ? QStringLiteral("Gyári cikkszám") : QStringLiteral("Egyéb"), m_other);
    grid->addWidget(m_grossUp, row++, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    for (QWidget* w : std::initializer_list<QWidget*>{listLabel, m_listPrice, receivedLabel, m_received,
                                                      m_applyReceived, givenLabel, m_given, m_applyGiven})
        w->setVisible(vehicle);
    for (QWidget* w : std::initializer_list<QWidget*>{purchaseLabel, m_purchasePrice, m_grossUp})
        w->setVisible(!service);

    m_ok = NewButton(QStringLiteral("OK"), "btnOk", this);
    m_cancel = NewButton(QStringLiteral("Mégsem"), "btnMegsem", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    FillCombo(m_remark, RemarkListSql(m_record.tetel));
    showFields();

    onLeave(m_quantity, [this] { RecalculateTotal(m_record); });
    onLeave(m_unitPrice, [this] {
        RecalculateTotal(m_record);
        if (m_programType == 2)
            DiscountFromUnitPrice(m_record);
    });
    for (QLineEdit* edit : {m_listPrice, m_received, m_given, m_purchasePrice})
        onLeave(edit, [] {});

    connect(m_applyReceived, &QPushButton::clicked, this, [this] {
        readFields();
        PurchaseFromReceivedDiscount(m_record);
        showFields();
        m_purchasePrice->setFocus(Qt::OtherFocusReason);
    });
    connect(m_applyGiven, &QPushButton::clicked, this, [this] {
        readFields();
        UnitPriceFromGivenDiscount(m_record);
        showFields();
        m_unitPrice->setFocus(Qt::OtherFocusReason);
    });
    connect(m_grossUp, &QPushButton::clicked, this, &Tfrm_SorHozza::grossUp);
    connect(m_chooseItem, &QPushButton::clicked, this, &Tfrm_SorHozza::changeItem);
    // Ctrl+Enter leaves the field first, which recalculates it.
    setButtons(m_ok, m_cancel);
    setCtrlEnterAccepts(true);
    for (QPushButton* button : {m_ok, m_cancel})
        button->setAutoDefault(true); // Enter presses the focused one

    resize(460, sizeHint().height());
    (vehicle ? m_listPrice : m_quantity)->setFocus(Qt::OtherFocusReason);
}

QLineEdit* Tfrm_SorHozza::numberEdit(const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9 ,.]*")), edit));
    return edit;
}

void Tfrm_SorHozza::readFields() {
    m_record.db = EditValue(m_quantity);
    m_record.egysar = EditValue(m_unitPrice);
    m_record.beszar = EditValue(m_purchasePrice);
    m_record.ar_teljes = EditValue(m_listPrice);
    m_record.kedv_kap = EditValue(m_received);
    m_record.kedv_ad = EditValue(m_given);
    m_record.megjegyzes = m_remark->currentText().left(255);
    m_record.egyeb = m_other->text().left(50);
}

void Tfrm_SorHozza::showFields() {
    m_code->setText(m_record.tetel_kod);
    m_name->setText(m_record.tetel_nev);
    m_quantity->setText(EditText(m_record.db));
    m_unitPrice->setText(EditText(m_record.egysar));
    m_total->setText(FormatNumber(Beall().formatFt, m_record.osszar));
    m_purchasePrice->setText(EditText(m_record.beszar));
    m_listPrice->setText(EditText(m_record.ar_teljes));
    m_received->setText(EditText(m_record.kedv_kap));
    m_given->setText(EditText(m_record.kedv_ad));
    m_remark->setCurrentText(m_record.megjegyzes);
    m_other->setText(m_record.egyeb);
}

void Tfrm_SorHozza::onLeave(QLineEdit* field, std::function<void()> recalculate) {
    setLeaveHandler(field, [this, recalculate = std::move(recalculate)] {
        readFields();
        recalculate();
        showFields();
    });
}

QStringList Tfrm_SorHozza::fieldTexts() const {
    QStringList texts;
    for (const QLineEdit* edit :
         {m_quantity, m_unitPrice, m_purchasePrice, m_listPrice, m_received, m_given, m_other})
        texts << edit->text();
    texts << m_remark->currentText();
    return texts;
}

bool Tfrm_SorHozza::isDirty() const {
    return m_record.tetel != m_firstItem || fieldTexts() != m_firstTexts;
}

void Tfrm_SorHozza::showEvent(QShowEvent* event) {
    if (m_firstTexts.isEmpty())
        m_firstTexts = fieldTexts();
    EditWindow::showEvent(event);
}

void Tfrm_SorHozza::grossUp() {
    SetLastAction(WindowName + QStringLiteral(".btnBrutto"));
    readFields();
    GrossUp(m_record, Beall().afakulcs);
    showFields();
    // A line is grossed up once per opening. The focus goes back to the
    // price it changed, so that the next Enter cannot land on "Mégsem".
    m_grossUp->setEnabled(false);
    m_unitPrice->setFocus(Qt::OtherFocusReason);
}

void Tfrm_SorHozza::changeItem() {
    SetLastAction(WindowName + QStringLiteral(".btnTetel"));
    readFields();
    if (ChangeLineItem(m_record))
        showFields();
}

void Tfrm_SorHozza::accept() {
    SetLastAction(WindowName + QStringLiteral(".btnOk"));
    leaveFocusedField();
    readFields();
    if (const std::optional<QString> problem = LineProblem(m_record)) {
        // Nothing is saved and everything typed stays for correcting.
        ShowError(*problem, this);
        return;
    }
    switch (
        SaveLine(m_sheet, m_line, m_record, m_line >= 0 ? std::optional<LineRecord>(m_read) : std::nullopt)) {
    case SheetWrite::Written:
        break;
    case SheetWrite::Refused:
        // The sheet may no longer take the line; the work-sheet editor shows why.
        discardAndClose();
        return;
    case SheetWrite::Stale:
        // Changed on another workstation meanwhile: said so; what was typed
        // stays in the window.
        return;
    }
    QDialog::accept();
}

bool Tfrm_SorHozza::Run(qlonglong sheet, RowKey line, QWidget* parent) {
    const int programType = Beall().prgtipus;
    const std::optional<LineRecord> record = StartLineEdit(sheet, line, programType);
    if (!record)
        return false;
    Tfrm_SorHozza window(int(sheet), line ? int(*line) : -1, *record, programType,
                         parent ? parent : QApplication::activeWindow());
    return window.exec() == QDialog::Accepted;
}

} // namespace kml
