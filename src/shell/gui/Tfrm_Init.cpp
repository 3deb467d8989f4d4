#include "shell/gui/Tfrm_Init.h"

#include "foundation/gui/WidgetHelpers.h"
#include "shell/gui/ShellWidgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {
namespace {

QLineEdit* Field(const QString& name, const QString& text = {}) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setMaxLength(50);
    return edit;
}

QPushButton* Button(const QString& text, const QString& name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

Tfrm_Init::Tfrm_Init(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Init"));
    setWindowTitle(QStringLiteral("Adatbázis beállítás"));
    ApplyFontSize(this);

    m_host = Field(QStringLiteral("edtHost"));
    m_user = Field(QStringLiteral("edtUser"));
    m_password = Field(QStringLiteral("edtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_database = Field(QStringLiteral("edtDatabase"));
    m_displayName = Field(QStringLiteral("edtDisplayName"));
    m_port = Field(QStringLiteral("edtPort"), QStringLiteral("3306"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Kiszolgáló (webszerver) név, vagy IP cím"), m_host);
    form->addRow(QStringLiteral("Felhasználó"), m_user);
    form->addRow(QStringLiteral("Jelszó"), m_password);
    form->addRow(QStringLiteral("Tárhely, vagy adatbázis neve"), m_database);
    form->addRow(QStringLiteral("Adatbázis megjelenített neve"), m_displayName);
    form->addRow(QStringLiteral("Port"), m_port);

    QPushButton* test = Button(QStringLiteral("Kapcsolat tesztelése"), QStringLiteral("btnTest"));
    m_ok = Button(QStringLiteral("Rendben"), QStringLiteral("btnOk"));
    QPushButton* cancel = Button(QStringLiteral("Mégsem"), QStringLiteral("btnCancel"));
    m_ok->setEnabled(false);
    test->setDefault(true);
    connect(test, &QPushButton::clicked, this, &Tfrm_Init::testConnection);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(test);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // Ctrl+Enter in the host field is seen before Enter moves on.
    m_host->installEventFilter(this);
    EnterMovesOn(*this);
}

ConnectionEntry Tfrm_Init::entry() const {
    ConnectionEntry e;
    e.database = m_database->text();
    e.host = m_host->text();
    e.port = m_port->text();
    e.user = m_user->text();
    e.password = m_password->text();
    e.displayName = m_displayName->text();
    return e;
}

void Tfrm_Init::testConnection() {
    if (!TestConnectionEntry(entry()))
        return;
    m_ok->setEnabled(true);
    m_ok->setFocus();
}

bool Tfrm_Init::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_host && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers().testFlag(Qt::ControlModifier)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<QString> ShowInitWindow() {
    Tfrm_Init window;
    LoadWindowPos(&window, window.objectName());
    const int result = window.exec();
    SaveWindowPos(&window, window.objectName());
    if (result != QDialog::Accepted)
        return std::nullopt;
    return window.entry().text();
}

} // namespace kml
