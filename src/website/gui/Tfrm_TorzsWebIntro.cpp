#include "website/gui/Tfrm_TorzsWebIntro.h"

#include "foundation/Settings.h"
#include "website/WebContent.h"
#include "website/gui/WebListCopy.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>

namespace kml {

Tfrm_TorzsWebIntro::Tfrm_TorzsWebIntro(QWidget* parent) : ListWindow(IntroListDefinition(), parent) {
    addRowAction(QStringLiteral("aFeljebb"), QStringLiteral("Feljebb"), QKeySequence(Qt::CTRL | Qt::Key_Up),
                 [this](qlonglong slide) { move(slide, SlideDirection::Up); });
    addRowAction(QStringLiteral("aLejjebb"), QStringLiteral("Lejjebb"), QKeySequence(Qt::CTRL | Qt::Key_Down),
                 [this](qlonglong slide) { move(slide, SlideDirection::Down); });
    AddCopyAction(*this, [this] { return sortField(); });

    showRights();

    // The list's own search ran first with the opening condition; from the
    // first search on, only titled slides are listed.
    connect(searchBox(), &QLineEdit::textChanged, this, [this] {
        if (m_searched)
            return;
        m_searched = true;
        setBaseCondition(IntroSearchedCondition);
        search();
    });
}

void Tfrm_TorzsWebIntro::showRights() {
    const bool maintains = Beall().rendszergazda || Beall().torzsszerkeszt;
    for (const char* name : {"aUj", "aSzerkeszt", "aTorol", "aFeljebb", "aLejjebb"})
        if (QAction* action = listAction(QString::fromLatin1(name))) {
            action->setVisible(maintains);
            action->setEnabled(maintains);
        }
}

void Tfrm_TorzsWebIntro::showEvent(QShowEvent* event) {
    // Choosing the window's mode shows the maintenance actions again.
    showRights();
    ListWindow::showEvent(event);
}

void Tfrm_TorzsWebIntro::move(qlonglong slide, SlideDirection direction) {
    SeenSlide seen;
    seen.number = slide;
    seen.title = currentValue(QStringLiteral("webintro_nev"));
    seen.text = currentValue(QStringLiteral("szoveg"));
    const SlideMove moved = MoveSlideWithPictures(seen, direction, this);
    if (moved.outcome == SlideMove::Outcome::Moved)
        reread(moved.to);
    else if (moved.outcome == SlideMove::Outcome::Changed)
        reread(slide);
}

std::optional<qlonglong> Tfrm_TorzsWebIntro::Run(std::optional<qlonglong> select, bool chooser) {
    Tfrm_TorzsWebIntro window(QApplication::activeWindow());
    const ChosenRow chosen = window.choose(select, chooser, web_text::IntroListCaption);
    return chooser ? chosen.key : std::nullopt;
}

} // namespace kml
