#include "admin/Users.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "foundation/TextHelpers.h"

#include <QRandomGenerator>

namespace kml {
namespace {

QString Flag(bool set) {
    return set ? QStringLiteral("'I'") : QStringLiteral("'N'");
}

// Administrators other than the given code, read locked.
int OtherAdministrators(Connection& connection, const QString& code) {
    return connection
        .query(
            QStringLiteral("SELECT COUNT(*) FROM felhasznalo WHERE rendszergazda = 'I' AND felhasznalo <> ") +
            SqlStr(code) + QStringLiteral(" FOR UPDATE"))
        .text(0, 0)
        .toInt();
}

template <typename Work> QString InTransaction(Connection& connection, Work work) {
    connection.exec(QStringLiteral("START TRANSACTION"));
    try {
        const QString message = work();
        if (message.isEmpty())
            connection.exec(QStringLiteral("COMMIT"));
        else
            connection.rollback();
        return message;
    } catch (...) {
        connection.rollback();
        throw;
    }
}

} // namespace

std::optional<UserRecord> ReadUser(Connection& connection, const QString& code) {
    QString columns = QStringLiteral("felhasznalo, felhasznalo_nev");
    for (const char* column : UserRightColumns)
        columns += QStringLiteral(", ") + QLatin1String(column);
    const ResultSet rs =
        connection.query(QStringLiteral("SELECT ") + columns +
                         QStringLiteral(" FROM felhasznalo WHERE felhasznalo = ") + SqlStr(code));
    if (rs.rowCount() == 0)
        return std::nullopt;
    UserRecord user;
    user.code = rs.text(0, 0);
    user.name = rs.text(0, 1);
    for (size_t i = 0; i < UserRightColumns.size(); ++i)
        user.rights[i] = !rs.isNull(0, int(i) + 2) && rs.text(0, int(i) + 2) == QLatin1String("I");
    return user;
}

QString RandomInitialPassword() {
    static const char alphabet[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    const int size = int(sizeof alphabet) - 1;
    QString password;
    for (int i = 0; i < 10; ++i)
        password += QLatin1Char(alphabet[QRandomGenerator::system()->bounded(size)]);
    return password;
}

QString SaveUser(Connection& connection, const QString& original, const UserRecord& user,
                 const std::optional<QString>& password) {
    if (user.code.trimmed().isEmpty())
        return IncompleteUserMessage;
    return InTransaction(connection, [&]() -> QString {
        // Another user with the same code as the server compares codes.
        const int same =
            connection
                .query(QStringLiteral("SELECT COUNT(*) FROM felhasznalo WHERE felhasznalo = ") +
                       SqlStr(user.code) +
                       (original.isEmpty() ? QString()
                                           : QStringLiteral(" AND felhasznalo <> ") + SqlStr(original)) +
                       QStringLiteral(" FOR UPDATE"))
                .text(0, 0)
                .toInt();
        if (same > 0)
            return IncompleteUserMessage;
        if (!original.isEmpty() && !user.administrator()) {
            const ResultSet was = connection.query(
                QStringLiteral("SELECT rendszergazda FROM felhasznalo WHERE felhasznalo = ") +
                SqlStr(original) + QStringLiteral(" FOR UPDATE"));
            if (was.rowCount() > 0 && was.text(0, 0) == QLatin1String("I") &&
                OtherAdministrators(connection, original) == 0)
                return LastAdministratorMessage;
        }
        QStringList values;
        for (size_t i = 0; i < UserRightColumns.size(); ++i)
            values << QLatin1String(UserRightColumns[i]) + QStringLiteral(" = ") + Flag(user.rights[i]);
        values << QStringLiteral("felhasznalo = ") + SqlStr(user.code)
               << QStringLiteral("felhasznalo_nev = ") + SqlStr(user.name);
        if (password)
            values << QStringLiteral("jelszomd5 = MD5(") + SqlStr(*password) + QLatin1Char(')');
        try {
            if (original.isEmpty()) {
                connection.exec(QStringLiteral("INSERT INTO felhasznalo SET ") +
                                values.join(QStringLiteral(", ")));
            } else {
                connection.exec(QStringLiteral("UPDATE felhasznalo SET ") +
                                values.join(QStringLiteral(", ")) + QStringLiteral(" WHERE felhasznalo = ") +
                                SqlStr(original));
                if (connection.matchedRows() == 0)
                    return UserChangedMessage;
            }
        } catch (const DbError& e) {
            if (e.code() == 1062 || e.code() == 1406 || e.code() == 1048)
                return IncompleteUserMessage; // a duplicate or a value the column cannot hold
            throw;
        }
        return QString();
    });
}

QString DeleteUser(Connection& connection, const QString& code) {
    return InTransaction(connection, [&]() -> QString {
        const std::optional<UserRecord> user = ReadUser(connection, code);
        if (user && user->administrator() && OtherAdministrators(connection, code) == 0)
            return LastAdministratorMessage;
        connection.exec(QStringLiteral("DELETE FROM felhasznalo WHERE felhasznalo = ") + SqlStr(code));
        return QString();
    });
}

} // namespace kml
