#pragma once

#include <QTimer>
#include <QWidget>

namespace kml {

// The splash shown when the main window first appears: a borderless,
// always-on-top, centred 256 x 256 picture. After one second it fades: every
// 11 ms its opacity drops by 10 (of 255); at 33 or less it closes and frees
// itself.
class Tfrm_Logo final : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_Logo(QWidget* parent = nullptr);

    // Creates the splash and shows it; it frees itself.
    static Tfrm_Logo* Splash();

    int alpha() const { return m_alpha; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fade();

    QTimer m_wait;
    QTimer m_fade;
    int m_alpha = 255;
};

} // namespace kml
