#include "shell/gui/GuiApplication.h"

#include "shell/AppError.h"

#include <cstdlib>
#include <exception>

namespace kml {

GuiApplication::GuiApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuiApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleAppError(AppErrorText(CurrentExceptionText()));
        return false;
    }
}

void InstallTerminateHandler() {
    std::set_terminate([] {
        if (std::current_exception())
            HandleAppError(AppErrorText(CurrentExceptionText()));
        std::abort();
    });
}

} // namespace kml
