#include "patterns/ListController.h"

#include "components/Connection.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "patterns/SearchStatement.h"

#include <tuple>

namespace kml {

ListController::ListController(ListDefinition definition, Query* query, QObject* parent)
    : QObject(parent), m_definition(std::move(definition)), m_fixed(m_definition.baseCondition),
      m_sortField(m_definition.sortField) {
    if (!query) {
        m_ownQuery = std::make_unique<Query>();
        query = m_ownQuery.get();
    }
    m_query = query;
    m_query->setSql(m_definition.sql);
    connect(m_query, &Query::currentChanged, this, &ListController::moved);
    connect(m_query, &Query::closed, this, &ListController::moved);
    connect(m_query, &Query::rowsArrived, this, &ListController::rowsArrived);
    connect(m_query, &Query::finished, this, [this] {
        fetchEnded();
        emit completed();
    });
    connect(m_query, &Query::failed, this, [this](const QString& message, unsigned code) {
        fetchEnded();
        emit failed(message, code);
    });
}

ListController::~ListController() {
    // The query may outlive the controller (the main window's datasets).
    disconnect(m_query, nullptr, this, nullptr);
}

bool ListController::usesSearchIndex() const {
    return SearchesThroughTable(m_definition);
}

QString ListController::condition(const QString& text) const {
    return BuildSearchStatement(m_definition, m_query->sql(), m_fixed, text).condition;
}

QueryPrelude ListController::searchPrelude(const QString& text) const {
    return BuildSearchStatement(m_definition, m_query->sql(), m_fixed, text).prelude;
}

SearchStatement ListController::statementFor(const QString& text) const {
    SearchPlan plan;
    if (m_streaming && !text.isEmpty() && usesSearchIndex())
        plan = StreamedSearchPlan(m_definition, m_query->sql(), searchKeyRange());
    return BuildSearchStatement(m_definition, m_query->sql(), m_fixed, text, plan);
}

std::pair<qlonglong, qlonglong> ListController::searchKeyRange() const {
    if (!m_searchKeys) {
        const QString key = m_definition.searchIndex.keyField;
        const ResultSet range = m_query->connection().query(
            QStringLiteral("SELECT MIN(%1), MAX(%1) FROM %2").arg(key, m_definition.searchIndex.table));
        m_searchKeys.emplace(range.value(0, 0).toLongLong(), range.value(0, 1).toLongLong());
    }
    return *m_searchKeys;
}

bool ListController::isFetching() const {
    return m_query->isFetching();
}

void ListController::completeRows() {
    if (m_query->isFetching())
        reread();
}

void ListController::reopen(const QString& text, std::optional<qlonglong> key, bool quickLocate) {
    m_query->close();
    m_pendingKey.reset();
    m_pendingText.clear();
    const SearchStatement statement = statementFor(text);
    ReplaceWhere(m_query->sql(), statement.condition, true);
    if (m_streaming) {
        m_pendingKey = key;
        if (quickLocate && !key)
            m_pendingText = text;
        m_query->openAsync(statement.prelude);
        return;
    }
    m_query->open(statement.prelude);
    if (key)
        locate(*key);
    else if (quickLocate)
        QuickLocate(*m_query, m_sortField, text);
    emit completed();
}

void ListController::rowsArrived(int first, int /*last*/) {
    if (m_pendingKey) {
        if (m_query->locate(m_definition.keyField, *m_pendingKey, false, first))
            m_pendingKey.reset();
    } else if (!m_pendingText.isEmpty()) {
        if (m_query->locate(m_sortField, m_pendingText, true, first))
            m_pendingText.clear();
    }
}

void ListController::fetchEnded() {
    m_pendingKey.reset();
    m_pendingText.clear();
}

void ListController::sortBy(const QString& field) {
    if (field.isEmpty())
        return;
    m_sortField = field;
    m_query->close();
    ReplaceOrderBy(m_query->sql(),
                   m_definition.orderExpression ? m_definition.orderExpression(field) : field);
    reopen(m_text, std::nullopt, false);
    emit sortChanged();
}

void ListController::open(std::optional<qlonglong> key) {
    m_text.clear();
    m_searchKeys.reset();
    reopen({}, key, false);
}

void ListController::search(const QString& text) {
    m_text = text;
    reopen(text, std::nullopt, true);
}

void ListController::reread(std::optional<qlonglong> key) {
    fetchEnded();
    // Every row before it returns: the blocking statement, whether or not
    // the list streams.
    const SearchStatement statement = BuildSearchStatement(m_definition, m_query->sql(), m_fixed, m_text);
    if (m_query->isActive()) {
        m_query->refresh(m_definition.keyField, statement.prelude);
    } else {
        m_query->close();
        ReplaceWhere(m_query->sql(), statement.condition, true);
        m_query->open(statement.prelude);
    }
    if (key)
        locate(*key);
    emit completed();
}

void ListController::close() {
    m_query->close();
}

bool ListController::isOpen() const {
    return m_query->isActive();
}

bool ListController::hasRow() const {
    return m_query->isActive() && m_query->row() >= 0;
}

int ListController::rowCount() const {
    return m_query->isActive() ? m_query->recordCount() : 0;
}

std::optional<qlonglong> ListController::currentKey() const {
    const QVariant key = currentValue(m_definition.keyField);
    if (!key.isValid() || key.isNull())
        return std::nullopt;
    return key.toLongLong();
}

QVariant ListController::currentValue(const QString& field) const {
    if (!hasRow())
        return {};
    return m_query->value(field);
}

bool ListController::locate(qlonglong key) {
    return LocateKey(*m_query, m_definition.keyField, key);
}

bool ListController::createRow() {
    if (!canCreate())
        return false;
    const std::optional<qlonglong> created = m_definition.hooks.create(*this);
    if (created)
        reread(created);
    return created.has_value();
}

bool ListController::editCurrent() {
    const std::optional<qlonglong> key = currentKey();
    if (!canEdit() || !key)
        return false;
    const std::optional<qlonglong> saved = m_definition.hooks.edit(*this, *key);
    reread(saved ? saved : key);
    return saved.has_value();
}

bool ListController::removeCurrent() {
    const std::optional<qlonglong> key = currentKey();
    if (!canRemove() || !key)
        return false;
    if (!m_definition.hooks.remove(*this, *key))
        return false;
    reread();
    return true;
}

void ListController::refresh() {
    if (m_definition.hooks.refresh)
        m_definition.hooks.refresh(*this);
    reread();
}

QStringList MissingListFields(const ListDefinition& definition) {
    Query query;
    query.setSql(definition.sql);
    ReplaceWhere(query.sql(), QStringLiteral("1 = 0"), true);
    query.open();
    QStringList missing;
    for (const QString& field : definition.namedFields())
        if (query.fieldIndex(field) < 0)
            missing << field;
    return missing;
}

} // namespace kml
