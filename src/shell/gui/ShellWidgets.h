#pragma once

// Small widget helpers of the application shell.

#include <QString>

class QWidget;

namespace kml {

// A window's name as the ini file, the error log and the error report know
// it: its object name ("frm_Main" for Tfrm_Main); for a window without one,
// its class name without the namespace and the leading "T".
QString WindowName(const QWidget* window);

// The name of the window the user works in: the open modal window, else the
// active window; "" when there is none.
QString ActiveWindowName();

// Installs the error handler's windowing side: the active window's name and
// the default browser for the report address.
void InstallGuiErrorEnvironment();

// Enter (without modifiers) in any line edit of the window moves the focus
// to the next field, as the program's forms do. Call once the window's
// fields exist.
void EnterMovesOn(QWidget& window);

} // namespace kml
