#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kml::test {

// Runs act on the modal window of type W as soon as it is shown. A window
// still open five seconds later is closed and the test fails, so that a
// failing test cannot hang.
template <typename W> void WhenModal(std::function<void(W*)> act) {
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    auto acted = std::make_shared<bool>(false);
    started->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, started, acted, act] {
        QWidget* modal = QApplication::activeModalWidget();
        W* window = qobject_cast<W*>(modal);
        if (!*acted && window && window->isVisible()) {
            *acted = true;
            act(window);
            return;
        }
        if (*acted && !window) {
            timer->stop();
            timer->deleteLater();
        } else if (started->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << (*acted ? "the window did not close" : "the expected window did not open");
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        }
    });
    timer->start();
}

} // namespace kml::test
