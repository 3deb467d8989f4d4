#pragma once

#include "components/ResultSet.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace kml {

class Connection;

// The connection the main window owns for the whole run. Windows and helpers
// run their statements on it; tests point it at their own connection.
Connection& SharedConnection();
void SetSharedConnection(Connection* connection);

// How a dataset shows one column. Settings survive reopening the query: they
// are kept by column name.
struct Field {
    QString name;
    FieldKind kind = FieldKind::Text;
    unsigned size = 0;
    QString displayLabel;  // grid title; the name when empty
    QString displayFormat; // number pattern (see FormatNumber) or date pattern
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int tag = 0; // number-format choice: 0 money, 1 quantity, 2 three decimals
    bool visible = true;

    QString label() const { return displayLabel.isEmpty() ? name : displayLabel; }
    bool isFloat() const { return kind == FieldKind::Float; }
};

class StreamingStatement;

// Statements openAsync() runs before the query's own, on the query's stream
// links, that decide what the query's statement is for this opening from
// their rows: a search that first asks a list's search table for the keys
// of the matching rows and then reads the rows of those keys. An empty
// prelude (no sql) runs nothing.
//
// A step of more than one statement (the prelude's, or the query's made of
// it) runs side by side, each statement on a link of its own, so that the
// server works on them at the same time; their rows are taken one
// statement after the other, in the order given. open() and refresh() run
// them one after the other.
struct QueryPrelude {
    QStringList sql;
    // With more than one prelude statement: as soon as the rows of the
    // statements finished in order reach this many, the rest are not waited
    // for (abandoned); 0 waits for all.
    int rowsWanted = 0;
    // The statements to run as the query's, from the prelude's rows. The
    // query's own SQL lines stay as they are (a later opening starts over).
    // Rows of a later statement are announced once those before it are all
    // there.
    std::function<QStringList(const ResultSet& rows)> statement;
    // openAsync() only: the next part of the same list, from this prelude's
    // rows, run once the statements made of them have finished; the rows of
    // its statements are appended to the query's (same columns). An empty
    // prelude (no sql) ends the opening. open() and refresh() ignore it.
    std::function<QueryPrelude(const ResultSet& rows)> next;
};

// Runs the statements one after the other on the connection and returns
// their rows in this order, as one result. Throws DbError.
ResultSet QueryInTurn(Connection& connection, const QStringList& statements);

// A read-only dataset over one SELECT (or a CALL that returns rows).
//
// The SQL is held as lines so that list windows can replace the line that
// begins with WHERE or ORDER. Named parameters (":pdatum") are bound as
// literals when the query opens: integers as digits, numbers with ".", texts
// through the SQL quoting rules, dates as 'yyyy-mm-dd', a null value as NULL.
// The query keeps a current row; moving it emits currentChanged().
//
// open() waits for every row. openAsync() returns at once and lets the rows
// arrive while the event loop runs (see there); it is for lists that may be
// long, such as the main window's lists and their searches.
class Query final : public QObject {
    Q_OBJECT
public:
    explicit Query(Connection* connection = nullptr, QObject* parent = nullptr);
    ~Query() override;

    // The connection statements run on; the shared connection when null.
    void setConnection(Connection* connection) { m_connection = connection; }
    Connection& connection() const;

    QStringList& sql() { return m_sql; }
    const QStringList& sql() const { return m_sql; }
    void setSql(const QString& text);
    // The statement as sent: lines joined by line breaks, parameters bound.
    QString statement() const;
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;

    // Runs the statement and reads every row (a statement still arriving
    // from openAsync() is abandoned first); with a prelude, the prelude
    // first and then the statement it makes (see openAsync). Throws DbError.
    void open(const QueryPrelude& prelude = {});
    // Closes the query; a statement still arriving is abandoned.
    void close();
    bool isActive() const { return m_active; }
    // Runs the statement again (through the prelude, when given) and stays
    // on the row with the same value of keyField (the same row number when
    // keyField is empty or gone).
    void refresh(const QString& keyField = {}, const QueryPrelude& prelude = {});

    // Opens the query without waiting for its rows. The query is closed
    // (closed(); a statement of this query still arriving is abandoned, and
    // none of its rows appears any more), then the statement is sent on a
    // stream link of the query's connection (StreamingStatement), so that
    // the connection itself stays free for other statements. As the server
    // answers, on this thread's event loop:
    //   opened()            the fields are known, no rows yet; isActive();
    //   rowsArrived(f, l)   rows f..l were appended; the first batch comes
    //                       as soon as a screenful is there (or the result
    //                       is shorter) and moves the query to row 0
    //                       (currentChanged), later ones every few tens of
    //                       milliseconds;
    //   finished()          every row is there, recordCount() is final;
    //   failed(text, code)  the statement failed (the server's message and
    //                       error number); the query is closed again.
    // Until finished() or failed(), isFetching() is true and recordCount(),
    // locate() and the values see the rows received so far. Throws DbError
    // only when no stream link can be connected.
    //
    // With a prelude, its statements run first (their rows are not the
    // query's and nothing is announced for them) and then the statements it
    // makes of them instead of the query's own; a failure of any comes as
    // failed(). The query's SQL lines are not changed: refresh() and open()
    // run them, and a list re-read with openAsync() needs its prelude again.
    void openAsync(QueryPrelude prelude = {});
    bool isFetching() const { return m_fetching; }
    // Every row of the last opening has arrived (false after cancel()).
    bool isComplete() const { return m_active && !m_fetching && m_complete; }
    // Stops a statement still arriving (KILL QUERY on the server): the rows
    // received so far stay, no further ones arrive, finished() is not
    // emitted. Nothing happens when none is arriving.
    void cancel();
    // The streaming statement of openAsync() (its batching can be tuned).
    StreamingStatement& stream();

