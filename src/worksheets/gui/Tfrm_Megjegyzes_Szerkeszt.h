#pragma once

#include "components/Table.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kml {

// "Megjegyzés szerkesztés": the title, the text and the attached file's
// path of one note. "Elfogad" (Ctrl+Enter) saves it, refusing a path the
// database could not keep; "Bezár" (Esc) drops the changes after asking.
class Tfrm_Megjegyzes_Szerkeszt final : public QDialog {
    Q_OBJECT
public:
    // The note (-1: a new one of the record id of the kind); throws
    // std::invalid_argument when the note does not exist.
    Tfrm_Megjegyzes_Szerkeszt(int note, int kind, int id, QWidget* parent = nullptr);

    // EditNote: the saved note's number, or -1.
    static int Run(int note, int kind, int id);

    QLineEdit* titleEdit() const { return m_title; }
    QPlainTextEdit* textEdit() const { return m_text; }
    QLineEdit* linkEdit() const { return m_link; }
    int savedNote() const { return m_saved; }

    // "Elfogad": saves and closes; false (window open) when refused.
    bool accept_();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isChanged() const;
    void browse();

    Table m_row{QStringLiteral("megj")};
    QLabel* m_heading = nullptr;
    QLineEdit* m_title = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QLineEdit* m_link = nullptr;
    QPushButton* m_browse = nullptr;
    int m_saved = -1;
    bool m_placed = false;
    bool m_closing = false;
};

} // namespace kml
