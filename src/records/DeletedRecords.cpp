#include "records/DeletedRecords.h"

#include "components/Connection.h"
#include "components/Query.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"

#include <QStringList>
#include <stdexcept>

namespace kml {

const std::vector<DeletedKindInfo>& DeletedKinds() {
    static const std::vector<DeletedKindInfo> kinds{
        {DeletedKind::Customers, QStringLiteral("Ügyfelek"), QStringLiteral("ugyfel"),
         QStringLiteral(
             "SELECT u.ugyfel, u.ugyfel_nev AS `Ügyfél`, u.telefon AS `Telefon`, "
             "CONCAT_WS(' ', u.cim_irsz, u.cim_varos, u.cim_cim) AS `Cím` "
             "FROM ugyfel u WHERE u.torolve = 'I' AND u.ugyfel > 0 ORDER BY u.ugyfel_nev, u.ugyfel;")},
        {DeletedKind::Devices, QStringLiteral("Készülékek"), QStringLiteral("keszulek"),
         QStringLiteral("SELECT k.keszulek, k.gysz AS `Gy.szám`, "
                        "CONCAT_WS(' ', g.gyarto_nev, t.tipus_nev) AS `Típus`, u.ugyfel_nev AS `Ügyfél`, "
                        "IF(u.torolve = 'I', 'törölt ügyfél', '') AS `Megjegyzés` "
                        "FROM keszulek k LEFT JOIN ugyfel u ON u.ugyfel = k.ugyfel "
                        "LEFT JOIN tipus t ON t.tipus = k.tipus LEFT JOIN gyarto g ON g.gyarto = t.gyarto "
                        "WHERE k.torolve = 'I' AND k.keszulek > 0 ORDER BY k.gysz, k.keszulek;")},
        {DeletedKind::Items, QStringLiteral("Tételek"), QStringLiteral("tetel"),
         QStringLiteral("SELECT t.tetel, t.tetel_kod AS `Kód`, t.tetel_nev AS `Megnevezés`, "
                        "t.ar_elad AS `Eladási ár` "
                        "FROM tetel t WHERE t.torolve = 'I' AND t.tetel > 0 ORDER BY t.tetel_kod, t.tetel;")},
    };
    return kinds;
}

const DeletedKindInfo& DeletedKindOf(DeletedKind kind) {
    for (const DeletedKindInfo& info : DeletedKinds())
        if (info.kind == kind)
            return info;
    throw std::out_of_range("unknown kind of deleted record");
}

QString CustomerUsage(qlonglong customer) {
    QStringList parts;
    if (const int sheets =
            QueryInt(QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE ugyfel = %1;").arg(customer));
        sheets > 0)
        parts << QStringLiteral("%1 munkalap").arg(sheets);
    if (const int devices =
            QueryInt(QStringLiteral("SELECT COUNT(*) FROM keszulek WHERE ugyfel = %1 AND torolve = 'N';")
                         .arg(customer));
        devices > 0)
        parts << QStringLiteral("%1 készülék").arg(devices);
    return parts.join(QStringLiteral(", "));
}

QString CatalogueItemUsage(qlonglong item) {
    const ResultSet r = SharedConnection().query(
        QStringLiteral("SELECT COUNT(DISTINCT munkalap), COUNT(*) FROM munkalap_tetel WHERE tetel = %1;")
            .arg(item));
    const int sheets = r.rowCount() ? r.text(0, 0).toInt() : 0;
    const int lines = r.rowCount() ? r.text(0, 1).toInt() : 0;
    if (sheets == 0)
        return {};
    return lines > sheets ? QStringLiteral("%1 munkalap (%2 tételsor)").arg(sheets).arg(lines)
                          : QStringLiteral("%1 munkalap").arg(sheets);
}

QString DeleteQuestion(DeletedKind kind, const QString& usage) {
    if (usage.isEmpty())
        return dialog_text::DeleteRowQuestion;
    switch (kind) {
    case DeletedKind::Customers:
        return QStringLiteral("Az ügyfelet használja: %1.\r\nA munkalapjai megmaradnak, a készülékei az "
                              "ügyféllel együtt kikerülnek a listákból (a Törölt rekordok között "
                              "visszaállíthatod).\r\nValóban törlöd?")
            .arg(usage);
    case DeletedKind::Items:
        return QStringLiteral(
                   "A tételt használja: %1.\r\nA munkalapokon megmarad, de új munkalapra már "
                   "nem választható (a Törölt rekordok között visszaállíthatod).\r\nValóban törlöd?")
            .arg(usage);
    case DeletedKind::Devices:
        break;
    }
    return QStringLiteral("A sort használja: %1.\r\nValóban törlöd?").arg(usage);
}

namespace {

bool SetDeleted(DeletedKind kind, qlonglong key, bool deleted) {
    const QString& table = DeletedKindOf(kind).table;
    Connection& c = SharedConnection();
    c.exec(QStringLiteral("UPDATE %1 SET torolve = '%2' WHERE %1 = %3 AND torolve = '%4';")
               .arg(table, deleted ? QStringLiteral("I") : QStringLiteral("N"))
               .arg(key)
               .arg(deleted ? QStringLiteral("N") : QStringLiteral("I")));
    return c.matchedRows() == 1;
}

} // namespace

bool SoftDeleteLive(DeletedKind kind, qlonglong key) {
    return SetDeleted(kind, key, true);
}

bool RestoreDeleted(DeletedKind kind, qlonglong key) {
    return SetDeleted(kind, key, false);
}

QString DeletedCustomerOfDevice(qlonglong device) {
    return QueryStr(
        QStringLiteral("SELECT COALESCE(u.ugyfel_nev, '') FROM keszulek k JOIN ugyfel u ON u.ugyfel = "
                       "k.ugyfel WHERE k.keszulek = %1 AND u.torolve = 'I';")
            .arg(device));
}

bool DeleteAskedWithUsage(DeletedKind kind, qlonglong key) {
    QString usage;
    if (kind == DeletedKind::Customers)
        usage = CustomerUsage(key);
    else if (kind == DeletedKind::Items)
        usage = CatalogueItemUsage(key);
    if (!AskYesNo(DeleteQuestion(kind, usage), dialog_text::ConfirmCaption))
        return false;
    if (!SoftDeleteLive(kind, key))
        ShowError(deleted_text::DeletedMeanwhile);
    return true; // the list is read again: the row is gone from it either way
}

std::function<bool(ListController&, qlonglong)> CustomerDeleteHook() {
    return [](ListController&, qlonglong key) { return DeleteAskedWithUsage(DeletedKind::Customers, key); };
}

std::function<bool(ListController&, qlonglong)> CatalogueItemDeleteHook() {
    return [](ListController&, qlonglong key) { return DeleteAskedWithUsage(DeletedKind::Items, key); };
}

bool RunRestoreDeleted(DeletedKind kind, qlonglong key) {
    if (kind == DeletedKind::Devices)
        if (const QString customer = DeletedCustomerOfDevice(key); !customer.isEmpty()) {
            ShowError(deleted_text::CustomerStillDeleted.arg(customer));
            return false;
        }
    if (!RestoreDeleted(kind, key)) {
        ShowError(deleted_text::ChangedMeanwhile);
        return false;
    }
    return true;
}

} // namespace kml
