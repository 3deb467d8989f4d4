#include "exchange/gui/ExchangeWindows.h"

#include "exchange/DatasetExport.h"
#include "exchange/GridHtml.h"
#include "exchange/InvoiceExport.h"
#include "exchange/SavedExports.h"
#include "exchange/gui/Tfrm_Grid2Html.h"
#include "exchange/gui/Tfrm_Hatarolt.h"
#include "exchange/gui/Tfrm_SzlaKeszitXML.h"
#include "exchange/gui/Tfrm_TorzsCsvExp.h"
#include "exchange/gui/Tfrm_TorzsCsvExp_Szerkeszt.h"

#include <QApplication>
#include <QTableView>

namespace kml {

QTableView* FindGrid(const QString& gridName) {
    if (QWidget* active = QApplication::activeWindow())
        if (auto* grid = active->findChild<QTableView*>(gridName))
            return grid;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* grid = window->findChild<QTableView*>(gridName))
            return grid;
    return nullptr;
}

void InstallExchangeWindows() {
    ExportDataset.install(
        [](Query& data, const QString& defaultFileName) { Tfrm_Hatarolt::Run(data, defaultFileName); });
    ChooseExportFile.install([](const QString& proposed) { return Tfrm_Hatarolt::ChooseFile(proposed); });
    AskInvoiceBuyer.install([](InvoiceBuyer& buyer) { return Tfrm_SzlaKeszitXML::Run(buyer); });
    OpenExportDefinitions.install([] { Tfrm_TorzsCsvExp::Run(); });
    EditExportDefinition.install([](RowKey id) { return Tfrm_TorzsCsvExp_Szerkeszt::Run(id); });
    ExportGridHtml.install([](const QString& gridName, const QString& title) {
        if (QTableView* grid = FindGrid(gridName))
            Tfrm_Grid2Html::Run(grid, title);
    });
}

} // namespace kml
