#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// The device list of one customer or of every customer (DeviceListDefinition
// on the list-window pattern), captioned with the shop's device word; as a
// chooser it also offers "Tovább" (F6): go on without a device.
class Tfrm_TorzsKeszulek final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsKeszulek(int customer, QWidget* parent = nullptr);

    // Runs the window on the device select (-1: the first): the device
    // "Elfogad" closed it on, 0 after "Tovább", -1 otherwise.
    int run(int select, bool chooser);
    // ChooseDevice with the real window.
    static int Run(int select, bool chooser, int customer);

private:
    QAction* m_goOn = nullptr;
    bool m_wentOn = false;
};

} // namespace kml
