#include "shell/gui/Tfrm_Nevjegy.h"

#include "foundation/gui/WidgetHelpers.h"
#include "shell/Version.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString AboutWindowName = QStringLiteral("frm_Nevjegy");

QLabel* Label(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

Tfrm_Nevjegy::Tfrm_Nevjegy(QWidget* parent) : QDialog(parent) {
    setObjectName(AboutWindowName);
    setWindowTitle(QStringLiteral("Névjegy"));
    ApplyFontSize(this);

    QLabel* title = Label(QStringLiteral("Koravel.ML - Munkalap nyilvántartás"), QStringLiteral("lblTitle"));
    QLabel* product = Label(ApplicationTitle, QStringLiteral("lblProduct"));
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    QLabel* version = Label(QStringLiteral("V") + ProgramVersion, QStringLiteral("lblVersion"));
    QLabel* contact = Label(QStringLiteral("Tarnova Informatikai Kft.\n"
                                           "Web: www.tarnova.hu\n"
                                           "E-mail: info@tarnova.hu"),
                            QStringLiteral("lblContact"));
    contact->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(title);
    layout->addSpacing(12);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addSpacing(12);
    layout->addWidget(contact);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void Tfrm_Nevjegy::ShowAbout(QWidget* parent) {
    Tfrm_Nevjegy about(parent);
    about.exec();
}

void Tfrm_Nevjegy::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowPos(this, AboutWindowName);
    }
    QDialog::showEvent(event);
}

void Tfrm_Nevjegy::done(int result) {
    if (m_placed)
        SaveWindowPos(this, AboutWindowName);
    QDialog::done(result);
}

} // namespace kml
