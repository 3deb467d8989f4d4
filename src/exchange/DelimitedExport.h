#pragma once

// Rows of a dataset as delimited text: the file and clipboard exports of the
// export window.
//
// A line holds the ticked fields in field order. Every value is written as
// one line: a backslash doubled, each line break (CR LF, a lone CR or a lone
// LF) written as the two characters \n. A long text (memo) is written only
// when memos are asked for, with every separator character in it replaced by
// ","; otherwise, and for any other large object, the word BLOB stands in
// its place.
//
// Quoting keeps the columns in place whatever the values hold: with a quote
// character chosen every value stands between two of them and a quote
// character inside is doubled; with none, a value that holds the separator
// or a double quote is enclosed in double quotes with its double quotes
// doubled (RFC 4180), and every other value is written bare.
//
// A text value that begins with =, +, - or @ gets an apostrophe in front, so
// that a spreadsheet keeps it as text instead of reading it as a formula;
// numbers, dates and times are written as they are.
//
// The file is in Windows-1250, or in UTF-8 with a byte-order mark when asked
// (spreadsheets on Linux read that one right without asking).
//
// The header line holds the ticked fields' names (or display labels), each
// followed by the separator, the last one included; row lines lose their
// last separator.

#include "exchange/ExportRows.h"

#include <QByteArray>
#include <QString>

namespace kml {

struct DelimitedOptions {
    char separator = ';';
    char quote = 0;          // 0: none
    bool memos = true;       // "Többsoros mezőket is kiírja"
    bool fieldNames = false; // "Eredeti mezőneveket használja": names instead of labels
    bool header = true; // not "Fejléc nem kell (az első sorban)": without it there is no header line at all
    std::vector<bool> ticked; // by field index; missing entries count as ticked
    bool utf8 = false;        // the file in UTF-8 with a byte-order mark instead of Windows-1250
};

// The text a spreadsheet would take for a formula: it begins with =, +, - or @.
bool LooksLikeFormula(QByteArrayView text);

// The separators and quotes of the window's two groups, in their order.
char SeparatorOf(int index); // ; TAB , |
char QuoteOf(int index);     // " ' none

// One value (cp1250 bytes) escaped onto one line, and then quoted.
QByteArray EscapeExportValue(QByteArrayView value, bool memo, char separator);
QByteArray QuoteExportValue(QByteArrayView value, char separator, char quote);

// The lines (without line ends) in cp1250.
QByteArray DelimitedHeader(const ExportRows& rows, const DelimitedOptions& options);
QByteArray DelimitedLine(const ExportRows& rows, int row, const DelimitedOptions& options);

// Writes the header (when asked for) and the rows to the file in cp1250 (or
// UTF-8 with a byte-order mark), each line ended by CR LF. The file is written beside the target under a
// temporary name and takes the target's place only when it is complete
// (also when the progress stopped it: then with the rows done so far); on
// an error the old file is untouched and ExportError says why.
ExportOutcome WriteDelimitedFile(const ExportRows& rows, const QString& path, const DelimitedOptions& options,
                                 const ExportProgress& progress);

// The same lines as one text, each line ended by CR LF.
ExportOutcome DelimitedText(const ExportRows& rows, const DelimitedOptions& options,
                            const ExportProgress& progress, QString& text);

} // namespace kml
