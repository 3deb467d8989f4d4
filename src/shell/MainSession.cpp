#include "shell/MainSession.h"

#include "admin/AdminRoutes.h"
#include "admin/ConsoleRoutes.h"
#include "exchange/ExchangeRoutes.h"
#include "records/RecordRoutes.h"
#include "reports/ReportRoutes.h"
#include "shell/MainActions.h"
#include "website/WebsiteRoutes.h"
#include "worksheets/HistoryRoutes.h"
#include "worksheets/PlannerRoutes.h"
#include "worksheets/WorkSheetLists.h"

#include <QStringList>

namespace kml {
namespace {

void Design(Query& query, Connection& connection, std::initializer_list<const char*> lines) {
    query.setConnection(&connection);
    QStringList sql;
    for (const char* line : lines)
        sql << QString::fromUtf8(line);
    query.setSql(sql.join(QLatin1Char('\n')));
}

} // namespace

void RegisterMainRoutes(MainRoutes& routes) {
    std::vector<QString> names;
    for (const MainActionDefinition& action : MainActionTable())
        names.push_back(action.name);
    routes.setKnownActions(names);
    RegisterRecordRoutes(routes);
    RegisterWorkSheetRoutes(routes);
    RegisterExchangeRoutes(routes);
    RegisterReportRoutes(routes);
    RegisterPlannerRoutes(routes);
    RegisterAdminRoutes(routes);
    RegisterHistoryRoutes(routes);
    RegisterConsoleRoutes(routes);
    RegisterWebsiteRoutes(routes);
    CheckRouteNames(routes);
}

void CheckRouteNames(const MainRoutes& routes) {
    if (routes.unknownActions().empty())
        return;
    QStringList names;
    for (const QString& name : routes.unknownActions())
        names << name;
    const QString message =
        QStringLiteral("handlers for actions not in the action table: ") + names.join(u", ");
    qWarning("%s", qPrintable(message));
    Q_ASSERT_X(false, "RegisterMainRoutes", qPrintable(message));
}

MainSession::MainSession() {
    Connection& c = mySQLDatabase1;
    for (Query* q : {&QryMLap, &QryDolg, &QryTetel, &QryU, &QryKeszulek, &QryDolgozo, &QryKesz})
        q->setConnection(&c);
    Design(QryMLapSum, c, {"SELECT * FROM vw_mlapsum", "WHERE munkalap = 0;"});
    Design(QryNaptar, c,
           {"SELECT", "ora.ora,",
            "CONCAT(LPAD(ora.ora DIV 2,2,'0'),':',IF(ora.ora MOD 2 = 0,'00','30')) ora2,",
            "elojegyzes.elojegyzes,", "elojegyzes.azon,", "elojegyzes.dolgozo,", "elojegyzes.datum,",
            "elojegyzes.munkalap,", "elojegyzes.ugyfel,", "elojegyzes.keszulek,", "elojegyzes.szoveg,",
            "elojegyzes.munkalapstr,", "elojegyzes.ugyfelstr,", "elojegyzes.keszulekstr", "FROM ora",
            "LEFT JOIN elojegyzes ON (ora.ora = elojegyzes.ora) AND (elojegyzes.dolgozo = :pdolgozo) AND "
            "(elojegyzes.datum = :pdatum)",
            "ORDER BY ora.ora;"});
    QryNaptar.setParam(QStringLiteral("pdolgozo"), 0);
    Design(QryElozmeny, c, {"CALL sp_elozmeny(:pkeszulek);"});
    QryElozmeny.setParam(QStringLiteral("pkeszulek"), 0);

    // The lists take their SQL from the subsystems that own them.
    RegisterMainRoutes(routes);
    const std::pair<MainTab, Query*> tabs[] = {{MainTab::WorkSheets, &QryMLap},
                                               {MainTab::Customers, &QryU},
                                               {MainTab::Planner, &QryDolgozo},
                                               {MainTab::Devices, &QryKesz}};
    for (const auto& [tab, query] : tabs)
        m_lists[size_t(tab)] = std::make_unique<ListController>(routes.list(tab).list, query);
    const std::pair<MainDetail, Query*> details[] = {{MainDetail::SheetEmployees, &QryDolg},
                                                     {MainDetail::SheetLines, &QryTetel},
                                                     {MainDetail::CustomerDevices, &QryKeszulek}};
    for (const auto& [detail, query] : details)
        m_details[size_t(detail)] = std::make_unique<ListController>(routes.detail(detail).list, query);
    m_dayPlanner = std::make_unique<DayPlanner>(QryNaptar, list(MainTab::Planner));
}

void MainSession::streamLists() {
    for (const std::unique_ptr<ListController>& list : m_lists)
        list->setStreaming(list->usesSearchIndex());
}

MainSession::~MainSession() {
    // The datasets close before the connection they run on; the shared
    // connection must not outlive it.
    for (Query* q : {&QryMLap, &QryDolg, &QryTetel, &QryMLapSum, &QryU, &QryKeszulek, &QryDolgozo, &QryNaptar,
                     &QryKesz, &QryElozmeny})
        q->close();
    try {
        if (&SharedConnection() == &mySQLDatabase1)
            SetSharedConnection(nullptr);
    } catch (const std::logic_error&) {
    }
}

} // namespace kml
