#include "worksheets/gui/Tfrm_MunkalapBongeszo2.h"

#include "components/DatasetModel.h"
#include "components/Query.h"
#include "foundation/Settings.h"
#include "foundation/gui/WidgetHelpers.h"
#include "worksheets/WorkSheetBrowsers.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

namespace kml {

Tfrm_MunkalapBongeszo2::Tfrm_MunkalapBongeszo2(int device, QWidget* parent)
    : ListWindow(ItemHistoryDefinition(device), parent) {
    grid()->setSelectionBehavior(QAbstractItemView::SelectItems);
    addListAction(QStringLiteral("aExcelbe"), QStringLiteral("Excelbe..."),
                  QKeySequence(Qt::CTRL | Qt::Key_E), [this] { ExportItemHistory(query()); });
    addListAction(QStringLiteral("aMasol"), QStringLiteral("Másol"), QKeySequence(Qt::CTRL | Qt::Key_C),
                  [this] {
                      const QModelIndex cell = grid()->currentIndex();
                      if (cell.isValid())
                          QGuiApplication::clipboard()->setText(cell.data().toString());
                  });
    query().fieldSettings(QStringLiteral("ar_teljes")).displayFormat = Beall().formatFt;
    query().fieldSettings(QStringLiteral("db")).displayFormat = Beall().formatDb;
    for (const char* number : {"ar_teljes", "db"})
        query().fieldSettings(QLatin1String(number)).alignment = Qt::AlignRight | Qt::AlignVCenter;
    connect(grid()->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &Tfrm_MunkalapBongeszo2::searchColumnClicked);
}

void Tfrm_MunkalapBongeszo2::searchColumnClicked(int column) {
    const std::vector<GridColumn>& columns = model()->columns();
    if (column < 0 || column >= int(columns.size()))
        return;
    list().setSortField(columns[size_t(column)].field);
    HighlightSortColumn(grid(), column);
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void Tfrm_MunkalapBongeszo2::Run(int device) {
    if (device == 0)
        return;
    Tfrm_MunkalapBongeszo2 window(device, QApplication::activeWindow());
    window.openAt(std::nullopt);
    window.exec();
    window.query().close();
}

} // namespace kml
