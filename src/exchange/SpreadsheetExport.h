#pragma once

// Rows of a dataset as a spreadsheet workbook: .xls (our BIFF8 writer) or
// .xlsx (libxlsxwriter).
//
// The sheet holds the ticked fields only, a bold header row with their
// display labels and one row per record: numbers as number cells, dates and
// times as dates with a date format, everything else as text cells (never
// formulas); NULL leaves the cell empty, a binary BLOB is written as the
// word BLOB. Rows beyond what one sheet holds continue on further sheets
// ("Munka2", ...), each with its own header row.
//
// The workbook is written beside the target under a temporary name and
// takes the target's place only when complete (also when the progress
// stopped it: then with the rows done so far); on an error the old file is
// untouched and ExportError says why.

#include "exchange/ExportRows.h"

#include <QString>

namespace kml {

enum class SpreadsheetFormat { Xls, Xlsx };

// Rows of one sheet, the header row included.
int SpreadsheetSheetRows(SpreadsheetFormat format);
int SpreadsheetMaxColumns(SpreadsheetFormat format);

ExportOutcome WriteSpreadsheet(const ExportRows& rows, const QString& path, SpreadsheetFormat format,
                               const ExportProgress& progress);

} // namespace kml
