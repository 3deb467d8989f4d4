#include "worksheets/gui/Tfrm_Munkalap.h"

#include "components/NumberFormat.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/Flags.h"
#include "foundation/LastAction.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/ListDefinition.h"
#include "patterns/ListSearch.h"
#include "patterns/gui/ListGrid.h"
#include "records/Catalogue.h"
#include "records/DeviceWindows.h"
#include "records/TextWindows.h"
#include "reports/WorkSheetPrint.h"
#include "worksheets/LineItems.h"
#include "worksheets/PlannerWindows.h"
#include "worksheets/WorkSheetLists.h"
#include "worksheets/WorkSheetWindows.h"
#include "worksheets/gui/GarmentDrawing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString WindowName = QStringLiteral("frm_Munkalap");

QString Money(const QVariant& value) {
    return value.isValid() && !value.isNull() ? FormatNumber(Beall().formatFt, value.toDouble()) : QString();
}

QString DateText(const QVariant& value) {
    const QDate date = value.toDate();
    return value.isValid() && !value.isNull() && date.isValid() ? date.toString(QStringLiteral("yyyy.MM.dd"))
                                                                : QString();
}

QLineEdit* NewEdit(QWidget* parent, const char* name, bool readOnly = false) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (readOnly) {
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
    }
    return edit;
}

// A read-only box shows its text from the start.
void ShowText(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

QLabel* NewLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QPushButton* NewButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QPlainTextEdit* NewMemo(QWidget* parent, const char* name) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setTabChangesFocus(true);
    return memo;
}

void SetReadOnly(QWidget* widget, bool readOnly) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setReadOnly(readOnly);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
        memo->setReadOnly(readOnly);
    else
        widget->setEnabled(!readOnly);
}

RowColouring LineColouring() {
    RowColouring colouring;
    colouring.style = &ServiceLineStyle;
    return colouring;
}

} // namespace

Tfrm_Munkalap::Tfrm_Munkalap(const SheetOpening& opening, QWidget* parent)
    : EditWindow(WindowName, QStringLiteral("munkalap"), parent), m_sheet(opening.sheet),
      m_customer(opening.customer), m_type(opening.type), m_device(opening.device),
      m_programType(Beall().prgtipus), m_newSheet(opening.created) {
    setWindowTitle(worksheet_text::EditorCaption);
    setResizable(true);
    setMinimumSize(967, 602);
    m_garment = GarmentPageVisible(m_programType, m_type);

    const QString sheet = QString::number(m_sheet);
    m_lines.setSql(
        QStringLiteral("SELECT * FROM vw_munkalap_tetel\nWHERE munkalap = %1\nORDER BY munkalap_tetel;")
            .arg(sheet));
    Field& quantity = m_lines.fieldSettings(QStringLiteral("db"));
    quantity.tag = 1; // the quantity format
    quantity.alignment = Qt::AlignRight | Qt::AlignVCenter;
    m_employees.setSql(
        QStringLiteral("SELECT * FROM vw_munkalap_dolgozo\nWHERE munkalap = %1\nORDER BY dolgozo_nev;")
            .arg(sheet));
    m_sums.setSql(QStringLiteral("SELECT * FROM vw_mlapsum\nWHERE munkalap = %1;").arg(sheet));

    createActions();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildDescriptionPage(), QStringLiteral("Munka leírása"));
    m_pages->addTab(buildLinesPage(), QStringLiteral("Felhasznált, vagy szükséges anyagok"));
    m_pages->addTab(buildEmployeesPage(), QStringLiteral("Dolgozók"));
    m_pages->addTab(buildGarmentPage(), QStringLiteral("Póló"));
    m_pages->addTab(buildGasPage(), QStringLiteral("Gázkészülék"));
    m_pages->setTabVisible(GarmentPage, m_garment);
    m_pages->setTabVisible(GasPage, GasPageVisible(m_programType));
    layout->addWidget(m_pages, 1);
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { updateActions(); });

    setButtons(m_ok, m_cancel);
    loadSheet();
    m_lastMemo = m_remarks;
    resize(1000, 640);
}

Tfrm_Munkalap::~Tfrm_Munkalap() = default;

// ---- Building ---------------------------------------------------------------------

QAction* Tfrm_Munkalap::newAction(const char* name, const QString& caption, const QString& shortcut,
                                  void (Tfrm_Munkalap::*slot)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, name, slot] {
        run(name);
        (this->*slot)();
    });
    QWidget::addAction(action);
    m_actions[QLatin1String(name)] = action;
    return action;
}

void Tfrm_Munkalap::createActions() {
    newAction("aUj", QStringLiteral("Új sor"), QStringLiteral("Ins"), &Tfrm_Munkalap::newRow);
    newAction("aSzerkeszt", QStringLiteral("Szerkeszt"), QStringLiteral("F2"), &Tfrm_Munkalap::editLine);
    newAction("aTorol", QStringLiteral("Töröl"), QStringLiteral("Ctrl+Del"), &Tfrm_Munkalap::deleteRow);
    newAction("aArModosit", QStringLiteral("Ár módosít"), QStringLiteral("F4"), &Tfrm_Munkalap::changePrice);
    newAction("aKedv", QStringLiteral("Kedvezmény"), QStringLiteral("F6"), &Tfrm_Munkalap::lineDiscount);
    newAction("aKedv2", QStringLiteral("Kedvezmény összesből"), QStringLiteral("F7"),
              &Tfrm_Munkalap::sheetDiscount);
    newAction("aBeszur", QStringLiteral("Beszúr"), QStringLiteral("F3"), &Tfrm_Munkalap::insertText);
    newAction("aNyomtat", QStringLiteral("Nyomtat"), QStringLiteral("Ctrl+P"), &Tfrm_Munkalap::printSheet);
    newAction("aNyomtatKep", QStringLiteral("Előkép"), QStringLiteral("Ctrl+K"),
              &Tfrm_Munkalap::previewSheet);
    newAction("EditCut1", QStringLiteral("Kivág"), QStringLiteral("Ctrl+X"), &Tfrm_Munkalap::cutText);
    newAction("EditCopy1", QStringLiteral("Másol"), QStringLiteral("Ctrl+C"), &Tfrm_Munkalap::copyText);
    newAction("EditPaste1", QStringLiteral("Beilleszt"), QStringLiteral("Ctrl+V"), &Tfrm_Munkalap::pasteText);
}

