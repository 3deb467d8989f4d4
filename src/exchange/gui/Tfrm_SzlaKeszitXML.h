#pragma once

#include "exchange/InvoiceExport.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kml {

class EditorBehaviour;

// "Számla készítés": the buyer's invoicing data, one edit per field and the
// check box "Magánszemély", confirmed with "OK" or Ctrl+Enter; Enter moves
// to the next control, the focused edit is painted light blue. The close
// box cancels.
class Tfrm_SzlaKeszitXML final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_SzlaKeszitXML(const InvoiceBuyer& buyer, QWidget* parent = nullptr);

    // AskInvoiceBuyer with the real window.
    static bool Run(InvoiceBuyer& buyer, QWidget* parent = nullptr);

    // The record as the window holds it now.
    InvoiceBuyer buyer() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    EditorBehaviour* m_behaviour = nullptr;
    bool m_placed = false;
    QLineEdit* m_nev = nullptr;
    QLineEdit* m_adoszam = nullptr;
    QCheckBox* m_maganszemely = nullptr;
    QLineEdit* m_iranyitoszam = nullptr;
    QLineEdit* m_telepules = nullptr;
    QLineEdit* m_kozteruletNeve = nullptr;
    QLineEdit* m_kozteruletJellege = nullptr;
    QLineEdit* m_hazszam = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace kml
