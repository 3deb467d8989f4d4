#include "shell/gui/ShellWidgets.h"

#include "foundation/ShellOpener.h"
#include "shell/AppError.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace kml {

QString WindowName(const QWidget* window) {
    if (!window)
        return {};
    if (!window->objectName().isEmpty())
        return window->objectName();
    QString name = QString::fromLatin1(window->metaObject()->className());
    name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    if (name.startsWith(QLatin1String("Tfrm_")))
        name.remove(0, 1);
    return name;
}

QString ActiveWindowName() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return WindowName(modal);
    return WindowName(QApplication::activeWindow());
}

void InstallGuiErrorEnvironment() {
    AppErrorEnvironment environment;
    environment.activeWindowName = [] { return ActiveWindowName(); };
    environment.openAddress = [](const QString& address) { OpenInShell(address); };
    SetAppErrorEnvironment(std::move(environment));
}

namespace {

class EnterFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && key->modifiers() == Qt::NoModifier) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(watched, &tab);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void EnterMovesOn(QWidget& window) {
    auto* filter = new EnterFilter(&window);
    for (QLineEdit* edit : window.findChildren<QLineEdit*>())
        edit->installEventFilter(filter);
}

} // namespace kml
