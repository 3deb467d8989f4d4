#include "components/Connection.h"

#include "components/Cp1250.h"
#include "components/DbError.h"
#include "components/StreamingStatement.h"

#include <cstdlib>
#include <cstring>
#include <errmsg.h>
#include <mysql.h>
#include <mysqld_error.h>
#include <poll.h>

namespace kml {
namespace {

FieldKind KindOf(const MYSQL_FIELD& field) {
    switch (field.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
        return FieldKind::Integer;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return FieldKind::Float;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return FieldKind::Date;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return FieldKind::DateTime;
    case MYSQL_TYPE_TIME:
        return FieldKind::Time;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
        return FieldKind::Memo;
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_VARCHAR:
        return FieldKind::Text;
    default:
        return FieldKind::Other;
    }
}

} // namespace

std::vector<ColumnInfo> ResultColumns(st_mysql_res* res) {
    const unsigned n = mysql_num_fields(res);
    const MYSQL_FIELD* fields = mysql_fetch_fields(res);
    std::vector<ColumnInfo> columns;
    columns.reserve(n);
    for (unsigned i = 0; i < n; ++i) {
        const MYSQL_FIELD& f = fields[i];
        ColumnInfo c;
        c.name = FromCp1250(f.name, f.name_length);
        c.table = FromCp1250(f.table, f.table_length);
        c.kind = KindOf(f);
        c.serverType = f.type;
        c.decimals = f.decimals;
        c.autoIncrement = f.flags & AUTO_INCREMENT_FLAG;
        c.primaryKey = f.flags & PRI_KEY_FLAG;
        c.binary = f.charsetnr == 63;
        c.isUnsigned = f.flags & UNSIGNED_FLAG;
        // The declared length is in bytes of the connection's character set,
        // one byte a character for latin2.
        c.size = unsigned(f.length);
        columns.push_back(std::move(c));
    }
    return columns;
}

Connection::Connection() = default;

Connection::~Connection() {
    close();
}

void Connection::open(const ConnectionOptions& options) {
    close();
    m_options = options;
    connect();
    m_open = true;
}

void Connection::close() {
    if (m_streamLinks) {
        m_streamLinks->detach();
        m_streamLinks.reset();
    }
    dropSession();
    m_open = false;
}

void Connection::dropSession() {
    if (m_mysql)
        mysql_close(m_mysql);
    m_mysql = nullptr;
    m_broken = false;
    m_inTransaction = false;
}

void Connection::connect() {
    dropSession();
    MYSQL* mysql = mysql_init(nullptr);
    if (!mysql)
        throw DbError(QStringLiteral("Out of memory"), CR_OUT_OF_MEMORY);
    const unsigned protocol = MYSQL_PROTOCOL_TCP;
    mysql_optionsv(mysql, MYSQL_OPT_PROTOCOL, &protocol);
    if (m_options.compress)
        mysql_optionsv(mysql, MYSQL_OPT_COMPRESS, nullptr);
    const unsigned timeout = m_options.connectTimeout;
    mysql_optionsv(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    const QByteArray charset = m_options.charset.toLatin1();
    mysql_optionsv(mysql, MYSQL_SET_CHARSET_NAME, charset.constData());
    // Reconnecting is done here, not by the library, so that the session's
    // collation is set before any statement runs on a new session and no
    // statement is sent twice.
    my_bool reconnect = 0;
    mysql_optionsv(mysql, MYSQL_OPT_RECONNECT, &reconnect);
    if (m_options.nonBlocking)
        mysql_optionsv(mysql, MYSQL_OPT_NONBLOCK, 0);

    const QByteArray host = ToCp1250(m_options.host);
    const QByteArray user = ToCp1250(m_options.user);
    const QByteArray password = ToCp1250(m_options.password);
    const QByteArray database = ToCp1250(m_options.database);
    if (!mysql_real_connect(mysql, host.constData(), user.constData(), password.constData(),
                            database.isEmpty() ? nullptr : database.constData(), m_options.port, nullptr,
                            CLIENT_MULTI_RESULTS)) {
        const unsigned code = mysql_errno(mysql);
        const QString message = FromCp1250(mysql_error(mysql), qsizetype(strlen(mysql_error(mysql))));
        mysql_close(mysql);
        throw DbError(message, code);
    }
    m_mysql = mysql;
    try {
        setNames();
    } catch (...) {
        // A session without the Hungarian collation is no session: the next
        // statement tries again.
        dropSession();
        throw;
    }
}

void Connection::setNames() {
    for (const QString& name : {m_options.charset, m_options.collation})
        if (name.contains(QLatin1Char('\'')) || name.contains(QLatin1Char('\\')))
            throw DbError(QStringLiteral("Invalid character set name: %1").arg(name), CR_CANT_READ_CHARSET);
    const QByteArray sql =
        ToCp1250(QStringLiteral("SET NAMES '%1' COLLATE '%2'").arg(m_options.charset, m_options.collation));
    if (mysql_send_query(m_mysql, sql.constData(), (unsigned long)sql.size()) != 0)
        fail(false);
    readResults(false);
}

bool Connection::socketClosedByServer() const {
    const my_socket fd = mysql_get_socket(m_mysql);
    if (fd < 0)
        return true;
    // Between statements nothing is due from the server: a readable socket
    // means it closed the session (or sent its last error before closing).
    pollfd p{int(fd), POLLIN | POLLRDHUP, 0};
    const int ready = ::poll(&p, 1, 0);
    return ready > 0 && (p.revents & (POLLIN | POLLRDHUP | POLLHUP | POLLERR | POLLNVAL));
}

void Connection::ensureAlive() {
    if (!m_open)
        throw DbError(QStringLiteral("Nincs adatbázis kapcsolat"), CR_CONNECTION_ERROR);
    if (m_mysql && !m_broken && !socketClosedByServer())
        return;
    // The server closed a session that had a transaction open: the
    // transaction is gone, and this statement must not run without it.
    const bool transactionLost = m_mysql && !m_broken && m_inTransaction;
    dropSession();
    if (transactionLost)
        throw DbError(QStringLiteral("Lost connection to server; the open transaction was rolled back"),
                      CR_SERVER_LOST);
    connect();
}

void Connection::run(const QByteArray& sql) {
    ensureAlive();
    if (mysql_send_query(m_mysql, sql.constData(), (unsigned long)sql.size()) == 0)
        return;
    // The statement did not reach the server: it may go once more on a new
    // session, unless the lost session held a transaction it belonged to.
    if (!IsLostConnectionError(mysql_errno(m_mysql)))
        fail(false);
    if (m_inTransaction)
        fail(false);
    connect();
    if (mysql_send_query(m_mysql, sql.constData(), (unsigned long)sql.size()) != 0)
        fail(false);
}

ResultSet Connection::readResults(bool wantRows) {
    if (mysql_read_query_result(m_mysql) != 0)
        fail(true);
    ResultSet first;
    bool haveRows = false;
    for (;;) {
        if (MYSQL_RES* res = mysql_use_result(m_mysql)) {
            if (wantRows && !haveRows) {
                ResultSet rows(ResultColumns(res));
                while (MYSQL_ROW row = mysql_fetch_row(res))
                    rows.appendRow(row, mysql_fetch_lengths(res));
                rows.finish();
                first = std::move(rows);
                haveRows = true;
            } else {
                while (mysql_fetch_row(res)) {
                }
            }
            const bool failed = mysql_errno(m_mysql) != 0;
            mysql_free_result(res);
            if (failed)
                fail(true);
        } else if (mysql_field_count(m_mysql) == 0) {
            m_affectedRows = mysql_affected_rows(m_mysql);
            m_matchedRows = MatchedRows(mysql_info(m_mysql), m_affectedRows);
        } else {
            fail(true);
        }
        const int status = mysql_next_result(m_mysql);
        if (status > 0)
            fail(true);
        if (status < 0)
            break;
    }
    unsigned serverStatus = 0;
    mariadb_get_infov(m_mysql, MARIADB_CONNECTION_SERVER_STATUS, &serverStatus);
    m_inTransaction = (serverStatus & SERVER_STATUS_IN_TRANS) != 0;
    return first;
}

quint64 MatchedRows(const char* info, quint64 affectedRows) {
    // An UPDATE reports "Rows matched: N  Changed: M  Warnings: W"; other
    // statements report nothing of the kind, and then the affected rows are
    // the rows they matched.
    static const char prefix[] = "Rows matched: ";
    if (!info || strncmp(info, prefix, sizeof prefix - 1) != 0)
        return affectedRows;
    return strtoull(info + sizeof prefix - 1, nullptr, 10);
}

DbError Connection::lastError(bool afterSend) {
    if (!m_mysql)
        return DbError(QStringLiteral("Nincs adatbázis kapcsolat"), CR_CONNECTION_ERROR);
    const unsigned code = mysql_errno(m_mysql);
    const char* text = mysql_error(m_mysql);
    const QString message = FromCp1250(text, qsizetype(strlen(text)));
    const bool lost = IsLostConnectionError(code);
    if (lost) {
        // The caller learns from this error that the session, and any
        // transaction it held, is gone; the next statement reconnects.
        m_broken = true;
        m_inTransaction = false;
    }
    return DbError(message, code, lost && afterSend);
}

void Connection::fail(bool afterSend) {
    throw lastError(afterSend);
}

std::shared_ptr<StreamLinks> Connection::streamLinks() {
    if (!m_streamLinks)
        m_streamLinks = std::make_shared<StreamLinks>(this);
    return m_streamLinks;
}

void Connection::exec(const QString& sql) {
    run(ToCp1250(sql));
    readResults(false);
}

void Connection::execBytes(const QByteArray& sql) {
    run(sql);
    readResults(false);
}

void Connection::streamRows(const QString& sql, const ColumnsSink& columns, const RowSink& row) {
    run(ToCp1250(sql));
    if (mysql_read_query_result(m_mysql) != 0)
        fail(true);
    MYSQL_RES* res = mysql_use_result(m_mysql);
    if (!res) {
        if (mysql_field_count(m_mysql) != 0)
            fail(true);
        readResults(false); // no rows: the statement's other results
        return;
    }
    const auto discard = [this, res] {
        while (mysql_fetch_row(res)) {
        }
        mysql_free_result(res);
        while (mysql_next_result(m_mysql) == 0)
            if (MYSQL_RES* more = mysql_use_result(m_mysql))
                mysql_free_result(more);
    };
    try {
        if (columns)
            columns(ResultColumns(res));
        while (MYSQL_ROW values = mysql_fetch_row(res))
            row(values, mysql_fetch_lengths(res));
    } catch (...) {
        discard();
        throw;
    }
    const bool failed = mysql_errno(m_mysql) != 0;
    if (failed) {
        mysql_free_result(res);
        fail(true);
    }
    discard();
    unsigned serverStatus = 0;
    mariadb_get_infov(m_mysql, MARIADB_CONNECTION_SERVER_STATUS, &serverStatus);
    m_inTransaction = (serverStatus & SERVER_STATUS_IN_TRANS) != 0;
}

ResultSet Connection::query(const QString& sql) {
    run(ToCp1250(sql));
    return readResults(true);
}

void Connection::rollback() noexcept {
    if (m_mysql && !m_broken && !socketClosedByServer()) {
        try {
            static const QByteArray sql = QByteArrayLiteral("ROLLBACK");
            if (mysql_send_query(m_mysql, sql.constData(), (unsigned long)sql.size()) == 0) {
                readResults(false);
                return;
            }
        } catch (...) {
        }
    }
    // The session is gone, and its transaction with it.
    m_inTransaction = false;
}

quint64 Connection::lastInsertId() const {
    return m_mysql ? mysql_insert_id(m_mysql) : 0;
}

unsigned long Connection::threadId() const {
    return m_mysql ? mysql_thread_id(m_mysql) : 0;
}

QString Connection::serverVersion() const {
    return m_mysql ? QString::fromLatin1(mysql_get_server_info(m_mysql)) : QString();
}

QStringList Connection::tableNames() {
    const ResultSet rs = query(QStringLiteral("SHOW FULL TABLES WHERE Table_type = 'BASE TABLE'"));
    QStringList names;
    for (int r = 0; r < rs.rowCount(); ++r)
        names << rs.text(r, 0);
    return names;
}

} // namespace kml
