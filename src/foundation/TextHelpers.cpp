#include "foundation/TextHelpers.h"

#include "components/Cp1250.h"
#include "components/Query.h"

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <stdexcept>

namespace kml {
namespace {

bool IsNull(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The cp1250 byte of a character; a character cp1250 cannot hold is written
// as '?' wherever the program writes bytes, so it counts as one.
unsigned char ByteOf(QChar c) {
    const int b = UnicodeToCp1250(c.unicode());
    return b < 0 ? '?' : static_cast<unsigned char>(b);
}

} // namespace

QString Token(const QString& delimiters, const QString& text, int n) {
    if (n < 1)
        return {};
    int piece = 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !delimiters.contains(text.at(i)))
            continue;
        if (piece == n)
            return text.mid(start, i - start).trimmed();
        ++piece;
        start = i + 1;
    }
    return {};
}

QString ReplaceChar(const QVariant& value, QChar from, QChar to) {
    if (IsNull(value))
        return {};
    QString text = value.toString();
    text.replace(from, to);
    return text;
}

QString RemoveSpaces(const QString& text) {
    QString result = text;
    result.remove(QLatin1Char(' '));
    return result;
}

QString StripChars(const QString& chars, const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text)
        if (!chars.contains(c))
            result += c;
    return result;
}

QString KeepNumberChars(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text)
        if (IsDigit(c) || c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.'))
            result += c;
    return result;
}

QString NumberChars(const QString& text) {
    const QString trimmed = text.trimmed();
    QString result;
    result.reserve(trimmed.size());
    bool mark = false;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (IsDigit(c)) {
            result += c;
        } else if (c == QLatin1Char('-')) {
            if (i == 0)
                result += c;
        } else if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
            if (!mark)
                result += c;
            mark = true;
        }
    }
    return result;
}

QString DigitsOnly(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text)
        if (IsDigit(c))
            result += c;
    return result;
}

QString StrLeft(const QString& text, int n) {
    return text.left(qMax(n, 0));
}

QString StrRight(const QString& text, int n) {
    return text.right(qMax(n, 0));
}

QString SafeFileName(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const unsigned char b = ByteOf(c);
        switch (b) {
        case 0x20:
        case 0x21:
        case 0x22:
        case 0x23:
        case 0x25:
        case 0x26:
        case 0x27:
        case 0x2A:
        case 0x2B:
        case 0x2F:
        case 0x3A:
        case 0x3F:
        case 0x40:
        case 0x5C:
            result += QLatin1Char('-');
            break;
        default:
            if (b >= 0x81)
                result += QLatin1Char('_');
            else if (b >= 'A' && b <= 'Z')
                result += QLatin1Char(char(b - 'A' + 'a'));
            else
                result += c;
        }
    }
    return result;
}

QString ToUtf8(const QString& text) {
    return FromCp1250(text.toUtf8());
}

QString RepairUtf8(const QString& text) {
    QByteArray s = ToCp1250(text);
    s.replace(QByteArrayLiteral("\xC5\xB1"), QByteArrayLiteral("\xFB"));
    s.replace(QByteArrayLiteral("\xC2\xAE"), QByteArray());
    // A letter-like symbol (E2 84 xx, the trade mark sign among them) goes
    // whole, its last byte included.
    for (qsizetype at = s.indexOf("\xE2\x84"); at >= 0; at = s.indexOf("\xE2\x84", at)) {
        const bool continuation =
            at + 2 < s.size() && (static_cast<unsigned char>(s.at(at + 2)) & 0xC0) == 0x80;
        s.remove(at, continuation ? 3 : 2);
    }
    s.replace('\xC5', '\xC3');

    // Second byte of a two-byte letter (lead byte C3, or C5 turned into C3)
    // and the cp1250 letter it stands for.
    static constexpr unsigned char kLetters[][2] = {
        {0xA1, 0xE1}, {0xA9, 0xE9}, {0xAD, 0xED}, {0xB3, 0xF3}, {0xB6, 0xF6}, // á é í ó ö
        {0xB5, 0xF5}, {0x91, 0xF5}, {0xBA, 0xFA}, {0xBC, 0xFC}, {0xBB, 0xFB}, // ő ő ú ü ű
        {0x81, 0xC1}, {0x89, 0xC9}, {0x8D, 0xCD}, {0x93, 0xD3}, {0x96, 0xD6}, // Á É Í Ó Ö
        {0x90, 0xD5}, {0x9A, 0xDA}, {0x9C, 0xDC}, {0xB1, 0xDB}, {0xB0, 0xDB}, // Ő Ú Ü Ű Ű
    };
    const auto letterOf = [](unsigned char second) -> int {
        for (const auto& pair : kLetters)
            if (pair[0] == second)
                return pair[1];
        return -1;
    };
    const auto byteAt = [&s](qsizetype i) { return static_cast<unsigned char>(s.at(i)); };
    // From the end towards the start, so that a replaced byte is never taken
    // for the lead byte of another pair. The combining accent (CC 81) is also
    // recognised when it ends the text.
    for (qsizetype p = s.size() - 1; p >= 0; --p) {
        if (p + 1 < s.size() && byteAt(p) == 0xC3) {
            const int letter = letterOf(byteAt(p + 1));
            if (letter >= 0)
                s[p + 1] = char(letter);
        }
        if (p >= 2 && byteAt(p) == 0x81 && byteAt(p - 1) == 0xCC) {
            switch (byteAt(p - 2)) {
            case 'a':
                s[p - 2] = char(0xE1);
                break;
            case 'e':
                s[p - 2] = char(0xE9);
                break;
            case 'i':
                s[p - 2] = char(0xED);
                break;
            default:
                break;
            }
        }
    }
    s.removeIf([](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b == 0x81 || b == 0xC3 || b == 0xCC;
    });
    return FromCp1250(s);
}

