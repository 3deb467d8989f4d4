#pragma once

// A session without windows for command-line work (the PDF command): the
// parts of start-up that need no user.

#include <QString>

namespace kml {

class Connection;

// Reads the ini file (data folder as at start-up) into the settings record,
// opens the connection entry whose display name is database (the first
// stored entry when empty), checks the schema version, loads the shop-wide
// settings and makes the connection the shared one. Every right is granted
// (no login). Throws std::runtime_error with a Hungarian message when there
// is no such entry, the connection fails or the versions differ.
void OpenBatchSession(Connection& connection, const QString& database);

// The same with the ini file and data folder already chosen (IniFilePath()).
void OpenSessionFromIni(Connection& connection, const QString& database);

} // namespace kml
