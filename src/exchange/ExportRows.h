#pragma once

// What the delimited and the spreadsheet exports share: a snapshot of the
// caller's dataset (its rows, field names, labels and kinds), the columns
// the user ticked, progress reports with a way to stop, and writing a file
// so that it replaces the old one only when complete.

#include "components/Query.h"
#include "components/ResultSet.h"

#include <QString>
#include <functional>
#include <vector>

namespace kml {

// Told now and then how many rows are done out of how many; false stops the
// export after the rows done so far. An empty function never stops.
using ExportProgress = std::function<bool(int done, int total)>;

struct ExportOutcome {
    int rows = 0;         // rows written
    bool stopped = false; // the progress asked to stop before the end
};

// An export that could not be finished; the text is shown to the user
// after "Hiba: ".
class ExportError final : public std::runtime_error {
public:
    explicit ExportError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The rows of a dataset as they were when the export began. The rows are
// shared with the dataset, not copied, and stay readable whatever the
// dataset does meanwhile (the window lets events run during an export).
class ExportRows final {
public:
    // ticked[i]: whether field i is exported; missing entries count as ticked.
    ExportRows(const Query& data, const std::vector<bool>& ticked);

    int rowCount() const { return m_rows.rowCount(); }
    // The exported fields, in field order.
    const std::vector<int>& columns() const { return m_columns; }
    const Field& field(int col) const { return m_fields[size_t(col)]; }
    const ResultSet& rows() const { return m_rows; }
    // A large object other than a long text (a binary BLOB).
    bool isBinary(int col) const {
        return m_rows.column(col).binary && m_fields[size_t(col)].kind == FieldKind::Memo;
    }

private:
    ResultSet m_rows;
    std::vector<Field> m_fields;
    std::vector<int> m_columns;
};

// The cell text an export writes for a value, in cp1250 bytes (the code page
// of the server's bytes): texts and integers as they are, numbers in their
// shortest form (at most 15 significant digits) with the decimal comma,
// dates as yyyy.MM.dd, date-times as yyyy.MM.dd HH:mm:ss; NULL and zero
// dates as "".
QByteArray ExportCellText(FieldKind kind, QByteArrayView raw, bool isNull);

// Resolves the file name the user gave: a name without a folder goes to the
// user's documents folder (a program started from the desktop has no
// useful current folder).
QString ResolveExportPath(const QString& fileName);

} // namespace kml
