#pragma once

// What the items catalogue does with the data, apart from the widgets: the
// list "Tételek", the item editor's page per program type, the price
// buttons, the automatic item code and the export. The windows
// (Tfrm_TorzsTetel, Tfrm_TorzsTetel_Szerkeszt) call these; tests call them
// against the server.

#include "patterns/ListDefinition.h"

#include <QString>

namespace kml {

class FieldLimits;
class Table;

// A service item (ezszolg 'I') of the catalogue or of a work sheet's lines:
// blue on light blue when not selected.
RowStyle ItemRowStyle(bool serviceLine, bool selected);
// The same for row `row` of a dataset with the ezszolg column.
RowStyle ServiceLineStyle(const Query& query, int row, bool selected);

namespace catalogue_text {
inline const QString ListCaption = QStringLiteral("Tételek");
inline const QString ListHeading = QStringLiteral("Rendelhető tételek  ");
inline const QString EditorCaption = QStringLiteral("Tétel szerkesztés");
inline const QString RemarkTooLong = QStringLiteral("Megjegyzés: legfeljebb %1 karakter adható meg.");
} // namespace catalogue_text

// The catalogue list over vw_tetel: live items by code, searched in code and
// name, services in blue on light blue, the remark under the grid; "Új sor"
// and "Szerkeszt" through EditCatalogueItem, "Sor törlése" marks the item
// deleted (work-sheet lines keep it).
ListDefinition CatalogueListDefinition();

// The one page the item editor shows for a program type: its caption and
// which of the optional fields it has. Outside 1 to 5 the editor shows the
// fields every trade has, captioned "Tétel".
struct ItemEditorPage {
    QString caption;
    bool listPrices = false; // "Listaár", the discounts with their buttons, "Bruttósítás", "Gyári cikkszám"
    bool unit = false;       // "Mértékegység"
};
ItemEditorPage ItemEditorPageFor(int programType);

// The editor's limits beyond the columns' ranges: both discounts are
// percents, 0 to 100.
void SetItemLimits(FieldLimits& limits);

// A new item's values: not deleted, not a service; with automatic codes the
// next code (NextItemCode) as a proposal, returned (empty without).
QString StartNewItem(Table& item, bool automaticCode);

// Before a new item is written: a code still equal to the proposal becomes
// NULL, so that the server gives the item the next code at the moment it
// stores it (two workstations that were proposed the same code get two
// codes). A code the user typed or emptied stays as it is.
void LeaveCodeToServer(Table& item, const QString& proposedCode);

// The remark's message when it is longer than its column; empty otherwise.
QString ItemRemarkProblem(const Table& item);

// value × (1 + vatPercent / 100), rounded to a whole number with halves
// going to the even neighbour (190.5 gives 190, 1612.9 gives 1613).
double GrossUp(double value, double vatPercent);
// listPrice × (1 − discountPercent / 100).
double DiscountedPrice(double listPrice, double discountPercent);

// The vehicle page's buttons, on the row being edited: the purchase price
// from the list price and the discount received, the sale price from the
// list price and the discount given, and the three prices grossed up.
void ApplyReceivedDiscount(Table& item);
void ApplyGivenDiscount(Table& item);
void GrossUpPrices(Table& item, double vatPercent);

// "Export": every live item as vw_tetelexp gives it, to the export window.
void ExportCatalogue();

} // namespace kml