QAction* Tfrm_Munkalap::action(const QString& name) const {
    return m_actions.at(name);
}

QWidget* Tfrm_Munkalap::buildHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);

    auto* sheetGroup = new QGroupBox(QStringLiteral("Munkalap"), header);
    sheetGroup->setObjectName(QStringLiteral("GroupBox1"));
    m_number = NewEdit(sheetGroup, "edtMunkalap", true);
    QFont bold = m_number->font();
    bold.setBold(true);
    m_number->setFont(bold);
    m_customerName = NewEdit(sheetGroup, "edtUgyfel", true);
    m_status = NewEdit(sheetGroup, "edtStatusz", true);
    m_arrived = NewEdit(sheetGroup, "edtDatum", true);
    m_arrivedEdit = new QDateEdit(sheetGroup);
    m_arrivedEdit->setObjectName(QStringLiteral("dtpDatum"));
    m_deadlineDate = new QDateEdit(sheetGroup);
    m_deadlineDate->setObjectName(QStringLiteral("dtpHatid"));
    m_deadlineTime = new QTimeEdit(sheetGroup);
    m_deadlineTime->setObjectName(QStringLiteral("tmHatid"));
    for (QDateEdit* date : {m_arrivedEdit, m_deadlineDate}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    }
    m_deadlineTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_planner = NewButton(QStringLiteral("Naptár"), "btnNaptar", sheetGroup);
    m_finished = NewEdit(sheetGroup, "edtKesz", true);
    m_deviceText = NewEdit(sheetGroup, "edtKeszulek", true);
    m_deviceButton = NewButton(QStringLiteral("..."), "btnKeszulek", sheetGroup);
    m_deviceButton->setMaximumWidth(40);
    m_deviceButton->setToolTip(QStringLiteral("Adatlap"));
    m_odometer = NewEdit(sheetGroup, "edtKmora");

    const bool arrivalEditable = Beall().mlapdatummodosit;
    m_arrived->setVisible(!arrivalEditable);
    m_arrivedEdit->setVisible(arrivalEditable);
    auto* arrival = new QHBoxLayout;
    arrival->addWidget(m_arrived);
    arrival->addWidget(m_arrivedEdit);
    auto* deadline = new QHBoxLayout;
    deadline->addWidget(m_deadlineDate);
    deadline->addWidget(m_deadlineTime);
    deadline->addWidget(m_planner);
    deadline->addStretch(1);
    auto* device = new QHBoxLayout;
    device->addWidget(m_deviceText, 1);
    device->addWidget(m_deviceButton);

    auto* grid = new QGridLayout(sheetGroup);
    grid->addWidget(NewLabel(QStringLiteral("Munkalap"), m_number, sheetGroup), 0, 0);
    grid->addWidget(m_number, 0, 1);
    grid->addWidget(NewLabel(QStringLiteral("Státusz"), m_status, sheetGroup), 0, 2);
    grid->addWidget(m_status, 0, 3);
    grid->addWidget(NewLabel(QStringLiteral("Ügyfél"), m_customerName, sheetGroup), 1, 0);
    grid->addWidget(m_customerName, 1, 1, 1, 3);
    grid->addWidget(NewLabel(QStringLiteral("Beérkezett"),
                             arrivalEditable ? static_cast<QWidget*>(m_arrivedEdit) : m_arrived, sheetGroup),
                    2, 0);
    grid->addLayout(arrival, 2, 1);
    grid->addWidget(NewLabel(QStringLiteral("Elkészült"), m_finished, sheetGroup), 2, 2);
    grid->addWidget(m_finished, 2, 3);
    grid->addWidget(NewLabel(QStringLiteral("Kezdés (behívás)"), m_deadlineDate, sheetGroup), 3, 0);
    grid->addLayout(deadline, 3, 1, 1, 3);
    m_deviceLabel = NewLabel(Beall().keszulekstr.isEmpty() ? QStringLiteral("Készülék") : Beall().keszulekstr,
                             m_deviceText, sheetGroup);
    grid->addWidget(m_deviceLabel, 4, 0);
    grid->addLayout(device, 4, 1, 1, 3);
    m_odometerLabel = NewLabel(QStringLiteral("Km óra állás"), m_odometer, sheetGroup);
    grid->addWidget(m_odometerLabel, 5, 0);
    grid->addWidget(m_odometer, 5, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    const bool devices = Beall().vankeszulek;
    for (QWidget* w : std::initializer_list<QWidget*>{m_deviceLabel, m_deviceText, m_deviceButton})
        w->setVisible(devices);
    for (QWidget* w : std::initializer_list<QWidget*>{m_odometerLabel, m_odometer})
        w->setVisible(m_programType == 2);

    // The type panel and the amounts.
    auto* right = new QVBoxLayout;
    m_typePanel = new QLabel(header);
    m_typePanel->setObjectName(QStringLiteral("pnlTipus"));
    m_typePanel->setAlignment(Qt::AlignCenter);
    m_typePanel->setFrameShape(QFrame::StyledPanel);
    QFont big = m_typePanel->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 5);
    m_typePanel->setFont(big);
    m_typePanel->setMinimumHeight(m_typePanel->fontMetrics().height() + 12);
    right->addWidget(m_typePanel);

    auto* totals = new QGroupBox(QStringLiteral("Összesen"), header);
    totals->setObjectName(QStringLiteral("GroupBox2"));
    m_total = NewEdit(totals, "edtOsszar", true);
    m_discount = NewEdit(totals, "edtKedvezmeny");
    m_advance = NewEdit(totals, "edtEloleg");
    m_payable = NewEdit(totals, "edtUtolag", true);
    auto* totalsGrid = new QGridLayout(totals);
    totalsGrid->addWidget(NewLabel(QStringLiteral("Összár"), m_total, totals), 0, 0);
    totalsGrid->addWidget(m_total, 0, 1);
    totalsGrid->addWidget(NewLabel(QStringLiteral("Kedvezmény"), m_discount, totals), 0, 2);
    totalsGrid->addWidget(m_discount, 0, 3);
    totalsGrid->addWidget(NewLabel(QStringLiteral("Előleg"), m_advance, totals), 1, 0);
    totalsGrid->addWidget(m_advance, 1, 1);
    totalsGrid->addWidget(NewLabel(QStringLiteral("Utólag"), m_payable, totals), 1, 2);
    totalsGrid->addWidget(m_payable, 1, 3);
    for (QLineEdit* money : {m_total, m_discount, m_advance, m_payable})
        money->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont payableFont = m_payable->font();
    payableFont.setBold(true);
    m_payable->setFont(payableFont);
    right->addWidget(totals);

    auto* invoiceGroup = new QGroupBox(QStringLiteral("Számlaszám"), header);
    invoiceGroup->setObjectName(QStringLiteral("GroupBox3"));
    m_invoice = NewEdit(invoiceGroup, "edtSzlaszam");
    auto* invoiceRow = new QHBoxLayout(invoiceGroup);
    invoiceRow->addWidget(NewLabel(QStringLiteral("Kiadott számla"), m_invoice, invoiceGroup));
    invoiceRow->addWidget(m_invoice, 1);
    right->addWidget(invoiceGroup);
    right->addStretch(1);

    auto* buttons = new QVBoxLayout;
    m_preview = NewButton(QStringLiteral("Előkép"), "btnElokep", header);
    m_printButton = NewButton(QStringLiteral("Nyomtat"), "btnNyomtat", header);
    m_ok = NewButton(QStringLiteral("OK"), "btnOk", header);
    m_cancel = NewButton(QStringLiteral("Mégsem"), "btnMegsem", header);
    for (QPushButton* b : {m_preview, m_printButton, m_ok, m_cancel}) {
        b->setMinimumWidth(96);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    connect(m_preview, &QPushButton::clicked, action(QStringLiteral("aNyomtatKep")), &QAction::trigger);
    connect(m_printButton, &QPushButton::clicked, action(QStringLiteral("aNyomtat")), &QAction::trigger);

    row->addWidget(sheetGroup, 5);
    row->addLayout(right, 4);
    row->addLayout(buttons);

    bindNumber(m_odometer, QStringLiteral("kmora"));
    bindNumber(m_discount, QStringLiteral("ar_kedvezmeny"));
    bindNumber(m_advance, QStringLiteral("ar_eloleg"));
    bindText(m_invoice, QStringLiteral("szlaszam"));
    for (QLineEdit* amount : {m_discount, m_advance})
        connect(amount, &QLineEdit::textEdited, this, [this] { showPayable(); });
    setLeaveHandler(m_discount, [this] { amountLeft(QStringLiteral("ar_kedvezmeny")); });
    setLeaveHandler(m_advance, [this] { amountLeft(QStringLiteral("ar_eloleg")); });
    connect(m_deadlineDate, &QDateEdit::dateChanged, this, [this] { syncDates(); });
    connect(m_deadlineTime, &QTimeEdit::timeChanged, this, [this] { syncDates(); });
    connect(m_arrivedEdit, &QDateEdit::dateChanged, this, [this] { syncDates(); });
    connect(m_deviceButton, &QPushButton::clicked, this, [this] {
        run("btnKeszulek");
        editDevice();
    });
    connect(m_planner, &QPushButton::clicked, this, [this] {
        run("btnNaptar");
        bookPlanner();
    });
    m_lockedFields.insert(m_lockedFields.end(),
                          {m_odometer, m_invoice, m_advance, m_discount, m_arrivedEdit, m_deadlineTime});
    return header;
}

