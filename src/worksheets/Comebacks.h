#pragma once

// Comeback jobs: a device brought back soon after its last repair. Opening a
// new sheet for a device whose last sheet was finished within the shop's
// number of days (beallit.visszateres_nap, 0: never) says so before the
// sheet is made, offers that sheet's preview and lets the user mark the new
// sheet as a comeback (munkalap.visszatero_munkalap, the earlier sheet's
// number). Days are counted on the server's date.

#include <QDate>
#include <QString>
#include <optional>

namespace kml {

namespace comeback_text {
inline const QString Caption = QStringLiteral("Visszatérő javítás");
inline const QString ViewQuestion = QStringLiteral("Megnézed a korábbi munkalapot?");
inline const QString MarkQuestion =
    QStringLiteral("Visszatérő javításként jelöljem az új munkalapot? (Hivatkozás a korábbi munkalapra: %1)");
inline const QString EditorLabel = QStringLiteral("Visszatérő javítás, korábbi munkalap: %1");
} // namespace comeback_text

// The device's last sheet finished within days (not cancelled).
struct EarlierSheet {
    int sheet = 0;
    QString number; // "00012A"
    QDate finished;
    int daysAgo = 0;
    QString complaint;
    QString work;
};

// The device's last finished, not cancelled sheet when it was finished at
// most days ago (DATEDIFF(CURDATE(), dat_kesz) <= days); nothing for days
// <= 0, no device or no such sheet.
QString LastFinishedSheetSql(int device, int days);
std::optional<EarlierSheet> FindComebackCandidate(int device, int days);

// The shop's number of days (beallit.visszateres_nap; 30 while it is
// empty or the settings row is missing), read when a sheet is opened so
// that a change on another workstation counts at once; 0 on a database not
// brought up to date yet (db/upgrade.sql), which has no such column.
int ComebackDays();

// What the question says about the earlier sheet.
QString ComebackMessage(const EarlierSheet& earlier);

// The question before a new sheet is made for the device (the shop's
// setting decides whether it is asked): the earlier sheet to refer to when
// the user marks the new one as a comeback, 0 otherwise.
int AskComeback(int device);

// "UPDATE munkalap SET visszatero_munkalap = earlier WHERE munkalap = sheet;"
QString MarkComebackSql(int sheet, int earlier);

// The sheet's comeback reference as the editor and the printout show it:
// "00012A" of the earlier sheet; empty when the sheet is not a comeback.
QString ComebackReferenceText(int sheet);

} // namespace kml
