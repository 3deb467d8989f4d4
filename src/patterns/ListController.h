#pragma once

// One list at work, without widgets: the query of a ListDefinition, the
// condition it keeps, the search text, the sort column and the current row.
// Every list window and each of the main window's lists runs on one; grids
// bind to it (patterns/gui/ListGrid.h).
//
//     ListController customers(CustomerListDefinition());
//     customers.open(selectFirst);         // base condition, moves to the key
//     customers.search("kov");             // base condition + filter, quick-locate
//     if (auto key = customers.currentKey()) ...
//     customers.editCurrent();             // the definition's edit hook, then re-read
//
// "No row" is always an empty optional; keys are never 0-as-none. Server
// errors rise as DbError. User-interface thread only.
//
// A list with a search table (ListDefinition::searchIndex) searches through
// it: the WHERE line holds the condition through the table, and the query
// opens with the key search first (searchPrelude), so the server never runs
// the filter's LIKEs over the joined view row by row.
//
// Streaming (setStreaming, the main window's lists): open(), search() and
// sortBy() return at once, and the rows arrive while the event loop runs
// (Query::openAsync): the first screen first, the rest in batches. The
// quick-locate of search() (the key of open()) is looked for in every batch
// until it is found; completed() says every row is there (the counter is
// final); failed() says the server refused the statement (the list is closed
// again). The next open, search, sort, reread or close abandons a statement
// still running (KILL QUERY): none of its rows appears any more, so a list
// never shows the rows of an older text. reread() always reads every row
// before it returns, so the hooks' callers find the row they name.

#include "patterns/ListDefinition.h"

#include <QObject>
#include <QVariant>
#include <memory>
#include <optional>
#include <utility>

namespace kml {

class Query;
struct SearchStatement;

class ListController final : public QObject {
    Q_OBJECT
public:
    // Runs the definition on query (one the caller owns, such as the main
    // window's QryU), or on a query of its own when none is given. The query
    // takes the definition's SQL.
    explicit ListController(ListDefinition definition, Query* query = nullptr, QObject* parent = nullptr);
    ~ListController() override;

    const ListDefinition& definition() const { return m_definition; }
    Query& query() const { return *m_query; }

    // The condition the list keeps (the definition's base condition at
    // first; the main window's status tabs change it).
    void setFixedCondition(const QString& condition) { m_fixed = condition; }
    const QString& fixedCondition() const { return m_fixed; }
    // The WHERE condition for a search text: the fixed condition alone for
    // an empty text, otherwise followed by the list's filter.
    QString condition(const QString& text) const;

    // The statement a blocking search for text runs before the list's own
    // (the keys of the matching rows from the search table); empty when the
    // list has no search table or the text is empty. For the query's SQL as
    // it is. Both come from BuildSearchStatement (patterns/SearchStatement.h).
    QueryPrelude searchPrelude(const QString& text) const;

    // Whether the list searches through its search table.
    bool usesSearchIndex() const;

    // See the streaming paragraph above; off by default.
    void setStreaming(bool on) { m_streaming = on; }
    bool isStreaming() const { return m_streaming; }
    // A streaming opening's rows are still arriving.
    bool isFetching() const;
    // Makes sure every row is there, for what reads the whole list (an
    // export): an opening still streaming is read again at once, blocking,
    // on the same row.
    void completeRows();

    // The sort and quick-locate column.
    const QString& sortField() const { return m_sortField; }
    // Makes field the sort column without reading again (the initial sort,
    // already in the SQL).
    void setSortField(const QString& field) { m_sortField = field; }
    // A title click: the ORDER line for field, the query read again.
    void sortBy(const QString& field);

    // Opens with the fixed condition and the search text (empty) and moves
    // to the row with key when given and found.
    void open(std::optional<qlonglong> key = std::nullopt);
    // Reopens with the condition for text and moves to the first row whose
    // sort column begins with it (staying on the first row when none does).
    void search(const QString& text);
    const QString& searchText() const { return m_text; }
    // Runs the query again: refreshed in place when open (staying on the
    // same key), opened when closed; then moves to key when given and found.
    void reread(std::optional<qlonglong> key = std::nullopt);
    void close();
    bool isOpen() const;

    bool hasRow() const;
    int rowCount() const;
    // The current row's key; nothing when there is no row (or its key is NULL).
    std::optional<qlonglong> currentKey() const;
    // A field of the current row; invalid when there is no row.
    QVariant currentValue(const QString& field) const;
    // Moves to the row with the key; false (and no move) when there is none.
    bool locate(qlonglong key);

    // The standard actions, through the definition's hooks. Each returns
    // false, and does nothing, when its hook is unset or it needs a row and
    // there is none; after the hook the list is read again on the row it
    // names.
    bool canCreate() const { return bool(m_definition.hooks.create); }
    bool canEdit() const { return bool(m_definition.hooks.edit); }
    bool canRemove() const { return bool(m_definition.hooks.remove); }
    bool createRow();
    bool editCurrent();
    bool removeCurrent();
    void refresh();

signals:
    // The query opened, closed or moved to another row.
    void moved();
    // The sort column changed (grids repaint their highlighted column).
    void sortChanged();
    // Every row of the last opening is there (after a blocking one at once).
    void completed();
    // A streaming opening failed: the server's message and error number; the
    // list is closed.
    void failed(const QString& message, unsigned code);

private:
    // The search for text as this list runs it now: streamed in parts (the
    // newest first) when it streams, otherwise blocking.
    SearchStatement statementFor(const QString& text) const;
    // The search table's lowest and highest key, read at the first
    // streaming search after the list was opened without a text.
    std::pair<qlonglong, qlonglong> searchKeyRange() const;
    // Closes the query, puts the condition for text on its WHERE line and
    // opens it (streaming or not); then moves to key, or quick-locates text.
    void reopen(const QString& text, std::optional<qlonglong> key, bool quickLocate);
    void rowsArrived(int first, int last);
    void fetchEnded();

    ListDefinition m_definition;
    std::unique_ptr<Query> m_ownQuery;
    Query* m_query;
    QString m_fixed;
    QString m_sortField;
    QString m_text;
    bool m_streaming = false;
    // What a streaming opening still looks for in the rows arriving.
    std::optional<qlonglong> m_pendingKey;
    QString m_pendingText;
    mutable std::optional<std::pair<qlonglong, qlonglong>> m_searchKeys; // see searchKeyRange()
};

// Whether every field a definition names exists in its query's result: the
// key, name, sort and grid columns and the plain search fields. The names
// missing, empty when all are there. Opens the query (with a condition that
// selects nothing) on the shared connection.
QStringList MissingListFields(const ListDefinition& definition);

} // namespace kml
