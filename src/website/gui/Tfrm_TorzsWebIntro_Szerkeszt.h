#pragma once

#include "patterns/gui/EditWindow.h"

#include <optional>

namespace kml {

class PictureView;

// The intro slide editor "Intro": the title, and on two pages the slide's
// text ("Szöveg") and its picture with "Háttérkép feltöltés" ("Kép"; the
// slide is stored first, so that a new one has its number, then the chosen
// JPEG is fitted into 640 x 480 as the slide's picture, locally and on the
// website's picture server). Enter moves on except in the text; Ctrl+Enter
// is OK.
class Tfrm_TorzsWebIntro_Szerkeszt final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsWebIntro_Szerkeszt(QWidget* parent = nullptr);

    // EditIntroSlide with the real window: nothing creates a slide. The
    // saved slide's number, or nothing when cancelled (a slide stored by the
    // picture button stays stored).
    static std::optional<qlonglong> Run(std::optional<qlonglong> slide, QWidget* parent = nullptr);

    PictureView* picture() const { return m_picture; }
    // The picture button's work.
    void uploadPicture();
    // Shows the slide's picture file, when it has one.
    void showPicture();

private:
    PictureView* m_picture = nullptr;
};

} // namespace kml
