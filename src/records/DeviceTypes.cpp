#include "records/DeviceTypes.h"

#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/Folders.h"
#include "foundation/Pictures.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/RowDeletion.h"
#include "records/LookupTables.h"
#include "records/TypeWindows.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace kml {
namespace {

constexpr int kSearchWords = 3;
const QString kTypeSearchFields = QStringLiteral("tipus_nev;gyarto_nev");

// A lookup field of the type editor: the name of the row its key points to,
// chosen from the lookup list starting at the current one.
EditorField LookupField(const LookupTable& lookup, const char* label, const QString& focusAfter) {
    EditorField field = FieldOf(lookup.table, QString::fromUtf8(label), EditorFieldKind::Lookup);
    const QString table = lookup.table;
    field.display = [table](const Table& row) { return LookupName(VarInt(row.value(table)), table); };
    field.choose = [lookup](Table& row) {
        const RowKey chosen = OpenLookup(lookup, KeyOf(row.value(lookup.table)), true).key;
        if (!chosen)
            return false;
        row.setValue(lookup.table, *chosen);
        return true;
    };
    field.focusAfterChoice = focusAfter;
    return field;
}

} // namespace

QString TypeSearchCondition(const QString& baseCondition, const QString& text) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(0, kSearchWords);
    QStringList conditions;
    for (const QString& word : words)
        conditions << LikeFilter(kTypeSearchFields, word, false);
    if (conditions.isEmpty())
        return baseCondition;
    if (conditions.size() == 1)
        return baseCondition + QStringLiteral(" AND ") + conditions.constFirst();
    return baseCondition + QStringLiteral(" AND (") + conditions.join(QStringLiteral(" AND ")) +
           QLatin1Char(')');
}

ListDefinition TypeListDefinition() {
    ListDefinition d;
    d.name = QStringLiteral("frm_TorzsTipus");
    d.caption = type_text::ListCaption;
    d.heading = type_text::ListHeading;
    d.sql = QStringLiteral("SELECT * FROM vw_tipus\nWHERE (torolve='N')\nORDER BY gyarto_nev,tipus_nev;");
    d.baseCondition = QStringLiteral("(torolve='N')");
    d.sortField = QStringLiteral("tipus_nev");
    d.searchCondition = &TypeSearchCondition;
    d.orderExpression = [](const QString& field) { return field + QStringLiteral(",tipus_nev"); };
    d.keyField = QStringLiteral("tipus");
    d.nameField = QStringLiteral("tipus_nev");
    d.columns = {ColumnOf("gyarto_nev", "Gyártó", 33), ColumnOf("tipus_nev", "Típus", 33),
                 ColumnOf("keszulektipus_nev", "Készülék típus", 33)};
    d.widthReserve = 36;
    d.size = QSize(900, 520);
    d.hooks.create = [](ListController&) -> RowKey {
        const RowKey manufacturer = OpenLookup(lookup::Manufacturers, std::nullopt, true).key;
        if (!manufacturer)
            return std::nullopt;
        return EditDeviceType(std::nullopt, manufacturer);
    };
    d.hooks.edit = [](ListController&, qlonglong type) { return EditDeviceType(type, std::nullopt); };
    d.hooks.remove = SoftDeleteHook(QStringLiteral("tipus"));
    d.maintenanceNeedsRight = true;
    return d;
}

EditorDefinition TypeEditorDefinition(RowKey manufacturer) {
    EditorDefinition d;
    d.name = QStringLiteral("frm_TorzsTipus_Szerkeszt");
    d.caption = type_text::EditorCaption;
    d.table = QStringLiteral("tipus");
    d.fields = {FieldOf(QStringLiteral("tipus_nev"), QStringLiteral("Típus"), EditorFieldKind::Text,
                        {.upcaseFirst = true}),
                LookupField(lookup::Manufacturers, "Gyártó", QStringLiteral("tipus_nev")),
                LookupField(lookup::DeviceKinds, "Készüléktípus", {})};
    d.newRow = [manufacturer](Table& row) {
        if (manufacturer)
            row.setValue(QStringLiteral("gyarto"), *manufacturer);
    };
    return d;
}

QString TypeChoiceText(const QString& manufacturer, const QString& typeName) {
    return manufacturer.trimmed() + QLatin1Char(' ') + typeName;
}

QString TypeText(qlonglong type) {
    return QueryStr(QStringLiteral("SELECT tipusstr FROM vw_tipus WHERE tipus = ") + VarIntStr(type) +
                    QLatin1Char(';'));
}

QString TypePictureFolder() {
    const QString folder = Beall().kepek;
    return folder.isEmpty() ? DataFolder() + QStringLiteral("/Kepek") : folder;
}

QString TypePictureName(qlonglong type) {
    return QStringLiteral("MOB") + PadInt(type, 5) + QStringLiteral(".jpg");
}

QString TypePicturePath(const QString& folder, qlonglong type) {
    const QString name = TypePictureName(type);
    const QString canonical = folder + QLatin1Char('/') + name;
    if (QFile::exists(canonical))
        return canonical;
    // Name filters match without regard to case.
    const QString stem = name.chopped(4);
    const QStringList found = QDir(folder).entryList(
        {stem + QStringLiteral(".jpg"), stem + QStringLiteral(".jpeg")}, QDir::Files, QDir::Name);
    return found.isEmpty() ? canonical : folder + QLatin1Char('/') + found.constFirst();
}

bool AddTypePicture(const QString& folder, qlonglong type, const QString& source, QString* error) {
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = folder;
        return false;
    }
    return CopyFileOver(source, TypePicturePath(folder, type), error);
}

bool RemoveTypePicture(const QString& folder, qlonglong type) {
    const QString path = TypePicturePath(folder, type);
    return QFile::exists(path) && QFile::remove(path);
}

} // namespace kml
