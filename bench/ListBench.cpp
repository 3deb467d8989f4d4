#include "ListBench.h"

#include "BenchSupport.h"
#include "foundation/QueryHelpers.h"
#include "patterns/ListSearch.h"
#include "patterns/gui/GridLink.h"
#include "patterns/gui/GridPainter.h"
#include "shell/MainSession.h"
#include "worksheets/WorkSheetLists.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

namespace kml::bench {

const QString InProgressCondition = StatusTabCondition(0);
const QString AllSheetsCondition = StatusTabCondition(1);

namespace {

void UseView(Query& query, const QString& standardView, const QString& viewName) {
    if (viewName.isEmpty() || viewName == standardView)
        return;
    QStringList lines = query.sql();
    for (QString& line : lines)
        line.replace(QStringLiteral("FROM ") + standardView, QStringLiteral("FROM ") + viewName);
    query.setSql(lines.join(QLatin1Char('\n')));
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

// The main window's own list and its first grid, as its subsystem defines
// them, over the session's controller of the tab.
ListBenchDefinition FromRoute(const char* name, MainSession& session, MainTab tab) {
    const MainListRoute& route = session.routes.list(tab);
    session.streamLists(); // as the main window does
    ListBenchDefinition definition;
    definition.name = QString::fromUtf8(name);
    definition.tab = tab;
    definition.list = &session.list(tab);
    definition.query = &definition.list->query();
    definition.fixedCondition = route.list.baseCondition;
    definition.searchFields = route.list.searchFields;
    definition.sortField = route.list.sortField;
    definition.keyField = route.list.keyField;
    definition.columns = route.grids.at(0).columns;
    definition.colouring = route.grids.at(0).colouring ? route.grids.at(0).colouring : route.list.colouring;
    return definition;
}

void ReplaceWhereLine(Query& query, const QString& condition) {
    query.close();
    ReplaceWhere(query.sql(), condition, true);
}

} // namespace

ListBenchDefinition WorkSheetList(MainSession& session, const QString& viewName) {
    UseView(session.list(MainTab::WorkSheets).query(), QStringLiteral("vw_munkalap"), viewName);
    ListBenchDefinition definition = FromRoute("Munkalapok", session, MainTab::WorkSheets);
    definition.fixedCondition = InProgressCondition;
    return definition;
}

ListBenchDefinition CustomerList(MainSession& session, const QString& viewName) {
    UseView(session.list(MainTab::Customers).query(), QStringLiteral("vw_ugyfel"), viewName);
    return FromRoute("Ügyfelek", session, MainTab::Customers);
}

ListBenchDefinition DeviceList(MainSession& session) {
    return FromRoute("Készülékek", session, MainTab::Devices);
}

// ---- ListGrid -------------------------------------------------------------------------

ListGrid::ListGrid(const ListBenchDefinition& definition) : m_view(std::make_unique<QTableView>()) {
    m_model = new DatasetModel(definition.query, m_view.get());
    m_model->setColumns(definition.columns);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new GridPainter(definition.colouring, m_model, m_view.get()));
    SetupListGrid(m_view.get());
    Query* query = definition.query;
    auto* link = new QueryGridLink(m_view.get(), query, m_view.get());
    link->setMovedCallback([query] { RecordCounterText(*query); });
    m_view->resize(1280, 800);
    m_view->show();
    m_model->setHighlightColumn(m_model->columnOfField(definition.sortField));
}

ListGrid::~ListGrid() = default;

int ListGrid::screenRows() const {
    const int rowHeight = std::max(1, m_view->verticalHeader()->defaultSectionSize());
    return std::max(1, m_view->viewport()->height() / rowHeight);
}

void ListGrid::setVisible(bool visible) const {
    m_view->setVisible(visible);
}

void ListGrid::paint() const {
    QCoreApplication::processEvents(); // the deferred layout after the reset or the inserted rows
    m_view->viewport()->repaint();
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    // The loop sleeps until an event comes, as the window's own event loop
    // does; processEvents with a time limit would never sleep, and its
    // spinning takes the processor the server needs. The timer wakes it to
    // notice the time limit.
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// ---- ListBench (blocking, as the window searches today) ------------------------------------

ListBench::ListBench(ListBenchDefinition definition)
    : m_definition(std::move(definition)), m_grid(m_definition) {}

ListBench::~ListBench() = default;

KeystrokeTimes ListBench::type(const QString& text) {
    KeystrokeTimes t;
    QElapsedTimer timer;
    timer.start();
    const QString condition =
        ListCondition(m_definition.fixedCondition, m_definition.searchFields, text, SearchKind::Like);
    ReopenWithCondition(*m_definition.query, condition);
    t.openMs = ElapsedMs(timer);
    QuickLocate(*m_definition.query, m_definition.sortField, text);
    t.locateMs = ElapsedMs(timer) - t.openMs;
    m_grid.paint();
    t.totalMs = ElapsedMs(timer);
    t.firstMs = t.totalMs; // nothing shows before every row is read
    t.gridMs = t.totalMs - t.openMs - t.locateMs;
    t.rows = m_definition.query->recordCount();
    return t;
}

// ---- StreamingListBench (the data-access layer's streaming search) ---------------------------

StreamingListBench::StreamingListBench(ListBenchDefinition definition)
    : m_definition(std::move(definition)), m_grid(m_definition) {}

StreamingListBench::~StreamingListBench() {
    query().close();
}

void StreamingListBench::start(const QString& text) {
    ListController& list = *m_definition.list;
    list.setFixedCondition(m_definition.fixedCondition);
    list.search(text);
}

QString StreamingListBench::statement() const {
    return SearchStatements(*m_definition.list, m_definition.list->searchText());
}

QString SearchStatements(const ListController& list, const QString& text) {
    const QueryPrelude prelude = list.searchPrelude(text);
    if (prelude.sql.isEmpty())
        return list.query().statement();
    const ResultSet keys = QueryInTurn(SharedConnection(), prelude.sql);
    return (prelude.sql + prelude.statement(keys)).join(QLatin1Char('\n'));
}

KeystrokeTimes StreamingListBench::type(const QString& text) {
    KeystrokeTimes t;
    Query& q = query();
    const int screen = m_grid.screenRows();
    QElapsedTimer timer;
    timer.start();
    start(text);
    t.openMs = ElapsedMs(timer);
    bool firstShown = false;
    bool firstHadAll = false; // every row was there when the first screen was painted
    // How long the event loop waits at most while the rest arrives: a timer
    // due every few milliseconds notes the gaps between its turns.
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        t.maxStallMs = std::max(t.maxStallMs, ElapsedMs(sinceTick));
        sinceTick.start();
    });
    const auto showFirstScreen = [&] {
        if (firstShown || !(q.recordCount() >= screen || !q.isFetching()))
            return;
        firstShown = true;
        m_grid.paint();
        t.firstMs = ElapsedMs(timer);
        firstHadAll = !q.isFetching();
        sinceTick.start();
        if (m_stallProbe)
            ticker.start();
    };
    PumpUntil([&] {
        showFirstScreen();
        return !q.isFetching();
    });
    ticker.stop();
    showFirstScreen();
    RecordCounterText(q);
    // As in the window, the grid is painted again only when rows came after
    // it was painted.
    if (!firstHadAll)
        m_grid.paint();
    t.totalMs = ElapsedMs(timer);
    t.rows = q.recordCount();
    return t;
}

