#pragma once

// The operations of the website windows. A number of nothing opens an
// editor on a new row and is what a cancelled editor or chooser gives back.

#include "foundation/WindowOperation.h"

#include <QString>
#include <optional>

namespace kml {

// The web text list, on the row select (the first when none); in chooser
// mode "Elfogad" gives back the chosen text, otherwise nothing.
inline WindowOperation<std::optional<qlonglong>(std::optional<qlonglong> select, bool chooser)>
    OpenWebTextList{"OpenWebTextList"};
// The web text editor: the saved number, or nothing when cancelled.
inline WindowOperation<std::optional<qlonglong>(std::optional<qlonglong> text)> EditWebText{"EditWebText"};

// The banner list (never a chooser).
inline WindowOperation<void()> OpenBannerList{"OpenBannerList"};
// The banner editor: the saved number, or nothing when cancelled.
inline WindowOperation<std::optional<qlonglong>(std::optional<qlonglong> banner)> EditBanner{"EditBanner"};

// The intro list, as the web text list.
inline WindowOperation<std::optional<qlonglong>(std::optional<qlonglong> select, bool chooser)> OpenIntroList{
    "OpenIntroList"};
// The intro slide editor: the saved number, or nothing when cancelled.
inline WindowOperation<std::optional<qlonglong>(std::optional<qlonglong> slide)> EditIntroSlide{
    "EditIntroSlide"};

// A picture file chosen in the file dialog with the name filter ("JPeg
// file-ok (*.jpg)"); empty when cancelled.
inline WindowOperation<QString(const QString& filter)> ChooseWebPicture{"ChooseWebPicture"};

// The web messages "Üzenetek": with a message number the list starts with
// every message, on that one; without, with those not acknowledged yet.
inline WindowOperation<void(std::optional<qlonglong> message)> OpenWebMessages{"OpenWebMessages"};

} // namespace kml
