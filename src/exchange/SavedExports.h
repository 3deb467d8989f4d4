#pragma once

// Saved export definitions (table csvexp) apart from the widgets: the list
// "Adatexport", the editor's field list, the delimited format the online
// data service reads, and running a definition to its file, the clipboard
// or its FTP server.
//
// The format is the service's, not the interactive export's: every line
// (the header of field names too) holds each value between the quote
// characters followed by the separator, the last value included; values are
// written without any escaping; NULL is empty; long texts and other large
// objects are the word BLOB; numbers have the decimal comma and dates the
// form yyyy.MM.dd (yyyy.MM.dd HH:mm:ss), the same on every workstation
// whatever its locale. Files are Windows-1250 with CR LF.
//
// RunSavedExport never shows anything and never reports done unless every
// step worked: a file is written beside the target and renamed over it only
// when complete (a failed run leaves the previous file), and the upload
// runs only after the file was written, under a temporary remote name
// renamed at the end (components/FtpUpload.h).

#include "components/FtpUpload.h"
#include "components/ResultSet.h"
#include "foundation/WindowOperation.h"
#include "patterns/ListDefinition.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kml {

class Table;

namespace csvexp_text {
inline const QString ListCaption = QStringLiteral("Adatexport");
inline const QString EditorCaption = QStringLiteral("CSV Export beállítások");
inline const QString Done = QStringLiteral("Export kész.");
inline const QString ClipboardDone = QStringLiteral("Export vágólapra kész.");
inline const QString ErrorPrefix = QStringLiteral("Hiba: ");
inline const QString BadSql = QStringLiteral("Hibás SQL: ");
inline const QString NoLocalFile = QStringLiteral("Nincs megadva a lokális cél állomány.");
inline const QString NoFtp = QStringLiteral("Ennél az exportnál nincs FTP küldés beállítva.");
inline const QString NoDefinition = QStringLiteral("Az export beállítás nem található.");
} // namespace csvexp_text

// One definition as a run needs it.
struct ExportDefinition {
    qlonglong id = 0;
    QString name;
    QString sql;       // szoveg_sql
    QString fileLocal; // file_local
    int separator = 0; // hatarolo
    int quote = 0;     // szovegjelolo
    bool ftp = false;  // ftp_kell
    QString host;      // host_ftp ("host" or "host:port")
    QString folder;    // file_ftp: remote folder
    QString user;      // ftp_user
    QString password;  // ftp_jelszo
};

// The definition with that number; nothing when there is none. Throws DbError.
std::optional<ExportDefinition> LoadExportDefinition(qlonglong id);
// The definition with that name (the first by number when several share it).
std::optional<ExportDefinition> FindExportDefinition(const QString& name);

// hatarolo: 0 ";", 1 TAB, 2 ",", 3 "|", anything else ";".
char SavedExportSeparator(int hatarolo);
// szovegjelolo: 0 '"', 1 "'", anything else none (0).
char SavedExportQuote(int szovegjelolo);

// The header line and one row line, without the line end, in cp1250.
QByteArray SavedExportHeader(const ResultSet& rows, char separator, char quote);
QByteArray SavedExportLine(const ResultSet& rows, int row, char separator, char quote);

// Where a run puts its lines.
enum class ExportDestination { File, Clipboard, Ftp };

struct SavedExportResult {
    bool ok = false;
    QString error;         // why not, without "Hiba: "
    int rows = 0;          // data rows written
    QString path;          // the file written (File, Ftp)
    QString clipboardText; // Clipboard: the lines, each ended by CR LF
};

// Progress of a run: rows done (total -1 while unknown) or bytes sent;
// false stops the run (it then fails).
struct SavedExportProgress {
    std::function<bool(int rows)> rows;
    FtpProgress upload;
};

// The local file of a definition: a relative name is taken in the data
// folder (the process's current folder is never changed); backslashes of
// names stored by Windows workstations become "/". Empty for an empty name.
QString SavedExportPath(const QString& fileLocal);
// The name the file gets on the FTP server: file_local without its folder,
// whichever separator it uses.
QString SavedExportRemoteName(const QString& fileLocal);

// Runs the definition's statement and writes its lines (see above). Ftp
// writes the file, then uploads it; the upload uses the workstation's FTP
// mode (FtpActiveModeSetting). Never throws for a failure of the statement,
// the file or the upload: the result says what went wrong.
SavedExportResult RunSavedExport(const ExportDefinition& definition, ExportDestination destination,
                                 const SavedExportProgress& progress = {});

// Runs the stored definition with that number (RunSavedExport); shows
// nothing. A missing definition is a failure.
SavedExportResult RunStoredExport(qlonglong id, ExportDestination destination,
                                  const SavedExportProgress& progress = {});
// Tells the user the outcome through the dialog functions: "Export kész." /
// "Export vágólapra kész." only on success (the clipboard then gets the
// text), "Hiba: ..." otherwise. Returns result.ok.
bool ReportSavedExport(const SavedExportResult& result, ExportDestination destination);
// Both: a stored definition run the way its list's actions run it, without
// a window. Returns whether it succeeded.
bool RunExportDefinition(qlonglong id, ExportDestination destination,
                         const SavedExportProgress& progress = {});

// Alapertek/FtpAktiv = 1 in the ini file: uploads in active mode.
bool FtpActiveModeSetting();

// ---- The list and the editor -----------------------------------------------

// The list window "Adatexport" (modal).
inline WindowOperation<void()> OpenExportDefinitions{"OpenExportDefinitions"};
// The editor "CSV Export beállítások" for a definition (nothing: a new one):
// the saved number, nothing when cancelled.
inline WindowOperation<RowKey(RowKey id)> EditExportDefinition{"EditExportDefinition"};

// "Adatexport": csvexp by name, searched word by word in name, category,
// grouping and sum fields. "Új sor", "Szerkeszt" and "Sor törlése" run for
// administrators only.
ListDefinition ExportDefinitionList();

// "DELETE FROM csvexp WHERE csvexp = " + id + ";"
QString ExportDefinitionDeleteSql(qlonglong id);

// A new definition's values: no FTP, not a chart, ";" and '"', not listed
// by the online service.
void SetNewExportDefaults(Table& row);

// The field names of the statement's result, learnt by preparing it on the
// server (it is never executed). Throws DbError when the server refuses it.
QStringList StatementFieldNames(const QString& sql);

// A field name dropped on a field-list edit: appended after a comma, or the
// name alone when the edit is empty.
QString AppendFieldName(const QString& current, const QString& name);

// The categories already used, for the editor's combo.
QStringList ExportCategories();

} // namespace kml
