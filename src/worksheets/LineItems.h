#pragma once

// One line of a work sheet as the line editor prepares it, apart from the
// widgets: where its values start from (a catalogue item for a new line, the
// stored line for a changed one), how they are recalculated while the user
// edits them, and the call that hands the line to the server
// (sp_munkalap_ujsor / sp_munkalap_szerkesztsor), which stores it and
// recomputes the sheet's totals. The editor never writes the tables itself.
//
// Arithmetic is in floating point and nothing is rounded except the gross-up
// (halves go to the even neighbour). Numbers reach the SQL in the C locale.

#include "foundation/RowKey.h"
#include "worksheets/WorkSheetState.h"

#include <QString>
#include <optional>

namespace kml {

// The line record (one row, alive while the editor is open).
struct LineRecord {
    int tetel = 0;
    QString tetel_kod;
    QString tetel_nev;
    double db = 1;
    double egysar = 0;    // unit sale price
    double beszar = 0;    // unit purchase price
    double osszar = 0;    // line total, shown only: the server computes the stored one
    QString megjegyzes;   // at most 255 characters
    double ar_teljes = 0; // list price before the given discount
    double kedv_kap = 0;  // discount received from the supplier, percent
    double kedv_ad = 0;   // discount given to the customer, percent
    QString egyeb;        // at most 50 characters; the factory part number of the car workshop
};

// A catalogue row (tetel), or a stored line under the catalogue's column
// names (vw_mlaptetel, where ar_elad is the line's unit price and db its
// quantity). Empty numbers read as 0.
struct LineSource {
    int tetel = 0;
    QString tetel_kod;
    QString tetel_nev;
    double ar_elad = 0;
    double ar_teljes = 0;
    double ar_besz = 0;
    double kedv_kap = 0;
    double kedv_ad = 0;
    QString megjegyzes;
    QString egyeb;
    double db = 1;
};

// Reads on the shared connection; nothing when the row does not exist.
std::optional<LineSource> ReadCatalogueItem(int item);
std::optional<LineSource> ReadStoredLine(int line);
// The discount (percent) of the sheet's customer; 0 when none.
double CustomerDiscount(int sheet);

// A new line from a catalogue item: the customer's discount when there is
// one, else the item's, becomes kedv_ad; the car workshop (program type 2)
// prices the line from the list price less that discount (from the sale
// price when the item has no list price), every other trade at the sale
// price, which is then also the list price. Quantity 1.
LineRecord NewLineRecord(const LineSource& item, double customerDiscount, int programType);
// A stored line as it was saved: its unit price, list price and discounts
// stay, so a price set by hand survives opening and saving it again.
LineRecord StoredLineRecord(const LineSource& line);

// Leaving "Mennyiség" or "Egységár": osszar = db * egysar.
void RecalculateTotal(LineRecord& line);
// Leaving "Egységár" on the car workshop's page: the given discount the unit
// price means against the list price (0 without a list price).
void DiscountFromUnitPrice(LineRecord& line);
// The button beside "Kapott kedv%": beszar = ar_teljes * (1 - kedv_kap / 100).
void PurchaseFromReceivedDiscount(LineRecord& line);
// The button beside "Adott kedv%": egysar = ar_teljes * (1 - kedv_ad / 100),
// then the total.
void UnitPriceFromGivenDiscount(LineRecord& line);
// "Bruttósítás": ar_teljes, egysar, beszar and osszar each times (1 + VAT
// percent / 100), rounded to a whole number, halves to the even neighbour.
void GrossUp(LineRecord& line, double vatPercent);
double RoundHalfToEven(double value);

// A discount percent outside 0-100: the message naming the field by its
// caption; empty when the percent may be stored.
std::optional<QString> DiscountProblem(double percent, const QString& caption);
// The first value the line must not be saved with (a received or given
// discount outside 0-100), as the message naming its field; empty when the
// line may be saved.
std::optional<QString> LineProblem(const LineRecord& line);

// "CALL sp_munkalap_ujsor(sheet,...);" for a new line (line -1),
// "CALL sp_munkalap_szerkesztsor(line,...);" for a stored one: item,
// quantity, unit price, purchase price, received and given discount, list
// price, remark, other; no blanks after the commas.
QString SaveLineSql(int sheet, int line, const LineRecord& record);
// The earlier remarks of the item, offered in the remark pick list.
QString RemarkListSql(int item);

// Opening the line editor, up to the window: for a stored line its item and
// values (nothing, after a message, when the line is gone); for a new line
// the item chosen in the catalogue (nothing when the choice was cancelled or
// empty) priced for the sheet's customer.
std::optional<LineRecord> StartLineEdit(qlonglong sheet, RowKey line, int programType);
// The button beside "Tétel neve": another item chosen in the catalogue,
// starting at the current one; its number, name and code replace the line's,
// the prices stay. False when no item was chosen.
bool ChangeLineItem(LineRecord& line);
// Hands the line to the server under the sheet's lock. A stored line is
// written only while it still holds the values the editor read (read, as
// StartLineEdit gave them; required for a stored line): when another
// workstation changed it meanwhile "A sort közben egy másik munkaállomáson
// módosították…" is shown and nothing written (Stale). Refused, after the
// message, when the sheet was cancelled or locked, or the line deleted,
// meanwhile.
SheetWrite SaveLine(int sheet, int line, const LineRecord& record, const std::optional<LineRecord>& read);
// Whether a stored line still holds what was read: item, quantity, prices,
// discounts, remark and other (names and codes come from the catalogue).
bool SameStoredValues(const LineRecord& a, const LineRecord& b);

// The caption of the layout page of a program type ("Klíma szerelő",
// "Autószerelő", "Grafika stúdió", "Gázszerelő", "Ügyfélszolgálat"); "Tétel"
// for any other type.
QString LinePageCaption(int programType);

} // namespace kml
