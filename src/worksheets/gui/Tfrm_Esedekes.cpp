#include "worksheets/gui/Tfrm_Esedekes.h"

#include "components/Query.h"
#include "exchange/DatasetExport.h"
#include "exchange/Letters.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "records/CustomerWindows.h"
#include "records/DeviceWindows.h"
#include "reports/PeriodReports.h"
#include "worksheets/WorkSheetBrowsers.h"
#include "worksheets/WorkSheetWindows.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QToolBar>

namespace kml {

Tfrm_Esedekes::Tfrm_Esedekes(QWidget* parent)
    : ListWindow(DueListDefinition(DuePeriod{}, Beall().muszakistr), parent) {
    m_periodBox = new QComboBox(this);
    m_periodBox->setObjectName(QStringLiteral("cbIdoszak"));
    m_periodBox->addItems(DuePresetCaptions());
    m_periodBox->setCurrentIndex(int(m_period.preset));
    m_periodBox->setToolTip(QStringLiteral("Időszak"));
    toolBar()->insertWidget(toolBar()->actions().value(0), m_periodBox);
    toolBar()->insertSeparator(toolBar()->actions().value(1));
    connect(m_periodBox, &QComboBox::activated, this, &Tfrm_Esedekes::periodChosen);

    addRowAction(QStringLiteral("aUgyfelAdatlap"), QStringLiteral("Ügyfél"), QKeySequence(Qt::Key_F6),
                 [this](qlonglong key) {
                     if (EditCustomer(KeyOf(currentValue(QStringLiteral("ugyfel")))))
                         reread(key);
                 });
    addRowAction(QStringLiteral("aKeszulekAdatlap"), QStringLiteral("Készülék"), QKeySequence(Qt::Key_F7),
                 [this](qlonglong key) {
                     const int device = currentInt("keszulek");
                     if (device <= 0)
                         return ShowError(due_text::NoDevice);
                     if (EditDevice(device, std::nullopt, std::nullopt))
                         reread(key);
                 });
    addRowAction(QStringLiteral("aMLapNeki"), QStringLiteral("Munkalap neki"), QKeySequence(Qt::Key_F4),
                 [this](qlonglong key) {
                     const int device = currentInt("keszulek");
                     // No device (a customer's reminder): the editor asks for one.
                     if (EditWorkSheet(std::nullopt, KeyOf(currentValue(QStringLiteral("ugyfel"))),
                                       std::nullopt, false, device > 0 ? RowKey(device) : std::nullopt))
                         reread(key);
                 });
    addRowAction(QStringLiteral("aMlapjai"), QStringLiteral("Előzmény"), QKeySequence(Qt::Key_F9),
                 [this](qlonglong) {
                     const int device = currentInt("keszulek");
                     if (device > 0)
                         BrowseWorkSheets(-1, device);
                     else
                         BrowseWorkSheets(currentInt("ugyfel"), -1);
                 });
    addRowAction(QStringLiteral("aElvegezve"), QStringLiteral("Elvégezve"), QKeySequence(Qt::Key_F8),
                 [this](qlonglong key) {
                     const QDate seen = currentValue(QStringLiteral("esedekes")).toDate();
                     MarkDueRowDone(key, seen);
                     // Moved or refused: either way the list shows the dates as they are now.
                     reread(key);
                 });
    addRowAction(QStringLiteral("aLevelkuld"), QStringLiteral("Levél küldés"),
                 QKeySequence(Qt::CTRL | Qt::Key_L), [this](qlonglong) {
                     LetterRecord record;
                     const int device = currentInt("keszulek");
                     record.customer = currentInt("ugyfel");
                     record.tab = device > 0 ? 3 : 1;
                     record.id = device > 0 ? device : record.customer;
                     SendLetter(record);
                 });
    addListAction(QStringLiteral("aNyomtat"), QStringLiteral("Nyomtat"), QKeySequence(Qt::CTRL | Qt::Key_P),
                  [this] { PrintDueList(query(), DuePeriodText(m_period)); });
    addListAction(QStringLiteral("aExcelbe"), QStringLiteral("Excelbe..."),
                  QKeySequence(Qt::CTRL | Qt::Key_E), [this] {
                      if (RequireRight(Beall().excelbe))
                          ExportDataset(query(), QStringLiteral("Esedekes.csv"));
                  });
    Field& days = query().fieldSettings(QStringLiteral("hatravan"));
    days.alignment = Qt::AlignRight | Qt::AlignVCenter;
    showHeading();
}

int Tfrm_Esedekes::currentInt(const char* field) const {
    return VarInt(currentValue(QLatin1String(field)));
}

void Tfrm_Esedekes::showHeading() {
    heading()->setText(due_text::Caption + QStringLiteral(": ") + DuePeriodText(m_period) +
                       QStringLiteral("  "));
}

void Tfrm_Esedekes::setPeriod(const DuePeriod& period) {
    m_period = period;
    m_periodBox->setCurrentIndex(int(period.preset));
    const QString text = list().searchText();
    query().close();
    query().setSql(DueListSql(period, Beall().muszakistr));
    // The column the user sorted on stays the sort.
    ReplaceOrderBy(query().sql(), definition().orderExpression(sortField()));
    list().search(text);
    showHeading();
}

void Tfrm_Esedekes::periodChosen(int index) {
    DuePeriod period;
    period.preset = DuePreset(index);
    if (period.preset == DuePreset::Custom) {
        // The server's date of the start-up proposes the next month.
        const QDate today = Beall().workDate.isValid() ? Beall().workDate : QDate::currentDate();
        Period chosen{m_period.from.isValid() ? m_period.from : today,
                      m_period.to.isValid() ? m_period.to : today.addMonths(1)};
        if (!AskPeriod(chosen, due_text::Caption)) {
            m_periodBox->setCurrentIndex(int(m_period.preset));
            return;
        }
        period.from = chosen.first;
        period.to = chosen.last;
    }
    setPeriod(period);
}

void Tfrm_Esedekes::Run() {
    Tfrm_Esedekes window(QApplication::activeWindow());
    window.openAt(std::nullopt);
    window.exec();
    window.query().close();
}

} // namespace kml
