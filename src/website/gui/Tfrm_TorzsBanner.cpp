#include "website/gui/Tfrm_TorzsBanner.h"

#include "website/WebContent.h"
#include "website/gui/WebListCopy.h"

#include <QApplication>

namespace kml {

Tfrm_TorzsBanner::Tfrm_TorzsBanner(QWidget* parent) : ListWindow(BannerListDefinition(), parent) {
    AddCopyAction(*this, LastClickedColumn(*this));
}

void Tfrm_TorzsBanner::Run() {
    Tfrm_TorzsBanner window(QApplication::activeWindow());
    window.choose(std::nullopt, false, web_text::BannerListCaption);
}

} // namespace kml
