#pragma once

// Typing as a user does, for window tests: QTest::keyClicks knows only the
// ASCII keys, while users type "ő" and "ű".

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

namespace kml::test {

// Each character of text as a key press and release carrying it, sent to
// widget (its letter case as given).
inline void TypeInto(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const int key =
            c.isLetterOrNumber() && c.unicode() < 128 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Makes a shown window the active one, so that focus and keys reach it.
inline bool Activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

} // namespace kml::test
