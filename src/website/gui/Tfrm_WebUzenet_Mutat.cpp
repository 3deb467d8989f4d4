#include "website/gui/Tfrm_WebUzenet_Mutat.h"

#include "foundation/Conversions.h"
#include "foundation/Settings.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/ListController.h"
#include "website/WebMessages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {

namespace {

const QString WindowName = QStringLiteral("frm_WebUzenet_Mutat");

QLineEdit* ReadOnlyLine(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

} // namespace

Tfrm_WebUzenet_Mutat::Tfrm_WebUzenet_Mutat(const ListController& messages, QWidget* parent)
    : QDialog(parent) {
    setObjectName(WindowName);
    setWindowTitle(webmsg_text::ViewCaption);
    setSizeGripEnabled(true);
    QFont larger = font();
    larger.setPointSize(WindowFontSize() + 1);
    setFont(larger);

    const auto value = [&messages](const char* field) {
        return VarStr(messages.currentValue(QString::fromLatin1(field)));
    };
    m_name = ReadOnlyLine(this, "DBEdit1", value("ugyfel_nev"));
    auto* phone = ReadOnlyLine(this, "DBEdit2", value("telefon"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("DBMemo1"));
    m_text->setReadOnly(true);
    m_text->setPlainText(value("uzenet"));
    auto* received = ReadOnlyLine(this, "DBEdit3", value("rogzdat"));
    auto* mail = ReadOnlyLine(this, "DBEdit4", value("emil"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Ügyfél"), m_name);
    form->addRow(QStringLiteral("Telefon"), phone);
    form->addRow(QStringLiteral("Üzenet szövege"), m_text);
    form->addRow(QStringLiteral("Beérkezett"), received);
    form->addRow(QStringLiteral("E-mail"), mail);
    layout->addLayout(form, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    resize(520, 420);
    ok->setFocus(Qt::OtherFocusReason);
}

void Tfrm_WebUzenet_Mutat::Show(const ListController& messages, QWidget* parent) {
    Tfrm_WebUzenet_Mutat window(messages, parent);
    window.exec();
}

void Tfrm_WebUzenet_Mutat::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowBounds(this, WindowName);
    }
    QDialog::showEvent(event);
}

void Tfrm_WebUzenet_Mutat::done(int result) {
    if (m_placed)
        SaveWindowBounds(this, WindowName);
    QDialog::done(result);
}

} // namespace kml
