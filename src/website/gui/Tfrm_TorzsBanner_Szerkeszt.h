#pragma once

#include "patterns/gui/EditWindow.h"

#include <optional>

namespace kml {

enum class BannerPicture;

// The banner editor "Banner szerkesztés": heading, link, text, the note on
// picture sizes, "Háttérkép feltöltés" and "Kis kép feltöltés" (each stores
// the banner first, so that a new one has its number, then the picture
// under the banner's name, locally and on the website's picture server),
// OK and Mégsem. Enter moves on except in the text; Ctrl+Enter is OK.
class Tfrm_TorzsBanner_Szerkeszt final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsBanner_Szerkeszt(QWidget* parent = nullptr);

    // EditBanner with the real window: nothing creates a banner. The saved
    // banner's number, or nothing when cancelled (a banner stored by a
    // picture button stays stored).
    static std::optional<qlonglong> Run(std::optional<qlonglong> banner, QWidget* parent = nullptr);

    // A picture button's work (also what the buttons run).
    void uploadPicture(BannerPicture kind);
};

} // namespace kml
