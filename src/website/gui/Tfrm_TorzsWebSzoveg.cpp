#include "website/gui/Tfrm_TorzsWebSzoveg.h"

#include "website/WebContent.h"
#include "website/gui/WebListCopy.h"

#include <QApplication>

namespace kml {

Tfrm_TorzsWebSzoveg::Tfrm_TorzsWebSzoveg(QWidget* parent) : ListWindow(WebTextListDefinition(), parent) {
    AddCopyAction(*this, LastClickedColumn(*this));
}

std::optional<qlonglong> Tfrm_TorzsWebSzoveg::Run(std::optional<qlonglong> select, bool chooser) {
    Tfrm_TorzsWebSzoveg window(QApplication::activeWindow());
    const ChosenRow chosen = window.choose(select, chooser, web_text::WebTextListCaption);
    return chooser ? chosen.key : std::nullopt;
}

} // namespace kml
