#pragma once

// The work-sheet editor's logic apart from its window: what it asks before
// it opens, the new sheet it creates and may remove again, which pages and
// locks apply, and every change it makes to the sheet, each written under
// the sheet's lock (WorkSheetState.h) so that a sheet cancelled or locked on
// another workstation meanwhile is never changed from an editor opened
// earlier.
//
// The editor never writes the columns the server computes (ar_ossz, ar_besz,
// ar_fizetendo): a change of the advance or the discount is followed by
// sp_arbeallit, and line changes go through routines that recompute them.

#include "worksheets/WorkSheetState.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace kml {

class Table;

namespace worksheet_text {
inline const QString EditorCaption = QStringLiteral("Munkalap");
inline const QString QuotationTitle = QStringLiteral("Árajánlat");
inline const QString PriceCaption = QStringLiteral("Ár megadás");
inline const QString PricePrompt = QStringLiteral("Add meg az árat!");
inline const QString DiscountCaption = QStringLiteral("Kedvezmény megadás");
inline const QString DiscountPrompt = QStringLiteral("Add meg a kedvezményt!");
inline const QString NewSheetKeptCancelled =
    QStringLiteral("Közben újabb munkalap készült, ezért a munkalap nem törölhető; sztornózva marad.");
inline const QString DiscardNewSheetQuestion =
    QStringLiteral("Az új munkalapra már vettél fel tételt vagy dolgozót. Ha most bezárod, a munkalap "
                   "törlődik. Valóban törlöd?");
} // namespace worksheet_text

// ---- Opening --------------------------------------------------------------------

// The sheet an editor works on.
struct SheetOpening {
    int sheet = -1;
    int customer = -1;
    int type = -1;        // the new sheet's type, or the existing sheet's own
    int device = -1;      // -1 or 0: none
    bool created = false; // created by this opening (removable when the editor is cancelled)
};

// The editor's opening up to its window: for a new sheet (no sheet) the
// customer (when neither a sheet nor a customer is given), the device (when
// the shop records devices and none is given; "Tovább" means none) and the
// type (when none is given) are chosen, then the sheet is created on the
// server (sp_ujmunkalap, its number read from the call itself) and turned
// into a quotation when asked. An existing sheet is taken with its own type;
// a cancelled one is refused ("Sztornó munkalap"). Nothing, and nothing
// created, when a choice is cancelled or the sheet is refused or gone.
std::optional<SheetOpening> BeginSheetEdit(RowKey sheet, RowKey customer, RowKey type, bool quotation,
                                           RowKey device);

// "CALL sp_ujmunkalap(customer, type, device, 'user');": one row, the new number.
QString CreateSheetSql(int customer, int type, int device, const QString& user);
// "UPDATE munkalap SET statusz = 0 WHERE munkalap = n;"
QString QuotationSql(int sheet);

// ---- What the window shows ---------------------------------------------------

// Whether a sheet in the status is locked: the status's keszenvan flag, a
// quotation (0) never.
bool StatusLocks(int status);
// The garment page: program type 3 and a type whose letter is "P".
bool GarmentPageVisible(int programType, int type);
// The gas-appliance page: program type 4.
bool GasPageVisible(int programType);
// The type panel: "Árajánlat" for a quotation, else the type's name.
QString TypePanelText(int status, int type);
// The device's one-line caption; "" for none.
QString SheetDeviceText(int device);
// (total - advance) - |discount|, empty values counting as 0.
double AmountPayable(const QVariant& total, const QVariant& advance, const QVariant& discount);
// The deadline boxes' value: the stored date and time, today and the
// current time of day for what is empty.
QDateTime DeadlineShown(const QVariant& stored, const QDateTime& now);
// The pick list of a garment column (m05..m09) over the sheets of a type.
QString GarmentChoicesSql(const QString& column, int type);

