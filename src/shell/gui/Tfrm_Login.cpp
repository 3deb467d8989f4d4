#include "shell/gui/Tfrm_Login.h"

#include "foundation/gui/WidgetHelpers.h"
#include "shell/Login.h"
#include "shell/gui/ShellWidgets.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kml {
namespace {

QPushButton* Button(const QString& text, const QString& name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

Tfrm_Login::Tfrm_Login(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Login"));
    setWindowTitle(LoginCaption);
    ApplyFontSize(this);

    m_user = new QLineEdit;
    m_user->setObjectName(QStringLiteral("edtUser"));
    m_password = new QLineEdit;
    m_password->setObjectName(QStringLiteral("edtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Felhasználó"), m_user);
    form->addRow(QStringLiteral("Jelszó"), m_password);

    QPushButton* ok = Button(QStringLiteral("OK"), QStringLiteral("btnOk"));
    QPushButton* cancel = Button(QStringLiteral("Mégsem"), QStringLiteral("btnCancel"));
    QPushButton* newPassword = Button(QStringLiteral("Új jelszó"), QStringLiteral("btnNewPassword"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tfrm_Login::logIn);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(newPassword, &QPushButton::clicked, this, &Tfrm_Login::changePassword);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newPassword);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    EnterMovesOn(*this);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

template <typename F> void Tfrm_Login::guarded(F&& step) {
    try {
        step();
    } catch (...) {
        m_error = std::current_exception();
        reject();
    }
}

void Tfrm_Login::logIn() {
    guarded([this] {
        if (CheckLogin(m_user->text(), m_password->text()))
            accept();
    });
}

void Tfrm_Login::changePassword() {
    guarded([this] { ChangePassword(m_user->text(), m_password->text()); });
}

bool ShowLoginWindow() {
    Tfrm_Login window;
    const int result = window.exec();
    if (window.error())
        std::rethrow_exception(window.error());
    return result == QDialog::Accepted;
}

} // namespace kml
