// The program entry: the application object (which routes every error that
// escapes an event handler to the application error handler), the real
// dialogs and start-up windows, the main window, the message loop.

#include "admin/BackupCommand.h"
#include "exchange/ExportCommand.h"
#include "foundation/Folders.h"
#include "foundation/gui/QtDialogs.h"
#include "foundation/gui/QtTranslations.h"
#include "reports/PdfCommand.h"
#include "shell/AppError.h"
#include "shell/BatchSession.h"
#include "shell/Version.h"
#include "shell/gui/GuiApplication.h"
#include "shell/gui/ShellWidgets.h"
#include "shell/gui/Tfrm_Main.h"
#include "shell/gui/Windows.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    // "KoravelML --pdf SHEET FILE [--blank] [--db NAME]": a sheet's printout
    // to a PDF file, no window shown.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // "--help" / "--version": what the program is and how it is started,
    // without a window (also how a packaged install is checked headless).
    if (arguments.size() == 2 &&
        (arguments.at(1) == QLatin1String("--help") || arguments.at(1) == QLatin1String("--version"))) {
        QTextStream out(stdout);
        out << kml::ApplicationTitle << ' ' << kml::ProgramVersion << " - munkalap nyilvántartás\n";
        if (arguments.at(1) == QLatin1String("--help"))
            out << "Indítás: KoravelML (ablakkal; a kapcsolatot a KoravelML.ini adja)\n"
                << kml::PdfCommandUsage << '\n'
                << kml::BackupCommandUsage << '\n'
                << kml::ExportCommandUsage << '\n';
        return 0;
    }
    if (kml::IsPdfCommand(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QTextStream err(stderr);
        return kml::RunPdfCommand(QCoreApplication::arguments(), &kml::OpenBatchSession, err);
    }
    // "KoravelML --backup FILE [--db NAME]": the data script of a database,
    // for scheduled backups; exit status 0 only for a complete file.
    if (kml::IsBackupCommand(arguments)) {
        QCoreApplication app(argc, argv);
        kml::InitFolders();
        QTextStream out(stdout);
        QTextStream err(stderr);
        return kml::RunBackupCommand(QCoreApplication::arguments(), out, err);
    }
    // "KoravelML --export NAME [--db NAME]": a saved export to its file and,
    // when it has FTP, its server, for a timer; exit status 0 only when all
    // of it was done.
    if (kml::IsExportCommand(arguments)) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return kml::RunExportCommand(QCoreApplication::arguments(), &kml::OpenBatchSession, out, err);
    }

    kml::GuiApplication app(argc, argv);
    // The application title; not the display name, which Qt would append to
    // every window's caption.
    QApplication::setApplicationName(kml::ApplicationTitle);
    kml::InstallQtHungarian();

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
