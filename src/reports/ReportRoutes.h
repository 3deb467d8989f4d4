#pragma once

#include "patterns/MainRoutes.h"

namespace kml {

// The main window's printing actions the printouts own: on the work-sheet
// tab "Nyomtat" prints and "Nyom.kép" previews the current work sheet, on
// the customers tab the customer list as shown; "Boríték" and "Ajánlott
// postai szelvény kitöltés" print the current customer's envelope and
// registered-mail form; on
// every tab the period reports (aMLapLista, aMLapListaDolg,
// aMLapListaGyarto, aArbevetel, aNyereseg, aFogyas) ask for a period and
// print over it.
void RegisterReportRoutes(MainRoutes& routes);

} // namespace kml
