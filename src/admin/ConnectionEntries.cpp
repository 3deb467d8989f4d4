#include "admin/ConnectionEntries.h"

#include "components/Cp1250.h"
#include "components/DbError.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/IniFile.h"
#include "foundation/TextHelpers.h"

#include <QFile>
#include <stdexcept>

namespace kml {

ConnectionEntry ConnectionEntry::parse(const QString& text) {
    const QString sep = QStringLiteral(";");
    ConnectionEntry e;
    e.database = Token(sep, text, 1);
    e.host = Token(sep, text, 2);
    e.port = Token(sep, text, 3);
    e.user = Token(sep, text, 4);
    e.password = Token(sep, text, 5);
    e.displayName = Token(sep, text, 6);
    return e;
}

QString ConnectionEntry::text() const {
    return QStringList{database, host, port, user, password, displayName}.join(QLatin1Char(';'));
}

QString ConnectionEntry::listText() const {
    QString text;
    for (const QString& field : {database, host, QString::number(StrInt(port)), user, password, displayName})
        text += field + QLatin1Char(';');
    return text;
}

QString EntryProblem(const ConnectionEntry& entry) {
    for (const QString& field :
         {entry.database, entry.host, entry.port, entry.user, entry.password, entry.displayName}) {
        if (field.contains(QLatin1Char(';')))
            return QStringLiteral("A mezők nem tartalmazhatnak pontosvesszőt (;).");
        for (const QChar c : field)
            if (c.unicode() < 32 || UnicodeToCp1250(c.unicode()) == 255 || UnicodeToCp1250(c.unicode()) < 0)
                return QStringLiteral("A mezők nem tartalmazhatnak vezérlő vagy nem tárolható karaktert.");
    }
    return {};
}

namespace {

void KeepPrivate(const QString& path) {
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

std::vector<ConnectionEntry> ReadConnectionEntries() {
    const IniFile ini(IniFilePath());
    std::vector<ConnectionEntry> entries;
    for (int n = 1; n <= StoredEntryLimit; ++n) {
        const QString text =
            UnscramblePassword(ini.readString(EntrySection, EntryKeyPrefix + QString::number(n)));
        if (!text.isEmpty())
            entries.push_back(ConnectionEntry::parse(text));
    }
    return entries;
}

void WriteConnectionEntries(const std::vector<ConnectionEntry>& entries) {
    if (entries.size() > size_t(StoredEntryLimit))
        throw std::invalid_argument("more than 100 connection entries");
    for (const ConnectionEntry& entry : entries)
        if (!EntryProblem(entry).isEmpty())
            throw std::invalid_argument(EntryProblem(entry).toStdString());
    if (IniFilePath().isEmpty())
        return;
    IniFile ini(IniFilePath());
    for (int n = 1; n <= StoredEntryLimit; ++n)
        ini.deleteKey(EntrySection, EntryKeyPrefix + QString::number(n));
    int n = 0;
    for (const ConnectionEntry& entry : entries)
        ini.writeString(EntrySection, EntryKeyPrefix + QString::number(++n),
                        ScramblePassword(entry.listText()));
    ini.save();
    KeepPrivate(IniFilePath());
}

ConnectionOptions EntryOptions(const ConnectionEntry& entry) {
    ConnectionOptions o;
    o.database = entry.database;
    o.host = entry.host;
    o.user = entry.user;
    o.password = entry.password;
    o.port = 3306;
    if (!entry.port.isEmpty()) {
        const int port = VarInt(entry.port);
        if (port < 0 || port > 65535)
            throw ConversionError(QStringLiteral("'%1' is not a valid port number").arg(entry.port));
        o.port = unsigned(port);
    }
    o.compress = true;
    o.connectTimeout = 30;
    o.charset = QStringLiteral("latin2");
    o.collation = QStringLiteral("latin2_hungarian_ci");
    return o;
}

OfferedEntries ReadOfferedEntries() {
    const IniFile ini(IniFilePath());
    OfferedEntries offered;
    for (int n = 1; n <= OfferedEntryLimit; ++n) {
        const QString entry =
            UnscramblePassword(ini.readString(EntrySection, EntryKeyPrefix + QString::number(n)));
        const QString name = Token(QStringLiteral(";"), entry, 6);
        if (name.isEmpty())
            continue;
        offered.lines << QString::number(n) + QStringLiteral("; ") + name;
        offered.entries << entry;
    }
    return offered;
}

int StoreNewConnectionEntry(const QString& entryText) {
    IniFile ini(IniFilePath());
    int number = 0;
    for (int n = 1; n <= StoredEntryLimit; ++n)
        if (ini.readString(EntrySection, EntryKeyPrefix + QString::number(n)).isEmpty()) {
            number = n;
            break;
        }
    ini.writeString(EntrySection, EntryKeyPrefix + QString::number(number), ScramblePassword(entryText));
    ini.save();
    KeepPrivate(IniFilePath());
    return number;
}

bool TestConnectionEntry(const ConnectionEntry& entry) {
    try {
        Connection connection;
        connection.open(EntryOptions(entry));
        connection.close();
        return true;
    } catch (const DbError& e) {
        ShowError(QStringLiteral("Hiba: ") + e.text());
    } catch (const ConversionError& e) {
        ShowError(QStringLiteral("Hiba: ") + QString::fromStdString(e.what()));
    }
    return false;
}

} // namespace kml
