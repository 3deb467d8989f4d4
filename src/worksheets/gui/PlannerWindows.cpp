#include "worksheets/gui/PlannerWindows.h"

#include "worksheets/PlannerWindows.h"
#include "worksheets/gui/Tfrm_Elojegyzes.h"
#include "worksheets/gui/Tfrm_Naptar.h"

namespace kml {

void InstallPlannerWindows() {
    PickPlannerSlot.install(&Tfrm_Naptar::Run);
    EditAppointment.install(&Tfrm_Elojegyzes::Run);
}

} // namespace kml
