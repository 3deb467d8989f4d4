#include "foundation/ShellOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace kml {
namespace {

void DesktopOpen(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

ShellOpener& Installed() {
    static ShellOpener opener = DesktopOpen;
    return opener;
}

} // namespace

ShellOpener SetShellOpener(ShellOpener opener) {
    ShellOpener previous = std::move(Installed());
    Installed() = opener ? std::move(opener) : ShellOpener(DesktopOpen);
    return previous;
}

void OpenInShell(const QString& address) {
    Installed()(address);
}

} // namespace kml
