#pragma once

#include <QByteArray>
#include <QString>

namespace kml {

// The program's own code page at its byte edges (database connection, files
// written "in Windows-1250"). Both directions are table lookups built once from
// the ICU "windows-1250" codec, so they cost no more than a byte copy.
// Characters that cp1250 cannot hold become '?'.
QString FromCp1250(const char* data, qsizetype size);
inline QString FromCp1250(const QByteArray& bytes) {
    return FromCp1250(bytes.constData(), bytes.size());
}
QByteArray ToCp1250(QStringView text);

// The characters of the text that cp1250 cannot hold, each once, in the order
// they first appear (a character outside the basic plane counts as one); ""
// when cp1250 holds the whole text.
QString CharactersOutsideCp1250(QStringView text);

// The error (DbError code) of a statement the connection refuses before
// sending it, because it holds characters that Windows-1250 cannot store;
// its message begins with UnstorableTextMark and names the characters and
// the text they stand in.
inline constexpr unsigned UnstorableTextError = 1366;
inline const QString UnstorableTextMark = QStringLiteral("Az adatbázis nem tudja tárolni");

// The Unicode character of one cp1250 byte, and the byte of one character
// (-1 when cp1250 has no such character).
char16_t Cp1250ToUnicode(unsigned char byte);
int UnicodeToCp1250(char16_t ch);

} // namespace kml
