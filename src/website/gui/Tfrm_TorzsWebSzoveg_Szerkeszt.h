#pragma once

#include "patterns/gui/EditWindow.h"

#include <optional>

class QsciScintilla;

namespace kml {

// The web text editor "Web szöveg szerkesztés": key, title, the flags "Ez
// HTML?" and "Ez menüpont a láblécben?" and the text in an editor with HTML
// highlighting that fills the window. Enter moves on except in the text;
// Ctrl+Enter is OK; OK refuses an empty key. The rest is the editing-window
// pattern.
class Tfrm_TorzsWebSzoveg_Szerkeszt final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsWebSzoveg_Szerkeszt(QWidget* parent = nullptr);

    // EditWebText with the real window: nothing creates a text. The saved
    // text's number, or nothing when cancelled (or there is no such text).
    static std::optional<qlonglong> Run(std::optional<qlonglong> text, QWidget* parent = nullptr);

    QsciScintilla* body() const { return m_body; }

    // OK: a row the server refuses is told as "Hibás, vagy hiányos
    // adatmegadás" with the server's reason, and the window stays open.
    void accept() override;

protected:
    bool validate() override;

private:
    void showBody();

    QsciScintilla* m_body = nullptr;
    bool m_loading = false;
};

// An editor with HTML highlighting in the window's font, lines wrapped.
QsciScintilla* NewHtmlEditor(QWidget* parent);

} // namespace kml
