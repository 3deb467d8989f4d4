#include "worksheets/DueList.h"

#include "components/Connection.h"
#include "components/Query.h"
#include "components/ResultSet.h"
#include "components/Transaction.h"
#include "foundation/Conversions.h"
#include "foundation/DateHelpers.h"
#include "foundation/Dialogs.h"
#include "foundation/TextHelpers.h"

namespace kml {
namespace {

constexpr qlonglong kKindStep = 100000000;

const QString kToday = QStringLiteral("CURDATE()");
const QString kEndOfWeek = QStringLiteral("(CURDATE() + INTERVAL (6 - WEEKDAY(CURDATE())) DAY)");
// A device whose customer is not deleted (a device without a customer too).
const QString kLiveOwner =
    QStringLiteral("k.ugyfel NOT IN (SELECT d.ugyfel FROM ugyfel d WHERE d.torolve = 'I')");

// The period's last day and first day (empty: no first day, the overdue
// ones included) as SQL expressions on the server's date.
struct Bounds {
    QString first;
    QString last;
};

Bounds BoundsOf(const DuePeriod& period) {
    switch (period.preset) {
    case DuePreset::ThisWeek:
        return {QString(), kEndOfWeek};
    case DuePreset::Next30Days:
        return {QString(), QStringLiteral("(CURDATE() + INTERVAL 30 DAY)")};
    case DuePreset::Overdue:
        return {QString(), QStringLiteral("(CURDATE() - INTERVAL 1 DAY)")};
    case DuePreset::Custom:
        break;
    }
    const QDate from = period.from.isValid() ? period.from : QDate(1900, 1, 1);
    const QDate to = period.to.isValid() ? period.to : QDate(2999, 12, 31);
    return {SqlDate(false, from), SqlDate(false, to)};
}

QString InRange(const QString& column, const Bounds& b) {
    QString condition = column + QStringLiteral(" <= ") + b.last;
    if (!b.first.isEmpty())
        condition += QStringLiteral(" AND ") + column + QStringLiteral(" >= ") + b.first;
    return condition;
}

// Warranties from today on: an expired one is not listed.
QString WarrantyInRange(const QString& column, const Bounds& b) {
    const QString first =
        b.first.isEmpty() ? kToday : QStringLiteral("GREATEST(") + b.first + u',' + kToday + u')';
    return column + QStringLiteral(" <= ") + b.last + QStringLiteral(" AND ") + column +
           QStringLiteral(" >= ") + first;
}

QString DeviceBranch(DueKind kind, const QString& caption, const QString& column, const QString& range) {
    return QStringLiteral(
               " SELECT %1 AS fajta, %2 + k.keszulek AS sor, %3 AS esemeny, k.%4 AS esedekes,\n"
               "  DATEDIFF(k.%4, CURDATE()) AS hatravan, k.ugyfel, u.ugyfel_nev, u.kapcsolat, "
               "u.telefon, u.emil, k.keszulek,\n"
               "  CONCAT_WS(', ', NULLIF(TRIM(k.gysz), ''), NULLIF(CONCAT_WS(' ', "
               "NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')), '')) AS keszulekstr,\n"
               "  k.utolso_munkalap\n"
               "  FROM keszulek k\n"
               "   LEFT JOIN ugyfel u ON u.ugyfel = k.ugyfel\n"
               "   LEFT JOIN tipus t ON t.tipus = k.tipus\n"
               "   LEFT JOIN gyarto g ON g.gyarto = t.gyarto\n"
               "  WHERE k.torolve = 'N' AND %5 AND %6\n")
        .arg(int(kind))
        .arg(int(kind) * kKindStep)
        .arg(SqlStr(caption), column, kLiveOwner, range);
}

} // namespace

QStringList DuePresetCaptions() {
    return {due_text::PresetThisWeek, due_text::PresetNext30Days, due_text::PresetOverdue,
            due_text::PresetCustom};
}

qlonglong DueRowKey(DueKind kind, int record) {
    return qlonglong(kind) * kKindStep + record;
}

DueKind DueRowKind(qlonglong key) {
    return DueKind(int(key / kKindStep));
}

int DueRowRecord(qlonglong key) {
    return int(key % kKindStep);
}

QString DueListSql(const DuePeriod& period, const QString& inspectionCaption) {
    const Bounds b = BoundsOf(period);
    const QString inspection =
        inspectionCaption.trimmed().isEmpty() ? due_text::DefaultInspection : inspectionCaption.trimmed();
    const QString reminders =
        QStringLiteral(
            " SELECT %1 AS fajta, %2 + u.ugyfel AS sor, %3 AS esemeny, u.dat_figyelmeztet AS esedekes,\n"
            "  DATEDIFF(u.dat_figyelmeztet, CURDATE()) AS hatravan, u.ugyfel, u.ugyfel_nev, "
            "u.kapcsolat, u.telefon, u.emil, 0 AS keszulek,\n"
            "  '' AS keszulekstr,\n"
            "  COALESCE((SELECT MAX(m.munkalap) FROM munkalap m WHERE m.ugyfel = u.ugyfel), 0) AS "
            "utolso_munkalap\n"
            "  FROM ugyfel u\n"
            "  WHERE u.torolve = 'N' AND %4\n")
            .arg(int(DueKind::Reminder))
            .arg(int(DueKind::Reminder) * kKindStep)
            .arg(SqlStr(due_text::Reminder), InRange(QStringLiteral("u.dat_figyelmeztet"), b));
    return QStringLiteral("SELECT e.*,\n"
                          " IF(m.munkalap IS NULL, '', CONCAT(LEFT(LPAD(m.munkalap, "
                          "GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, ''),\n"
                          "  IF(m.datum IS NULL, '', CONCAT(' ', DATE_FORMAT(m.datum, '%Y.%m.%d.'))))) AS "
                          "munkalapstr\n"
                          "FROM (\n") +
           reminders + QStringLiteral(" UNION ALL\n") +
           DeviceBranch(DueKind::Inspection, inspection, QStringLiteral("dat_muszaki"),
                        InRange(QStringLiteral("k.dat_muszaki"), b)) +
           QStringLiteral(" UNION ALL\n") +
           DeviceBranch(DueKind::Warranty, due_text::Warranty, QStringLiteral("dat_garilejar"),
                        WarrantyInRange(QStringLiteral("k.dat_garilejar"), b)) +
           QStringLiteral(") e\n"
                          " LEFT JOIN munkalap m ON m.munkalap = e.utolso_munkalap\n"
                          " LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus\n"
                          "WHERE (1 = 1)\n"
                          "ORDER BY esedekes, sor;");
}

RowStyle DueRowStyle(const QVariant& daysLeft) {
    RowStyle style;
    if (!daysLeft.isValid() || daysLeft.isNull())
        return style;
    const int days = VarInt(daysLeft);
    if (days < 0)
        style.background = DueOverdueColor;
    else if (days <= 7)
        style.background = DueThisWeekColor;
    else if (days <= 30)
        style.background = DueSoonColor;
    return style;
}

ListDefinition DueListDefinition(const DuePeriod& period, const QString& inspectionCaption) {
    ListDefinition d;
    d.name = QStringLiteral("frm_Esedekes");
    d.caption = due_text::Caption;
    d.heading = due_text::Caption + QStringLiteral("  ");
    d.sql = DueListSql(period, inspectionCaption);
    d.baseCondition = QStringLiteral("(1 = 1)");
    d.sortField = QStringLiteral("esedekes");
    d.searchFields = QStringLiteral("ugyfel_nev;kapcsolat;telefon;emil;keszulekstr;esemeny;"
                                    "CONVERT(LPAD(m.munkalap, 5, '0') USING latin2);"
                                    "CONVERT(DATE_FORMAT(esedekes,'%Y.%m.%d') USING latin2)");
    d.orderExpression = [](const QString& field) { return field + QStringLiteral(", sor"); };
    d.keyField = QStringLiteral("sor");
    d.nameField = QStringLiteral("ugyfel_nev");
    d.columns = {ColumnOf("esedekes", "Esedékes", 10),    ColumnOf("hatravan", "Hátra (nap)", 7),
                 ColumnOf("esemeny", "Mi esedékes", 12),  ColumnOf("ugyfel_nev", "Ügyfél", 18),
                 ColumnOf("kapcsolat", "Kapcsolat", 11),  ColumnOf("telefon", "Telefon", 12),
                 ColumnOf("keszulekstr", "Készülék", 17), ColumnOf("munkalapstr", "Utolsó munkalap", 13)};
    d.widthReserve = 44;
    d.colouring.style = [](const Query& q, int row, bool selected) {
        if (selected)
            return RowStyle{};
        return DueRowStyle(ValueAt(q, row, QStringLiteral("hatravan")));
    };
    d.colouring.reach = ColourReach::TextEverywhere;
    d.actions = {QString(), QString(), QString(), QStringLiteral("Frissítés"), QStringLiteral("Kereső")};
    d.size = QSize(980, 520);
    return d;
}

QString DueCountSql() {
    // Index ranges alone (ix_ugyfel_figyelmeztet, ix_keszulek_muszaki,
    // ix_keszulek_garilejar); the few deleted customers are one small set.
    return QStringLiteral(
               "SELECT SUM(n), SUM(lejart) FROM (\n"
               " SELECT COUNT(*) AS n, SUM(u.dat_figyelmeztet < CURDATE()) AS lejart FROM ugyfel u\n"
               "  WHERE u.torolve = 'N' AND u.dat_figyelmeztet <= %1\n"
               " UNION ALL\n"
               " SELECT COUNT(*), SUM(k.dat_muszaki < CURDATE()) FROM keszulek k\n"
               "  WHERE k.torolve = 'N' AND %2 AND k.dat_muszaki <= %1\n"
               " UNION ALL\n"
               " SELECT COUNT(*), 0 FROM keszulek k\n"
               "  WHERE k.torolve = 'N' AND %2\n"
               "   AND k.dat_garilejar <= %1 AND k.dat_garilejar >= CURDATE()\n"
               ") x;")
        .arg(kEndOfWeek, kLiveOwner);
}

DueCount CountDue(Connection& db) {
    const ResultSet rs = db.query(DueCountSql());
    DueCount count;
    if (rs.rowCount() > 0) {
        count.due = rs.isNull(0, 0) ? 0 : int(rs.value(0, 0).toLongLong());
        count.overdue = rs.isNull(0, 1) ? 0 : int(rs.value(0, 1).toLongLong());
    }
    return count;
}

QString DueCountText(const DueCount& count) {
    QString text = QStringLiteral("Esedékes a héten: ") + QString::number(count.due);
    if (count.overdue > 0)
        text += QStringLiteral(" (lejárt: ") + QString::number(count.overdue) + u')';
    return text;
}

int MarkDoneMonths(int choice) {
    static const int months[] = {1, 3, 6, 12, 24, 0};
    return choice >= 0 && choice < int(std::size(months)) ? months[choice] : -1;
}

QString MarkDoneSql(DueKind kind, int record, const QDate& seen, int months) {
    const bool reminder = kind == DueKind::Reminder;
    const QString table = reminder ? QStringLiteral("ugyfel") : QStringLiteral("keszulek");
    const QString column = reminder ? QStringLiteral("dat_figyelmeztet") : QStringLiteral("dat_muszaki");
    const QString next =
        months == 0 ? QStringLiteral("NULL")
                    : QStringLiteral("GREATEST(%1, CURDATE()) + INTERVAL %2 MONTH").arg(column).arg(months);
    return QStringLiteral("UPDATE %1 SET %2 = %3 WHERE %1 = %4 AND torolve = 'N' AND %2 = %5;")
        .arg(table, column, next)
        .arg(record)
        .arg(SqlDate(false, seen));
}

MarkDoneResult MarkDone(Connection& db, DueKind kind, int record, const QDate& seen, int months) {
    if (kind == DueKind::Warranty || !seen.isValid())
        return MarkDoneResult::ChangedMeanwhile;
    ExecUnit(db, MarkDoneSql(kind, record, seen, months));
    return db.matchedRows() == 1 ? MarkDoneResult::Moved : MarkDoneResult::ChangedMeanwhile;
}

bool MarkDueRowDone(qlonglong key, const QDate& seen) {
    const DueKind kind = DueRowKind(key);
    if (kind == DueKind::Warranty) {
        ShowError(due_text::NotMovable);
        return false;
    }
    constexpr int kOneYear = 3;
    const int months =
        MarkDoneMonths(AskRadio(kOneYear, due_text::MarkDoneChoices, due_text::MarkDoneCaption));
    if (months < 0)
        return false;
    if (MarkDone(SharedConnection(), kind, DueRowRecord(key), seen, months) == MarkDoneResult::Moved)
        return true;
    ShowError(due_text::ChangedMeanwhile);
    return false;
}

} // namespace kml
