#pragma once

#include "services/MakerServices.h"

#include <QFrame>
#include <optional>

class QLabel;
class QPushButton;

namespace kml {

// The maker's message at the bottom of the main window (panel "pUzenet"):
// the first unread row of uzenet as plain text, its link when it has one
// (opened only when it is an http, https or mailto address), and the
// buttons. A message that may be dismissed for good is blue with both
// "Rendben" and "Rendben / többet ne figyelmeztessen"; one shown only once is
// light red with "Rendben" alone. Both buttons hide the panel.
class MakerMessagePanel final : public QFrame {
    Q_OBJECT
public:
    explicit MakerMessagePanel(QWidget* parent = nullptr);

    // ShowMakerMessage: fills the panel from uzenet and shows it; hidden and
    // false when there is no unread message.
    bool showMakerMessage();

    static const QColor& DismissableColour(); // 00 80 C0
    static const QColor& OnceColour();        // FF 80 80

    int shownMessage() const { return m_number; }
    QLabel* textLabel() const { return m_text; }
    QPushButton* linkButton() const { return m_link; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* okForGoodButton() const { return m_okForGood; }

private:
    void acknowledge(bool forGood);

    int m_number = 0;
    QString m_address;
    QLabel* m_text = nullptr;
    QPushButton* m_link = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_okForGood = nullptr;
};

} // namespace kml
