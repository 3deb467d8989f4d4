#include "admin/gui/AdminWindows.h"

#include "admin/gui/Tfrm_Adatbazis.h"
#include "admin/gui/Tfrm_Felhasznalo.h"

namespace kml {

void InstallAdminWindows() {
    InstallDatabaseListWindows();
    InstallUserWindows();
}

} // namespace kml