QWidget* Tfrm_Munkalap::buildDescriptionPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsLeiras"));
    auto* tools = new QToolBar(page);
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char* name : {"EditCut1", "EditCopy1", "EditPaste1", "aBeszur"})
        tools->addAction(action(QLatin1String(name)));
    m_request = NewMemo(page, "memPanasz");
    m_workDone = NewMemo(page, "memVegzett");
    m_remarks = NewMemo(page, "memMegjegyzes");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(tools);
    for (const auto& [caption, memo] : {std::pair{QStringLiteral("Ügyfél kérése"), m_request},
                                        std::pair{QStringLiteral("Végzett munka"), m_workDone},
                                        std::pair{QStringLiteral("Megjegyzés"), m_remarks}}) {
        QLabel* label = NewLabel(caption, memo, page);
        label->setContentsMargins(0, 3, 0, 0); // room for the accents of capitals (Ü)
        layout->addWidget(label);
        layout->addWidget(memo, 1);
        memo->installEventFilter(this);
    }
    bindMemo(m_request, QStringLiteral("panasz"));
    bindMemo(m_workDone, QStringLiteral("vegzett_munka"));
    bindMemo(m_remarks, QStringLiteral("megjegyzes"));
    m_lockedFields.insert(m_lockedFields.end(), {m_request, m_workDone, m_remarks});
    return page;
}

