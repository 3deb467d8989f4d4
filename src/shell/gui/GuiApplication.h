#pragma once

#include <QApplication>

namespace kml {

// The application object. Every exception that escapes an event handler
// (a slot, a paint or key handler, a timer) is caught where Qt delivers the
// event and handed to the application error handler, as
// "frm_Main.<last action>-" + its message; the event counts as not handled
// and the program goes on.
class GuiApplication final : public QApplication {
    Q_OBJECT
public:
    GuiApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The handler of last resort for an exception that escaped everything else
// (std::terminate): logs it through the error handler, then ends the program.
void InstallTerminateHandler();

} // namespace kml
