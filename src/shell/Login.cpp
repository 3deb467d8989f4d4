#include "shell/Login.h"

#include "components/Query.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "shell/Rights.h"

namespace kml {
namespace {

// What a user name that is not in the table gives: eight letters, which can
// never equal a user name followed by 32 hexadecimal digits.
const QString NoSuchUser = QStringLiteral("xxxxxxxx");

} // namespace

bool CheckLogin(const QString& user, const QString& password) {
    const QString stored =
        QueryStr(QStringLiteral("SELECT CONCAT(felhasznalo,jelszomd5) FROM felhasznalo WHERE "
                                "(felhasznalo=") +
                     SqlStr(user) + QStringLiteral(");"),
                 NoSuchUser);
    const QString typed = user + ServerMd5(password);
    if (stored != typed) {
        ErrorT(QStringLiteral("Érvénytelen felhasználó, vagy jelszó"));
        return false;
    }
    Query row;
    row.setSql(QStringLiteral("SELECT * FROM felhasznalo WHERE felhasznalo = ") + SqlStr(user) +
               QStringLiteral(";"));
    row.open();
    LoadRights(row);
    row.close();
    return true;
}

bool ChangePassword(const QString& user, const QString& password) {
    if (!CheckLogin(user, password))
        return false;
    QString first;
    if (!AskMasked(QStringLiteral("Jelszó megadása"), QStringLiteral("Add meg az új jelszót"), {}, first))
        return false;
    QString second;
    if (!AskMasked(QStringLiteral("Megerősítés"), QStringLiteral("Add újra az új jelszót"), {}, second))
        return false;
    if (first != second) {
        ErrorT(QStringLiteral("A megadott jelszavak nem egyezőek"));
        return false;
    }
    ExecSql(QStringLiteral("UPDATE felhasznalo SET jelszomd5 = MD5(") + SqlStr(first) +
            QStringLiteral(") WHERE felhasznalo = ") + SqlStr(user) + QStringLiteral(";"));
    ShowInfo(QStringLiteral("Jelszó változtatás kész."));
    return true;
}

} // namespace kml