QWidget* Tfrm_Munkalap::buildLinesPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsAnyagok"));
    auto* tools = new QToolBar(page);
    tools->setObjectName(QStringLiteral("ToolBar2"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char* name : {"aUj", "aSzerkeszt", "aTorol", "aArModosit"})
        tools->addAction(action(QLatin1String(name)));
    auto* discountMenu = new QMenu(page);
    discountMenu->addAction(action(QStringLiteral("aKedv")));
    discountMenu->addAction(action(QStringLiteral("aKedv2")));
    m_discountButton = new QToolButton(page);
    m_discountButton->setObjectName(QStringLiteral("tbKedvezmeny"));
    m_discountButton->setText(QStringLiteral("Kedvezmény"));
    m_discountButton->setMenu(discountMenu);
    m_discountButton->setPopupMode(QToolButton::InstantPopup);
    m_discountButtonAction = tools->addWidget(m_discountButton);

    // The short grid for the air-conditioning and gas trades, the long one
    // for the others.
    const bool shortGrid = m_programType == 1 || m_programType == 4;
    m_linesGrid = new QTableView(page);
    m_linesGrid->setObjectName(shortGrid ? QStringLiteral("DBGrid2") : QStringLiteral("DBGrid3"));
    const std::vector<GridColumn> columns =
        shortGrid
            ? std::vector<GridColumn>{ColumnOf("tetel_nev", "Tétel", 34),
                                      ColumnOf("megjegyzes", "Megjegyzés", 30),
                                      ColumnOf("db", "Mennyiség", 11), ColumnOf("egysar", "Egységár", 12),
                                      ColumnOf("osszar", "Össz ár", 13)}
            : std::vector<GridColumn>{
                  ColumnOf("tetel_nev", "Tétel", 17),      ColumnOf("megjegyzes", "Megjegyzés", 13),
                  ColumnOf("egyeb", "Gyári cikkszám", 11), ColumnOf("db", "Mennyiség", 8),
                  ColumnOf("ar_teljes", "Teljes ár", 8),   ColumnOf("kedv_kap", "Kedv.kap%", 8),
                  ColumnOf("beszar", "Besz.ár", 8),        ColumnOf("kedv_ad", "Kedv.ad%", 8),
                  ColumnOf("egysar", "Egységár", 9),       ColumnOf("osszar", "Össz ár", 9)};
    BindQueryGrid(m_linesGrid, m_lines, columns, LineColouring());
    m_linesGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_linesGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        for (const char* name : {"aUj", "aSzerkeszt", "aTorol", "aArModosit", "aKedv", "aKedv2"})
            menu.addAction(action(QLatin1String(name)));
        menu.exec(m_linesGrid->viewport()->mapToGlobal(at));
    });
    if (!shortGrid)
        connect(m_linesGrid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            if (index.isValid())
                action(QStringLiteral("aSzerkeszt"))->trigger();
        });
    connect(&m_lines, &Query::currentChanged, this, [this] { showLineDetail(); });

    // The sums of the sheet's services and goods.
    auto* sums = new QGroupBox(page);
    sums->setObjectName(QStringLiteral("GroupBox4"));
    auto* sumsGrid = new QGridLayout(sums);
    const QStringList heads{QStringLiteral("Besz.érték"), QStringLiteral("Elad.érték"),
                            QStringLiteral("Haszon")};
    for (int c = 0; c < heads.size(); ++c)
        sumsGrid->addWidget(new QLabel(heads[c], sums), 0, c + 1, Qt::AlignCenter);
    const auto sumField = [&](const char* field, int row, int column) {
        QLineEdit* edit = NewEdit(sums, field, true);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_sumFields[QLatin1String(field)] = edit;
        sumsGrid->addWidget(edit, row, column);
    };
    sumsGrid->addWidget(new QLabel(QStringLiteral("Szolgáltatás"), sums), 1, 0);
    sumField("szolgbesz", 1, 1);
    sumField("szolgelad", 1, 2);
    sumField("szolghaszon", 1, 3);
    sumsGrid->addWidget(new QLabel(QStringLiteral("Áru"), sums), 2, 0);
    sumField("termbesz", 2, 1);
    sumField("termelad", 2, 2);
    sumField("termhaszon", 2, 3);
    sumsGrid->addWidget(new QLabel(QStringLiteral("Teljes haszon"), sums), 3, 2, Qt::AlignRight);
    sumField("osszhaszon", 3, 3);

    m_partNumber = new QLabel(page);
    m_partNumber->setObjectName(QStringLiteral("lblEgyeb"));
    m_partNumber->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* below = new QHBoxLayout;
    below->addWidget(m_partNumber, 1, Qt::AlignTop);
    below->addWidget(sums);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(tools);
    layout->addWidget(m_linesGrid, 1);
    layout->addLayout(below);
    return page;
}

