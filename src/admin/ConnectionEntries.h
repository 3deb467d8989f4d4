#pragma once

// Connection entries: the databases a workstation can reach, kept scrambled
// in the ini file (section Adatbazis, keys ConStr1, ConStr2, ...). An entry's
// clear text is six ";"-separated fields: database; host; port; user;
// password; display name (a trailing ";" after the sixth is accepted).

#include "components/Connection.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kml {

inline const QString EntrySection = QStringLiteral("Adatbazis");
inline const QString EntryKeyPrefix = QStringLiteral("ConStr");
// Start-up offers entries 1 to 25; the numbers up to 100 may be used.
inline constexpr int OfferedEntryLimit = 25;
inline constexpr int StoredEntryLimit = 100;

struct ConnectionEntry {
    QString database;
    QString host;
    QString port; // decimal text
    QString user;
    QString password;
    QString displayName;

    static ConnectionEntry parse(const QString& text);
    // The six fields joined by ";", without a trailing one.
    QString text() const;
    // The text the database list stores and hands back: each of the six
    // fields followed by ";", the port as integer text (StrInt).
    QString listText() const;
    bool operator==(const ConnectionEntry&) const = default;
};

// Why the entry cannot be stored, or "" when it can: a field holding ";"
// would spill into the next field when read back, and a control character
// (or the byte 255) does not survive the ini file's scrambled value.
QString EntryProblem(const ConnectionEntry& entry);

// Every stored entry, for n = 1 to 100 the non-empty unscrambled values of
// ConStr + n, in key order.
std::vector<ConnectionEntry> ReadConnectionEntries();
// Stores the entries as the list holds them: the keys ConStr1 to ConStr100
// are removed, then the entries are written scrambled under ConStr1,
// ConStr2, ... in the given order (listText). Throws std::invalid_argument
// for more than 100 entries or an entry with an EntryProblem, and
// std::runtime_error when the ini file cannot be written; nothing is
// written then. The ini file is left readable by its owner only.
void WriteConnectionEntries(const std::vector<ConnectionEntry>& entries);

// The options of the shared connection (and of every entry test): the
// entry's fields, compression, 30 s connect timeout, latin2 with
// latin2_hungarian_ci. An empty port is the default 3306. Throws
// ConversionError when the port is not a whole number in 0..65535.
ConnectionOptions EntryOptions(const ConnectionEntry& entry);

// The entries start-up offers: for n = 1 to 25 the entry stored under
// ConStr + n whose display name is not empty, as the line n + "; " + display
// name and the clear entry text, in key order.
struct OfferedEntries {
    QStringList lines;
    QStringList entries;
};
OfferedEntries ReadOfferedEntries();

// Stores a new entry scrambled under the first ConStr number from 1 upward
// that holds no value (0 when 1 to 100 are all taken) and returns that number.
int StoreNewConnectionEntry(const QString& entryText);

// Opens a private connection with the entry and closes it again. A failure
// shows "Hiba: " + the error text and gives false.
bool TestConnectionEntry(const ConnectionEntry& entry);

} // namespace kml
