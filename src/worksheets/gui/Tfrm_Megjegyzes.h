#pragma once

#include "patterns/gui/ListWindow.h"

class QPlainTextEdit;
class QSplitter;

namespace kml {

class PictureView;

// "Megjegyzések": the notes of a customer, work sheet or device, newest
// first; below the grid the current note's text and a preview of its
// attached picture; "Megnéz" (F3) opens the attachment with the desktop's
// program (worksheets/Notes.h says which files it refuses).
class Tfrm_Megjegyzes final : public ListWindow {
    Q_OBJECT
public:
    Tfrm_Megjegyzes(int id, int kind, QWidget* parent = nullptr);

    // BrowseNotes.
    static void Run(int id, int kind);

    QPlainTextEdit* noteText() const { return m_text; }
    PictureView* preview() const { return m_preview; }

protected:
    void rowChanged() override;
    void showEvent(QShowEvent* event) override;

private:
    QSplitter* m_lower = nullptr;
    QPlainTextEdit* m_text = nullptr;
    PictureView* m_preview = nullptr;
    bool m_split = false;
};

} // namespace kml
