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

// Opens the address through the installed opener. The desktop's opener
// first checks that something can open it (MissingOpener) and otherwise says
// in a message what is missing; a failure after the start is not reported.
void OpenInShell(const QString& address);

// What is missing to open the address on this desktop, as the message the
// user gets: no opener at all (xdg-open), no web browser for a web page, no
// mail program for a "mailto:" link; "" when something can open it. Looks
// the programs up in PATH (xdg-open, xdg-mime, x-www-browser, ...).
QString MissingOpener(const QString& address);

// Whether an address from outside (the maker's server, the website's
// visitors) may be handed to the desktop: http and https addresses with a
// host, and mailto addresses; never a file, a program or another scheme.
bool IsOpenableLink(const QString& address);

} // namespace kml
