#pragma once

// A customer's or a device's history, apart from the windows
// (worksheets/gui/Tfrm_MunkalapBongeszo*.h): the work sheets of one
// customer, one device or all of them ("Munkalapok"), and every item ever
// used on one device's sheets, banded by sheet ("Felhasznált anyagok").

#include "foundation/WindowOperation.h"
#include "patterns/ListDefinition.h"

#include <QColor>
#include <QString>

namespace kml {

class Query;

// The work-sheet browser: customer and device -1 for "any".
inline WindowOperation<void(int customer, int device)> BrowseWorkSheets{"BrowseWorkSheets"};
// The item history of a device; device 0 opens nothing.
inline WindowOperation<void(int device)> DeviceItemHistory{"DeviceItemHistory"};

namespace browser_text {
inline const QString SheetsCaption = QStringLiteral("Munkalapok");
inline const QString ItemsCaption = QStringLiteral("Felhasznált anyagok");
inline const QString PrintChoices = QStringLiteral("Munkalap,Lista");
inline const QString PrintCaption = QStringLiteral("Nyomtatás típusa");
} // namespace browser_text

// The rows' colours: status 2 light blue, status 3 light green, a
// cancelled sheet light red with dark red text whatever its status.
inline const QColor StartedSheetColor{196, 224, 255};
inline const QColor ReadySheetColor{193, 255, 224};
inline const QColor CancelledSheetColor{255, 221, 221};
inline const QColor CancelledSheetText{128, 0, 0};
// The lines of every other sheet in the item history.
inline const QColor ItemBandColor{255, 225, 213};

// The sheets of a device and of every other registration of it: another
// device row (of another owner, or registered twice) with the same serial
// number or plate (gysz) or the same second number (gysz2); deleted rows
// included, since their sheets are the device's history.
QString SameDeviceCondition(int device);
// "(1 = 1)" for any customer, "(ugyfel = n)"; " AND (keszulek = n)" for a
// device of a customer. A device alone (customer -1): "(1 = 1) AND " +
// SameDeviceCondition, its history under every owner.
QString SheetBrowserCondition(int customer, int device);
// The heading: "Munkalapok  " without a customer, else its name and two blanks.
QString SheetBrowserHeading(int customer);
RowStyle SheetBrowserRowStyle(const QVariant& status, const QVariant& cancelled);
ListDefinition SheetBrowserDefinition(int customer, int device);

// "(munkalap.keszulek=n)".
QString ItemHistoryCondition(int device);
// "Felhasznált anyagok   - " + the device's serial number.
QString ItemHistoryHeading(int device);
ListDefinition ItemHistoryDefinition(int device);

// "Nyomtat" of the work-sheet browser on the sheet in the list: asks
// "Munkalap" or "Lista"; the sheet's preview, or (with the printing right)
// the work-sheet list over the browser's query for today.
void PrintFromSheetBrowser(int sheet, const Query& list);
// "Excelbe..." of the item history (needs the export right).
void ExportItemHistory(Query& list);

} // namespace kml
