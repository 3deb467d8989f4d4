#pragma once

#include "patterns/gui/EditWindow.h"

#include <vector>

class QLineEdit;
class QTabWidget;

namespace kml {

// The device editor, captioned with the shop's device word + " adatlap":
// one row of keszulek on the page the program type shows ("Készülék
// adatlap", "Gépjármű adatlap", "SIM kártya"; all three for another type).
// A column on several pages is one value in all of them. Serial numbers are
// kept in capitals; the type and the customer are chosen from their lists;
// each date is set from a date dialog or cleared to none.
class Tfrm_TorzsKeszulek_Szerkeszt final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsKeszulek_Szerkeszt(QWidget* parent = nullptr);

    // EditDevice with the real window: no device creates a device of the
    // type for the customer. The saved device or nothing.
    static RowKey Run(RowKey device, RowKey type, RowKey customer);

    // The type and customer boxes show the row's names again.
    void showNames();
    QTabWidget* pages() const { return m_pages; }

private:
    struct PageRow;
    QWidget* addPage(const QString& title, std::initializer_list<PageRow> rows);
    void chooseType();
    void chooseCustomer();
    void focusSerialNumber();

    QTabWidget* m_pages = nullptr;
    std::vector<QLineEdit*> m_typeBoxes;
    std::vector<QLineEdit*> m_customerBoxes;
    std::vector<QLineEdit*> m_serialNumbers; // the first serial-number field of each page
};

} // namespace kml
