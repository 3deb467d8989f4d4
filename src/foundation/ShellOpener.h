#pragma once

// Handing an address (a web page, a "mailto:" link, a file) to the desktop,
// which opens it with its associated program. One replaceable door, so that
// tests can record the addresses instead of starting a browser:
//
//     std::vector<QString> opened;
//     const ShellOpener previous = SetShellOpener([&](const QString& a) { opened.push_back(a); });
//     ...
//     SetShellOpener(previous);

#include <QString>
#include <functional>

namespace kml {

using ShellOpener = std::function<void(const QString& address)>;

// Installs the opener and returns the one it replaces; an empty opener
// brings back the desktop's (QDesktopServices).
ShellOpener SetShellOpener(ShellOpener opener);

// Opens the address through the installed opener. A failure of the desktop
// to open it is not reported.
void OpenInShell(const QString& address);

} // namespace kml
