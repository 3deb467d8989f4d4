#include "reports/ReportRoutes.h"

#include "components/Query.h"
#include "foundation/Dialogs.h"
#include "patterns/ListController.h"
#include "reports/CustomerPrints.h"
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

    // On the customers tab the same actions print the list as it is shown:
    // its statement with the search and the sort of the moment. The main
    // window has checked the printing right.
    for (const bool toPrinter : {true, false})
        routes.on(toPrinter ? QStringLiteral("aNyomtat") : QStringLiteral("aNyomtatKep"), MainTab::Customers,
                  [toPrinter](MainContext& main) {
                      ListController& customers = main.list(MainTab::Customers);
                      if (!customers.hasRow())
                          return ShowError(list_text::NoRowSelected);
                      PrintCustomerList(toPrinter, customers.query().sql().join(QLatin1Char('\n')));
                  });
    const auto forCustomer = [](void (*print)(int customer)) {
        return [print](MainContext& main) {
            if (const std::optional<qlonglong> customer = main.list(MainTab::Customers).currentKey())
                print(int(*customer));
            else
                ShowError(list_text::NoRowSelected);
        };
    };
    routes.on(QStringLiteral("aBoritek"), MainTab::Customers, forCustomer(&PrintEnvelope));
    routes.on(QStringLiteral("aAjanlott"), MainTab::Customers, forCustomer(&PrintRegisteredForm));

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
