#pragma once

namespace kml {

// Puts the planner (Tfrm_Naptar) behind PickPlannerSlot and the appointment
// editor (Tfrm_Elojegyzes) behind EditAppointment (worksheets/PlannerWindows.h).
void InstallPlannerWindows();

} // namespace kml
