#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// The device list of one customer or of every customer (DeviceListDefinition
// on the list-window pattern), captioned with the shop's device word; as a
// chooser it also offers "Tovább" (F6): go on without a device.
class Tfrm_TorzsKeszulek final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsKeszulek(RowKey customer, QWidget* parent = nullptr);

    // Runs the window on the device select (none: the first): the device
    // "Elfogad" closed it on, 0 after "Tovább", nothing otherwise.
    RowKey run(RowKey select, bool chooser);
    // ChooseDevice with the real window.
    static RowKey Run(RowKey select, bool chooser, RowKey customer);

private:
    QAction* m_goOn = nullptr;
    bool m_wentOn = false;
};

} // namespace kml
