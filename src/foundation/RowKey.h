#pragma once

// "A key, or nothing": what window operations take and give back for a row.
// Nothing stands for a new row going in (EditCustomer(std::nullopt) creates
// one) and for "cancelled" coming out; a key is always a real row's.

#include <QString>
#include <QVariant>
#include <optional>
#include <utility>

namespace kml {

using RowKey = std::optional<qlonglong>;

// A key column's value as a key: nothing for NULL, a value that is not a
// number, and 0 or less (the server numbers rows from 1).
inline RowKey KeyOf(const QVariant& value) {
    bool ok = false;
    const qlonglong key = value.isNull() ? 0 : value.toLongLong(&ok);
    return ok && key > 0 ? RowKey(key) : std::nullopt;
}

// The row a chooser gives back: its key and the text of the list's name
// field; no key (and no name) when the window closed without a choice.
struct ChosenRow {
    ChosenRow() = default;
    ChosenRow(RowKey chosen, QString chosenName = {}) : key(chosen), name(std::move(chosenName)) {}

    RowKey key;
    QString name;
};

} // namespace kml
