#pragma once

// Storing a local file on an FTP server (libcurl).
//
// The user name and password travel only as login options: never inside the
// address, and never in an error text. Transfers are binary. The file is
// first stored under a temporary name in the remote folder and then renamed
// over the final name (RNFR/RNTO), so that a reader on the server never
// sees half a file, and a failed transfer leaves the old remote file as it
// was. Passive mode unless active is asked for (the server then connects
// back to the address of the control connection).

#include <QString>
#include <functional>
#include <stdexcept>

namespace kml {

struct FtpTarget {
    QString host; // name or address; "host:port" also gives the port
    int port = 0; // 0: the port in host, else 21
    QString user; // empty: anonymous
    QString password;
    QString folder; // remote folder; empty: the login folder; "/..." absolute
    bool activeMode = false;
};

// A failed upload; the text is meant for the user (after "Hiba: ").
class FtpError final : public std::runtime_error {
public:
    explicit FtpError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Told how many bytes are sent of how many; false stops the transfer (it
// then fails).
using FtpProgress = std::function<bool(qint64 sent, qint64 total)>;

// Host and port of a target: "name:port" and "[v6]:port" split, a port of
// 0 or none gives 21.
struct FtpHostPort {
    QString host;
    int port = 21;
};
FtpHostPort FtpHostAndPort(const QString& host, int port);

// The address of a file in a folder on a host: every folder segment and the
// name percent-encoded (UTF-8), an absolute folder starting with "%2F".
QByteArray FtpAddress(const FtpTarget& target, const QString& remoteName);

// Stores localFile as remoteName in the target's folder, replacing a file of
// that name. Throws FtpError on any failure (local file unreadable, host not
// found, connection refused, login refused, missing folder, no right to
// write, rename refused). Blocks while it runs; progress is called now and
// then on the calling thread.
void FtpUpload(const FtpTarget& target, const QString& localFile, const QString& remoteName,
               const FtpProgress& progress = {});

} // namespace kml
