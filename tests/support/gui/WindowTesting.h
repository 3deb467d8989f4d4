#pragma once

// Small helpers of the window tests: typing as a user does (QTest::keyClicks
// knows only the ASCII keys, while users type "ő" and "ű"), making a window
// the active one, and saving a screenshot.

#include "TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

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

// The window as it looks, in build/screenshots/<name>.
inline void SaveScreenshot(QWidget* window, const QString& name) {
    const QString path = BuildPath(QStringLiteral("screenshots/") + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

} // namespace kml::test
