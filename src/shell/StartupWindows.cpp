#include "shell/StartupWindows.h"

#include "admin/ConnectionEntries.h"
#include "foundation/Settings.h"

namespace kml {

int ChooseDatabase(const QStringList& lines, const QStringList& entries, const QString& caption) {
    if (lines.size() == 1 && TestConnectionEntry(ConnectionEntry::parse(entries.value(0))))
        return 0;
    return DatabaseChoiceWindow(lines, entries, caption);
}

bool CreateConnectionEntry() {
    const std::optional<QString> entry = ConnectionEntryWindow();
    if (!entry)
        return false;
    Beall().connectionEntry = *entry;
    StoreNewConnectionEntry(*entry);
    return true;
}

bool Login() {
    return LoginWindow();
}

} // namespace kml
