#include "records/CustomerWindows.h"

#include <stdexcept>

namespace kml {

namespace {

CustomerWindows* g_customerWindows = nullptr;

CustomerWindows& Installed() {
    if (!g_customerWindows)
        throw std::logic_error("No customer windows are installed");
    return *g_customerWindows;
}

} // namespace

CustomerWindows* SetCustomerWindows(CustomerWindows* windows) {
    CustomerWindows* previous = g_customerWindows;
    g_customerWindows = windows;
    return previous;
}

CustomerWindows* CurrentCustomerWindows() {
    return g_customerWindows;
}

int EditCustomer(int customer) {
    return Installed().editCustomer(customer);
}

int ChooseCustomer(int select, bool chooser) {
    QString name;
    return OpenCustomerList(select, chooser, CustomerChooserCaption, name);
}

int OpenCustomerList(int select, bool chooser, const QString& caption, QString& name) {
    name.clear();
    const int chosen = Installed().openCustomerList(select, chooser, caption, name);
    if (chosen == -1)
        name.clear();
    return chosen;
}

} // namespace kml
