#include "foundation/ShellOpener.h"

#include "foundation/Dialogs.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace kml {
namespace {

// The desktop file that handles the scheme (xdg-mime), "" when none does.
QString SchemeHandler(const QString& scheme) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/") + scheme});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

bool AnyExecutable(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (!QStandardPaths::findExecutable(QLatin1String(name)).isEmpty())
            return true;
    return false;
}

void DesktopOpen(const QString& address) {
    if (const QString missing = MissingOpener(address); !missing.isEmpty())
        return ShowError(missing);
    if (!QDesktopServices::openUrl(QUrl(address)))
        ShowError(QStringLiteral("Nem sikerült megnyitni: %1").arg(address));
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

QString MissingOpener(const QString& address) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QUrl url(address);
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto")) {
        if (SchemeHandler(scheme).isEmpty() && !AnyExecutable({"thunderbird", "evolution", "claws-mail"}))
            return QStringLiteral("Nincs levelezőprogram beállítva ezen a gépen, ezért a levelet nem tudom "
                                  "megnyitni. Állíts be egy alapértelmezett levelezőprogramot, vagy írj "
                                  "közvetlenül erre a címre: %1")
                .arg(url.path());
    } else if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        if (SchemeHandler(scheme).isEmpty() && qEnvironmentVariableIsEmpty("BROWSER") &&
            !AnyExecutable(
                {"x-www-browser", "sensible-browser", "firefox", "firefox-esr", "chromium", "google-chrome"}))
            return QStringLiteral("Nincs böngésző beállítva ezen a gépen, ezért az oldalt nem tudom "
                                  "megnyitni. Telepíts vagy állíts be egy böngészőt, vagy nyisd meg kézzel "
                                  "ezt a címet: %1")
                .arg(address);
    }
    if (!AnyExecutable({"xdg-open"}))
        return QStringLiteral("Nincs telepítve a megnyitáshoz szükséges program (xdg-open, az xdg-utils "
                              "csomagból), ezért ezt nem tudom megnyitni: %1")
            .arg(url.isLocalFile() ? url.toLocalFile() : address);
#else
    Q_UNUSED(address);
#endif
    return {};
}

bool IsOpenableLink(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

} // namespace kml
