#include "admin/SqlScript.h"

#include <QRegularExpression>
#include <QStringList>
#include <optional>

namespace kml {
namespace {

// Where the scanner stands between two characters.
enum class Inside { Code, Quote, BlockComment };

bool StartsLineComment(const QString& text, qsizetype i) {
    if (text.at(i) == QLatin1Char('#'))
        return true;
    if (text.at(i) != QLatin1Char('-') || i + 1 >= text.size() || text.at(i + 1) != QLatin1Char('-'))
        return false;
    return i + 2 >= text.size() || text.at(i + 2).isSpace();
}

bool IsQuote(QChar c) {
    return c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`');
}

// Skips blanks and comments from i on; the index of the first other
// character (text.size() when none).
qsizetype SkipBlanksAndComments(const QString& text, qsizetype i) {
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (StartsLineComment(text, i)) {
            while (i < text.size() && text.at(i) != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? text.size() : end + 2;
        } else {
            break;
        }
    }
    return i;
}

// A "delimiter" line: the new terminator (empty for a bare line).
std::optional<QString> DelimiterCommand(const QString& trimmedLine) {
    const QStringList words =
        trimmedLine.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.first().compare(QLatin1String("delimiter"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return words.size() > 1 ? words.at(1) : QString();
}

class Splitter {
public:
    std::vector<ScriptStatement> split(const QString& text) {
        QString all = text;
        all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QStringList lines = all.split(QLatin1Char('\n'));
        for (int n = 0; n < lines.size(); ++n)
            line(lines.at(n), n + 1);
        finish(int(lines.size()));
        return std::move(m_statements);
    }

private:
    void line(const QString& raw, int number) {
        m_line = number;
        qsizetype i = 0;
        if (m_inside != Inside::Quote) {
            const QString trimmed = raw.trimmed();
            if (trimmed.isEmpty() && m_inside == Inside::Code)
                return;
            if (m_inside == Inside::Code && m_current.trimmed().isEmpty()) {
                if (const std::optional<QString> terminator = DelimiterCommand(trimmed)) {
                    m_terminator = *terminator;
                    return;
                }
            }
            while (i < raw.size() && raw.at(i).isSpace())
                ++i;
        }
        while (i < raw.size()) {
            const QChar c = raw.at(i);
            switch (m_inside) {
            case Inside::Quote:
                append(c);
                if (c == QLatin1Char('\\') && m_quote != QLatin1Char('`') && i + 1 < raw.size()) {
                    append(raw.at(++i));
                } else if (c == m_quote) {
                    m_inside = Inside::Code;
                }
                ++i;
                continue;
            case Inside::BlockComment:
                append(c);
                if (c == QLatin1Char('*') && i + 1 < raw.size() && raw.at(i + 1) == QLatin1Char('/')) {
                    append(raw.at(++i));
                    m_inside = Inside::Code;
                }
                ++i;
                continue;
            case Inside::Code:
                break;
            }
            if (!m_terminator.isEmpty() && QStringView(raw).mid(i).startsWith(m_terminator)) {
                finish(number);
                i += m_terminator.size();
                while (i < raw.size() && raw.at(i).isSpace())
                    ++i;
                continue;
            }
            if (StartsLineComment(raw, i)) {
                append(QStringView(raw).mid(i));
                break;
            }
            if (c == QLatin1Char('/') && i + 1 < raw.size() && raw.at(i + 1) == QLatin1Char('*')) {
                append(c);
                append(raw.at(++i));
                m_inside = Inside::BlockComment;
                ++i;
                continue;
            }
            if (IsQuote(c)) {
                m_inside = Inside::Quote;
                m_quote = c;
            }
            append(c);
            ++i;
        }
        if (m_inside == Inside::Quote) {
            m_current += QLatin1Char('\n');
            return;
        }
        // Trailing blanks outside a literal are not part of the statement.
        while (!m_current.isEmpty() && m_current.back().isSpace())
            m_current.chop(1);
        if (m_terminator.isEmpty() && m_inside == Inside::Code) {
            finish(number);
            return;
        }
        if (!m_current.isEmpty())
            m_current += QLatin1Char('\n');
    }

    void append(QChar c) {
        if (m_current.isEmpty())
            m_first = m_line;
        m_current += c;
    }
    void append(QStringView text) {
        if (m_current.isEmpty() && !text.isEmpty())
            m_first = m_line;
        m_current += text;
    }

    void finish(int lastLine) {
        const QString sql = m_current.trimmed();
        if (!IsBlankSql(sql))
            m_statements.push_back({sql, m_first, lastLine});
        m_current.clear();
    }

    std::vector<ScriptStatement> m_statements;
    QString m_terminator = QStringLiteral(";");
    QString m_current;
    Inside m_inside = Inside::Code;
    QChar m_quote;
    int m_line = 0;
    int m_first = 0;
};

} // namespace

std::vector<ScriptStatement> SplitSqlScript(const QString& text) {
    return Splitter().split(text);
}

bool IsBlankSql(const QString& text) {
    return SkipBlanksAndComments(text, 0) >= text.size();
}

QString LeadingKeyword(const QString& statement) {
    qsizetype i = SkipBlanksAndComments(statement, 0);
    const qsizetype start = i;
    while (i < statement.size() && (statement.at(i).isLetter() || statement.at(i) == QLatin1Char('_')))
        ++i;
    return statement.mid(start, i - start).toUpper();
}

bool IsResultStatement(const QString& statement) {
    static const QStringList words{QStringLiteral("SELECT"),   QStringLiteral("SHOW"),
                                   QStringLiteral("WITH"),     QStringLiteral("EXPLAIN"),
                                   QStringLiteral("DESCRIBE"), QStringLiteral("DESC"),
                                   QStringLiteral("VALUES")};
    return words.contains(LeadingKeyword(statement));
}

TableModeRequest ParseTableMode(const QString& text) {
    TableModeRequest request;
    QString first = text.section(QLatin1Char('\n'), 0, 0);
    first.remove(QLatin1Char('\r'));
    if (!first.left(5).toLower().startsWith(QLatin1String("table")))
        return request;
    request.tableMode = true;
    const qsizetype colon = first.indexOf(QLatin1Char(':'));
    request.hasColon = colon >= 0;
    if (request.hasColon) {
        // The piece up to the next ":" (Token(":", line, 2)), trimmed; a
        // closing ";" typed out of habit is not part of the name.
        QString name = first.mid(colon + 1).section(QLatin1Char(':'), 0, 0).trimmed();
        if (name.endsWith(QLatin1Char(';')))
            name.chop(1);
        request.table = name.trimmed();
    }
    return request;
}

QString QuoteIdentifier(const QString& name) {
    const QStringList parts = name.split(QLatin1Char('.'));
    QStringList quoted;
    for (const QString& part : parts) {
        QString p = part.trimmed();
        p.replace(QLatin1Char('`'), QLatin1String("``"));
        quoted << QLatin1Char('`') + p + QLatin1Char('`');
    }
    return quoted.join(QLatin1Char('.'));
}

} // namespace kml