BurstFigures StreamingListBench::typeQuickly(const QStringList& texts, int intervalMs,
                                             const std::vector<QStringList>& keysOf) {
    BurstFigures f;
    Query& q = query();
    const QString keyField = m_definition.keyField;
    std::set<QString> allowed;
    const auto rowsShown = QObject::connect(&q, &Query::rowsArrived, [&](int first, int last) {
        const int col = q.fieldIndex(keyField);
        for (int r = first; r <= last; ++r)
            if (col < 0 || !allowed.count(q.result().text(r, col)))
                ++f.foreignRows;
    });
    const auto finished = QObject::connect(&q, &Query::finished, [&] { ++f.completed; });
    QElapsedTimer sinceLast;
    for (int i = 0; i < int(texts.size()); ++i) {
        allowed = std::set<QString>(keysOf.at(size_t(i)).begin(), keysOf.at(size_t(i)).end());
        sinceLast.start();
        start(texts.at(i));
        ++f.keystrokes;
        if (i + 1 < int(texts.size())) {
            QElapsedTimer typing;
            typing.start();
            PumpUntil([&] { return typing.elapsed() >= intervalMs; });
        }
    }
    PumpUntil([&] { return !q.isFetching(); });
    m_grid.paint();
    f.lastToCompleteMs = ElapsedMs(sinceLast);
    f.abandoned = f.keystrokes - f.completed;
    QStringList finalKeys;
    const int col = q.fieldIndex(keyField);
    for (int r = 0; r < q.recordCount() && col >= 0; ++r)
        finalKeys << q.result().text(r, col);
    f.finalRowsRight = finalKeys == keysOf.back();
    QObject::disconnect(rowsShown);
    QObject::disconnect(finished);
    return f;
}

QStringList SearchKeys(const ListBenchDefinition& list, const QString& text) {
    QStringList sql = list.query->sql();
    for (QString& line : sql)
        if (line.startsWith(QLatin1String("SELECT *")))
            line.replace(0, 8, QStringLiteral("SELECT ") + list.keyField);
    ReplaceWhere(sql, ListCondition(list.fixedCondition, list.searchFields, text, SearchKind::Like), true);
    const ResultSet rs = SharedConnection().query(sql.join(QLatin1Char('\n')));
    QStringList keys;
    for (int r = 0; r < rs.rowCount(); ++r)
        keys << rs.text(r, 0);
    return keys;
}

double RefreshWorkSheetDetails(MainSession& session, int sheet) {
    QElapsedTimer timer;
    timer.start();
    const QString condition = QStringLiteral("munkalap = ") + QString::number(sheet);
    for (Query* q : {&session.detail(MainDetail::SheetLines).query(), &session.sheetTotals()})
        ReopenWithCondition(*q, condition);
    return ElapsedMs(timer);
}

MemoryFigures MeasureListMemory(Query& query, const ListGrid& grid, const QString& condition,
                                bool streaming) {
    MemoryFigures m;
    query.close();
    m.rssBefore = ResidentBytes();
    if (streaming) {
        ReplaceWhereLine(query, condition);
        query.openAsync();
        PumpUntil([&] { return !query.isFetching(); });
    } else {
        ReopenWithCondition(query, condition);
    }
    m.rssAfterOpen = ResidentBytes();
    grid.paint();
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
    query.close();
    return m;
}

} // namespace kml::bench