QWidget* Tfrm_Munkalap::buildEmployeesPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsDolgozok"));
    auto* tools = new QToolBar(page);
    tools->setObjectName(QStringLiteral("ToolBar3"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(action(QStringLiteral("aUj")));
    tools->addAction(action(QStringLiteral("aTorol")));
    m_employeesGrid = new QTableView(page);
    m_employeesGrid->setObjectName(QStringLiteral("DBGrid1"));
    BindQueryGrid(m_employeesGrid, m_employees, {ColumnOf("dolgozo_nev", "Dolgozó", 100)});
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(tools);
    layout->addWidget(m_employeesGrid, 1);
    return page;
}

QWidget* Tfrm_Munkalap::buildGarmentPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsPolo"));
    auto* fields = new QGridLayout;
    QLineEdit* size = NewEdit(page, "edtM04");
    fields->addWidget(NewLabel(QStringLiteral("Méret, darab"), size, page), 0, 0);
    fields->addWidget(size, 0, 1);
    bindText(size, QStringLiteral("m04"));
    m_lockedFields.push_back(size);
    const struct {
        const char* field;
        const char* caption;
    } picks[] = {{"m05", "Fajta"},
                 {"m06", "Férfi vagy női"},
                 {"m07", "Szín"},
                 {"m08", "Grafika típusa"},
                 {"m09", "Egyéb"}};
    int row = 1;
    for (const auto& pick : picks) {
        auto* combo = new QComboBox(page);
        combo->setObjectName(QStringLiteral("cmb") + QString::fromLatin1(pick.field).toUpper());
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (m_garment)
            FillCombo(combo, GarmentChoicesSql(QLatin1String(pick.field), m_type));
        fields->addWidget(NewLabel(QString::fromUtf8(pick.caption), combo, page), row, 0);
        fields->addWidget(combo, row++, 1);
        bindComboText(combo, QLatin1String(pick.field));
        m_lockedFields.push_back(combo);
    }

    auto* positions = new QGroupBox(QStringLiteral("Kép helye"), page);
    positions->setObjectName(QStringLiteral("GroupBox5"));
    auto* positionGrid = new QGridLayout(positions);
    const auto positionCombo = [&](QComboBox*& combo, const char* name, const QString& caption,
                                   GarmentSide side, const QString& field, int at) {
        combo = new QComboBox(positions);
        combo->setObjectName(QLatin1String(name));
        combo->addItems(GarmentChoices(side));
        positionGrid->addWidget(NewLabel(caption, combo, positions), at, 0);
        positionGrid->addWidget(combo, at, 1);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, field](int index) {
            if (m_loading || index < 0)
                return;
            setFieldValue(field, QString::number(index));
            showGarment();
        });
        m_lockedFields.push_back(combo);
    };
    positionCombo(m_front, "cmbElol", QStringLiteral("Elöl"), GarmentSide::Front, QStringLiteral("m01"), 0);
    positionCombo(m_side, "cmbOldal", QStringLiteral("Oldal"), GarmentSide::Side, QStringLiteral("m02"), 1);
    positionCombo(m_back, "cmbHatul", QStringLiteral("Hátul"), GarmentSide::Back, QStringLiteral("m03"), 2);

    m_drawing = new GarmentDrawing(page);
    m_drawing->setObjectName(QStringLiteral("Polo"));
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(positions);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 2);
    layout->addWidget(m_drawing, 3);
    return page;
}

QWidget* Tfrm_Munkalap::buildGasPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsGaz"));
    auto* group = new QGroupBox(QStringLiteral("Füstgázelemzési adatok"), page);
    group->setObjectName(QStringLiteral("GroupBox6"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("min"), group), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("max"), group), 0, 2, Qt::AlignCenter);
    const QStringList names{QStringLiteral("Tgas"),       QStringLiteral("O2"),
                            QStringLiteral("CO2"),        QStringLiteral("CO"),
                            QStringLiteral("Harmatpont"), QStringLiteral("Légfelesleg"),
                            QStringLiteral("Hatásfok")};
    for (int i = 0; i < names.size(); ++i) {
        const QString n = QString::number(i + 1);
        auto* low = new QLineEdit(group);
        auto* high = new QLineEdit(group);
        low->setObjectName(QStringLiteral("edtGmin") + n);
        high->setObjectName(QStringLiteral("edtGmax") + n);
        grid->addWidget(NewLabel(names[i], low, group), i + 1, 0);
        grid->addWidget(low, i + 1, 1);
        grid->addWidget(high, i + 1, 2);
        bindNumber(low, QStringLiteral("gmin") + n);
        bindNumber(high, QStringLiteral("gmax") + n);
        m_lockedFields.insert(m_lockedFields.end(), {low, high});
    }
    auto* air = new QCheckBox(QStringLiteral("Légellátás"), page);
    air->setObjectName(QStringLiteral("chkLegellatas"));
    bindFlag(air, QStringLiteral("legellatas"));
    m_lockedFields.push_back(air);
    auto* column = new QVBoxLayout;
    column->addWidget(group);
    column->addWidget(air);
    column->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(column);
    layout->addStretch(1);
    return page;
}

// ---- What is shown ----------------------------------------------------------------

