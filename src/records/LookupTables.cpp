#include "records/LookupTables.h"

#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "patterns/RowDeletion.h"
#include "records/TypeWindows.h"

#include <QStringList>
#include <stdexcept>

namespace kml {
namespace {

const QString& CheckedTable(const QString& table) {
    if (!IsLookupTable(table))
        throw std::invalid_argument("not a lookup table: " + table.toStdString());
    return table;
}

// One count of the usage message: the statement gives the number, the
// noun says what is counted.
struct Usage {
    QString sql;
    const char* noun;
};

// Types that still matter: live ones, and deleted ones that devices point to.
QString TypesUsing(const QString& column, qlonglong key) {
    return QStringLiteral("SELECT COUNT(*) FROM tipus t WHERE t.%1 = %2 AND (t.torolve = 'N' OR "
                          "EXISTS (SELECT 1 FROM keszulek k WHERE k.tipus = t.tipus));")
        .arg(column)
        .arg(key);
}

QString DevicesUsing(const QString& column, qlonglong key) {
    return QStringLiteral("SELECT COUNT(*) FROM keszulek k JOIN tipus t ON t.tipus = k.tipus "
                          "WHERE t.%1 = %2 AND k.torolve = 'N';")
        .arg(column)
        .arg(key);
}

std::vector<Usage> UsagesOf(const QString& table, qlonglong key) {
    if (table == lookup::Employees.table)
        return {
            {QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo md JOIN munkalap m ON m.munkalap = "
                            "md.munkalap WHERE md.dolgozo = %1 AND m.storno = 'N' AND m.statusz BETWEEN 1 "
                            "AND 2;")
                 .arg(key),
             "folyamatban lévő munkalap"},
            {QStringLiteral("SELECT COUNT(DISTINCT azon) FROM elojegyzes WHERE dolgozo = %1 AND "
                            "datum >= CURDATE();")
                 .arg(key),
             "mai vagy későbbi előjegyzés"}};
    return {{TypesUsing(table, key), "típus"}, {DevicesUsing(table, key), "készülék"}};
}

} // namespace

bool IsLookupTable(const QString& table) {
    for (const LookupTable* known : {&lookup::Manufacturers, &lookup::DeviceKinds, &lookup::Employees})
        if (known->table == table)
            return true;
    return false;
}

ChosenRow OpenLookup(const LookupTable& lookup, RowKey select, bool chooser) {
    return OpenLookupTable(select, chooser, lookup.table, lookup.softDelete, lookup.caption);
}

ListDefinition LookupListDefinition(const QString& table, bool softDelete, const QString& caption) {
    const QString name = CheckedTable(table) + QStringLiteral("_nev");
    const QString base = softDelete ? QStringLiteral("(torolve = 'N')") : QStringLiteral("(1 = 1)");
    ListDefinition d;
    d.name = QStringLiteral("frm_Torzsadat");
    d.caption = caption;
    d.heading = caption + QStringLiteral("  ");
    d.sql = QStringLiteral("SELECT * FROM %1\nWHERE %2\nORDER BY %3;").arg(table, base, name);
    d.baseCondition = base;
    d.sortField = d.searchFields = d.nameField = name;
    d.searchKind = SearchKind::Words;
    d.titleClickSorts = false;
    d.keyField = table;
    d.columns = {{name, caption, 100}};
    d.widthReserve = 44;
    d.size = QSize(420, 480);
    d.hooks.create = [table, caption](ListController&) {
        return EditLookupRow(std::nullopt, table, caption);
    };
    d.hooks.edit = [table, caption](ListController&, qlonglong key) {
        return EditLookupRow(key, table, caption);
    };
    d.hooks.remove = [table, softDelete](ListController&, qlonglong key) {
        return RemoveLookupRow(table, softDelete, key);
    };
    d.actions.remove = QStringLiteral("Töröl");
    d.actions.find = QStringLiteral("Kereső");
    d.maintenanceNeedsRight = true;
    return d;
}

EditorDefinition LookupRowEditorDefinition(const QString& table, const QString& caption) {
    EditorDefinition d;
    d.name = QStringLiteral("frm_Torzsadat_Szerkeszt");
    d.caption = caption;
    d.table = CheckedTable(table);
    d.fields = {
        FieldOf(table + QStringLiteral("_nev"), caption, EditorFieldKind::Text, {.upcaseFirst = true}),
        FieldOf(table, QStringLiteral("Kód"), EditorFieldKind::Display)};
    return d;
}

QString LookupRowUsage(const QString& table, qlonglong key) {
    QStringList counts;
    for (const Usage& usage : UsagesOf(CheckedTable(table), key))
        if (const int n = QueryInt(usage.sql); n > 0)
            counts << QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(usage.noun);
    return counts.isEmpty() ? QString()
                            : lookup_text::InUse + counts.join(QStringLiteral(", ")) + QLatin1Char('.');
}

bool RemoveLookupRow(const QString& table, bool softDelete, qlonglong key) {
    if (const QString usage = LookupRowUsage(table, key); !usage.isEmpty()) {
        ShowError(usage);
        return false;
    }
    return DeleteAsked(softDelete ? SoftDeleteSql(table, key) : HardDeleteSql(table, key));
}

} // namespace kml
