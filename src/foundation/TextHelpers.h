#pragma once

#include <QString>
#include <QVariant>

namespace kml {

// Text helpers. The program's text is cp1250: where a helper works on bytes
// (SafeFileName, ToUtf8, RepairUtf8, the scrambling) a character stands for
// its cp1250 byte (components/Cp1250.h), so text read byte by byte from a file
// and text written back byte by byte keep every byte.

// The n-th piece (from 1) of text, pieces separated by any one of the
// delimiter characters, trimmed; "" when there is no such piece. Two
// delimiters in a row make an empty piece.
QString Token(const QString& delimiters, const QString& text, int n);

// Every `from` character replaced by `to`; "" for NULL.
QString ReplaceChar(const QVariant& value, QChar from, QChar to);
QString RemoveSpaces(const QString& text);
// text without any character that occurs in chars.
QString StripChars(const QString& chars, const QString& text);
// Only digits and the characters "," "-" "." kept.
QString KeepNumberChars(const QString& text);
// The trimmed text reduced to its digits, a "-" only as its first character,
// and only the first of the "," and "." marks.
QString NumberChars(const QString& text);
QString DigitsOnly(const QString& text);
QString StrLeft(const QString& text, int n);
QString StrRight(const QString& text, int n);

// A file-name-safe form: blank ! " # % & ' * + / : ? @ \ become "-", every
// character whose cp1250 byte is 0x81..0xFF (accented letters included)
// becomes "_", the rest is lower-cased. "Ügyfelek" gives "_gyfelek".
QString SafeFileName(const QString& text);

// The UTF-8 encoding of text, one character per byte (the cp1250 reading of
// each byte): written out as cp1250 it gives the UTF-8 bytes.
QString ToUtf8(const QString& text);
// Text produced as UTF-8 and read byte by byte as cp1250 (downloaded
// notices): the Hungarian letters, written as two bytes each (or as a letter
// and a combining acute accent), become the cp1250 letters; the registered
// and trade mark signs are dropped.
QString RepairUtf8(const QString& text);

// The whole file read as cp1250 text; "" when the file does not exist.
QString ReadTextFile(const QString& path);

// Escaping. EscapeText doubles every backslash and writes CR and LF as the two
// characters \r and \n; SqlStr makes a SQL string literal of it with every
// single quote doubled. SqlStr is the one door through which text reaches SQL;
// it writes exactly what components/Query binds for a text parameter.
QString EscapeText(const QString& text);
QString EscapeText(const QVariant& value); // "" for NULL
inline QString EscapeText(const char* text) {
    return EscapeText(QString::fromUtf8(text));
}
QString SqlStr(const QString& text);
QString SqlStr(const QVariant& value); // NULL gives ''
inline QString SqlStr(const char* text) {
    return SqlStr(QString::fromUtf8(text));
}
// Every \\r\\n (the six characters) and then every \r\n (four characters),
// any letter case, replaced by a real CR LF.
QString UnescapeLineBreaks(const QString& text);
QString UnescapeLineBreaks(const QVariant& value);
inline QString UnescapeLineBreaks(const char* text) {
    return UnescapeLineBreaks(QString::fromUtf8(text));
}
// A value fit for one line of an export file: backslashes doubled, CR written
// as \n, LF dropped; "" for NULL.
QString EscapeOneLine(const QString& text);
QString EscapeOneLine(const QVariant& value);
inline QString EscapeOneLine(const char* text) {
    return EscapeOneLine(QString::fromUtf8(text));
}

// XML: & < > ' " as entities, in this order.
QString XmlEscape(const QString& text);
// XmlEscape, trim, then one trailing "." removed, then one trailing ",".
QString XmlText(const QString& text);
// The text between <tag> and the following </tag>, the namespace prefixes
// ns2: to ns5: (any case) removed from the XML first; "" when either tag is
// missing.
QString XmlElementText(const QString& tag, const QString& xml);

// The stored form of a connection entry: three random characters (codes 33
// to 87), then each character's cp1250 byte + 1 (modulo 256) followed by one
// more random character. Keeps entries from being read at a glance, no more.
// UnscramblePassword(ScramblePassword(x)) == x for every x without byte 255.
QString ScramblePassword(const QString& text);
QString UnscramblePassword(const QString& text);

} // namespace kml
