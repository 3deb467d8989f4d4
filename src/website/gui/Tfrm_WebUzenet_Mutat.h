#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace kml {

class ListController;

// The message view "Üzenet": the current message of the web messages list,
// read-only, as plain text (the visitor's own words, never interpreted):
// "Ügyfél", "Telefon", "Üzenet szövege", "Beérkezett", "E-mail" and "OK".
// Its font is one point larger than the program's.
class Tfrm_WebUzenet_Mutat final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_WebUzenet_Mutat(const ListController& messages, QWidget* parent = nullptr);

    // Shows the list's current message modally.
    static void Show(const ListController& messages, QWidget* parent = nullptr);

    QPlainTextEdit* messageText() const { return m_text; }
    QLineEdit* sender() const { return m_name; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_text = nullptr;
    bool m_placed = false;
};

} // namespace kml
