#pragma once

#include "patterns/MainRoutes.h"

#include <optional>

namespace kml {

// The main window's actions the exports own: "Excelbe... (CSV)" exports the
// current tab's list (as "KoravelML.csv" unless the user names another
// file); "Számláz" hands the current work sheet to the invoicing program.
//
// "Adat export" opens the saved export definitions; "Html export" saves the
// customer grid as a web page; "Levél küldés" sends a notification letter
// about the current work sheet, customer or device (not on the day
// planner, which has no record to name).
void RegisterExchangeRoutes(MainRoutes& routes);

struct LetterRecord;
// The record a letter is about on the current tab; nothing on the day
// planner and on an empty list.
std::optional<LetterRecord> LetterRecordOf(MainContext& main);

} // namespace kml
