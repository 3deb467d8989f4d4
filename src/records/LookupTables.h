#pragma once

// The generic lookup tables apart from the widgets: manufacturers (gyarto),
// kinds of device (keszulektipus) and employees (dolgozo). Each follows the
// naming rule: key column T, name column T + "_nev", and for soft delete a
// torolve flag. One list window (Tfrm_Torzsadat) and one row editor
// (Tfrm_Torzsadat_Szerkeszt) serve all three through OpenLookupTable and
// EditLookupRow (records/TypeWindows.h).

#include "patterns/EditorDefinition.h"
#include "patterns/ListDefinition.h"

#include <QString>

namespace kml {

// One lookup table as its callers open it.
struct LookupTable {
    QString table;
    bool softDelete = false;
    QString caption;
};

namespace lookup {
inline const LookupTable Manufacturers{QStringLiteral("gyarto"), false, QStringLiteral("Gyártó")};
inline const LookupTable DeviceKinds{QStringLiteral("keszulektipus"), false,
                                     QStringLiteral("Készülék típus")};
inline const LookupTable Employees{QStringLiteral("dolgozo"), true, QStringLiteral("Dolgozó")};
} // namespace lookup

namespace lookup_text {
inline const QString InUse = QStringLiteral("Nem törölhető, mert használatban van: ");
} // namespace lookup_text

// Whether table is one of the lookup tables; its name goes into SQL, so
// every other name is refused (std::invalid_argument) where one is used.
bool IsLookupTable(const QString& table);

// OpenLookupTable on one of the tables above: the chosen key (none when
// closed without a choice) and the chosen row's name.
ChosenRow OpenLookup(const LookupTable& lookup, RowKey select, bool chooser);

// The lookup list (Tfrm_Torzsadat) over the table: its one name column
// titled with the caption, searched word by word, the live rows only with
// soft delete; "Új sor", "Szerkeszt" through EditLookupRow, "Töröl" refused
// while the row is in use, otherwise asked and then marked deleted (soft
// delete) or deleted; "Kereső". A chooser hides the editing actions from a
// user without the master-data right.
ListDefinition LookupListDefinition(const QString& table, bool softDelete, const QString& caption);
inline ListDefinition LookupListDefinition(const LookupTable& lookup) {
    return LookupListDefinition(lookup.table, lookup.softDelete, lookup.caption);
}

// The row editor (Tfrm_Torzsadat_Szerkeszt): the name, first letter in
// capitals, and the key beside it, read-only.
EditorDefinition LookupRowEditorDefinition(const QString& table, const QString& caption);

// Where the row is still used, as the message that refuses deleting it
// (lookup_text::InUse followed by counts such as "2 típus, 5 készülék");
// empty when it may go. Manufacturers and kinds of device are in use while
// a live type, or a type a device points to, refers to them; an employee
// while linked to a work sheet in progress (status 1 or 2, not cancelled) or
// booked for today or later. Deleted history keeps its names, so it does
// not count.
QString LookupRowUsage(const QString& table, qlonglong key);

// The "Töröl" of a lookup list: refuses a row in use (ShowError with the
// usage), otherwise asks "Valóban töröljem a sort?" and deletes; whether it
// deleted.
bool RemoveLookupRow(const QString& table, bool softDelete, qlonglong key);

} // namespace kml
