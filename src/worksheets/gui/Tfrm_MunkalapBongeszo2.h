#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// "Felhasznált anyagok": every item used on a device's work sheets, sheet
// by sheet in their order, the lines of every other sheet tinted; a title
// click makes the column the search column; "Excelbe..." (Ctrl+E) and
// "Másol" (Ctrl+C, the cell's text).
class Tfrm_MunkalapBongeszo2 final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_MunkalapBongeszo2(int device, QWidget* parent = nullptr);

    // DeviceItemHistory: nothing for device 0.
    static void Run(int device);

private:
    void searchColumnClicked(int column);
};

} // namespace kml
