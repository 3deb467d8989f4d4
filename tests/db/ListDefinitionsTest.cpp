// Every list the program defines, opened against the real schema: a field
// named in a definition (key, name, sort, search or grid column) that its
// query does not have is a fault found here, not a search that silently
// stops locating.
#include "TestDatabase.h"
#include "patterns/ListController.h"
#include "records/RecordRoutes.h"
#include "shell/MainSession.h"

#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

class ListDefinitions : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("listdefs"), TestDatabase::Contents::Schema);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    static TestDatabase* s_db;
};

TestDatabase* ListDefinitions::s_db = nullptr;

// The definition with every grid's columns of a main-window route.
ListDefinition WithGridColumns(const MainListRoute& route) {
    ListDefinition definition = route.list;
    for (const MainGridDefinition& grid : route.grids)
        definition.columns.insert(definition.columns.end(), grid.columns.begin(), grid.columns.end());
    return definition;
}

TEST_F(ListDefinitions, EveryNamedFieldIsInItsQuery) {
    MainRoutes routes;
    RegisterMainRoutes(routes);
    std::vector<std::pair<QString, ListDefinition>> all;
    for (MainTab tab : {MainTab::WorkSheets, MainTab::Customers, MainTab::Planner, MainTab::Devices})
        all.emplace_back(QStringLiteral("tab %1").arg(int(tab)), WithGridColumns(routes.list(tab)));
    for (MainDetail detail :
         {MainDetail::SheetEmployees, MainDetail::SheetLines, MainDetail::CustomerDevices})
        all.emplace_back(QStringLiteral("detail %1").arg(int(detail)),
                         WithGridColumns(routes.detail(detail)));
    for (const ListDefinition& window : RecordListWindows())
        all.emplace_back(window.name, window);
    for (const auto& [name, definition] : all)
        EXPECT_EQ(MissingListFields(definition), QStringList()) << name.toStdString();
}

TEST_F(ListDefinitions, AMisspeltFieldIsReported) {
    MainRoutes routes;
    RegisterMainRoutes(routes);
    ListDefinition customers = routes.list(MainTab::Customers).list;
    customers.sortField = QStringLiteral("ugyfelnev");
    customers.searchFields += QStringLiteral(";telefn;CONVERT(x USING latin2)");
    EXPECT_EQ(MissingListFields(customers), (QStringList{"ugyfelnev", "telefn"}));
}

} // namespace
} // namespace kml
