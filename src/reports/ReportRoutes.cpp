#include "reports/ReportRoutes.h"

#include "patterns/ListController.h"
#include "reports/PeriodReports.h"
#include "reports/WorkSheetPrint.h"

namespace kml {

void RegisterReportRoutes(MainRoutes& routes) {
    for (const bool toPrinter : {true, false})
        routes.on(toPrinter ? QStringLiteral("aNyomtat") : QStringLiteral("aNyomtatKep"), MainTab::WorkSheets,
                  [toPrinter](MainContext& main) {
                      if (const std::optional<qlonglong> sheet = main.list(MainTab::WorkSheets).currentKey())
                          PrintWorkSheet(int(*sheet), toPrinter);
                  });

    // The period reports, from every tab.
    const struct {
        const char* action;
        PeriodReport kind;
        SheetListGrouping grouping;
    } reports[] = {
        {"aMLapLista", PeriodReport::WorkSheetList, SheetListGrouping::ByType},
        {"aMLapListaDolg", PeriodReport::WorkSheetList, SheetListGrouping::ByEmployee},
        {"aMLapListaGyarto", PeriodReport::WorkSheetList, SheetListGrouping::ByManufacturer},
        {"aArbevetel", PeriodReport::Revenue, SheetListGrouping::ByType},
        {"aNyereseg", PeriodReport::Profit, SheetListGrouping::ByType},
        {"aFogyas", PeriodReport::Consumption, SheetListGrouping::ByType},
        {"aVisszatero", PeriodReport::Comebacks, SheetListGrouping::ByType},
    };
    for (const auto& r : reports)
        routes.on(QString::fromLatin1(r.action), [kind = r.kind, grouping = r.grouping](MainContext&) {
            RunPeriodReportAction(kind, grouping);
        });
}

} // namespace kml
