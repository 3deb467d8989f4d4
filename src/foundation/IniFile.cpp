#include "foundation/IniFile.h"

#include "components/Cp1250.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <stdexcept>

namespace kml {
namespace {

QString g_iniFilePath;

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

[[noreturn]] void FileError(const QString& what, const QString& path, const QString& reason) {
    throw std::runtime_error(QStringLiteral("%1 %2: %3").arg(what, path, reason).toStdString());
}

QString DecodeFile(const QByteArray& bytes, bool& cp1250) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    cp1250 = utf8.hasError();
    if (cp1250)
        return FromCp1250(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace

IniFile::IniFile(const QString& path) : m_path(path) {
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        FileError(QStringLiteral("Cannot read"), path, file.errorString());
    const QByteArray bytes = file.readAll();
    const QString text = DecodeFile(bytes, m_cp1250);
    m_crlf = bytes.contains("\r\n");
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line break
    QString section;
    for (QString& raw : lines) {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        Line line;
        line.text = raw;
        const QString trimmed = raw.trimmed();
        const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        if (trimmed.startsWith(QLatin1Char('[')) && close > 0) {
            section = trimmed.mid(1, close - 1).trimmed();
            line.header = true;
        } else if (!trimmed.startsWith(QLatin1Char(';'))) {
            const qsizetype eq = raw.indexOf(QLatin1Char('='));
            if (eq > 0)
                line.key = raw.left(eq).trimmed();
        }
        line.section = section;
        m_lines.push_back(std::move(line));
    }
}

int IniFile::findSection(const QString& section) const {
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].header && SameName(m_lines[i].section, section))
            return int(i);
    return -1;
}

int IniFile::findKey(const QString& section, const QString& key) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (!line.key.isEmpty() && SameName(line.key, key) && SameName(line.section, section))
            return int(i);
    }
    return -1;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    return findKey(section, key) >= 0;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    const int i = findKey(section, key);
    if (i < 0)
        return defaultValue;
    const QString& text = m_lines[size_t(i)].text;
    return decodeValue(text.mid(text.indexOf(QLatin1Char('=')) + 1));
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const {
    bool ok = false;
    const int value = readString(section, key).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList IniFile::sections() const {
    QStringList names;
    for (const Line& line : m_lines)
        if (line.header && !names.contains(line.section, Qt::CaseInsensitive))
            names << line.section;
    return names;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList names;
    for (const Line& line : m_lines)
        if (!line.key.isEmpty() && SameName(line.section, section) &&
            !names.contains(line.key, Qt::CaseInsensitive))
            names << line.key;
    return names;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QString text = key + QLatin1Char('=') + encodeValue(value);
    const int existing = findKey(section, key);
    if (existing >= 0) {
        Line& line = m_lines[size_t(existing)];
        if (line.text != text) {
            line.text = text;
            m_modified = true;
        }
        return;
    }
    Line line;
    line.text = text;
    line.section = section;
    line.key = key;
    m_modified = true;
    const int header = findSection(section);
    if (header < 0) {
        if (!m_lines.empty() && !m_lines.back().text.trimmed().isEmpty())
            m_lines.push_back(Line{QString(), m_lines.back().section, QString(), false});
        m_lines.push_back(Line{QLatin1Char('[') + section + QLatin1Char(']'), section, QString(), true});
        m_lines.push_back(std::move(line));
        return;
    }
    // After the last non-blank line of the section.
    size_t at = size_t(header) + 1;
    for (size_t i = at; i < m_lines.size() && !m_lines[i].header; ++i)
        if (!m_lines[i].text.trimmed().isEmpty())
            at = i + 1;
    m_lines.insert(m_lines.begin() + qsizetype(at), std::move(line));
}

void IniFile::writeInt(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    for (int i = findKey(section, key); i >= 0; i = findKey(section, key)) {
        m_lines.erase(m_lines.begin() + i);
        m_modified = true;
    }
}

void IniFile::save() {
    if (!m_modified)
        return;
    const QLatin1String lineEnd(m_crlf ? "\r\n" : "\n");
    QString text;
    for (const Line& line : m_lines)
        text += line.text + lineEnd;
    QByteArray bytes;
    if (m_cp1250) {
        bytes = ToCp1250(text);
        if (FromCp1250(bytes) != text)
            bytes = text.toUtf8(); // a character cp1250 has no byte for
    } else {
        bytes = text.toUtf8();
    }
    const bool created = !QFile::exists(m_path);
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        FileError(QStringLiteral("Cannot write"), m_path, file.errorString());
    if (created)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(bytes);
    if (!file.commit())
        FileError(QStringLiteral("Cannot write"), m_path, file.errorString());
    m_modified = false;
}

QString IniFile::encodeValue(const QString& value) {
    const bool plain = value == value.trimmed() && !value.startsWith(QLatin1Char('"')) &&
                       !value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n')) &&
                       !value.contains(QChar(0));
    if (plain)
        return value;
    QString out = QStringLiteral("\"");
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case 0:
            out += QLatin1String("\\0");
            break;
        default:
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString IniFile::decodeValue(const QString& raw) {
    const QString value = raw.trimmed();
    if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) || !value.endsWith(QLatin1Char('"')))
        return value;
    QString out;
    const qsizetype end = value.size() - 1;
    for (qsizetype i = 1; i < end; ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= end) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case '\\':
            out += QLatin1Char('\\');
            break;
        case '"':
            out += QLatin1Char('"');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case '0':
            out += QChar(0);
            break;
        default:
            out += c;
            out += next; // a backslash that escapes nothing stays
        }
    }
    return out;
}

void SetIniFilePath(const QString& path) {
    g_iniFilePath = path;
}

QString IniFilePath() {
    return g_iniFilePath;
}

QString IniReadStr(const QString& section, const QString& key, const QString& defaultValue) {
    if (g_iniFilePath.isEmpty())
        return defaultValue;
    return IniFile(g_iniFilePath).readString(section, key, defaultValue);
}

void IniWriteStr(const QString& section, const QString& key, const QString& value) {
    if (g_iniFilePath.isEmpty())
        return;
    IniFile ini(g_iniFilePath);
    ini.writeString(section, key, value);
    ini.save();
}

int IniReadInt(const QString& section, const QString& key, int defaultValue) {
    if (g_iniFilePath.isEmpty())
        return defaultValue;
    return IniFile(g_iniFilePath).readInt(section, key, defaultValue);
}

void IniWriteInt(const QString& section, const QString& key, int value) {
    IniWriteStr(section, key, QString::number(value));
}

bool IniReadBool(const QString& section, const QString& key, bool defaultValue) {
    return IniReadInt(section, key, defaultValue ? 1 : 0) != 0;
}

void IniWriteBool(const QString& section, const QString& key, bool value) {
    IniWriteStr(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniDeleteKey(const QString& section, const QString& key) {
    if (g_iniFilePath.isEmpty())
        return;
    IniFile ini(g_iniFilePath);
    ini.deleteKey(section, key);
    ini.save();
}

} // namespace kml
