#pragma once

#include "foundation/SearchFilter.h" // LikeFilter, WordsFilter

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kml {

class MemTable;
class Query;

// Statements and single values on the shared connection
// (components/Query.h SharedConnection()). A statement the server rejects
// throws DbError; none of these functions catches it. Each reads through a
// result of its own, so they may be called while another list is being read.

// Runs a plain statement; a text that is empty after trimming is ignored.
// Line breaks written as text (\r\n or \\r\\n) between the tokens of the
// statement become real line breaks; quoted literals and comments are passed
// on untouched, so no value is ever changed on its way to the server.
void ExecSql(const QString& sql);
// UnescapeLineBreaks applied only outside quoted literals ('...', "...",
// `...`) and comments: the statement text that ExecSql sends.
QString UnescapeLineBreaksOutsideLiterals(const QString& sql);

// The first column of the first row as text ("" for NULL); no row gives the
// default.
QString QueryStr(const QString& sql, const QString& defaultValue = {});
// ... as an integer: NULL or not a whole number gives 0; no row the default.
int QueryInt(const QString& sql, int defaultValue = 0);
// ExecSql and QueryInt for a statement that is a whole unit of work by itself
// (a routine call that keeps its work in one transaction, or one
// autocommitted change): refused by a conflict with another workstation, it
// runs again as a whole (components/Transaction.h ExecUnit). Inside an open
// transaction it runs once, as part of the larger unit.
void ExecUnitSql(const QString& sql);
int QueryIntUnit(const QString& sql, int defaultValue = 0);
// ... as a number with "." as decimal mark: no row, NULL or not a number gives
// the default.
double QueryFloat(const QString& sql, double defaultValue = 0);
// ... as a date/time (a DATE value at midnight): no row or not a date gives
// the default.
QDateTime QueryDate(const QString& sql, const QDateTime& defaultValue = {});
// The server's current date.
QDate ServerDate();
// 32 lower-case hexadecimal digits computed by the server.
QString ServerMd5(const QString& text);
// MAX(column) + 1 over the table (the table named like the column when
// table is empty); 1 for an empty table.
int NextId(const QString& column, const QString& table = {});
// table + "_nev" of the row whose key (named like the table) is id.
QString LookupName(int id, const QString& table, const QString& defaultValue = {});

// Record-specific lookups ("" when there is no such row).
// kind 1 customer, 2 work sheet, 3 device; any other kind gives "".
QString CaptionOf(int id, int kind);
QString DeviceText(int id);
QString WorkSheetText(int id);
// The employee at a planner position; -1 (or "") for position -1 or none.
int EmployeeIdAt(int position);
QString EmployeeNameAt(int position);
// The next automatic catalogue code, as the server's fn_kovcikkszam gives
// it: the largest all-digit code of the live items + 1 (00001 in a shop
// without any), padded with "0" to the length setting autocikkszamhossz and
// never cut. A new item stored without a code gets the code current at that
// moment (trigger trg_tetel_bi), so this is a proposal.
QString NextItemCode();

// Lists.
// Appends the first column of every row (NULL as ""); the list is not
// cleared first.
void FillList(QStringList& list, const QString& sql);
// Appends one row to the in-memory table with the values of the dataset's
// current row, copied for every field whose name both have; posts it. A
// closed dataset is opened for the copy and closed again.
void CopyProcRow(Query& dataset, MemTable& table);
// Record count + ": " + current record number, for a status bar.
QString RecordCounterText(const Query& dataset);

// Editing a list query's SQL lines (the caller closes the query before and
// opens it after). Both return the whole SQL text; SQL without the line is
// left as it is.
// The first line beginning with ORDER becomes "ORDER BY " + sort + ";".
QString ReplaceOrderBy(QStringList& lines, const QString& sortExpression);
// Every line beginning with WHERE (only the first with firstOnly) becomes
// "WHERE " + condition.
QString ReplaceWhere(QStringList& lines, const QString& condition, bool firstOnly = false);

// Display formats of the floating-point fields of an open dataset, chosen by
// the absolute value of each field's tag: 0 money (moneyFormat, the FormatFt
// setting), 1 quantity (quantityFormat, the FormatDb setting), 2 three
// decimals "### ### ##0.000"; with plain, without the blanks. Other tags are
// left alone. A dataset keeps the formats when it is closed and reopened.
void ApplyNumberFormats(Query& dataset, bool plain, const QString& moneyFormat,
                        const QString& quantityFormat);
inline constexpr const char* kDefaultMoneyFormat = "### ### ##0";
inline constexpr const char* kDefaultQuantityFormat = "### ### ##0";

// Delimited text lines of a whole dataset: an optional header of the field
// names, then one line per row of display texts (";" in a value becomes ","),
// every cell followed by the separator, an optional running number in front.
// excludedFields is a ";"-separated list of names left out. With utf8 the
// lines are the UTF-8 bytes one character per byte (ToUtf8). The dataset's
// current row does not move.
void DatasetToLines(const Query& dataset, QStringList& lines, bool header, bool rowNumbers, bool utf8,
                    QChar separator, const QString& excludedFields = {});

} // namespace kml
