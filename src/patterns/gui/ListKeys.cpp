#include "patterns/gui/ListKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace kml {

QString SearchStartText(const QString& typed) {
    if (typed.size() != 1)
        return {};
    const QChar c = typed.at(0).toLower();
    static const QString accented = QStringLiteral("áéíóöőúüű");
    if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
        (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || accented.contains(c))
        return QString(c);
    return {};
}

SearchKeyHandover::SearchKeyHandover(QLineEdit* searchBox, QObject* parent)
    : QObject(parent), m_search(searchBox) {
    searchBox->installEventFilter(this);
}

void SearchKeyHandover::addGrid(QAbstractItemView* grid) {
    m_grids.emplace_back(grid);
    grid->installEventFilter(this);
    if (!m_target && !m_resolver)
        m_target = grid;
}

void SearchKeyHandover::setHandoverGrid(QAbstractItemView* grid) {
    m_target = grid;
}

void SearchKeyHandover::setHandoverResolver(std::function<QAbstractItemView*()> resolver) {
    m_resolver = std::move(resolver);
}

QAbstractItemView* SearchKeyHandover::handoverGrid() const {
    return m_resolver ? m_resolver() : m_target.data();
}

bool SearchKeyHandover::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched == m_search && m_enterHandsOver) {
        // Enter handing over wins over a window shortcut on Enter ("Elfogad").
        const int code = static_cast<QKeyEvent*>(event)->key();
        if (code == Qt::Key_Return || code == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_search) {
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!m_enterHandsOver)
                return false;
            [[fallthrough]];
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (QAbstractItemView* grid = handoverGrid(); grid && grid->isVisible()) {
                grid->setFocus(Qt::OtherFocusReason);
                return true;
            }
            return false;
        default:
            return false;
        }
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = SearchStartText(key->text());
    if (text.isEmpty() || !m_search)
        return false;
    m_search->setFocus(Qt::OtherFocusReason);
    m_search->setText(text);
    m_search->setCursorPosition(int(text.size()));
    return true;
}

WheelToArrowKeys::WheelToArrowKeys(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

WheelToArrowKeys::~WheelToArrowKeys() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool WheelToArrowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || m_suspended || !m_window || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != m_window && !m_window->isAncestorOf(widget))
        return false;
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (delta == 0)
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (!focus || (focus != m_window && !m_window->isAncestorOf(focus)))
        return true;
    const int code = delta > 0 ? Qt::Key_Up : Qt::Key_Down;
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier);
    QApplication::sendEvent(focus, &release);
    return true;
}

} // namespace kml
