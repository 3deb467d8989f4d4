#pragma once

#include "components/Connection.h"

#include <QStringList>

namespace kml::test {

// What in the connection's current database a Galera cluster would not
// replicate or support, one line each (empty when none): tables of another
// engine than InnoDB, tables without a primary key, routines, triggers and
// events that take table locks or named locks (LOCK TABLES, GET_LOCK).
QStringList ClusterUnfitObjects(Connection& db);

// The same for the text of the db/ files (LOCK TABLES, GET_LOCK, MyISAM and
// other engines named in a CREATE TABLE).
QStringList ClusterUnfitScriptLines();

} // namespace kml::test
