#include "reports/ReportRoutes.h"

#include "patterns/ListController.h"
#include "reports/WorkSheetPrint.h"

namespace kml {

void RegisterReportRoutes(MainRoutes& routes) {
    for (const bool toPrinter : {true, false})
        routes.on(toPrinter ? QStringLiteral("aNyomtat") : QStringLiteral("aNyomtatKep"), MainTab::WorkSheets,
                  [toPrinter](MainContext& main) {
                      if (const std::optional<qlonglong> sheet = main.list(MainTab::WorkSheets).currentKey())
                          PrintWorkSheet(int(*sheet), toPrinter);
                  });
}

} // namespace kml
