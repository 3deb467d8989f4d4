#include "shell/StartupWindows.h"

#include "shell/ConnectionEntries.h"
#include "foundation/Settings.h"

#include <stdexcept>

namespace kml {
namespace {

StartupWindows g_windows;

template <typename F> const F& Installed(const F& operation, const char* name) {
    if (!operation)
        throw std::logic_error(std::string("no start-up window installed for ") + name);
    return operation;
}

} // namespace

StartupWindows SetStartupWindows(StartupWindows windows) {
    std::swap(g_windows, windows);
    return windows;
}

int ChooseDatabase(const QStringList& lines, const QStringList& entries, const QString& caption) {
    if (lines.size() == 1 && TestConnectionEntry(ConnectionEntry::parse(entries.value(0))))
        return 0;
    return Installed(g_windows.chooseDatabase, "ChooseDatabase")(lines, entries, caption);
}

bool CreateConnectionEntry() {
    const std::optional<QString> entry =
        Installed(g_windows.createConnectionEntry, "CreateConnectionEntry")();
    if (!entry)
        return false;
    Beall().connectionEntry = *entry;
    StoreNewConnectionEntry(*entry);
    return true;
}

bool Login() {
    return Installed(g_windows.login, "Login")();
}

} // namespace kml
