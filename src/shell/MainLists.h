#pragma once

// The main window's four lists apart from the widgets: their fixed
// conditions, sort and key columns, search fields, the work-sheet status
// tabs, the detail conditions, which grids a program type shows, the row
// colouring rules and the few layout numbers. The window (Tfrm_Main) and its
// list helpers (GuiMainLists.h) ask these; tests check them without widgets.

#include "components/DatasetModel.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kml {

class Query;

// The panels of TabControl1, in tab order.
enum class MainTab { WorkSheets = 0, Customers = 1, Planner = 2, Devices = 3 };

// What one list of a tab searches, sorts and locates by.
struct MainListDef {
    QString fixedCondition; // the initial fixed part of the WHERE line
    QString sortField;      // the initial sort and quick-locate column
    QString searchFields;   // LikeFilter field list, ";"-separated
    QString keyField;       // the key a refresh keeps and a locate finds
};
MainListDef MainListDefinition(MainTab tab);

// ---- Work-sheet status tabs (TabControl2) -------------------------------

inline constexpr int StatusTabCount = 7;
inline constexpr int QuotationStatusTab = 6; // "Árajánlat"
QStringList StatusTabCaptions();
// The fixed condition of the work-sheet list on a status tab: tab 0
// "(statusz BETWEEN 1 AND 2)", 1 "(statusz > 0)", 2..5 "(statusz = " + (tab - 1)
// + ")", 6 "(statusz = 0)". Any other index gives tab 0's.
QString StatusTabCondition(int statusTab);
// "Készen van!" (aKesz) is shown and enabled on every status tab but
// "Árajánlat".
bool ReadyActionOnStatusTab(int statusTab);

// ---- Sorting --------------------------------------------------------------

// The ORDER expression of a title click on a work-sheet grid: the number
// column sorts by "munkalap DESC", any other column by its field and then
// the number.
QString WorkSheetOrder(const QString& field);

// ---- Detail lists -----------------------------------------------------------

// Conditions of the detail queries for the current row's key (0 when there
// is none). The totals query has its ";" on the WHERE line.
QString WorkSheetDetailCondition(qlonglong workSheet); // "munkalap = " + id
QString WorkSheetTotalsCondition(qlonglong workSheet); // "munkalap = " + id + ";"
QString CustomerDevicesCondition(qlonglong customer);  // "ugyfel = " + id

// The key of the current row of a list, 0 when it is closed, empty or the
// field is null.
qlonglong CurrentKey(const Query& query, const QString& keyField);

// ---- Program type -------------------------------------------------------------

// Which of the three work-sheet grids a program type shows: 1 and 4
// DBGrid2, 2 DBGrid22, 3 and 5 DBGrid23, any other none.
enum class WorkSheetGrid { None, Grid2, Grid22, Grid23 };
WorkSheetGrid WorkSheetGridFor(int programType);

// The columns of the work sheet's items grid (DBGrid6), and those hidden in
// a program type: only the car workshop (2) shows all ten.
QStringList ItemColumnFields();
QStringList HiddenItemColumns(int programType);

// ---- Shop-wide settings on the window -------------------------------------------

// The device word of the settings in the device actions' captions and hints.
struct DeviceWording {
    QString panelCaption;     // Panel16: keszulekstr
    QString recordCaption;    // aKeszulekAdatlap: keszulekstr
    QString recordHint;       //   keszulekstr + " adatlap"
    QString newDeviceCaption; // aUjKeszulek: "Új " + keszulekstr (also its hint)
    QString typesCaption;     // aTipus: keszulekstr + " típusok" (also its hint)
};
DeviceWording DeviceWordingFor(const QString& keszulekstr);

// Label1 after the settings are loaded: "Koravel.ML: " + display name + two blanks.
QString ConnectionLabel(const QString& connectionName);

// ---- Row colouring ------------------------------------------------------------

inline const QColor StartedColor{0xC4, 0xE0, 0xFF};     // statusz 2; service lines
inline const QColor ReadyColor{0xFF, 0xD2, 0xFF};       // statusz 3
inline const QColor InvoicedColor{0xC1, 0xFF, 0xE0};    // statusz 4
inline const QColor WarningBackColor{0xFF, 0xDD, 0xDD}; // cancelled, warned, device due
inline const QColor CancelledTextColor{0x80, 0x00, 0x00};
inline const QColor SentColor{0xFF, 0xE1, 0xD5}; // kuldve on the car workshop's grid
inline const QColor BlueTextColor{0x00, 0x00, 0xFF};
inline const QColor SelectedWarningTextColor{0xFF, 0xFF, 0x00};

// How a grid lets its row colours reach the highlighted (sort) column.
enum class ColourReach {
    RowOnly,        // work sheets, devices: no colour at all in the highlighted column
    TextEverywhere, // customers, items: text colour everywhere, background not there
};

// The colours of one work-sheet row: by status, cancelled over status, and on
// the car workshop's grid (sentMark) the sent mark over both. Nothing for the
// selected row.
RowStyle WorkSheetRowStyle(int statusz, bool storno, bool kuldve, bool sentMark, bool selected);
// A customer warned for today or earlier: blue on light red, or yellow text
// on the selection colour when selected. today is the workstation's date.
RowStyle CustomerRowStyle(const QVariant& warningDate, const QDate& today, bool selected);
// A service line of a work sheet: blue on light blue when not selected.
RowStyle ItemRowStyle(bool serviceLine, bool selected);
// A device whose inspection is less than 30 days away (or overdue): light
// red when not selected.
RowStyle DeviceRowStyle(const QVariant& daysLeft, bool selected);
// One cell's colours from its row's: what the grid's reach lets through in
// the highlighted column.
RowStyle CellStyle(ColourReach reach, const RowStyle& row, bool highlightedColumn);

// The grids whose rows are coloured.
enum class ColouredGrid { WorkSheets, WorkSheetsSent, Customers, Items, Devices, History };
ColourReach ReachOf(ColouredGrid grid);
// The row rule of a grid on row `row` of its query (read without moving it).
RowStyle RowStyleAt(ColouredGrid grid, const Query& query, int row, bool selected, const QDate& today);

// The flag columns drawn as a picture instead of their text.
enum class CellIcon { None, Paid, Unpaid, Private, Company };
// fizetve (work sheets) and maganszemely (customers): the picture for the
// flag's value; None for every other field.
CellIcon FlagIcon(const QString& field, const QVariant& value);

// A field's value on a given row of an open query (invalid when there is no
// such row or field).
QVariant ValueAt(const Query& query, int row, const QString& field);

// ---- Layout -------------------------------------------------------------------

// The items panel: a third of the work-sheet area, at least 240 pixels.
int ItemsPanelHeight(int workSheetAreaHeight);
// The customer's device panel may be set to a height above 200 pixels and
// below half the customer panel's height.
bool DevicePanelHeightAccepted(int height, int customerPanelHeight);

// Font size actions: one step up or down, within 8 to 10.
int SteppedFontSize(int size, int step);

} // namespace kml
