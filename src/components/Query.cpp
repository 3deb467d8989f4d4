#include "components/Query.h"

#include "components/Connection.h"
#include "components/Cp1250.h"
#include "components/DbError.h"
#include "components/NumberFormat.h"
#include "components/StreamingStatement.h"

#include <QRegularExpression>
#include <algorithm>
#include <stdexcept>

namespace kml {
namespace {

Connection* g_sharedConnection = nullptr;

} // namespace

Connection& SharedConnection() {
    if (!g_sharedConnection)
        throw std::logic_error("no shared connection");
    return *g_sharedConnection;
}

void SetSharedConnection(Connection* connection) {
    g_sharedConnection = connection;
}

QString QuoteSqlText(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    out += QLatin1Char('\'');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\'':
            out += QLatin1String("''");
            break;
        default:
            out += c;
        }
    }
    out += QLatin1Char('\'');
    return out;
}

QString SqlLiteral(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("'I'") : QStringLiteral("'N'");
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("''yyyy-MM-dd''"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("''yyyy-MM-dd HH:mm:ss''"));
    default:
        return QuoteSqlText(value.toString());
    }
}

QString DisplayText(const QVariant& value, FieldKind kind, const QString& format) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (kind) {
    case FieldKind::Float:
        if (value.typeId() == QMetaType::Double)
            return FormatNumber(format, value.toDouble());
        return value.toString();
    case FieldKind::Date:
        return value.toDate().toString(format.isEmpty() ? QStringLiteral("yyyy.MM.dd") : format);
    case FieldKind::DateTime:
        return value.toDateTime().toString(format.isEmpty() ? QStringLiteral("yyyy.MM.dd HH:mm") : format);
    case FieldKind::Time:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    default:
        return value.toString();
    }
}

ResultSet QueryInTurn(Connection& connection, const QStringList& statements) {
    ResultSet rows;
    for (const QString& sql : statements)
        rows.append(connection.query(sql));
    return rows;
}

Query::Query(Connection* connection, QObject* parent) : QObject(parent), m_connection(connection) {}

Query::~Query() {
    stopStream();
}

Connection& Query::connection() const {
    return m_connection ? *m_connection : SharedConnection();
}

void Query::setSql(const QString& text) {
    m_sql = text.split(QLatin1Char('\n'));
    for (QString& line : m_sql)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
}

void Query::setParam(const QString& name, const QVariant& value) {
    m_params[name.startsWith(QLatin1Char(':')) ? name.mid(1) : name] = value;
}

QVariant Query::param(const QString& name) const {
    const auto it = m_params.find(name.startsWith(QLatin1Char(':')) ? name.mid(1) : name);
    return it == m_params.end() ? QVariant() : it->second;
}

