#pragma once

#include "patterns/gui/EditWindow.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kml {

// The customer editor "Szerkesztés": one row of ugyfel, page "Általános
// adatok". Leaving the postcode fills the town from the postcode table, OK
// checks the tax number against "Magánszemély?", "Jelszó adása honlapon"
// stores the server's MD5 of a password; the rest is the editing-window
// pattern.
class Tfrm_Szerkeszt final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_Szerkeszt(QWidget* parent = nullptr);

    // EditCustomer with the real window: nothing creates a customer. The
    // saved customer's number, or nothing when cancelled (or when there is no such
    // customer).
    static RowKey Run(RowKey customer, QWidget* parent = nullptr);

    // The tax-number edit's mask: eight digits, one, two; "_" for an empty
    // position; the hyphens are part of the value.
    static const QString TaxNumberMask;

protected:
    bool validate() override;

private:
    void postcodeLeft();
    void setWebPassword();

    QLineEdit* m_name = nullptr;         // DBEdit2
    QLineEdit* m_discount = nullptr;     // DBEdit3
    QLineEdit* m_phone = nullptr;        // DBEdit7
    QLineEdit* m_email = nullptr;        // DBEdit4
    QLineEdit* m_postcode = nullptr;     // DBEdit8
    QLineEdit* m_town = nullptr;         // DBEdit9
    QLineEdit* m_address = nullptr;      // DBEdit10
    QLineEdit* m_contact = nullptr;      // DBEdit13
    QCheckBox* m_private = nullptr;      // DBCheckBox1
    QLineEdit* m_taxNumber = nullptr;    // DBEdit1
    QLineEdit* m_webUser = nullptr;      // DBEdit5
    QPushButton* m_password = nullptr;   // Button3
    QPlainTextEdit* m_remarks = nullptr; // DBMemo2
    QPushButton* m_ok = nullptr;         // Button1
    QPushButton* m_cancel = nullptr;     // Button2
};

} // namespace kml
