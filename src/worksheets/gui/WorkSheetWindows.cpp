#include "worksheets/gui/WorkSheetWindows.h"

#include "worksheets/DueList.h"
#include "worksheets/WorkSheetWindows.h"
#include "worksheets/gui/Tfrm_Esedekes.h"
#include "worksheets/gui/Tfrm_Munkalap.h"
#include "worksheets/gui/Tfrm_SorHozza.h"

namespace kml {

void InstallWorkSheetWindows() {
    EditWorkSheet.install([](int sheet, int customer, int type, bool quotation, int device) {
        return Tfrm_Munkalap::Run(sheet, customer, type, quotation, device);
    });
    EditWorkSheetLine.install([](int sheet, int line) { return Tfrm_SorHozza::Run(sheet, line); });
    ShowDueList.install(&Tfrm_Esedekes::Run);
}

} // namespace kml
