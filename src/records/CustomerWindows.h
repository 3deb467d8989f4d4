#pragma once

// The operations through which the rest of the program opens the customer
// windows: plain values in, a customer number (or -1 for "cancelled") out.
//
// They delegate to the installed CustomerWindows: the real one opens the
// windows (GuiRecordWindows, installed once at start-up), a test installs
// ScriptedCustomerWindows (ScriptedRecordWindows.h) to run a flow with
// answers written beforehand. The functions throw std::logic_error while
// none is installed.

#include <QString>

namespace kml {

inline const QString CustomerChooserCaption = QStringLiteral("Ügyfél választás");

class CustomerWindows {
public:
    virtual ~CustomerWindows() = default;
    // The customer editor; -1 creates a new customer. The saved customer's
    // number, or -1 when cancelled.
    virtual int editCustomer(int customer) = 0;
    // The customer list with the given caption, on the customer to select
    // first; in chooser mode "Elfogad" returns the chosen customer and its
    // name. -1 (and an empty name) when closed without a choice.
    virtual int openCustomerList(int select, bool chooser, const QString& caption, QString& name) = 0;
};

// Installs the windows the operations use and returns the ones replaced. Not
// owned; must outlive its installation.
CustomerWindows* SetCustomerWindows(CustomerWindows* windows);
CustomerWindows* CurrentCustomerWindows();

// -1 creates a new customer; any other number edits that customer. Returns
// the saved customer's number, or -1 when the user cancelled.
int EditCustomer(int customer);
// The customer list as "Ügyfél választás"; the chosen number or -1.
int ChooseCustomer(int select, bool chooser);
// The customer list with a caption; the chosen number and, through name, its
// ugyfel_nev; -1 and an empty name when closed without a choice.
int OpenCustomerList(int select, bool chooser, const QString& caption, QString& name);

} // namespace kml