void Tfrm_Munkalap::loadSheet() {
    m_loading = true;
    if (!startEdit(m_sheet)) {
        // Gone meanwhile (removed on another workstation): nothing to edit.
        m_loading = false;
        ShowSheetRefusal(worksheet_text::DeletedMeanwhile);
        applyLock(true);
        return;
    }
    m_customer = fieldValue(QStringLiteral("ugyfel")).toInt();
    m_device = fieldValue(QStringLiteral("keszulek")).toInt();
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime minute(now.date(), QTime(now.time().hour(), now.time().minute()));
    const QDateTime deadline = DeadlineShown(fieldValue(QStringLiteral("dat_hatid")), minute);
    m_deadlineDate->setDate(deadline.date());
    m_deadlineTime->setTime(deadline.time());
    const QDate arrived = fieldValue(QStringLiteral("datum")).toDate();
    m_arrivedEdit->setDate(arrived.isValid() ? arrived : now.date());
    if (m_garment) {
        for (const char* field : {"m01", "m02", "m03"})
            if (VarStr(fieldValue(QLatin1String(field))).trimmed().isEmpty())
                setFieldValue(QLatin1String(field), QStringLiteral("0"));
        m_front->setCurrentIndex(std::max(0, VarStr(fieldValue(QStringLiteral("m01"))).toInt()));
        m_side->setCurrentIndex(std::max(0, VarStr(fieldValue(QStringLiteral("m02"))).toInt()));
        m_back->setCurrentIndex(std::max(0, VarStr(fieldValue(QStringLiteral("m03"))).toInt()));
    }
    m_loading = false;
    // Discount and advance in the money format, like the totals beside them.
    for (const auto& [edit, field] :
         {std::pair{m_discount, "ar_kedvezmeny"}, std::pair{m_advance, "ar_eloleg"}})
        if (const QVariant value = fieldValue(QLatin1String(field)); value.isValid() && !value.isNull())
            edit->setText(FormatNumber(Beall().formatFt, value.toDouble()));
    markClean(); // the defaults filled in above are not the user's changes
    showSheetTexts();
    showGarment();
    readLists();
    const bool cancelled = IsFlagSet(fieldValue(QStringLiteral("storno")));
    applyLock(cancelled || StatusLocks(fieldValue(QStringLiteral("statusz")).toInt()));
}

void Tfrm_Munkalap::showSheetTexts() {
    const int status = fieldValue(QStringLiteral("statusz")).toInt();
    ShowText(m_number, QueryStr(QStringLiteral("SELECT munkalapstr FROM vw_munkalap WHERE munkalap = ") +
                                QString::number(m_sheet) + QLatin1Char(';')));
    ShowText(m_customerName, m_customer > 0 ? LookupName(m_customer, QStringLiteral("ugyfel")) : QString());
    ShowText(m_status, LookupName(status, QStringLiteral("statusz")));
    m_typePanel->setText(TypePanelText(status, m_type));
    ShowText(m_arrived, DateText(fieldValue(QStringLiteral("datum"))));
    ShowText(m_finished, DateText(fieldValue(QStringLiteral("dat_kesz"))));
    ShowText(m_deviceText, SheetDeviceText(m_device));
    m_deviceButton->setEnabled(m_device > 0);
    m_total->setText(Money(fieldValue(QStringLiteral("ar_ossz"))));
    showPayable();
}

void Tfrm_Munkalap::showPayable() {
    m_payable->setText(
        FormatNumber(Beall().formatFt, AmountPayable(fieldValue(QStringLiteral("ar_ossz")),
                                                     fieldValue(QStringLiteral("ar_eloleg")),
                                                     fieldValue(QStringLiteral("ar_kedvezmeny")))));
}

void Tfrm_Munkalap::readLists() {
    const bool first = !m_lines.isActive();
    RereadList(m_lines, QStringLiteral("munkalap_tetel"));
    if (first)
        ApplyNumberFormats(m_lines, false, Beall().formatFt, Beall().formatDb);
    RereadList(m_employees, QStringLiteral("dolgozo"));
    showSums();
    showLineDetail();
}

void Tfrm_Munkalap::showSums() {
    RereadList(m_sums, {});
    for (const auto& [field, edit] : m_sumFields)
        edit->setText(m_sums.isEmpty() ? QString() : Money(m_sums.value(field)));
}

void Tfrm_Munkalap::showLineDetail() {
    const QString part =
        m_lines.isActive() && m_lines.row() >= 0 ? m_lines.asString(QStringLiteral("egyeb")) : QString();
    m_partNumber->setText(part.isEmpty() ? QString() : QStringLiteral("Gyári cikkszám: ") + part);
}

void Tfrm_Munkalap::showGarment() {
    if (!m_garment)
        return;
    m_drawing->setPositions(VarStr(fieldValue(QStringLiteral("m01"))),
                            VarStr(fieldValue(QStringLiteral("m02"))),
                            VarStr(fieldValue(QStringLiteral("m03"))));
}

void Tfrm_Munkalap::applyLock(bool locked) {
    m_locked = locked;
    m_ok->setEnabled(!locked);
    m_deadlineDate->setEnabled(!locked);
    for (QWidget* field : m_lockedFields)
        SetReadOnly(field, locked);
    const bool plannerReady = PickPlannerSlot.isInstalled();
    m_planner->setEnabled(!locked && plannerReady);
    m_planner->setToolTip(plannerReady ? QStringLiteral("Időpont foglalása a naptárban")
                                       : QStringLiteral("Hamarosan"));
    updateActions();
}

