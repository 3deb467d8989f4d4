#pragma once

#include "patterns/gui/ListWindow.h"
#include "records/TextWindows.h"

namespace kml {

// The dictionary "Szótár": pre-written texts by title, the text of the
// current one under the grid. Its rows are keyed by their title, so "Új
// sor", "Szerkeszt" and "Töröl" are the window's own actions: they run
// EditDictionaryText and the deletion with the title, and move the list to
// the title saved (a rename moves the key). No right is needed.
class Tfrm_TorzsSzotar final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsSzotar(QWidget* parent = nullptr);

    // ChooseDictionaryText with this window: the search box holds search
    // (filtering at once); in chooser mode "Elfogad" returns the current
    // row's title and text, anything else an empty title.
    DictionaryText run(const QString& search, bool chooser);

private:
    QString currentTitle() const;
    void showTitle(const QString& title);
};

} // namespace kml
