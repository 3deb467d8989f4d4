#pragma once

// Reading workbooks back the way other programs read them, for the tests of
// our .xls and .xlsx files: libfreexl (C) and Debian's python3-xlrd (.xls)
// and python3-openpyxl (.xlsx), run through /usr/bin/python3.

#include <QString>
#include <vector>

namespace kml::test {

struct ReadCell {
    QString type; // "empty", "text", "number", "date" (a date or date-time), "time", "other"
    QString text; // texts; dates as yyyy-MM-dd or yyyy-MM-dd hh:mm:ss
    double number = 0;
};

struct ReadSheet {
    QString name;
    std::vector<std::vector<ReadCell>> rows;
    const ReadCell& at(int row, int col) const;
};

using ReadBook = std::vector<ReadSheet>;

// Each throws std::runtime_error with the reader's complaint when it cannot
// read the file.
ReadBook ReadXlsWithFreexl(const QString& path);
ReadBook ReadXlsWithXlrd(const QString& path);
ReadBook ReadXlsxWithOpenpyxl(const QString& path);

// Runs /usr/bin/python3 with the script and arguments; its standard output.
// Throws std::runtime_error with its error output when it fails.
QByteArray RunPython(const QString& script, const QStringList& args);

} // namespace kml::test
