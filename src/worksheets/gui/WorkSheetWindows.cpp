#include "worksheets/gui/WorkSheetWindows.h"

#include "worksheets/WorkSheetWindows.h"
#include "worksheets/gui/Tfrm_Munkalap.h"
#include "worksheets/gui/Tfrm_SorHozza.h"

namespace kml {

void InstallWorkSheetWindows() {
    EditWorkSheet.install([](RowKey sheet, RowKey customer, RowKey type, bool quotation, RowKey device) {
        return Tfrm_Munkalap::Run(sheet, customer, type, quotation, device);
    });
    EditWorkSheetLine.install([](qlonglong sheet, RowKey line) { return Tfrm_SorHozza::Run(sheet, line); });
}

} // namespace kml
