#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kml {

// A small line-oriented XML writer: the document is a list of lines, one
// element per line, each indented by one TAB per element still open when it
// was added.
//
//     TXml xml;
//     xml.AddHeader(R"(<?xml version="1.0" encoding="UTF-8"?>)");
//     xml.AddNode("vevo");
//     xml.AddStr("nev", name);   // escaped; left out when empty
//     xml.FinishNode();          // </vevo>
//     xml.Save(path);            // UTF-8, CR LF, no byte-order mark
//
// Text values (AddStr) lose the characters XML 1.0 cannot hold (control
// characters other than TAB, CR and LF, unpaired surrogates, U+FFFE and
// U+FFFF), are escaped (& < > ' "), trimmed, and lose one trailing "." and
// then one trailing "," (the invoicing program that reads these files
// expects them so). Element names and attribute texts are the caller's and
// written as given.
class TXml final {
public:
    TXml() = default;

    // The line as given, not indented.
    void AddHeader(const QString& line);
    // <name> or <name attributes>; opens the element.
    void AddNode(const QString& name, const QString& attributes = {});
    // Closes the element opened last. Throws std::logic_error when none is open.
    void FinishNode();
    void AddStr(const QString& name, const QString& value);
    // The element with "true" for true; nothing for false.
    void AddBool(const QString& name, bool value);
    // With an empty format the shortest text of the value (at most 15
    // significant digits, never an exponent), else the value through the
    // number pattern (NumberFormat.h); in both, "," becomes ".".
    void AddFloat(const QString& name, const QString& format, double value);
    void AddInt(const QString& name, qlonglong value);
    // yyyy-mm-dd; nothing for an invalid (empty) date.
    void AddDate(const QString& name, const QDate& value);
    // yyyy-mm-ddThh:mm:ss.zzzZ of the local time as it stands; nothing for an
    // invalid value.
    void AddDateTime(const QString& name, const QDateTime& value);

    // Writes the lines as UTF-8, each ended by CR LF, without a byte-order
    // mark, replacing the file only when it is complete. Throws
    // std::runtime_error saying why when it cannot.
    void Save(const QString& fileName) const;
    // Replaces the lines with those of a UTF-8 file (a file Save wrote).
    // Throws std::runtime_error when it cannot be read.
    void Load(const QString& fileName);

    // The lines joined by CR LF and trimmed; compact drops every TAB, CR and
    // LF.
    QString GetXml(bool compact = false) const;
    // Whether <name> occurs in xml (this document when xml is empty), the
    // prefixes ns2: to ns5: and base: removed first (any letter case).
    bool ExistsNode(const QString& name, const QString& xml = {}) const;
    // The text between the first <name> and the following </name>, the same
    // prefixes removed; "" when absent.
    QString GetNode(const QString& name, const QString& xml = {}) const;

    const QStringList& lines() const { return m_lines; }
    int depth() const { return int(m_open.size()); }

    // The value as AddFloat writes it with an empty format.
    static QString FloatText(double value);
    // text without the characters XML 1.0 cannot hold.
    static QString XmlLegal(const QString& text);

private:
    QString indent() const { return QString(depth(), QLatin1Char('\t')); }
    void addElement(const QString& name, const QString& content);
    QString withoutPrefixes(const QString& xml) const;

    QStringList m_lines;
    QStringList m_open; // most recent last
};

} // namespace kml
