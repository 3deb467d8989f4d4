#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// "Munkalapok": the work sheets of a customer, a device or all, coloured by
// status, searched in number, names, address, type, employees, status and
// dates (yyyy.mm.dd); "Megyit" (F2) opens the sheet, "Nyomtat" (Ctrl+P)
// prints it or the list. Read-only otherwise.
class Tfrm_MunkalapBongeszo final : public ListWindow {
    Q_OBJECT
public:
    Tfrm_MunkalapBongeszo(int customer, int device, QWidget* parent = nullptr);

    // BrowseWorkSheets.
    static void Run(int customer, int device);
};

} // namespace kml