    // The rows of the query: while a statement of openAsync() is arriving,
    // those announced by rowsArrived() so far.
    int recordCount() const { return m_fetching ? m_announced : m_result.rowCount(); }
    bool isEmpty() const { return recordCount() == 0; }
    int row() const { return m_row; }       // 0-based; -1 when empty
    int recNo() const { return m_row + 1; } // 1-based; 0 when empty
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    bool moveTo(int row);

    // Moves to the first row whose field equals value; with partial, to the
    // first whose text begins with it, ignoring letter case. Only rows from
    // row from on are looked at (the rows a streaming opening just added).
    // Stays put and returns false when none does.
    bool locate(const QString& field, const QVariant& value, bool partial = false, int from = 0);

    int fieldCount() const { return int(m_fields.size()); }
    Field& field(int index) { return m_fields.at(size_t(index)); }
    const Field& field(int index) const { return m_fields.at(size_t(index)); }
    int fieldIndex(const QString& name) const; // -1 when absent
    Field& fieldByName(const QString& name);   // throws when absent
    // Settings of a field that take effect (also) when the query next opens.
    Field& fieldSettings(const QString& name);

    // Values of the current row (invalid/empty when there is none).
    QVariant value(const QString& name) const;
    QVariant value(int col) const;
    bool isNull(const QString& name) const;
    QString asString(const QString& name) const;
    qlonglong asInt(const QString& name) const;
    double asFloat(const QString& name) const;
    QDate asDate(const QString& name) const;
    QDateTime asDateTime(const QString& name) const;

    // The text a grid shows for a cell: numbers through the field's display
    // format, dates as yyyy.MM.dd, date-times as yyyy.MM.dd hh:mm.
    QString displayText(int row, int col) const;

    // The rows as read; while a statement is arriving it may already hold
    // rows beyond recordCount() that are not announced yet.
    const ResultSet& result() const { return m_result; }

signals:
    void opened();
    void closed();
    void currentChanged(int row);
    // openAsync(): see there.
    void rowsArrived(int first, int last);
    void finished();
    void failed(const QString& message, unsigned code);

private:
    void setRow(int row);
    int checkedIndex(const QString& name) const;
    void adoptColumns();
    void stopStream();
    void announceRows(int first, int last);
    void preludeDone();
    // Starts the statements of the next step of the opening under way (the
    // query's own after its prelude, or the next part's prelude), the first
    // into target, the others beside it; when no link can be had the
    // opening ends with failed().
    void continueOpening(const QStringList& sql, ResultSet* target, bool append);
    void startStep(const QStringList& sql, ResultSet* target, bool append);
    // The step's first statement, or a side statement, finished: the side
    // results whose turn it is are appended, and the step ends when all are.
    void stepProgress();
    void stepDone();
    void streamFailed(const QString& message, unsigned code);
    StreamingStatement& sideStream(size_t index);

    // A statement of the running step beside its first: its rows wait here
    // until those before them are complete.
    struct SideRun {
        ResultSet rows;
        bool done = false;
    };

    Connection* m_connection = nullptr;
    QStringList m_sql;
    std::map<QString, QVariant> m_params;
    ResultSet m_result;
    std::vector<Field> m_fields;
    std::map<QString, Field> m_settings; // by lower-cased name
    bool m_active = false;
    bool m_fetching = false;
    bool m_complete = false;
    int m_announced = 0;    // rows announced while fetching
    QueryPrelude m_prelude; // of the opening whose prelude is running
    ResultSet m_preludeRows;
    QueryPrelude m_nextPart; // the part to run when the step running finishes
    bool m_inPrelude = false;
    StreamingStatement* m_stream = nullptr;
    std::vector<StreamingStatement*> m_sideStreams; // on the same links as m_stream
    std::vector<std::unique_ptr<SideRun>> m_sides;  // of the running step
    size_t m_sidesTaken = 0;                        // side results appended so far
    bool m_mainDone = false;                        // the step's first statement has finished
    quint64 m_opening = 0; // counts openings and abandons, to notice either from inside a signal
    Connection* m_streamConnection = nullptr; // the connection m_stream's links belong to
    int m_row = -1;
    bool m_bof = true;
    bool m_eof = true;
};

// A text as a quoted SQL literal: backslash doubled, CR and LF written as \r
// and \n, single quotes doubled. The one quoting rule of the program.
QString QuoteSqlText(const QString& text);

// The SQL literal of a parameter value, as Query binds it.
QString SqlLiteral(const QVariant& value);

// Display text of a value of the given kind and format (shared with grids
// over other row sources).
QString DisplayText(const QVariant& value, FieldKind kind, const QString& format);

} // namespace kml
