#include "worksheets/gui/HistoryWindows.h"

#include "worksheets/Notes.h"
#include "worksheets/WorkSheetBrowsers.h"
#include "worksheets/gui/Tfrm_Megjegyzes.h"
#include "worksheets/gui/Tfrm_Megjegyzes_Szerkeszt.h"
#include "worksheets/gui/Tfrm_MunkalapBongeszo.h"
#include "worksheets/gui/Tfrm_MunkalapBongeszo2.h"

#include <QDesktopServices>
#include <QUrl>

namespace kml {

void InstallHistoryWindows() {
    BrowseWorkSheets.install(&Tfrm_MunkalapBongeszo::Run);
    DeviceItemHistory.install(&Tfrm_MunkalapBongeszo2::Run);
    BrowseNotes.install(&Tfrm_Megjegyzes::Run);
    EditNote.install([](RowKey note, int kind, int id) {
        const int saved = Tfrm_Megjegyzes_Szerkeszt::Run(note ? int(*note) : -1, kind, id);
        return saved > 0 ? RowKey(saved) : std::nullopt;
    });
    // A file address, never a command line: the desktop picks the program.
    OpenAttachmentFile.install(
        [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
}

} // namespace kml
