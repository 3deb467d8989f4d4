#pragma once

namespace kml {

// Puts the administration windows behind their operations: the database
// list (OpenDatabaseList, AskBackupFile) and the users (OpenUserList).
void InstallAdminWindows();

} // namespace kml
