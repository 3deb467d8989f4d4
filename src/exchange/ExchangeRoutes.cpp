#include "exchange/ExchangeRoutes.h"

#include "exchange/DatasetExport.h"
#include "exchange/InvoiceExport.h"
#include "patterns/ListController.h"

namespace kml {

void RegisterExchangeRoutes(MainRoutes& routes) {
    routes.on(QStringLiteral("aExcelbe"), [](MainContext& main) {
        // The whole list, also when its last rows are still on their way.
        main.currentList().completeRows();
        ExportDataset(main.currentList().query(), QStringLiteral("KoravelML.csv"));
    });
    routes.on(QStringLiteral("aSzla"), MainTab::WorkSheets, [](MainContext& main) {
        ListController& sheets = main.list(MainTab::WorkSheets);
        const std::optional<qlonglong> sheet = sheets.currentKey();
        if (InvoiceWorkSheet(sheet.value_or(-1)))
            sheets.reread();
    });
}

} // namespace kml
