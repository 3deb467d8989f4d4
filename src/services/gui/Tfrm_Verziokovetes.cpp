#include "services/gui/Tfrm_Verziokovetes.h"

#include "foundation/gui/WidgetHelpers.h"
#include "services/MakerServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {

Tfrm_Verziokovetes::Tfrm_Verziokovetes(const QString& version, const QString& notice, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Verziokovetes"));
    setWindowTitle(maker_text::VersionCaption + QStringLiteral(": ") + version);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(maker_text::VersionHeading);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setTextFormat(Qt::PlainText);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    heading->setFont(bold);
    m_notice = new QLabel(notice);
    m_notice->setObjectName(QStringLiteral("Label2"));
    m_notice->setTextFormat(Qt::PlainText); // the maker's text is never markup here
    m_notice->setWordWrap(true);
    m_notice->setMinimumWidth(360);
    m_dontWarn = new QCheckBox(maker_text::VersionDontWarn);
    m_dontWarn->setObjectName(QStringLiteral("CheckBox1"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(heading);
    layout->addWidget(m_notice, 1);
    layout->addWidget(m_dontWarn);
    layout->addWidget(buttons);
}

bool Tfrm_Verziokovetes::Run(const QString& version, const QString& notice) {
    Tfrm_Verziokovetes window(version, notice, QApplication::activeWindow());
    ApplyFontSize(&window);
    const bool ok = window.exec() == QDialog::Accepted;
    return ok && window.m_dontWarn->isChecked();
}

} // namespace kml
