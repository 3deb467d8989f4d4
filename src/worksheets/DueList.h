#pragma once

// What falls due, apart from the window (worksheets/gui/Tfrm_Esedekes.h):
// customers' reminder dates (ugyfel.dat_figyelmeztet), devices' inspection
// dates (keszulek.dat_muszaki, captioned with the shop's muszakistr) and
// warranty expiries (keszulek.dat_garilejar) in a chosen period, each with
// its customer, contact, device and last sheet.
//
// Every date is compared with the server's date (CURDATE()), never the
// workstation's clock. A reminder or inspection whose date has passed stays
// due until it is marked done or its date is changed: the presets that end
// in the future include the overdue ones. An expired warranty is past help:
// warranties are listed from today on only. Deleted customers and deleted
// devices (and the devices of deleted customers) are never listed.

#include "foundation/WindowOperation.h"
#include "patterns/ListDefinition.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>

namespace kml {

class Connection;
class Query;
struct ShopTexts;

namespace report {
struct Document;
}

// The window "Esedékes" (worksheets/gui/Tfrm_Esedekes.h), modal.
inline WindowOperation<void()> ShowDueList{"ShowDueList"};

namespace due_text {
inline const QString Caption = QStringLiteral("Esedékes");
inline const QString Reminder = QStringLiteral("Emlékeztető");
inline const QString DefaultInspection = QStringLiteral("Műszaki vizsga");
inline const QString Warranty = QStringLiteral("Garancia lejár");
inline const QString PresetThisWeek = QStringLiteral("Ez a hét");
inline const QString PresetNext30Days = QStringLiteral("Következő 30 nap");
inline const QString PresetOverdue = QStringLiteral("Lejártak");
inline const QString PresetCustom = QStringLiteral("Időszak...");
inline const QString MarkDoneCaption = QStringLiteral("Elvégezve - következő időpont");
inline const QString MarkDoneChoices =
    QStringLiteral("1 hónap múlva,3 hónap múlva,6 hónap múlva,1 év múlva,2 év múlva,Nincs több emlékeztető");
inline const QString ChangedMeanwhile = QStringLiteral(
    "Ezt az időpontot közben egy másik munkahelyen módosították vagy már elvégzettnek jelölték, "
    "ezért nem változtattam rajta. A lista frissült, nézd meg újra!");
inline const QString NotMovable =
    QStringLiteral("A garancia lejárata nem jelölhető elvégzettnek; a készülék adatlapján módosítható.");
inline const QString NoDevice = QStringLiteral("Ehhez a sorhoz nem tartozik készülék.");
inline const QString NoSheet = QStringLiteral("Ehhez a sorhoz még nem készült munkalap.");
} // namespace due_text

// The kinds of due rows (column fajta).
enum class DueKind { Reminder = 1, Inspection = 2, Warranty = 3 };

enum class DuePreset { ThisWeek, Next30Days, Overdue, Custom };

// A period: a preset, and for Custom its first and last day (both included).
struct DuePeriod {
    DuePreset preset = DuePreset::Next30Days;
    QDate from;
    QDate to;
};

// The presets' captions in DuePreset order.
QStringList DuePresetCaptions();

// The list's statement: one row per due date with the columns
//   sor (the row's key: kind * 100000000 + record), fajta, esemeny (the
//   kind's caption), esedekes (the date), hatravan (days left, negative
//   when overdue), ugyfel, ugyfel_nev, kapcsolat, telefon, emil, keszulek
//   (0 for a reminder), keszulekstr, utolso_munkalap (0: none), munkalapstr
//   (the last sheet and its arrival date)
// ordered by date, with a "WHERE (1 = 1)" line of its own for the list's
// search. inspectionCaption names the inspection rows (the shop's
// muszakistr; "Műszaki vizsga" when empty).
QString DueListSql(const DuePeriod& period, const QString& inspectionCaption);
ListDefinition DueListDefinition(const DuePeriod& period, const QString& inspectionCaption);

// The row's key and what it stands for.
qlonglong DueRowKey(DueKind kind, int record);
DueKind DueRowKind(qlonglong key);
int DueRowRecord(qlonglong key);

// Row colours by days left: overdue light red, within a week light
// orange, within 30 days light yellow, later none.
inline const QColor DueOverdueColor{255, 205, 205};
inline const QColor DueThisWeekColor{255, 226, 180};
inline const QColor DueSoonColor{255, 250, 205};
RowStyle DueRowStyle(const QVariant& daysLeft);

// The main window's count: what falls due this week (the overdue ones
// included) and how many of them are overdue, in one statement.
struct DueCount {
    int due = 0;
    int overdue = 0;
};
QString DueCountSql();
DueCount CountDue(Connection& db);
// "Esedékes a héten: 12 (lejárt: 3)"; "Esedékes a héten: 0".
QString DueCountText(const DueCount& count);

// The choices of "Elvégezve" in months (MarkDoneChoices order); 0 clears
// the date.
int MarkDoneMonths(int choice);

// "Elvégezve" on a reminder or inspection: its date moved on by months from
// the later of the date the user saw and today (months 0: cleared), in one
// statement that changes the row only while it still holds the date the
// user saw and is not deleted. Two workstations marking the same date done
// move it once.
QString MarkDoneSql(DueKind kind, int record, const QDate& seen, int months);
enum class MarkDoneResult { Moved, ChangedMeanwhile };
MarkDoneResult MarkDone(Connection& db, DueKind kind, int record, const QDate& seen, int months);

// "Elvégezve" on a row of the list (its key and the date the user saw):
// a warranty is refused with a message; otherwise the user picks when it is
// due next ("1 év múlva" proposed) and the date is moved (MarkDone). When
// another workstation changed the date meanwhile nothing is written and the
// user is told so. True when the date was moved.
bool MarkDueRowDone(qlonglong key, const QDate& seen);

// The period's caption on the printout and in the window: the preset's
// caption; "yyyy.mm.dd - yyyy.mm.dd" for a custom period.
QString DuePeriodText(const DuePeriod& period);

// The printout of the list as it stands (its search and order): A4
// portrait, one line a row, the period and the number of rows.
report::Document MakeDueListDocument(const Query& list, const QString& periodText, const ShopTexts& shop);
// "Nyomtat": with the printing right, asks preview, print or export and
// does it.
void PrintDueList(Query& list, const QString& periodText);

} // namespace kml