void Tfrm_Munkalap::updateActions() {
    const int page = m_pages ? m_pages->currentIndex() : DescriptionPage;
    const bool lines = page == LinesPage;
    const bool employees = page == EmployeesPage;
    const bool description = page == DescriptionPage;
    // The line discounts belong to the car workshop.
    const bool discounts = m_programType == 2;
    const auto set = [this](const char* name, bool enabled, bool visible = true) {
        QAction* a = action(QLatin1String(name));
        a->setVisible(visible && !m_locked);
        a->setEnabled(enabled && visible && !m_locked);
    };
    set("aUj", lines || employees);
    set("aSzerkeszt", lines);
    set("aTorol", lines || employees);
    set("aArModosit", lines);
    set("aKedv", lines, discounts);
    set("aKedv2", lines, discounts);
    for (const char* name : {"aBeszur", "EditCut1", "EditCopy1", "EditPaste1"})
        set(name, description);
    action(QStringLiteral("aNyomtat"))->setEnabled(true);
    action(QStringLiteral("aNyomtatKep"))->setEnabled(true);
    if (m_discountButtonAction)
        m_discountButtonAction->setVisible(discounts && !m_locked);
}

void Tfrm_Munkalap::refreshLock() {
    const SheetState state = ReadSheetState(m_sheet);
    if (state.exists) {
        // The header shows the status that refused the change.
        m_status->setText(LookupName(state.status, QStringLiteral("statusz")));
        m_typePanel->setText(TypePanelText(state.status, m_type));
    }
    applyLock(!state.exists || state.cancelled || state.locked());
}

void Tfrm_Munkalap::showPage(Page page) {
    m_pages->setCurrentIndex(page);
}

// ---- Writing ----------------------------------------------------------------------

void Tfrm_Munkalap::syncDates() {
    if (m_loading || !table().isActive() || m_locked)
        return;
    setFieldValue(QStringLiteral("dat_hatid"), QDateTime(m_deadlineDate->date(), m_deadlineTime->time()));
    if (Beall().mlapdatummodosit)
        setFieldValue(QStringLiteral("datum"), m_arrivedEdit->date());
}

void Tfrm_Munkalap::setDeadline(const QDateTime& deadline) {
    m_deadlineDate->setDate(deadline.date());
    m_deadlineTime->setTime(deadline.time());
    syncDates();
}

bool Tfrm_Munkalap::postSheet() {
    if (m_locked)
        return false;
    syncDates();
    if (!limits().check(table(), this))
        return false;
    switch (PostSheet(m_sheet, table())) {
    case SheetWrite::Written:
        markClean();
        return true;
    case SheetWrite::Refused:
        refreshLock();
        return false;
    case SheetWrite::Stale:
        break;
    }
    return false;
}

void Tfrm_Munkalap::amountLeft(const QString& field) {
    if (m_locked || m_loading || !table().isActive() || !table().isModified(field))
        return;
    // A changed discount or advance is saved at once and the server
    // recomputes the amount payable from it.
    if (postSheet())
        loadSheet();
}

void Tfrm_Munkalap::run(const char* name) {
    SetLastAction(WindowName + QLatin1Char('.') + QLatin1String(name));
}

std::optional<int> Tfrm_Munkalap::currentLine() const {
    if (!m_lines.isActive() || m_lines.row() < 0)
        return std::nullopt;
    const int line = int(m_lines.asInt(QStringLiteral("munkalap_tetel")));
    return line > 0 ? std::optional<int>(line) : std::nullopt;
}

std::optional<int> Tfrm_Munkalap::currentEmployee() const {
    if (!m_employees.isActive() || m_employees.row() < 0)
        return std::nullopt;
    const int employee = int(m_employees.asInt(QStringLiteral("dolgozo")));
    return employee > 0 ? std::optional<int>(employee) : std::nullopt;
}

// ---- Actions ----------------------------------------------------------------------

void Tfrm_Munkalap::newRow() {
    if (m_locked)
        return;
    if (m_pages->currentIndex() == LinesPage) {
        if (!postSheet())
            return;
        AddLinesUntilCancelled(m_sheet, [this] { loadSheet(); });
        loadSheet();
    } else if (m_pages->currentIndex() == EmployeesPage) {
        if (RefusedToChange(ReadSheetState(m_sheet))) {
            refreshLock();
            return;
        }
        const RowKey employee = ChooseEmployee();
        if (employee && LinkSheetEmployee(m_sheet, int(*employee)) != SheetWrite::Written)
            refreshLock();
        readLists();
    }
}

void Tfrm_Munkalap::editLine() {
    if (m_locked || m_pages->currentIndex() != LinesPage)
        return;
    const std::optional<int> line = selectedLine();
    if (!line || !postSheet())
        return;
    EditWorkSheetLine(m_sheet, *line);
    loadSheet();
}

void Tfrm_Munkalap::deleteRow() {
    if (m_locked)
        return;
    if (m_pages->currentIndex() == LinesPage) {
        const std::optional<int> line = selectedLine();
        if (!line || !AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption, this) ||
            !postSheet())
            return;
        DeleteLine(m_sheet, *line);
        loadSheet();
    } else if (m_pages->currentIndex() == EmployeesPage) {
        // Without a question, as the employees were linked.
        const std::optional<int> employee = currentEmployee();
        if (!employee) {
            ShowError(list_text::NoRowSelected, this);
            return;
        }
        if (UnlinkSheetEmployee(m_sheet, *employee) != SheetWrite::Written)
            refreshLock();
        readLists();
    }
}

std::optional<int> Tfrm_Munkalap::selectedLine() {
    const std::optional<int> line = currentLine();
    if (!line)
        ShowError(list_text::NoRowSelected, this);
    return line;
}

