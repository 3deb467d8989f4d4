#include "ListBench.h"

#include "BenchSupport.h"

#include "foundation/QueryHelpers.h"
#include "patterns/gui/GridLink.h"
#include "patterns/ListSearch.h"
#include "shell/gui/MainList.h"
#include "shell/MainListSearch.h"
#include "shell/MainLists.h"
#include "shell/MainSession.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

namespace kml::bench {

const QString InProgressCondition = StatusTabCondition(0);
const QString AllSheetsCondition = StatusTabCondition(1);

namespace {

GridColumn Column(const char* field, const char* title) {
    return GridColumn{QString::fromLatin1(field), QString::fromUtf8(title), 0};
}

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

ListSpec Spec(const char* name, MainTab tab, Query* query, std::vector<GridColumn> columns, ColouredGrid colours) {
    const MainListDef def = MainListDefinition(tab);
    ListSpec spec;
    spec.name = QString::fromUtf8(name);
    spec.tab = tab;
    spec.query = query;
    spec.fixedCondition = def.fixedCondition;
    spec.searchFields = def.searchFields;
    spec.sortField = def.sortField;
    spec.columns = std::move(columns);
    spec.colours = int(colours);
    return spec;
}

void ReplaceWhereLine(Query& query, const QString& condition) {
    query.close();
    ReplaceWhere(query.sql(), condition, true);
}

} // namespace

ListSpec WorkSheetList(MainSession& session, const QString& viewName) {
    UseView(session.QryMLap, QStringLiteral("vw_munkalap"), viewName);
    ListSpec spec = Spec("Munkalapok", MainTab::WorkSheets, &session.QryMLap,
                         {Column("munkalapstr", "Munkalap"), Column("mlaptipus_nev", "Munkalap típusa"),
                          Column("datum", "Beérkezett"), Column("ugyfel_nev", "Ügyfél"),
                          Column("irszvaroscim", "Cím"), Column("tipusstr", "Típus"), Column("hatidstr", "Kezdés"),
                          Column("ar_teljes", "Teljes ár"), Column("dolgozostr", "Dolgozók"),
                          Column("fizetve", "Fiz?")},
                         ColouredGrid::WorkSheets);
    spec.fixedCondition = InProgressCondition;
    return spec;
}

ListSpec CustomerList(MainSession& session, const QString& viewName) {
    UseView(session.QryU, QStringLiteral("vw_ugyfel"), viewName);
    return Spec("Ügyfelek", MainTab::Customers, &session.QryU,
                {Column("ugyfel_nev", "Ügyfél"), Column("kapcsolat", "Kapcsolat"), Column("telefon", "Telefon"),
                 Column("irszvaroscim", "Cím"), Column("emil", "E-mail"), Column("dat_figyelmeztet", "Figyelmeztetés"),
                 Column("maganszemely", "Magán?")},
                ColouredGrid::Customers);
}

ListSpec DeviceList(MainSession& session) {
    return Spec("Készülékek", MainTab::Devices, &session.QryKesz,
                {Column("gysz", "Gyárt.szám"), Column("ugyfel_nev", "Ügyfél"), Column("evjarat", "Gyártás éve"),
                 Column("tipusstr", "Gyártmány / Típus"), Column("munkalapstr", "Utolsó munkalap"),
                 Column("dat_muszaki", "Bevizsgálás"), Column("keszulektipus_nev", "Típus")},
                ColouredGrid::Devices);
}

// ---- ListGrid -------------------------------------------------------------------------

ListGrid::ListGrid(const ListSpec& definition) : m_view(std::make_unique<QTableView>()) {
    m_model = new DatasetModel(definition.query, m_view.get());
    m_model->setColumns(definition.columns);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new MainGridPainter(ColouredGrid(definition.colours), m_model, m_view.get()));
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

void ListGrid::setVisible(bool visible) const { m_view->setVisible(visible); }

void ListGrid::paint() const {
    QCoreApplication::processEvents(); // the deferred layout after the reset or the inserted rows
    m_view->viewport()->repaint();
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

// ---- ListBench (blocking, as the window searches today) ------------------------------------

ListBench::ListBench(ListSpec definition) : m_definition(std::move(definition)), m_grid(m_definition) {}

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

StreamingListBench::StreamingListBench(ListSpec definition)
    : m_definition(std::move(definition)), m_grid(m_definition) {}

StreamingListBench::~StreamingListBench() { query().close(); }

void StreamingListBench::start(const QString& text) {
    ReplaceWhereLine(query(), MainListSearchCondition(m_definition.tab, m_definition.fixedCondition, text));
    m_prelude = MainListSearchPrelude(m_definition.tab, query().sql(), m_definition.fixedCondition, text);
    query().openAsync(m_prelude);
}

QString StreamingListBench::statement() const {
    if (m_prelude.sql.isEmpty())
        return query().statement();
    const ResultSet keys = SharedConnection().query(m_prelude.sql);
    return m_prelude.sql + QLatin1Char('\n') + m_prelude.statement(keys);
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
        QuickLocate(q, m_definition.sortField, text);
        m_grid.paint();
        t.firstMs = ElapsedMs(timer);
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
    QuickLocate(q, m_definition.sortField, text);
    RecordCounterText(q);
    m_grid.paint();
    t.totalMs = ElapsedMs(timer);
    t.rows = q.recordCount();
    return t;
}

BurstFigures StreamingListBench::typeQuickly(const QStringList& texts, int intervalMs,
                                             const std::vector<QStringList>& keysOf) {
    BurstFigures f;
    Query& q = query();
    const QString keyField = MainListDefinition(m_definition.tab).keyField;
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

QStringList SearchKeys(const ListSpec& list, const QString& text) {
    const MainListDef def = MainListDefinition(list.tab);
    QStringList sql = list.query->sql();
    for (QString& line : sql)
        if (line.startsWith(QLatin1String("SELECT *")))
            line.replace(0, 8, QStringLiteral("SELECT ") + def.keyField);
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
    for (Query* q : {&session.QryTetel, &session.QryMLapSum})
        ReopenWithCondition(*q, condition);
    return ElapsedMs(timer);
}

MemoryFigures MeasureListMemory(Query& query, const ListGrid& grid, const QString& condition, bool streaming) {
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
