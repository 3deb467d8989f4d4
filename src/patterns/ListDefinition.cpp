#include "patterns/ListDefinition.h"

#include "components/Query.h"
#include "foundation/Flags.h"

#include <QRegularExpression>

namespace kml {

QStringList ListDefinition::namedFields() const {
    QStringList fields;
    const auto add = [&fields](const QString& field) {
        if (!field.isEmpty() && !fields.contains(field, Qt::CaseInsensitive))
            fields << field;
    };
    add(keyField);
    add(nameField);
    add(sortField);
    add(memoField);
    for (const GridColumn& column : columns)
        add(column.field);
    // Search fields may be expressions (CONVERT(...)); plain names are checked.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    for (const QString& field : searchFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (plainName.match(field.trimmed()).hasMatch())
            add(field.trimmed());
    return fields;
}

std::function<CellIcon(const QString&, const QVariant&)> FlagPictures(const QString& field, CellIcon yes,
                                                                      CellIcon no) {
    return [field, yes, no](const QString& name, const QVariant& value) {
        if (name.compare(field, Qt::CaseInsensitive) != 0)
            return CellIcon::None;
        return IsFlagSet(value) ? yes : no;
    };
}

GridColumn ColumnOf(const char* field, const char* title, int widthShare) {
    return GridColumn{QString::fromLatin1(field), QString::fromUtf8(title), widthShare};
}

RowStyle CellStyle(ColourReach reach, const RowStyle& row, bool highlightedColumn) {
    if (!highlightedColumn)
        return row;
    RowStyle cell;
    if (reach == ColourReach::TextEverywhere)
        cell.foreground = row.foreground;
    return cell;
}

QVariant ValueAt(const Query& query, int row, const QString& field) {
    if (!query.isActive() || row < 0 || row >= query.recordCount())
        return {};
    const int col = query.fieldIndex(field);
    if (col < 0)
        return {};
    return query.result().value(row, col);
}

} // namespace kml
