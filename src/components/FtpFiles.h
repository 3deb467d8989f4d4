#pragma once

// Looking at and renaming files already on an FTP server (libcurl), in the
// folder of a target (components/FtpUpload.h): the same login, addressing
// and passive/active mode as an upload, and the same rule that the user name
// and password never appear in an address or an error text.

#include "components/FtpUpload.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace kml {

// The names in the target's folder (NLST). Throws FtpError on any failure.
QStringList FtpListNames(const FtpTarget& target);

// One rename in the target's folder: from, to.
using FtpRenameStep = std::pair<QString, QString>;

// Runs the renames in the target's folder in order (RNFR/RNTO), in one
// session. The first one the server refuses stops the rest and throws
// FtpError; the renames before it stay done.
void FtpRename(const FtpTarget& target, const std::vector<FtpRenameStep>& steps);

} // namespace kml
