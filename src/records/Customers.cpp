#include "records/Customers.h"

#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/FieldLimits.h"
#include "foundation/Flags.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "records/CustomerWindows.h"
#include "records/DeletedRecords.h"

namespace kml {

void SetNewCustomerDefaults(Table& customer, const QString& defaultTown, const QDate& today) {
    customer.setValue(QStringLiteral("cim_varos"), defaultTown);
    customer.setValue(QStringLiteral("dat_utolso"), today);
    customer.setValue(QStringLiteral("kedvezmeny"), 0.0);
    customer.setValue(QStringLiteral("maganszemely"), FlagText(true));
}

void SetCustomerLimits(FieldLimits& limits) {
    limits.setRange(QStringLiteral("kedvezmeny"), 0, 100, QStringLiteral("Kedv.%"));
}

QString PostcodeTownSql(const QString& postcode) {
    return QStringLiteral("SELECT varos FROM irsz WHERE irsz=") + SqlStr(postcode) + QLatin1Char(';');
}

bool FillTownFromPostcode(Table& customer, const QString& defaultTown) {
    const QString town = VarStr(customer.value(QStringLiteral("cim_varos")));
    if (town != defaultTown && !town.isEmpty())
        return false;
    const QString found = QueryStr(PostcodeTownSql(VarStr(customer.value(QStringLiteral("cim_irsz")))));
    if (found.isEmpty() || found == town)
        return false;
    customer.setValue(QStringLiteral("cim_varos"), found);
    return true;
}

QString CustomerTaxNumberError(const QVariant& taxNumber, const QVariant& privatePerson) {
    const bool noTaxNumber = DigitsOnly(VarStr(taxNumber)).isEmpty();
    const QString flag = VarStr(privatePerson);
    if (noTaxNumber && flag == QLatin1String("N"))
        return customer_text::NoTaxNumber;
    if (!noTaxNumber && flag == QLatin1String("I"))
        return customer_text::TaxNumberButPrivate;
    return {};
}

bool CheckCustomer(const Table& customer, QWidget* owner) {
    const QString error = CustomerTaxNumberError(customer.value(QStringLiteral("adoszam")),
                                                 customer.value(QStringLiteral("maganszemely")));
    if (error.isEmpty())
        return true;
    ShowError(error, owner);
    return false;
}

bool SetCustomerWebPassword(Table& customer, QWidget* owner) {
    QString password;
    if (!AskText(customer_text::PasswordCaption, customer_text::PasswordPrompt, password, 0, -1, true))
        return false;
    customer.setValue(QStringLiteral("webpwd"), ServerMd5(password));
    ShowInfo(customer_text::PasswordSet + password, owner);
    return true;
}

ListHooks CustomerHooks() {
    ListHooks hooks;
    hooks.create = [](ListController&) { return EditCustomer(std::nullopt); };
    hooks.edit = [](ListController&, qlonglong customer) { return EditCustomer(customer); };
    hooks.remove = CustomerDeleteHook();
    return hooks;
}

ListDefinition CustomerListDefinition() {
    ListDefinition d;
    d.name = QStringLiteral("frm_TorzsUgyfel");
    d.caption = customer_text::ListCaption;
    d.heading = customer_text::ListHeading;
    d.sql = QStringLiteral("SELECT * FROM vw_ugyfel\nWHERE ugyfel > 0\nORDER BY ugyfel_nev;");
    d.baseCondition = QStringLiteral("(ugyfel > 0)");
    d.sortField = QStringLiteral("ugyfel_nev");
    d.searchFields = QStringLiteral("ugyfel_nev;kapcsolat;irszvaroscim;emil;telefon");
    d.keyField = QStringLiteral("ugyfel");
    d.nameField = QStringLiteral("ugyfel_nev");
    d.columns = {
        {QStringLiteral("ugyfel_nev"), QStringLiteral("Ügyfél"), 25},
        {QStringLiteral("telefon"), QStringLiteral("Telefon"), 20},
        {QStringLiteral("emil"), QStringLiteral("E-mail"), 20},
        {QStringLiteral("irszvaroscim"), QStringLiteral("Cím"), 35},
    };
    d.widthReserve = 40;
    d.hooks = CustomerHooks();
    d.actions.refresh = QStringLiteral("Frissítés");
    return d;
}

} // namespace kml
