#include "ListBench.h"

#include "BenchSupport.h"

#include "foundation/QueryHelpers.h"
#include "patterns/gui/GridLink.h"
#include "patterns/ListSearch.h"
#include "shell/gui/MainList.h"
#include "shell/MainLists.h"
#include "shell/MainSession.h"

#include <QCoreApplication>
#include <QTableView>

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

void Paint(QTableView& view) {
    QCoreApplication::processEvents(); // the deferred layout after the reset
    view.viewport()->repaint();
}

} // namespace

ListSpec WorkSheetList(MainSession& session, const QString& viewName) {
    ListSpec definition;
    definition.name = QStringLiteral("Munkalapok");
    definition.query = &session.QryMLap;
    UseView(session.QryMLap, QStringLiteral("vw_munkalap"), viewName);
    const MainListDef def = MainListDefinition(MainTab::WorkSheets);
    definition.fixedCondition = InProgressCondition;
    definition.searchFields = def.searchFields;
    definition.sortField = def.sortField;
    definition.columns = {Column("munkalapstr", "Munkalap"), Column("mlaptipus_nev", "Munkalap típusa"),
                    Column("datum", "Beérkezett"),     Column("ugyfel_nev", "Ügyfél"),
                    Column("irszvaroscim", "Cím"),     Column("tipusstr", "Típus"),
                    Column("hatidstr", "Kezdés"),      Column("ar_teljes", "Teljes ár"),
                    Column("dolgozostr", "Dolgozók"),  Column("fizetve", "Fiz?")};
    definition.colours = int(ColouredGrid::WorkSheets);
    return definition;
}

ListSpec CustomerList(MainSession& session, const QString& viewName) {
    ListSpec definition;
    definition.name = QStringLiteral("Ügyfelek");
    definition.query = &session.QryU;
    UseView(session.QryU, QStringLiteral("vw_ugyfel"), viewName);
    const MainListDef def = MainListDefinition(MainTab::Customers);
    definition.fixedCondition = def.fixedCondition;
    definition.searchFields = def.searchFields;
    definition.sortField = def.sortField;
    definition.columns = {Column("ugyfel_nev", "Ügyfél"),         Column("kapcsolat", "Kapcsolat"),
                    Column("telefon", "Telefon"),           Column("irszvaroscim", "Cím"),
                    Column("emil", "E-mail"),               Column("dat_figyelmeztet", "Figyelmeztetés"),
                    Column("maganszemely", "Magán?")};
    definition.colours = int(ColouredGrid::Customers);
    return definition;
}

ListBench::ListBench(ListSpec definition) : m_definition(std::move(definition)), m_view(std::make_unique<QTableView>()) {
    m_model = new DatasetModel(m_definition.query, m_view.get());
    m_model->setColumns(m_definition.columns);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new MainGridPainter(ColouredGrid(m_definition.colours), m_model, m_view.get()));
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
