// The program entry: the application object (which routes every error that
// escapes an event handler to the application error handler), the real
// dialogs and start-up windows, the main window, the message loop.

#include "foundation/gui/QtDialogs.h"
#include "shell/AppError.h"
#include "shell/gui/GuiApplication.h"
#include "shell/gui/ShellWidgets.h"
#include "shell/gui/Tfrm_Main.h"
#include "shell/gui/Windows.h"
#include "shell/Version.h"

int main(int argc, char** argv) {
    kml::GuiApplication app(argc, argv);
    // The application title; not the display name, which Qt would append to
    // every window's caption.
    QApplication::setApplicationName(kml::ApplicationTitle);

    kml::InstallTerminateHandler();
    kml::InstallGuiErrorEnvironment();
    kml::QtDialogs dialogs;
    kml::SetDialogBackend(&dialogs);
    kml::InstallWindows();

    try {
        kml::Tfrm_Main window;
        QObject::connect(&window, &kml::Tfrm_Main::closed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        // After a failed start-up the window is never shown: Timer2 closes it.
        if (!window.startupFailed())
            window.show();
        return QApplication::exec();
    } catch (...) {
        kml::HandleAppError(kml::AppErrorText(kml::CurrentExceptionText()));
        return 1;
    }
}
