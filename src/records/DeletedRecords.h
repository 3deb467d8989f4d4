#pragma once

// Customers and catalogue items in use are deleted after a question that says
// what uses them; deleted customers, devices and items are listed and brought
// back ("Törölt rekordok", "Visszaállít").
//
// Master data is deleted logically (torolve = 'I'): the sheets that name a
// deleted customer or item keep it. A deleted customer's devices leave the
// lists with it (the device view shows only devices of live customers) and
// come back with it.
//
// Deleting and restoring decide from the state the user saw: a row that
// another workstation deleted, restored or removed meanwhile is left alone
// and the call says so.

#include "foundation/WindowOperation.h"

#include <QString>
#include <functional>
#include <vector>

namespace kml {

class ListController;

enum class DeletedKind { Customers, Devices, Items };

struct DeletedKindInfo {
    DeletedKind kind;
    QString caption; // "Ügyfelek", "Készülékek", "Tételek"
    QString table;   // its key column is named like it
    QString listSql; // the deleted rows: key first, then what the list shows
};
const std::vector<DeletedKindInfo>& DeletedKinds();
const DeletedKindInfo& DeletedKindOf(DeletedKind kind);

namespace deleted_text {
inline const QString WindowCaption = QStringLiteral("Törölt rekordok");
inline const QString RestoreButton = QStringLiteral("Visszaállít");
inline const QString Restored = QStringLiteral("Visszaállítottam.");
inline const QString ChangedMeanwhile =
    QStringLiteral("Ezt a sort időközben egy másik munkaállomás megváltoztatta (már nincs törölve, vagy "
                   "nincs meg). Frissítsd a listát.");
inline const QString DeletedMeanwhile =
    QStringLiteral("Ezt a sort időközben egy másik munkaállomás már törölte. Frissítsd a listát.");
inline const QString CustomerStillDeleted =
    QStringLiteral("A készülék ügyfele törölve van: előbb az ügyfelet állítsd vissza (%1).");
} // namespace deleted_text

// What uses a customer: "12 munkalap, 3 készülék"; "" when nothing does.
QString CustomerUsage(qlonglong customer);
// What uses a catalogue item: "5 munkalap (7 tételsor)"; "" when nothing does.
QString CatalogueItemUsage(qlonglong item);
// The delete question: the plain one, or one that names the usage and says
// what stays (the sheets) and what goes with the row (a customer's devices).
QString DeleteQuestion(DeletedKind kind, const QString& usage);

// Marks a live row deleted; false when it was no longer live (deleted or
// removed by another workstation).
bool SoftDeleteLive(DeletedKind kind, qlonglong key);
// Marks a deleted row live again; false when it was no longer deleted.
bool RestoreDeleted(DeletedKind kind, qlonglong key);
// The name of a device's deleted customer; "" when its customer is live (or
// none).
QString DeletedCustomerOfDevice(qlonglong device);

// Asks the delete question with the row's usage (customers and items) and on
// Yes marks it deleted; a row deleted meanwhile by another workstation is
// reported. Whether the list should be read again.
bool DeleteAskedWithUsage(DeletedKind kind, qlonglong key);

// The "Töröl" hooks of the customer and catalogue lists (DeleteAskedWithUsage).
std::function<bool(ListController&, qlonglong)> CustomerDeleteHook();
std::function<bool(ListController&, qlonglong)> CatalogueItemDeleteHook();

// The window "Törölt rekordok": the deleted customers, devices and items, one
// kind at a time, and "Visszaállít" for the current row (aToroltRekordok).
inline WindowOperation<void()> ShowDeletedRecords{"ShowDeletedRecords"};

// Restores the row after the checks above, telling the user what happened;
// whether it was restored.
bool RunRestoreDeleted(DeletedKind kind, qlonglong key);

} // namespace kml
