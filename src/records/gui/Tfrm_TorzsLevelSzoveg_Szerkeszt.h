#pragma once

#include "patterns/gui/EditWindow.h"

class QsciScintilla;

namespace kml {

// The letter-text editor "Levélszöveg szerkesztés": subject, own title, the
// "Ez HTML szöveg" flag and the body in an editor with HTML highlighting
// that fills the window. Enter moves on except in the body; Ctrl+Enter is
// OK. The rest is the editing-window pattern.
class Tfrm_TorzsLevelSzoveg_Szerkeszt final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsLevelSzoveg_Szerkeszt(QWidget* parent = nullptr);

    // EditLetterText with the real window: nothing creates a letter. The
    // saved letter's number, or nothing when cancelled (or when there is no
    // such letter).
    static RowKey Run(RowKey letter, QWidget* parent = nullptr);

    QsciScintilla* body() const { return m_body; }

private:
    // The body editor shows the row's szoveg.
    void showBody();

    QsciScintilla* m_body = nullptr;
    bool m_loading = false;
};

} // namespace kml
