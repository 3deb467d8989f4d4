#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// The customer list "Ügyfelek" over vw_ugyfel, opened by every caller as the
// chooser "Ügyfél választás" (OpenCustomerList). Its own actions: aFrissit
// (F5), aUj (Insert), aSzerkeszt (F2) and aTorol (Ctrl+Del, soft delete);
// everything else is the list-window pattern.
class Tfrm_TorzsUgyfel final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsUgyfel(QWidget* parent = nullptr);

    // The list's definition: query, search fields, grid columns.
    static ListDefinition Definition();

    // OpenCustomerList with the real window: the chosen customer and its
    // name when closed with "Elfogad", otherwise -1 and an empty name.
    static int Run(int select, bool chooser, const QString& caption, QString& name,
                   QWidget* parent = nullptr);

private:
    void newCustomer();
    void editCustomer();
    void deleteCustomer();
};

} // namespace kml
