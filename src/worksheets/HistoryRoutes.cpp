#include "worksheets/HistoryRoutes.h"

#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "patterns/ListController.h"
#include "worksheets/DueList.h"
#include "worksheets/Notes.h"
#include "worksheets/WorkSheetBrowsers.h"

namespace kml {
namespace {

// aMlapjai: the sheets of the current sheet's customer, of the current
// customer, or of the current device.
void BrowseHistoryOfRow(MainContext& main) {
    ListController& list = main.currentList();
    if (!list.currentKey())
        return ShowError(list_text::NoRowSelected);
    switch (main.currentTab()) {
    case MainTab::WorkSheets:
        BrowseWorkSheets(VarInt(list.currentValue(QStringLiteral("ugyfel"))), -1);
        break;
    case MainTab::Customers:
        BrowseWorkSheets(int(*list.currentKey()), -1);
        break;
    case MainTab::Devices:
        BrowseWorkSheets(-1, int(*list.currentKey()));
        break;
    case MainTab::Planner:
        break;
    }
}

// aAnyagok: the items used on the current device.
void ItemHistoryOfDevice(MainContext& main) {
    const std::optional<qlonglong> device = main.currentList().currentKey();
    if (!device)
        return ShowError(list_text::NoRowSelected);
    DeviceItemHistory(int(*device));
}

// aMegjegyzes: the notes of the tab's current record.
void NotesOfRow(MainContext& main) {
    const std::optional<qlonglong> key = main.currentList().currentKey();
    if (!key)
        return ShowError(list_text::NoRowSelected);
    switch (main.currentTab()) {
    case MainTab::WorkSheets:
        BrowseNotes(int(*key), 2);
        break;
    case MainTab::Customers:
        BrowseNotes(int(*key), 1);
        break;
    case MainTab::Devices:
        BrowseNotes(int(*key), 3);
        break;
    case MainTab::Planner:
        break;
    }
}

} // namespace

void RegisterHistoryRoutes(MainRoutes& routes) {
    routes.on(QStringLiteral("aMlapjai"), &BrowseHistoryOfRow);
    routes.on(QStringLiteral("aAnyagok"), &ItemHistoryOfDevice);
    routes.on(QStringLiteral("aMegjegyzes"), &NotesOfRow);
    routes.on(QStringLiteral("aEsedekes"), [](MainContext&) { ShowDueList(); });
}

} // namespace kml
