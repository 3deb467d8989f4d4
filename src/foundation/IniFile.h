#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kml {

// A Windows-style ini file ("[Section]" lines, "Key=Value" lines), kept
// readable and editable by people: lines the program does not touch (comments,
// blank lines, other keys) stay as they were and in their order. Section and
// key names compare without regard to letter case; values are trimmed when
// read; the first of duplicate keys counts.
//
// A new file is written in UTF-8 with LF line ends, readable and writable by
// its owner only (it holds the connection entries). A file that is not valid
// UTF-8 (one written by a Windows workstation) is read as cp1250 and written
// back the way it came, cp1250 bytes and its CR LF line ends, as long as
// every character has a cp1250 byte (otherwise it becomes UTF-8). A value that would not
// survive a plain line (line breaks, blanks at either end, a leading double
// quote) is written in double quotes with \\ \" \r \n escapes, and read back
// the same way, so every value round-trips, scrambled connection entries
// with any byte included.
class IniFile final {
public:
    // Reads the file when it exists; a missing file is an empty ini file.
    // Throws std::runtime_error when an existing file cannot be read.
    explicit IniFile(const QString& path);

    const QString& path() const { return m_path; }

    bool hasKey(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // A value that is not a whole number gives the default.
    int readInt(const QString& section, const QString& key, int defaultValue) const;
    // "0" is false, any other number true; not a number gives the default.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value); // "1" / "0"
    void deleteKey(const QString& section, const QString& key);

    bool isModified() const { return m_modified; }
    // Writes the file when something changed (atomically: a failed write
    // leaves the old file). Throws std::runtime_error on failure.
    void save();

    // The text of a value as written after "Key=", and back.
    static QString encodeValue(const QString& value);
    static QString decodeValue(const QString& raw);

private:
    struct Line {
        QString text;    // the line as it stands in the file
        QString section; // the section the line belongs to ("" before the first)
        QString key;     // the key of a Key=Value line, else empty
        bool header = false;
    };

    int findKey(const QString& section, const QString& key) const; // line index or -1
    int findSection(const QString& section) const;

    QString m_path;
    std::vector<Line> m_lines;
    bool m_cp1250 = false; // read as cp1250
    bool m_crlf = false;   // its lines ended in CR LF
    bool m_modified = false;
};

// The program's ini file. The path is set once at start-up (see Folders.h);
// until then reads give their defaults and writes are ignored. Each call
// below opens the file, reads or writes, and closes it again.
void SetIniFilePath(const QString& path);
QString IniFilePath();

QString IniReadStr(const QString& section, const QString& key, const QString& defaultValue = {});
void IniWriteStr(const QString& section, const QString& key, const QString& value);
int IniReadInt(const QString& section, const QString& key, int defaultValue);
void IniWriteInt(const QString& section, const QString& key, int value);
bool IniReadBool(const QString& section, const QString& key, bool defaultValue);
void IniWriteBool(const QString& section, const QString& key, bool value);
void IniDeleteKey(const QString& section, const QString& key);

} // namespace kml
