#pragma once

// Notes of a customer (kind 1), a work sheet (2) or a device (3), with an
// optional attached file stored by its path, apart from the windows
// (worksheets/gui/Tfrm_Megjegyzes*.h).
//
// An attachment is opened only when its path names an existing regular
// file that is neither executable nor a desktop entry (.desktop), and then
// through the desktop's URL opener with a file address, never through a
// shell, so a stored path can never start a program. Paths written by
// Windows workstations (C:\..., \\server\share\...) are translated through
// the prefix map of the ini file (section "Csatolmanyok", keys Eleres1 ...
// Eleres20, each "windows prefix|local folder"), or reported missing.

#include "foundation/WindowOperation.h"
#include "patterns/ListDefinition.h"

#include <QString>
#include <optional>
#include <vector>

namespace kml {

class Table;

// The notes window of a record (kind 1, 2 or 3).
inline WindowOperation<void(int id, int kind)> BrowseNotes{"BrowseNotes"};
// The note editor: no note makes a new note of the record (kind, id); the
// saved note's number, or nothing when cancelled.
inline WindowOperation<RowKey(RowKey note, int kind, int id)> EditNote{"EditNote"};
// Hands a checked local file to the desktop, which opens it with the
// program associated with it (installed by the windows; tests record it).
inline WindowOperation<void(const QString& path)> OpenAttachmentFile{"OpenAttachmentFile"};

namespace note_text {
inline const QString BrowseCaption = QStringLiteral("Megjegyzések");
inline const QString EditCaption = QStringLiteral("Megjegyzés szerkesztés");
inline const QString NoAttachment = QStringLiteral("Nincs megadva csatolt dokumentum");
inline const QString MissingFile = QStringLiteral("Nem létező file: ");
inline const QString NotAFile = QStringLiteral("A csatolt útvonal nem közönséges file: ");
inline const QString Executable = QStringLiteral("Futtatható file-t a program nem nyit meg: ");
inline const QString DesktopEntry = QStringLiteral("Asztali indítót (.desktop) a program nem nyit meg: ");
inline const QString LinkTooLong = QStringLiteral("A csatolt file útvonala legfeljebb 150 karakter lehet.");
inline const QString LinkNotStorable =
    QStringLiteral("A csatolt file útvonalában olyan karakter van, amelyet az adatbázis nem tud tárolni: ");
inline const QString DocumentFilter =
    QStringLiteral("Dokumentumok (*.txt *.png *.jpg *.pdf *.doc *.docx *.xls *.xlsx);;Minden file (*)");
inline const QString DefaultUser = QStringLiteral("rendszergazda");
} // namespace note_text

inline constexpr int NoteLinkMaxLength = 150;

// "(id=n) AND (megjtipus = k)".
QString NotesCondition(int id, int kind);
// The ORDER BY of a title click: "datum DESC" for the date, field + ",megj"
// for the others.
QString NotesOrderExpression(const QString& field);
ListDefinition NotesDefinition(int id, int kind);

// The prefix map of the ini file: Windows prefix -> local folder.
struct PathPrefix {
    QString windowsPrefix;
    QString localFolder;
};
std::vector<PathPrefix> AttachmentPrefixes();
bool IsWindowsPath(const QString& link);
// The local path of a stored link: a Windows-style path through the first
// prefix that matches (letter case ignored, "\" becoming "/"); "" when none
// does. Other paths are returned as they are.
QString LocalAttachmentPath(const QString& link, const std::vector<PathPrefix>& prefixes);

enum class AttachmentCheck { Ok, Empty, Missing, NotAFile, Executable, DesktopEntry };
// What stands in the way of opening the local file.
AttachmentCheck CheckAttachment(const QString& localPath);
// The message for a refusal ("" for Ok); link is the stored text.
QString AttachmentMessage(AttachmentCheck check, const QString& link);

// "Megnéz": the refusal as an error box, or the file handed to
// OpenAttachmentFile (its canonical path). Whether it was handed over.
bool OpenNoteAttachment(const QString& link);

// Whether the preview loads the file: it exists and its extension, in any
// letter case, is .jpg, .jpeg, .bmp, .wmf or .ico.
bool IsPreviewPicture(const QString& localPath);

// Why a link cannot be stored, or nothing: longer than 150 characters, or
// holding a character the connection's encoding (cp1250) has no byte for.
std::optional<QString> LinkProblem(const QString& link);

// The editor's row: an existing note loaded, or a new one started with the
// record, its kind and the user's display name ("rendszergazda" without
// one). False when the note does not exist.
bool PrepareNote(Table& row, int note, int kind, int id);
// The record's caption for the heading of both windows.
QString NoteHeading(int id, int kind);

} // namespace kml
