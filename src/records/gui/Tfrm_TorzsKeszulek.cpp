#include "records/gui/Tfrm_TorzsKeszulek.h"

#include "foundation/Settings.h"
#include "records/Devices.h"

#include <QAction>
#include <QApplication>
#include <QLabel>

namespace kml {

Tfrm_TorzsKeszulek::Tfrm_TorzsKeszulek(RowKey customer, QWidget* parent)
    : ListWindow(DeviceListDefinition(customer, Beall().gyszstr), parent) {
    heading()->setText(DeviceListHeading(customer, Beall().keszulekstr));
    m_goOn = addListAction(QStringLiteral("aTovabb"), device_text::GoOn, QKeySequence(Qt::Key_F6), [this] {
        m_wentOn = true;
        done(QDialog::Rejected);
    });
}

RowKey Tfrm_TorzsKeszulek::run(RowKey select, bool chooser) {
    m_goOn->setVisible(chooser);
    m_goOn->setEnabled(chooser);
    const ChosenRow chosen = choose(select, chooser, Beall().keszulekstr);
    return m_wentOn ? RowKey(0) : chosen.key;
}

RowKey Tfrm_TorzsKeszulek::Run(RowKey select, bool chooser, RowKey customer) {
    Tfrm_TorzsKeszulek window(customer, QApplication::activeWindow());
    return window.run(select, chooser);
}

} // namespace kml
