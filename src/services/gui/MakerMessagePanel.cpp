#include "services/gui/MakerMessagePanel.h"

#include "foundation/ShellOpener.h"
#include "services/gui/Tfrm_Hirfolyam.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {

const QColor& MakerMessagePanel::DismissableColour() {
    static const QColor colour(0x00, 0x80, 0xC0);
    return colour;
}

const QColor& MakerMessagePanel::OnceColour() {
    static const QColor colour(0xFF, 0x80, 0x80);
    return colour;
}

MakerMessagePanel::MakerMessagePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pUzenet"));
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(this);
    auto* texts = new QVBoxLayout;
    m_text = new QLabel;
    m_text->setObjectName(QStringLiteral("lblUzenet"));
    m_text->setTextFormat(Qt::PlainText); // the maker's text is never markup here
    m_text->setWordWrap(true);
    QFont bold = m_text->font();
    bold.setBold(true);
    m_text->setFont(bold);
    m_link = NewLinkButton(QString());
    m_link->setObjectName(QStringLiteral("lblLink"));
    m_link->setStyleSheet(QStringLiteral("QPushButton { color: white; text-align: left; border: none; }"));
    connect(m_link, &QPushButton::clicked, this, [this] {
        if (IsOpenableLink(m_address))
            OpenInShell(m_address);
    });
    texts->addWidget(m_text);
    texts->addWidget(m_link);
    m_ok = new QPushButton(maker_text::MessageOk);
    m_ok->setObjectName(QStringLiteral("BtnUzenet1"));
    m_okForGood = new QPushButton(maker_text::MessageOkForGood);
    m_okForGood->setObjectName(QStringLiteral("BtnUzenet2"));
    connect(m_ok, &QPushButton::clicked, this, [this] { acknowledge(false); });
    connect(m_okForGood, &QPushButton::clicked, this, [this] { acknowledge(true); });
    row->addLayout(texts, 1);
    row->addWidget(m_ok);
    row->addWidget(m_okForGood);
    hide();
}

bool MakerMessagePanel::showMakerMessage() {
    const std::optional<MakerMessage> message = ReadMakerMessage();
    if (!message) {
        hide();
        return false;
    }
    m_number = message->number;
    m_address = message->link;
    QPalette p = palette();
    p.setColor(QPalette::Window, message->onlyOnce ? OnceColour() : DismissableColour());
    p.setColor(QPalette::WindowText, message->onlyOnce ? Qt::black : Qt::white);
    setPalette(p);
    m_text->setText(message->text);
    m_link->setText(message->link);
    m_link->setVisible(!message->link.isEmpty());
    m_link->setEnabled(IsOpenableLink(message->link));
    m_okForGood->setVisible(!message->onlyOnce);
    m_ok->setVisible(true);
    show();
    raise();
    return true;
}

void MakerMessagePanel::acknowledge(bool forGood) {
    hide();
    AcknowledgeMakerMessage(m_number, forGood);
}

} // namespace kml