// Garment picture positions: the choices of "Elöl" and "Hátul" ("0" to "3")
// and of "Oldal" ("0", "1"), in code order.
enum class GarmentSide { Front, Side, Back };
QStringList GarmentChoices(GarmentSide side);
// The marker pictures of the garment drawing.
enum class GarmentMarker { FrontRight, FrontLeft, FrontCentre, SideCentre, BackRight, BackLeft, BackCentre };
// The marker a position code shows on its side; nothing for "0" (no
// picture) or a code the side does not have.
std::optional<GarmentMarker> GarmentMarkerFor(GarmentSide side, const QString& code);

// ---- Changes ----------------------------------------------------------------------

// Writes what changed in the sheet's row (only those columns, only while
// they still hold what was read) under the lock; a changed advance or
// discount is followed by sp_arbeallit. Written when there was nothing to
// write.
SheetWrite PostSheet(qlonglong sheet, Table& row);

// "Ár módosít": the line's unit price.
SheetWrite SetLinePrice(qlonglong sheet, int line, double price);
// "Kedvezmény": the line's given discount and the price it makes from the
// line's list price (as stored when the change is made).
SheetWrite SetLineDiscount(qlonglong sheet, int line, double discount);
// "Kedvezmény összesből": every line's discount from its list price.
SheetWrite SetSheetDiscount(qlonglong sheet, double discount);
SheetWrite DeleteLine(qlonglong sheet, int line);
SheetWrite LinkSheetEmployee(qlonglong sheet, int employee);
SheetWrite UnlinkSheetEmployee(qlonglong sheet, int employee);

QString LinePriceSql(int line, double price);               // "CALL sp_munkalap_sorar(l,price,NULL);"
QString LineDiscountSql(int line, double discount);         // "CALL sp_munkalap_sorar(l,NULL,discount);"
QString SheetDiscountSql(qlonglong sheet, double discount); // "CALL sp_munkalap_kedvezmeny(s,discount);"
QString DeleteLineSql(int line);                            // "CALL sp_munkalap_torolsor(l);"

// "Új sor" on the lines page: the line editor for a new line again and
// again until the user cancels it (or the server refuses a line); after
// each saved line afterEach runs. The number of lines saved.
int AddLinesUntilCancelled(qlonglong sheet, const std::function<void()>& afterEach);

// The planner button: a slot picked in the planner and an appointment made
// there for the sheet; the appointment's employee is then linked to the
// sheet. The employee and the appointment's start; nothing when a window
// was cancelled or the sheet may no longer be changed (said so).
struct PlannerBooking {
    int employee = -1;
    QDateTime start;
};
// alsoWrite, when given, runs with the employee's link under the sheet's lock
// (the main window stores the start as the sheet's deadline there).
std::optional<PlannerBooking> BookInPlanner(qlonglong sheet,
                                            const std::function<void(const PlannerBooking&)>& alsoWrite = {});

// OK: the saved sheet completed on the server (sp_munkalapkesz).
void CompleteSheet(qlonglong sheet);
// Whether a new sheet is removed when its editor is cancelled: only while
// it is still the newest sheet, so that a later sheet of another
// workstation is never touched.
bool NewSheetRemovable(qlonglong sheet);
// Whether a new sheet already has lines or employees (closing asks first).
bool NewSheetHasContent(qlonglong sheet);
// "CALL sp_mlaptorol(n);"
void RemoveNewSheet(qlonglong sheet);

// How cancelling a new sheet's editor ended.
enum class NewSheetDiscard {
    Kept,      // the user answered No to the question: the editor stays open
    Removed,   // it was still the newest sheet: deleted with its lines
    Cancelled, // a later sheet exists: cancelled (storno) with its lines kept, and said so
};
// Cancelling the editor of a new sheet (the number its own creation
// returned): when it has lines or employees the user is asked first; then
// it is deleted while it is still the newest sheet (so the numbers stay
// without gaps), otherwise cancelled as "Sztornó" does, with the message
// "Közben újabb munkalap készült, …". The check and the change are one
// transaction, so a sheet made on another workstation at that moment is
// never touched.
NewSheetDiscard DiscardNewSheet(qlonglong sheet);

} // namespace kml
