#pragma once

// What the customer windows do with the data, apart from the widgets: the
// customer list's query and search, the defaults of a new customer, the town
// looked up from the postcode, the tax-number rules, the website password and
// the soft delete. The windows (Tfrm_TorzsUgyfel, Tfrm_Szerkeszt) call these
// from their handlers; tests call them directly against the server.

#include "patterns/ListDefinition.h"

#include <QDate>
#include <QString>
#include <QVariant>

class QWidget;

namespace kml {

class FieldLimits;
class Table;

namespace customer_text {
inline const QString ListCaption = QStringLiteral("Ügyfelek");
inline const QString ListHeading = QStringLiteral("Ügyfelek  ");
inline const QString EditorCaption = QStringLiteral("Szerkesztés");
inline const QString NoTaxNumber = QStringLiteral("Nincs adószám megadva, vagy az ügyfél magánszemély.");
inline const QString TaxNumberButPrivate =
    QStringLiteral("Ha adószám meg van adva, akkor az ügyfél nem magánszemély.");
inline const QString PasswordCaption = QStringLiteral("Jelszó");
inline const QString PasswordPrompt = QStringLiteral("Add meg a jelszót");
inline const QString PasswordSet = QStringLiteral("Jelszó beállítása kész: ");
} // namespace customer_text

// The customer list "Ügyfelek" (Tfrm_TorzsUgyfel): vw_ugyfel searched in
// name, contact, address, e-mail and phone, sorted by name; "Frissítés",
// "Új sor" and "Szerkeszt" through EditCustomer, "Sor törlése" marks the
// customer deleted.
ListDefinition CustomerListDefinition();

// A new customer's row: the default town (empty when none is configured),
// today as the date of last contact, no discount, a private person.
void SetNewCustomerDefaults(Table& customer, const QString& defaultTown, const QDate& today);

// "SELECT varos FROM irsz WHERE irsz=" + the postcode as a string literal + ";"
QString PostcodeTownSql(const QString& postcode);

// On leaving the postcode: when the town is empty or still the default town,
// the town the postcode table gives for the postcode replaces it; a town the
// user typed, or a postcode the table does not know, leaves it. Returns
// whether the town changed.
bool FillTownFromPostcode(Table& customer, const QString& defaultTown);

// The customer editor's limits beyond the columns' ranges: the discount
// "Kedv.%" is a percent, 0 to 100.
void SetCustomerLimits(FieldLimits& limits);

// The message that refuses the tax number: a firm (not a private person)
// needs one, a private person must not have one. Only the digits of the tax
// number count, so the bare mask is no tax number. Empty when it is fine.
QString CustomerTaxNumberError(const QVariant& taxNumber, const QVariant& privatePerson);

// The check of the editor's OK: shows the tax-number message (ShowError)
// and returns false when the row may not be saved.
bool CheckCustomer(const Table& customer, QWidget* owner = nullptr);

// "Jelszó adása honlapon": asks the password (AskText, any length, mixed
// case); on OK stores the server's MD5 of it in webpwd and tells the user
// the password. The row keeps the hash only if it is saved later. Returns
// false when the user cancelled.
bool SetCustomerWebPassword(Table& customer, QWidget* owner = nullptr);

// The list hooks of customers: the editor for a new or the given customer,
// and deleting as marking (its work sheets and devices are not touched).
ListHooks CustomerHooks();

} // namespace kml
