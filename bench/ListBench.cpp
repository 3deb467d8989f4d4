#include "ListBench.h"

#include "BenchSupport.h"

#include "foundation/QueryHelpers.h"
#include "patterns/gui/GridLink.h"
#include "patterns/ListSearch.h"
#include "patterns/gui/GridPainter.h"
#include "records/RecordRoutes.h"
#include "shell/MainSession.h"
#include "worksheets/WorkSheetLists.h"

#include <QCoreApplication>
#include <QTableView>

namespace kml::bench {

const QString InProgressCondition = StatusTabCondition(0);
const QString AllSheetsCondition = StatusTabCondition(1);

namespace {

void UseView(Query& query, const QString& standardView, const QString& viewName) {
    if (viewName.isEmpty() || viewName == standardView)
        return;
    for (QString& line : query.sql())
        line.replace(QStringLiteral("FROM ") + standardView, QStringLiteral("FROM ") + viewName);
}

int LengthPrefixSize(quint64 length) {
    if (length < 251)
        return 1;
    if (length < (1u << 16))
        return 3;
    if (length < (1u << 24))
        return 4;
    return 9;
}

void Paint(QTableView& view) {
    QCoreApplication::processEvents(); // the deferred layout after the reset
    view.viewport()->repaint();
}

} // namespace

namespace {

// The main window's own list and its first grid, as its subsystem defines them.
ListBenchDefinition FromRoute(const char* name, Query& query, const MainListRoute& route) {
    ListBenchDefinition definition;
    definition.name = QString::fromUtf8(name);
    definition.query = &query;
    definition.fixedCondition = route.list.baseCondition;
    definition.searchFields = route.list.searchFields;
    definition.sortField = route.list.sortField;
    definition.columns = route.grids.at(0).columns;
    definition.colouring = route.grids.at(0).colouring ? route.grids.at(0).colouring : route.list.colouring;
    return definition;
}

} // namespace

ListBenchDefinition WorkSheetList(MainSession& session, const QString& viewName) {
    UseView(session.QryMLap, QStringLiteral("vw_munkalap"), viewName);
    return FromRoute("Munkalapok", session.QryMLap, session.routes.list(MainTab::WorkSheets));
}

ListBenchDefinition CustomerList(MainSession& session, const QString& viewName) {
    UseView(session.QryU, QStringLiteral("vw_ugyfel"), viewName);
    return FromRoute("Ügyfelek", session.QryU, session.routes.list(MainTab::Customers));
}

ListBench::ListBench(ListBenchDefinition definition) : m_definition(std::move(definition)), m_view(std::make_unique<QTableView>()) {
    m_model = new DatasetModel(m_definition.query, m_view.get());
    m_model->setColumns(m_definition.columns);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new GridPainter(m_definition.colouring, m_model, m_view.get()));
    SetupListGrid(m_view.get());
    auto* link = new QueryGridLink(m_view.get(), m_definition.query, m_view.get());
    link->setMovedCallback([this] { RecordCounterText(*m_definition.query); });
    m_view->resize(1280, 800);
    m_view->show();
    m_model->setHighlightColumn(m_model->columnOfField(m_definition.sortField));
}

ListBench::~ListBench() = default;

KeystrokeTimes ListBench::type(const QString& text) {
    KeystrokeTimes t;
    QElapsedTimer timer;
    timer.start();
    const QString condition = ListCondition(m_definition.fixedCondition, m_definition.searchFields, text, SearchKind::Like);
    ReopenWithCondition(*m_definition.query, condition);
    t.openMs = ElapsedMs(timer);
    QuickLocate(*m_definition.query, m_definition.sortField, text);
    t.locateMs = ElapsedMs(timer) - t.openMs;
    Paint(*m_view);
    t.totalMs = ElapsedMs(timer);
    t.gridMs = t.totalMs - t.openMs - t.locateMs;
    t.rows = m_definition.query->recordCount();
    return t;
}

double RefreshWorkSheetDetails(MainSession& session, int sheet) {
    QElapsedTimer timer;
    timer.start();
    const QString condition = QStringLiteral("munkalap = ") + QString::number(sheet);
    for (Query* q : {&session.QryTetel, &session.QryMLapSum})
        ReopenWithCondition(*q, condition);
    return ElapsedMs(timer);
}

MemoryFigures MeasureListMemory(ListBench& list) {
    MemoryFigures m;
    Query& query = list.query();
    query.close();
    m.rssBefore = ResidentBytes();
    ReopenWithCondition(query, list.definition().fixedCondition);
    m.rssAfterOpen = ResidentBytes();
    Paint(list.view());
    m.rssAfterGrid = ResidentBytes();

    const ResultSet& result = query.result();
    m.rows = result.rowCount();
    m.columns = result.columnCount();
    m.resultBytes = result.memoryBytes();
    for (int row = 0; row < m.rows; ++row) {
        for (int col = 0; col < m.columns; ++col) {
            if (result.isNull(row, col)) {
                m.protocolBytes += 1; // 0xFB
                continue;
            }
            const quint64 length = quint64(result.raw(row, col).size());
            m.fieldBytes += length;
            m.protocolBytes += quint64(LengthPrefixSize(length)) + length;
        }
    }
    m.packetBytes = m.protocolBytes + 4 * quint64(m.rows);
    return m;
}

} // namespace kml::bench
