#include "shell/gui/Tfrm_Logo.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace kml {
namespace {

constexpr int Size = 256;
constexpr int WaitMs = 1000;
constexpr int FadeStepMs = 11;
constexpr int FadeStep = 10;
constexpr int ClosingAlpha = 33;

} // namespace

Tfrm_Logo::Tfrm_Logo(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frm_Logo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(Size, Size);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_wait.setSingleShot(true);
    m_wait.setInterval(WaitMs);
    m_fade.setInterval(FadeStepMs);
    connect(&m_wait, &QTimer::timeout, &m_fade, qOverload<>(&QTimer::start));
    connect(&m_fade, &QTimer::timeout, this, &Tfrm_Logo::fade);
    m_wait.start();
}

Tfrm_Logo* Tfrm_Logo::Splash() {
    auto* logo = new Tfrm_Logo;
    logo->show();
    return logo;
}

void Tfrm_Logo::fade() {
    m_alpha -= FadeStep;
    if (m_alpha <= ClosingAlpha) {
        m_fade.stop();
        close();
        return;
    }
    setWindowOpacity(m_alpha / 255.0);
}

void Tfrm_Logo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath badge;
    badge.addRoundedRect(QRectF(rect()).adjusted(8, 8, -8, -8), 36, 36);
    p.fillPath(badge, QColor(0x80, 0x80, 0x80));
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xB9), 6));
    p.drawPath(badge);

    QFont title = font();
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 70, width(), 60), Qt::AlignCenter, QStringLiteral("Koravel"));
    title.setPixelSize(56);
    p.setFont(title);
    p.setPen(QColor(0xFF, 0xFF, 0xB9));
    p.drawText(QRect(0, 125, width(), 70), Qt::AlignCenter, QStringLiteral("ML"));
}

} // namespace kml
