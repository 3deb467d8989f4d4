#include "records/gui/RecordWindows.h"

#include "records/gui/Tfrm_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsUgyfel.h"

namespace kml {

GuiRecordWindows::GuiRecordWindows() : m_previousCustomers(SetCustomerWindows(this)) {}

GuiRecordWindows::~GuiRecordWindows() {
    if (CurrentCustomerWindows() == this)
        SetCustomerWindows(m_previousCustomers);
}

int GuiRecordWindows::editCustomer(int customer) {
    return Tfrm_Szerkeszt::Run(customer);
}

int GuiRecordWindows::openCustomerList(int select, bool chooser, const QString& caption, QString& name) {
    return Tfrm_TorzsUgyfel::Run(select, chooser, caption, name);
}

} // namespace kml
