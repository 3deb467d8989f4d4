#pragma once

#include <QDialog>
#include <exception>

class QLineEdit;

namespace kml {

// "Belépés azonosítás": user name and password; "OK" logs in (the window
// stays open after a refused try), "Mégsem" gives up, "Új jelszó" changes the
// password. Enter moves to the next field. A server error during a check
// closes the window and is raised again by ShowLoginWindow, so that start-up
// reports it and stops.
// Widgets by object name: edtUser, edtPassword, btnOk, btnCancel, btnNewPassword.
class Tfrm_Login final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Login(QWidget* parent = nullptr);

    void logIn();
    void changePassword();
    // The error that ended the window, if one did.
    std::exception_ptr error() const { return m_error; }

private:
    template <typename F> void guarded(F&& step);

    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    std::exception_ptr m_error;
};

// Login's window: true when a user logged in.
bool ShowLoginWindow();

} // namespace kml
