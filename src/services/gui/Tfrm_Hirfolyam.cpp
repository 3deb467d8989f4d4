#include "services/gui/Tfrm_Hirfolyam.h"

#include "foundation/ShellOpener.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {

namespace {
const QString WindowName = QStringLiteral("frm_Hirfolyam");
}

QPushButton* NewLinkButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral("QPushButton { color: #0000EE; text-align: left; border: none; }"));
    QFont underlined = button->font();
    underlined.setUnderline(true);
    button->setFont(underlined);
    return button;
}

Tfrm_Hirfolyam::Tfrm_Hirfolyam(const NewsItem& news, const QString& detailsAddress, QWidget* parent)
    : QDialog(parent), m_news(news), m_address(detailsAddress) {
    setObjectName(WindowName);
    setWindowTitle(maker_text::NewsCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(news.title);
    m_title->setObjectName(QStringLiteral("lblCim"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_text = new QLabel(news.text);
    m_text->setObjectName(QStringLiteral("lblSzoveg"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setMinimumWidth(360);
    auto* details = new QHBoxLayout;
    auto* caption = new QLabel(maker_text::NewsDetails);
    caption->setTextFormat(Qt::PlainText);
    m_link = NewLinkButton(detailsAddress);
    m_link->setObjectName(QStringLiteral("lblLink"));
    connect(m_link, &QPushButton::clicked, this, [this] {
        if (IsOpenableLink(m_address))
            OpenInShell(m_address);
    });
    details->addWidget(caption);
    details->addWidget(m_link, 1);
    m_dontShow = new QCheckBox(maker_text::NewsDontShow);
    m_dontShow->setObjectName(QStringLiteral("CheckBox1"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(m_title);
    layout->addWidget(m_text, 1);
    layout->addLayout(details);
    layout->addWidget(m_dontShow);
    layout->addWidget(buttons);
}

void Tfrm_Hirfolyam::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        LoadWindowBounds(this, WindowName);
    }
}

void Tfrm_Hirfolyam::done(int result) {
    SaveWindowBounds(this, WindowName);
    if (result == QDialog::Accepted && m_dontShow->isChecked())
        AcceptNews(m_news.number);
    QDialog::done(result);
}

void Tfrm_Hirfolyam::Show(const NewsItem& news, const QString& detailsAddress) {
    auto* window = new Tfrm_Hirfolyam(news, detailsAddress, QApplication::activeWindow());
    ApplyFontSize(window);
    window->setModal(false);
    window->show();
}

} // namespace kml
