#include "services/gui/ServiceWindows.h"

#include "services/MakerServices.h"
#include "services/gui/Tfrm_Hirfolyam.h"
#include "services/gui/Tfrm_Verziokovetes.h"

namespace kml {

void InstallServiceWindows() {
    ShowVersionNotice.install(&Tfrm_Verziokovetes::Run);
    ShowNewsWindow.install(&Tfrm_Hirfolyam::Show);
}

} // namespace kml
