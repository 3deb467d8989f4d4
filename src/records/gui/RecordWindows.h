#pragma once

// The real record windows behind the record operations (EditCustomer,
// OpenCustomerList, ...). Install them once at start-up, before the main
// window opens:
//
//     GuiRecordWindows recordWindows; // installed until it goes
//
// Each operation creates its window with the active window as parent, shows
// it modally and frees it before returning.

#include "records/CustomerWindows.h"

namespace kml {

class GuiRecordWindows final : public CustomerWindows {
public:
    GuiRecordWindows();
    ~GuiRecordWindows() override;
    GuiRecordWindows(const GuiRecordWindows&) = delete;
    GuiRecordWindows& operator=(const GuiRecordWindows&) = delete;

    int editCustomer(int customer) override;
    int openCustomerList(int select, bool chooser, const QString& caption, QString& name) override;

private:
    CustomerWindows* m_previousCustomers = nullptr;
};

} // namespace kml
