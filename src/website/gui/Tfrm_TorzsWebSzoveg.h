#pragma once

#include "patterns/gui/ListWindow.h"

#include <optional>

namespace kml {

// The web texts "Webáruház szövegezése": WebTextListDefinition on the
// list-window pattern, with "Másol" (Ctrl+C).
class Tfrm_TorzsWebSzoveg final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsWebSzoveg(QWidget* parent = nullptr);

    // OpenWebTextList with the real window.
    static std::optional<qlonglong> Run(std::optional<qlonglong> select, bool chooser);
};

} // namespace kml