void Tfrm_Munkalap::changeLines(const QString& caption, const QString& prompt, double start,
                                const std::function<SheetWrite(double)>& change,
                                const std::function<std::optional<QString>(double)>& refuse) {
    double number = start;
    if (!AskDecimal(caption, prompt, number))
        return;
    if (const std::optional<QString> problem = refuse ? refuse(number) : std::nullopt) {
        ShowError(*problem, this);
        return;
    }
    if (!postSheet())
        return;
    change(number);
    loadSheet();
}

void Tfrm_Munkalap::changePrice() {
    if (m_locked || m_pages->currentIndex() != LinesPage)
        return;
    if (const std::optional<int> line = selectedLine())
        changeLines(worksheet_text::PriceCaption, worksheet_text::PricePrompt,
                    m_lines.asFloat(QStringLiteral("egysar")),
                    [&](double price) { return SetLinePrice(m_sheet, *line, price); });
}

namespace {
std::optional<QString> RefuseDiscount(double percent) {
    return DiscountProblem(percent, QStringLiteral("Kedvezmény"));
}
} // namespace

void Tfrm_Munkalap::lineDiscount() {
    if (m_locked || m_programType != 2 || m_pages->currentIndex() != LinesPage)
        return;
    if (const std::optional<int> line = selectedLine())
        changeLines(
            worksheet_text::DiscountCaption, worksheet_text::DiscountPrompt,
            m_lines.asFloat(QStringLiteral("kedv_ad")),
            [&](double discount) { return SetLineDiscount(m_sheet, *line, discount); }, RefuseDiscount);
}

void Tfrm_Munkalap::sheetDiscount() {
    if (m_locked || m_programType != 2 || m_pages->currentIndex() != LinesPage)
        return;
    changeLines(
        worksheet_text::DiscountCaption, worksheet_text::DiscountPrompt,
        currentLine() ? m_lines.asFloat(QStringLiteral("kedv_ad")) : 0,
        [this](double discount) { return SetSheetDiscount(m_sheet, discount); }, RefuseDiscount);
}

void Tfrm_Munkalap::insertText() {
    if (m_locked || !m_lastMemo)
        return;
    QPlainTextEdit* memo = m_lastMemo;
    QTextCursor cursor = memo->textCursor();
    const DictionaryText chosen = ChooseDictionaryText(cursor.selectedText(), true);
    if (chosen.title.isEmpty())
        return;
    cursor.insertText(chosen.text);
    memo->setTextCursor(cursor);
    memo->setFocus(Qt::OtherFocusReason);
}

void Tfrm_Munkalap::printSheet() {
    print(true);
}

void Tfrm_Munkalap::previewSheet() {
    print(false);
}

void Tfrm_Munkalap::print(bool toPrinter) {
    if (fieldValue(QStringLiteral("statusz")).toInt() < 3 && !m_locked && !postSheet())
        return;
    // A printed new sheet is kept even when the editor is cancelled.
    m_newSheet = false;
    PrintWorkSheet(m_sheet, toPrinter);
    if (!table().isModified())
        loadSheet();
}

void Tfrm_Munkalap::cutText() {
    if (m_lastMemo && !m_locked)
        m_lastMemo->cut();
}

void Tfrm_Munkalap::copyText() {
    if (m_lastMemo)
        m_lastMemo->copy();
}

void Tfrm_Munkalap::pasteText() {
    if (m_lastMemo && !m_locked)
        m_lastMemo->paste();
}

void Tfrm_Munkalap::editDevice() {
    if (m_device <= 0)
        return;
    if (EditDevice(m_device, std::nullopt, std::nullopt))
        ShowText(m_deviceText, SheetDeviceText(m_device));
}

void Tfrm_Munkalap::bookPlanner() {
    if (m_locked)
        return;
    const std::optional<PlannerBooking> booking = BookInPlanner(m_sheet);
    if (!booking) {
        refreshLock();
        return;
    }
    setDeadline(booking->start);
    readLists();
}

bool Tfrm_Munkalap::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (auto* memo = qobject_cast<QPlainTextEdit*>(watched))
            m_lastMemo = memo;
    return EditWindow::eventFilter(watched, event);
}

// ---- Closing ----------------------------------------------------------------------

void Tfrm_Munkalap::accept() {
    run("btnOk");
    if (m_locked || !postSheet())
        return;
    CompleteSheet(m_sheet);
    QDialog::accept();
}

void Tfrm_Munkalap::reject() {
    run("btnMegsem");
    // One question at most: a new sheet with lines or employees asks about
    // the whole sheet (DiscardNewSheet), otherwise a changed one about the
    // typed changes.
    if (m_newSheet) {
        if (!NewSheetHasContent(m_sheet) && !confirmDiscard())
            return;
        // Deleted while it is the newest sheet, otherwise cancelled (said so).
        if (DiscardNewSheet(m_sheet) == NewSheetDiscard::Kept)
            return;
        table().cancel();
    } else if (!confirmDiscard()) {
        return;
    }
    discardAndClose();
}

RowKey Tfrm_Munkalap::Run(RowKey sheet, RowKey customer, RowKey type, bool quotation, RowKey device,
                          QWidget* parent) {
    const std::optional<SheetOpening> opening = BeginSheetEdit(sheet, customer, type, quotation, device);
    if (!opening)
        return std::nullopt;
    Tfrm_Munkalap window(*opening, parent ? parent : QApplication::activeWindow());
    return window.exec() == QDialog::Accepted ? RowKey(window.sheet()) : std::nullopt;
}

} // namespace kml
