#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// The banners "Webáruház - Bannerek": BannerListDefinition on the
// list-window pattern, with "Másol" (Ctrl+C); never a chooser.
class Tfrm_TorzsBanner final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsBanner(QWidget* parent = nullptr);

    // OpenBannerList with the real window.
    static void Run();
};

} // namespace kml
