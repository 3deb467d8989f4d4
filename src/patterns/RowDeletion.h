#pragma once

// Deleting a list's row after the question "Valóban töröljem a sort?"
// ("Megerősítés"): the one way every list asks and deletes. Rows of tables
// with the torolve flag are marked deleted; the others are removed.
//
//     definition.hooks.remove = SoftDeleteHook(QStringLiteral("ugyfel"));

#include <QString>
#include <functional>

namespace kml {

class ListController;

// "UPDATE <table> SET torolve = 'I' WHERE <table> = <key>;"
QString SoftDeleteSql(const QString& table, qlonglong key);
// "DELETE FROM <table> WHERE <table> = <key>;"
QString HardDeleteSql(const QString& table, qlonglong key);

// Asks the question and on Yes runs sql; whether it ran.
bool DeleteAsked(const QString& sql);

// The "Töröl" hook of a list over table (its key column named like it).
std::function<bool(ListController&, qlonglong)> SoftDeleteHook(const QString& table);
std::function<bool(ListController&, qlonglong)> HardDeleteHook(const QString& table);

} // namespace kml
