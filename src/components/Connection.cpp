#include "components/Connection.h"

#include "components/Cp1250.h"
#include "components/DbError.h"
#include "components/StreamingStatement.h"

#include <mysql.h>
#include <errmsg.h>
#include <mysqld_error.h>

#include <poll.h>

namespace kml {
namespace {

// Errors after which the session is gone and must be opened again.
bool IsConnectionLost(unsigned code) {
    switch (code) {
    case CR_SERVER_GONE_ERROR:
    case CR_SERVER_LOST:
    case CR_SERVER_LOST_EXTENDED:
    case ER_CONNECTION_KILLED:
    case ER_SERVER_SHUTDOWN:
        return true;
    default:
        return false;
    }
}

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
        // The declared length is in bytes of the connection's character set,
        // one byte a character for latin2.
        c.size = unsigned(f.length);
        columns.push_back(std::move(c));
    }
    return columns;
}

Connection::Connection() = default;

Connection::~Connection() { close(); }

void Connection::open(const ConnectionOptions& options) {
    close();
    m_options = options;
    connect();
}

void Connection::close() {
    if (m_streamLinks) {
        m_streamLinks->detach();
        m_streamLinks.reset();
    }
    if (m_mysql)
        mysql_close(m_mysql);
    m_mysql = nullptr;
    m_broken = false;
}

void Connection::connect() {
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
    // collation is set before any statement runs on a new session.
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
    m_broken = false;
    setNames();
}

void Connection::setNames() {
    for (const QString& name : {m_options.charset, m_options.collation})
        if (name.contains(QLatin1Char('\'')) || name.contains(QLatin1Char('\\')))
            throw DbError(QStringLiteral("Invalid character set name: %1").arg(name), CR_CANT_READ_CHARSET);
    send(ToCp1250(QStringLiteral("SET NAMES '%1' COLLATE '%2'").arg(m_options.charset, m_options.collation)));
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
    if (!m_mysql)
        throw DbError(QStringLiteral("Nincs adatbázis kapcsolat"), CR_CONNECTION_ERROR);
    if (!m_broken && !socketClosedByServer())
        return;
    mysql_close(m_mysql);
    m_mysql = nullptr;
    connect();
}

void Connection::send(const QByteArray& sql) {
    if (mysql_send_query(m_mysql, sql.constData(), (unsigned long)sql.size()) == 0)
        return;
    // The statement did not reach the server: safe to send it once more on a
    // fresh session.
    if (!IsConnectionLost(mysql_errno(m_mysql)))
        fail();
    mysql_close(m_mysql);
    m_mysql = nullptr;
    connect();
    if (mysql_send_query(m_mysql, sql.constData(), (unsigned long)sql.size()) != 0)
        fail();
}

ResultSet Connection::readResults(bool wantRows) {
    if (mysql_read_query_result(m_mysql) != 0)
        fail();
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
                fail();
        } else if (mysql_field_count(m_mysql) == 0) {
            m_affectedRows = mysql_affected_rows(m_mysql);
        } else {
            fail();
        }
        const int status = mysql_next_result(m_mysql);
        if (status > 0)
            fail();
        if (status < 0)
            break;
    }
    return first;
}

DbError Connection::lastError() {
    if (!m_mysql)
        return DbError(QStringLiteral("Nincs adatbázis kapcsolat"), CR_CONNECTION_ERROR);
    const unsigned code = mysql_errno(m_mysql);
    const char* text = mysql_error(m_mysql);
    const QString message = FromCp1250(text, qsizetype(strlen(text)));
    if (IsConnectionLost(code))
        m_broken = true;
    return DbError(message, code);
}

void Connection::fail() { throw lastError(); }

std::shared_ptr<StreamLinks> Connection::streamLinks() {
    if (!m_streamLinks)
        m_streamLinks = std::make_shared<StreamLinks>(this);
    return m_streamLinks;
}

void Connection::exec(const QString& sql) {
    ensureAlive();
    send(ToCp1250(sql));
    readResults(false);
}

ResultSet Connection::query(const QString& sql) {
    ensureAlive();
    send(ToCp1250(sql));
    return readResults(true);
}

quint64 Connection::lastInsertId() const { return m_mysql ? mysql_insert_id(m_mysql) : 0; }

unsigned long Connection::threadId() const { return m_mysql ? mysql_thread_id(m_mysql) : 0; }

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
