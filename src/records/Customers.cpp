#include "records/Customers.h"

#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/FieldLimits.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"

namespace kml {

void SetNewCustomerDefaults(Table& customer, const QString& defaultTown, const QDate& today) {
    customer.setValue(QStringLiteral("cim_varos"), defaultTown);
    customer.setValue(QStringLiteral("dat_utolso"), today);
    customer.setValue(QStringLiteral("kedvezmeny"), 0.0);
    customer.setValue(QStringLiteral("maganszemely"), QStringLiteral("I"));
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

QString SoftDeleteCustomerSql(qlonglong customer) {
    return QStringLiteral("UPDATE ugyfel SET torolve = 'I' WHERE ugyfel = ") + QString::number(customer) +
           QLatin1Char(';');
}

bool DeleteCustomerAsked(const QVariant& customer, QWidget* owner) {
    if (!customer.isValid() || customer.isNull())
        return false;
    if (!AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption, owner))
        return false;
    ExecSql(SoftDeleteCustomerSql(customer.toLongLong()));
    return true;
}

} // namespace kml
