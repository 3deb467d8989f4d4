#include "exchange/ExchangeRoutes.h"

#include "exchange/DatasetExport.h"
#include "exchange/GridHtml.h"
#include "exchange/InvoiceExport.h"
#include "exchange/Letters.h"
#include "exchange/SavedExports.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "patterns/ListController.h"

namespace kml {

std::optional<LetterRecord> LetterRecordOf(MainContext& main) {
    const MainTab tab = main.currentTab();
    if (tab == MainTab::Planner)
        return std::nullopt;
    ListController& list = main.currentList();
    if (!list.hasRow())
        return std::nullopt;
    const auto number = [&list](const char* field) {
        return qlonglong(VarInt(list.currentValue(QLatin1String(field)), 0));
    };
    LetterRecord record;
    record.tab = int(tab);
    record.customer = number("ugyfel");
    record.id = tab == MainTab::WorkSheets ? number("munkalap")
                : tab == MainTab::Devices  ? number("keszulek")
                                           : record.customer;
    return record;
}

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
    routes.on(QStringLiteral("aCsv"), [](MainContext&) { OpenExportDefinitions(); });
    routes.on(QStringLiteral("aHtml"), [](MainContext& main) {
        main.list(MainTab::Customers).completeRows();
        ExportGridHtml(QStringLiteral("DBGrid1"), QStringLiteral("Ügyfelek"));
    });
    routes.on(QStringLiteral("aLevelkuld"), [](MainContext& main) {
        if (const std::optional<LetterRecord> record = LetterRecordOf(main))
            SendLetter(*record);
        else
            ShowError(list_text::NoRowSelected);
    });
}

} // namespace kml