QString Query::statement() const {
    QString text = m_sql.join(QLatin1Char('\n'));
    if (m_params.empty())
        return text;
    // Replace :name outside quoted literals; longer names first so that
    // :pdatum2 is not taken for :pdatum.
    static const QRegularExpression kToken(
        QStringLiteral(R"('(?:[^'\\]|\\.|'')*'|"(?:[^"\\]|\\.)*"|:([A-Za-z_][A-Za-z0-9_]*))"));
    QString out;
    out.reserve(text.size());
    qsizetype last = 0;
    auto it = kToken.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.capturedLength(1) == 0)
            continue;
        const auto param = m_params.find(m.captured(1));
        if (param == m_params.end())
            continue;
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += SqlLiteral(param->second);
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

void Query::open(const QueryPrelude& prelude) {
    if (m_fetching)
        close();
    if (m_active)
        return;
    Connection& conn = connection();
    m_result = prelude.sql.isEmpty() ? conn.query(statement())
                                     : QueryInTurn(conn, prelude.statement(QueryInTurn(conn, prelude.sql)));
    m_complete = true;
    adoptColumns();
    m_active = true;
    emit opened();
    setRow(m_result.rowCount() > 0 ? 0 : -1);
    m_bof = true;
}

void Query::adoptColumns() {
    m_fields.clear();
    m_fields.reserve(size_t(m_result.columnCount()));
    for (const ColumnInfo& column : m_result.columns()) {
        Field f;
        const auto saved = m_settings.find(column.name.toLower());
        if (saved != m_settings.end())
            f = saved->second;
        else if (column.kind == FieldKind::Integer || column.kind == FieldKind::Float)
            f.alignment = Qt::AlignRight | Qt::AlignVCenter;
        f.name = column.name;
        f.kind = column.kind;
        f.size = column.size;
        m_fields.push_back(std::move(f));
    }
}

StreamingStatement& Query::stream() {
    Connection& conn = connection();
    if (!m_stream || m_streamConnection != &conn) {
        if (m_stream) {
            // It may be the sender of the signal being handled.
            m_stream->abandon();
            m_stream->disconnect(this);
            m_stream->deleteLater();
        }
        for (StreamingStatement* side : m_sideStreams) {
            side->abandon();
            side->disconnect(this);
            side->deleteLater();
        }
        m_sideStreams.clear();
        m_stream = new StreamingStatement(conn.streamLinks(), this);
        m_streamConnection = &conn;
        connect(m_stream, &StreamingStatement::columnsArrived, this, [this] {
            if (m_inPrelude)
                return;
            adoptColumns();
            m_active = true;
            m_announced = 0;
            m_row = -1;
            m_bof = m_eof = true;
            emit opened();
        });
        connect(m_stream, &StreamingStatement::rowsArrived, this, [this](int first, int last) {
            if (!m_inPrelude)
                announceRows(first, last);
        });
        connect(m_stream, &StreamingStatement::finished, this, [this] {
            m_mainDone = true;
            stepProgress();
        });
        connect(m_stream, &StreamingStatement::failed, this, &Query::streamFailed);
    }
    return *m_stream;
}

StreamingStatement& Query::sideStream(size_t index) {
    Connection& conn = connection();
    stream(); // drops side streams of another connection
    while (m_sideStreams.size() <= index) {
        auto* side = new StreamingStatement(conn.streamLinks(), this);
        // Its rows are announced by the query when their turn comes.
        const size_t n = m_sideStreams.size();
        connect(side, &StreamingStatement::finished, this, [this, n] {
            if (n < m_sides.size()) {
                m_sides[n]->done = true;
                stepProgress();
            }
        });
        connect(side, &StreamingStatement::failed, this, &Query::streamFailed);
        m_sideStreams.push_back(side);
    }
    return *m_sideStreams[index];
}

void Query::streamFailed(const QString& message, unsigned code) {
    stopStream();
    m_preludeRows = ResultSet();
    close();
    emit failed(message, code);
}

void Query::announceRows(int first, int last) {
    m_announced = last + 1;
    emit rowsArrived(first, last);
    if (m_row < 0 && m_active && m_announced > 0)
        setRow(0);
    else if (m_row >= 0)
        m_eof = m_row >= recordCount() - 1;
}

void Query::openAsync(QueryPrelude prelude) {
    close();
    m_result = ResultSet();
    m_announced = 0;
    m_complete = false;
    m_fetching = true;
    m_inPrelude = !prelude.sql.isEmpty();
    m_prelude = std::move(prelude);
    m_nextPart = {};
    try {
        if (m_inPrelude)
            startStep(m_prelude.sql, &m_preludeRows, false);
        else
            startStep({statement()}, &m_result, false);
    } catch (...) {
        stopStream();
        throw;
    }
}

void Query::startStep(const QStringList& sql, ResultSet* target, bool append) {
    StreamingStatement& first = stream();
    m_mainDone = false;
    m_sidesTaken = 0;
    m_sides.clear();
    for (qsizetype i = 1; i < sql.size(); ++i)
        m_sides.push_back(std::make_unique<SideRun>());
    first.start(ToCp1250(sql.value(0)), target, append);
    for (qsizetype i = 1; i < sql.size(); ++i)
        sideStream(size_t(i - 1)).start(ToCp1250(sql.at(i)), &m_sides[size_t(i - 1)]->rows);
}

void Query::stepProgress() {
    if (!m_mainDone)
        return;
    const quint64 opening = m_opening;
    ResultSet& target = m_inPrelude ? m_preludeRows : m_result;
    while (m_sidesTaken < m_sides.size()) {
        if (m_inPrelude && m_prelude.rowsWanted > 0 && target.rowCount() >= m_prelude.rowsWanted) {
            // Enough keys from the statements before: the rest are not needed.
            for (size_t i = m_sidesTaken; i < m_sides.size(); ++i)
                m_sideStreams[i]->abandon();
            m_sidesTaken = m_sides.size();
            break;
        }
        SideRun& side = *m_sides[m_sidesTaken];
        if (!side.done)
            return;
        ++m_sidesTaken;
        const int first = target.rowCount();
        target.append(std::move(side.rows));
        if (!m_inPrelude && target.rowCount() > first) {
            announceRows(first, target.rowCount() - 1);
            if (opening != m_opening)
                return; // a receiver started another opening or closed the query
        }
    }
    m_sides.clear();
    m_sidesTaken = 0;
    stepDone();
}

void Query::stepDone() {
    if (m_inPrelude) {
        preludeDone();
        return;
    }
    if (m_active && !m_nextPart.sql.isEmpty()) {
        // The next part of the list: its keys first, then its rows after
        // those already there.
        m_prelude = std::move(m_nextPart);
        m_nextPart = {};
        m_inPrelude = true;
        continueOpening(m_prelude.sql, &m_preludeRows, false);
        return;
    }
    m_fetching = false;
    m_complete = true;
    if (!m_active) {
        // A statement without a result set.
        adoptColumns();
        m_active = true;
        emit opened();
    }
    emit finished();
}

void Query::preludeDone() {
    m_inPrelude = false;
    const QStringList sql = m_prelude.statement(m_preludeRows);
    m_nextPart = m_prelude.next ? m_prelude.next(m_preludeRows) : QueryPrelude{};
    m_preludeRows = ResultSet();
    m_prelude = {};
    // A later part's rows go after the earlier parts'.
    continueOpening(sql, &m_result, m_active);
}

void Query::continueOpening(const QStringList& sql, ResultSet* target, bool append) {
    try {
        startStep(sql, target, append);
    } catch (const DbError& error) {
        // No link for the next statement: reported as the opening's failure,
        // and nothing of it is left to run.
        stopStream();
        m_fetching = false;
        emit failed(error.message(), error.code());
    }
}

void Query::stopStream() {
    ++m_opening;
    if (m_stream)
        m_stream->abandon();
    for (StreamingStatement* side : m_sideStreams)
        side->abandon();
    m_sides.clear();
    m_sidesTaken = 0;
    m_mainDone = false;
    if (!m_fetching)
        return;
    m_fetching = false;
    m_inPrelude = false;
    m_prelude = {};
    m_nextPart = {};
}

void Query::cancel() {
    if (!m_fetching)
        return;
    const int announced = m_announced;
    stopStream();
    if (!m_active) {
        // Nothing had arrived yet: the query stays closed.
        m_result = ResultSet();
        return;
    }
    m_result.finish();
    // Rows read but not yet announced are announced now, so that the query
    // and its grids agree on what it holds.
    if (m_result.rowCount() > announced)
        announceRows(announced, m_result.rowCount() - 1);
}

void Query::close() {
    stopStream();
    m_complete = false;
    if (!m_active)
        return;
    for (const Field& f : m_fields)
        m_settings[f.name.toLower()] = f;
    m_active = false;
    m_result = ResultSet();
    m_row = -1;
    m_bof = m_eof = true;
    emit closed();
}

void Query::refresh(const QString& keyField, const QueryPrelude& prelude) {
    const int oldRow = m_row;
    QVariant key;
    if (m_active && !keyField.isEmpty() && fieldIndex(keyField) >= 0)
        key = value(keyField);
    close();
    open(prelude);
    if (key.isValid() && fieldIndex(keyField) >= 0 && locate(keyField, key))
        return;
    if (oldRow >= 0 && !isEmpty())
        moveTo(std::min(oldRow, recordCount() - 1));
}

void Query::setRow(int row) {
    m_row = row;
    m_bof = row <= 0;
    m_eof = row < 0 || row >= recordCount() - 1;
    emit currentChanged(m_row);
}

void Query::first() {
    if (!isEmpty())
        setRow(0);
    m_bof = true;
}

void Query::last() {
    if (!isEmpty())
        setRow(recordCount() - 1);
    m_eof = true;
}

void Query::next() {
    if (m_row >= 0 && m_row < recordCount() - 1) {
        setRow(m_row + 1);
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void Query::prior() {
    if (m_row > 0) {
        setRow(m_row - 1);
        m_bof = false;
    } else {
        m_bof = true;
    }
}

bool Query::moveTo(int row) {
    if (row < 0 || row >= recordCount())
        return false;
    if (row != m_row)
        setRow(row);
    return true;
}

bool Query::locate(const QString& field, const QVariant& value, bool partial, int from) {
    const int col = checkedIndex(field);
    const int n = recordCount();
    if (partial) {
        const QString wanted = value.toString();
        for (int r = std::max(from, 0); r < n; ++r)
            if (m_result.text(r, col).startsWith(wanted, Qt::CaseInsensitive))
                return moveTo(r);
        return false;
    }
    if (value.isNull()) {
        for (int r = std::max(from, 0); r < n; ++r)
            if (m_result.isNull(r, col))
                return moveTo(r);
        return false;
    }
    const FieldKind kind = m_result.column(col).kind;
    if (kind == FieldKind::Integer) {
        bool ok = false;
        const qlonglong wanted = value.toLongLong(&ok);
        if (!ok)
            return false;
        const QByteArray digits = QByteArray::number(wanted);
        for (int r = std::max(from, 0); r < n; ++r)
            if (m_result.raw(r, col) == digits && !m_result.isNull(r, col))
                return moveTo(r);
        return false;
    }
    for (int r = std::max(from, 0); r < n; ++r)
        if (!m_result.isNull(r, col) && m_result.value(r, col) == value)
            return moveTo(r);
    return false;
}

int Query::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int Query::checkedIndex(const QString& name) const {
    const int index = fieldIndex(name);
    if (index < 0)
        throw std::logic_error(QStringLiteral("field '%1' not found").arg(name).toStdString());
    return index;
}

Field& Query::fieldByName(const QString& name) {
    return m_fields[size_t(checkedIndex(name))];
}

Field& Query::fieldSettings(const QString& name) {
    // A closed query still lists the fields of its last opening, but the
    // next opening builds them from the saved settings.
    const int index = m_active ? fieldIndex(name) : -1;
    if (index >= 0)
        return m_fields[size_t(index)];
    Field& f = m_settings[name.toLower()];
    if (f.name.isEmpty())
        f.name = name;
    return f;
}

QVariant Query::value(int col) const {
    if (m_row < 0 || col < 0 || col >= fieldCount())
        return {};
    return m_result.value(m_row, col);
}

QVariant Query::value(const QString& name) const {
    return value(checkedIndex(name));
}

bool Query::isNull(const QString& name) const {
    const int col = checkedIndex(name);
    return m_row < 0 || m_result.isNull(m_row, col);
}

QString Query::asString(const QString& name) const {
    const int col = checkedIndex(name);
    return m_row < 0 ? QString() : m_result.text(m_row, col);
}

qlonglong Query::asInt(const QString& name) const {
    return value(name).toLongLong();
}

double Query::asFloat(const QString& name) const {
    return value(name).toDouble();
}

QDate Query::asDate(const QString& name) const {
    const QVariant v = value(name);
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}

QDateTime Query::asDateTime(const QString& name) const {
    const QVariant v = value(name);
    return v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
}

QString Query::displayText(int row, int col) const {
    if (row < 0 || row >= recordCount() || col < 0 || col >= fieldCount() || m_result.isNull(row, col))
        return {};
    const Field& f = m_fields[size_t(col)];
    if (f.kind == FieldKind::Text || f.kind == FieldKind::Memo || f.kind == FieldKind::Integer)
        return m_result.text(row, col);
    return DisplayText(m_result.value(row, col), f.kind, f.displayFormat);
}

} // namespace kml
