#include "records/gui/Tfrm_TorzsUgyfel.h"

#include "records/CustomerWindows.h"
#include "records/Customers.h"

#include <QApplication>
#include <QKeySequence>

namespace kml {

ListDefinition Tfrm_TorzsUgyfel::Definition() {
    ListDefinition definition;
    definition.name = QStringLiteral("frm_TorzsUgyfel");
    definition.caption = customer_text::ListCaption;
    definition.heading = customer_text::ListHeading;
    definition.sql = CustomerListSql;
    definition.baseCondition = CustomerBaseCondition;
    definition.sortField = CustomerSortField;
    definition.searchFields = CustomerSearchFields;
    definition.searchKind = SearchKind::Like;
    definition.keyField = QStringLiteral("ugyfel");
    definition.nameField = QStringLiteral("ugyfel_nev");
    definition.columns = {
        {QStringLiteral("ugyfel_nev"), QStringLiteral("Ügyfél"), 25},
        {QStringLiteral("telefon"), QStringLiteral("Telefon"), 20},
        {QStringLiteral("emil"), QStringLiteral("E-mail"), 20},
        {QStringLiteral("irszvaroscim"), QStringLiteral("Cím"), 35},
    };
    definition.widthReserve = 40;
    return definition;
}

Tfrm_TorzsUgyfel::Tfrm_TorzsUgyfel(QWidget* parent) : ListWindow(Definition(), parent) {
    addListAction(QStringLiteral("aFrissit"), QStringLiteral("Frissítés"), QKeySequence(Qt::Key_F5),
                  [this] { reread(); });
    addListAction(QStringLiteral("aUj"), QStringLiteral("Új sor"), QKeySequence(Qt::Key_Insert),
                  [this] { newCustomer(); });
    addListAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"), QKeySequence(Qt::Key_F2),
                  [this] { editCustomer(); });
    addListAction(QStringLiteral("aTorol"), QStringLiteral("Sor törlése"),
                  QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { deleteCustomer(); });
}

int Tfrm_TorzsUgyfel::Run(int select, bool chooser, const QString& caption, QString& name, QWidget* parent) {
    name.clear();
    Tfrm_TorzsUgyfel window(parent ? parent : QApplication::activeWindow());
    window.setWindowTitle(caption);
    window.setChooser(chooser);
    window.openAt(select == -1 ? QVariant() : QVariant(select));
    if (window.exec() != QDialog::Accepted || !window.hasCurrentRow())
        return -1;
    name = window.currentValue(QStringLiteral("ugyfel_nev")).toString();
    return window.currentKey().toInt();
}

void Tfrm_TorzsUgyfel::newCustomer() {
    const int saved = EditCustomer(-1);
    if (saved != -1)
        reread(saved);
}

void Tfrm_TorzsUgyfel::editCustomer() {
    const QVariant customer = currentKey();
    if (!customer.isValid())
        return;
    const int saved = EditCustomer(customer.toInt());
    if (saved != -1)
        reread(saved);
}

void Tfrm_TorzsUgyfel::deleteCustomer() {
    if (DeleteCustomerAsked(currentKey(), this))
        reread();
}

} // namespace kml
