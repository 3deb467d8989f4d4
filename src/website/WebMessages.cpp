#include "website/WebMessages.h"

#include "components/Connection.h"
#include "components/Query.h"
#include "components/Transaction.h"
#include "foundation/TextHelpers.h"

namespace kml {

QString WebMessageFilterCondition(WebMessageFilter filter) {
    return filter == WebMessageFilter::ActiveOnly ? QStringLiteral("(nyugtazva IS NULL)")
                                                  : QStringLiteral("(1 = 1)");
}

ListDefinition WebMessageListDefinition() {
    ListDefinition d;
    d.name = QStringLiteral("frm_WebUzenet");
    d.caption = webmsg_text::ListCaption;
    d.sql = QStringLiteral("SELECT webuzenet.*, felhasznalo.felhasznalo\n"
                           "FROM webuzenet\n"
                           " LEFT JOIN felhasznalo ON (webuzenet.felh_nyugtazva = felhasznalo.felhasznalo)\n"
                           "WHERE (1=1)\n"
                           "ORDER BY webuzenet DESC;");
    d.baseCondition = WebMessageFilterCondition(WebMessageFilter::ActiveOnly);
    d.sortField = QStringLiteral("webuzenet");
    d.searchFields = QStringLiteral("ugyfel_nev;telefon;felhasznalo");
    d.searchKind = SearchKind::Words;
    d.orderExpression = [](const QString& field) {
        return field == u"webuzenet" ? QStringLiteral("webuzenet DESC") : field;
    };
    d.keyField = QStringLiteral("webuzenet");
    d.nameField = QStringLiteral("ugyfel_nev");
    d.columns = {ColumnOf("webuzenet", "Sorszám", 5),        ColumnOf("ugyfel_nev", "Ügyfél", 25),
                 ColumnOf("telefon", "Telefon", 15),         ColumnOf("nyugtazva", "Nyugtázva", 20),
                 ColumnOf("felhasznalo", "Felhasználó", 15), ColumnOf("rogzdat", "Beérkezett", 20)};
    d.memoField = QStringLiteral("uzenet");
    d.size = QSize(820, 520);
    d.actions.create.clear();
    d.actions.edit.clear();
    d.actions.remove.clear();
    return d;
}

WebMessageFilter StartingFilter(std::optional<qlonglong> message) {
    return message && *message >= 1 ? WebMessageFilter::All : WebMessageFilter::ActiveOnly;
}

bool AcknowledgeWebMessage(qlonglong message, const QString& user) {
    Connection& db = SharedConnection();
    ExecUnit(db, QStringLiteral("UPDATE webuzenet SET nyugtazva = NOW(), felh_nyugtazva = %1 "
                                "WHERE (webuzenet = %2) AND (nyugtazva IS NULL);")
                     .arg(user.isEmpty() ? QStringLiteral("NULL") : SqlStr(user))
                     .arg(message));
    return db.affectedRows() == 1;
}

} // namespace kml
