#pragma once

#include "patterns/gui/EditWindow.h"

class QFormLayout;
class QPushButton;

namespace kml {

// The item editor "Tétel szerkesztés": one row of tetel on the one page the
// program type shows (ItemEditorPageFor). The car workshop's page adds the
// list price, the two discounts with the buttons that compute the purchase
// and sale prices from them, "Bruttósítás" (once per opening) and the
// factory part number. Prices are edited at full precision. A new item
// proposes the next automatic code; kept as proposed, the server assigns
// the code when the item is stored.
class Tfrm_TorzsTetel_Szerkeszt final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsTetel_Szerkeszt(int programType, QWidget* parent = nullptr);

    // EditCatalogueItem with the real window: nothing creates an item. The
    // saved item's number, or nothing when cancelled (or when there is no
    // such item).
    static RowKey Run(RowKey item, QWidget* parent = nullptr);

    // Begins a new item (defaults and, with automaticCode, the proposed code).
    void startNewItem(bool automaticCode);

protected:
    bool validate() override;

private:
    void priceButton(void (*apply)(Table&), const QString& focusField);
    void grossUp();

    QFormLayout* m_form = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_grossUp = nullptr;
    std::map<QString, QWidget*> m_fields;
    QString m_proposedCode;
};

} // namespace kml
