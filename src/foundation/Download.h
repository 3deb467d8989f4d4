#pragma once

#include <QString>
#include <atomic>

namespace kml {

// Downloads the URL (HTTP or HTTPS, redirects followed) into the file,
// replacing it. True on success; false on any failure (no connection, an
// HTTP error status, a timeout, a file that cannot be written), and then the
// file is left as it was: a partial download never replaces it. Blocks the
// calling thread while it runs: up to 20 s to connect, and the transfer is
// abandoned when it stalls (under 1 byte/s) for 30 s.
bool DownloadFile(const QString& url, const QString& fileName);

// Time limits of a download, in seconds; 0 leaves a limit out.
struct DownloadLimits {
    int connect = 20; // to connect
    int total = 0;    // the whole call
    // Certificates the server's must be signed by, instead of the system's
    // (a test's own authority); empty: the system's. Verification of the
    // certificate and the host name always stays on.
    QString caFile = {};
    // When set, the download ends as a failure within about a second of the
    // flag turning true (its owner is going away).
    const std::atomic<bool>* cancel = nullptr;
};

// The same with the given limits (a stall of 30 s still ends it). Safe to
// call from another thread: it touches nothing but the file.
bool DownloadFile(const QString& url, const QString& fileName, const DownloadLimits& limits);

} // namespace kml
