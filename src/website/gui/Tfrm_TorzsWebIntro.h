#pragma once

#include "patterns/gui/ListWindow.h"

#include <optional>

namespace kml {

enum class SlideDirection;

// The intro slides "Intro": IntroListDefinition on the list-window pattern,
// the slide's text under the grid, "Feljebb" (Ctrl+Up) and "Lejjebb"
// (Ctrl+Down) moving the current slide with its pictures, and "Másol"
// (Ctrl+C, the sort column). "Új sor", "Szerkeszt" and "Töröl" only for
// administrators and record-maintenance users. After the first search the
// list keeps only slides with a title.
class Tfrm_TorzsWebIntro final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsWebIntro(QWidget* parent = nullptr);

    // OpenIntroList with the real window.
    static std::optional<qlonglong> Run(std::optional<qlonglong> select, bool chooser);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Hides the row-changing actions from users who may not change slides.
    void showRights();
    void move(qlonglong slide, SlideDirection direction);

    bool m_searched = false;
};

} // namespace kml