QString ReadTextFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Cannot open file %1. %2").arg(path, file.errorString()).toStdString());
    return FromCp1250(file.readAll());
}

QString EscapeText(const QString& text) {
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            result += QLatin1String("\\\\");
            break;
        case '\r':
            result += QLatin1String("\\r");
            break;
        case '\n':
            result += QLatin1String("\\n");
            break;
        default:
            result += c;
        }
    }
    return result;
}

QString EscapeText(const QVariant& value) {
    return IsNull(value) ? QString() : EscapeText(value.toString());
}

QString SqlStr(const QString& text) {
    return QuoteSqlText(text);
}

QString SqlStr(const QVariant& value) {
    return SqlStr(IsNull(value) ? QString() : value.toString());
}

QString UnescapeLineBreaks(const QString& text) {
    QString result = text;
    result.replace(QLatin1String("\\\\r\\\\n"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    result.replace(QLatin1String("\\r\\n"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    return result;
}

QString UnescapeLineBreaks(const QVariant& value) {
    return IsNull(value) ? QString() : UnescapeLineBreaks(value.toString());
}

QString EscapeOneLine(const QString& text) {
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            result += QLatin1String("\\\\");
            break;
        case '\r':
            result += QLatin1String("\\n");
            break;
        case '\n':
            break;
        default:
            result += c;
        }
    }
    return result;
}

QString EscapeOneLine(const QVariant& value) {
    return IsNull(value) ? QString() : EscapeOneLine(value.toString());
}

QString XmlEscape(const QString& text) {
    QString result = text;
    result.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    result.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    result.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    result.replace(QLatin1Char('\''), QLatin1String("&apos;"));
    result.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return result;
}

QString XmlText(const QString& text) {
    QString result = XmlEscape(text).trimmed();
    if (result.endsWith(QLatin1Char('.')))
        result.chop(1);
    if (result.endsWith(QLatin1Char(',')))
        result.chop(1);
    return result;
}

QString XmlElementText(const QString& tag, const QString& xml) {
    QString plain = xml;
    for (const char* prefix : {"ns2:", "ns3:", "ns4:", "ns5:"})
        plain.remove(QLatin1String(prefix), Qt::CaseInsensitive);
    const QString open = QLatin1Char('<') + tag + QLatin1Char('>');
    const qsizetype start = plain.indexOf(open);
    if (start < 0)
        return {};
    const qsizetype from = start + open.size();
    const qsizetype end = plain.indexOf(QLatin1String("</") + tag + QLatin1Char('>'), from);
    if (end < 0)
        return {};
    return plain.mid(from, end - from);
}

QString ScramblePassword(const QString& text) {
    QRandomGenerator random(quint32(QDateTime::currentMSecsSinceEpoch()) ^
                            QRandomGenerator::system()->generate());
    const auto noise = [&random] { return char(33 + random.bounded(55)); };
    const QByteArray clear = ToCp1250(text);
    QByteArray out;
    out.reserve(3 + 2 * clear.size());
    // The first character is never a double quote, so that an ini file
    // holds the value as it is, without quotes around it.
    out += noise();
    while (out.at(0) == '"')
        out[0] = noise();
    for (int i = 1; i < 3; ++i)
        out += noise();
    for (const char c : clear) {
        out += char((static_cast<unsigned char>(c) + 1) & 0xFF);
        out += noise();
    }
    return FromCp1250(out);
}

QString UnscramblePassword(const QString& text) {
    const QByteArray scrambled = ToCp1250(text);
    QByteArray out;
    for (qsizetype i = 3; i < scrambled.size(); i += 2)
        out += char((static_cast<unsigned char>(scrambled.at(i)) + 255) & 0xFF);
    return FromCp1250(out);
}

} // namespace kml
