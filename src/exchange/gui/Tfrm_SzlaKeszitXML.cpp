#include "exchange/gui/Tfrm_SzlaKeszitXML.h"

#include "foundation/gui/WidgetHelpers.h"
#include "patterns/gui/EditWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString kWindowName = QStringLiteral("frm_SzlaKeszitXML");

QLineEdit* NewEdit(const QString& text, int maxLength, QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

Tfrm_SzlaKeszitXML::Tfrm_SzlaKeszitXML(const InvoiceBuyer& buyer, QWidget* parent) : QDialog(parent) {
    setObjectName(kWindowName);
    setWindowTitle(invoice_text::WindowCaption);

    // Widths of the buyer columns of sp_szlafej.
    m_nev = NewEdit(buyer.nev, 100, this, "nev");
    m_adoszam = NewEdit(buyer.adoszam, 15, this, "adoszam");
    m_maganszemely = new QCheckBox(QStringLiteral("Magánszemély"), this);
    m_maganszemely->setObjectName(QStringLiteral("maganszemely"));
    m_maganszemely->setChecked(buyer.maganszemely);
    m_iranyitoszam = NewEdit(buyer.iranyitoszam, 10, this, "iranyitoszam");
    m_telepules = NewEdit(buyer.telepules, 50, this, "telepules");
    m_kozteruletNeve = NewEdit(buyer.kozterulet_neve, 50, this, "kozterulet_neve");
    m_kozteruletJellege = NewEdit(buyer.kozterulet_jellege, 50, this, "kozterulet_jellege");
    m_hazszam = NewEdit(buyer.hazszam, 50, this, "hazszam");
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Név"), m_nev);
    form->addRow(QStringLiteral("Adószám"), m_adoszam);
    form->addRow(QString(), m_maganszemely);
    form->addRow(QStringLiteral("Irányítószám"), m_iranyitoszam);
    form->addRow(QStringLiteral("Település"), m_telepules);
    form->addRow(QStringLiteral("Közterület"), m_kozteruletNeve);
    form->addRow(QStringLiteral("Közterület jellege"), m_kozteruletJellege);
    form->addRow(QStringLiteral("Házszám, épület, emelet, ajtó"), m_hazszam);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // Focus colour, Enter to the next control and Ctrl+Enter for OK, as in
    // every editor.
    m_behaviour = new EditorBehaviour(this);
    m_behaviour->setCtrlEnter([this] { accept(); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    ApplyFontSize(this);
    resize(480, sizeHint().height());
    m_nev->setFocus(Qt::OtherFocusReason);
}

InvoiceBuyer Tfrm_SzlaKeszitXML::buyer() const {
    InvoiceBuyer b;
    b.nev = m_nev->text();
    b.adoszam = m_adoszam->text();
    b.maganszemely = m_maganszemely->isChecked();
    b.iranyitoszam = m_iranyitoszam->text();
    b.telepules = m_telepules->text();
    b.kozterulet_neve = m_kozteruletNeve->text();
    b.kozterulet_jellege = m_kozteruletJellege->text();
    b.hazszam = m_hazszam->text();
    return b;
}

void Tfrm_SzlaKeszitXML::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowPos(this, kWindowName);
    }
    QDialog::showEvent(event);
}

void Tfrm_SzlaKeszitXML::done(int result) {
    if (m_placed)
        SaveWindowPos(this, kWindowName);
    QDialog::done(result);
}

bool Tfrm_SzlaKeszitXML::Run(InvoiceBuyer& buyer, QWidget* parent) {
    Tfrm_SzlaKeszitXML window(buyer, parent ? parent : QApplication::activeWindow());
    if (window.exec() != QDialog::Accepted)
        return false;
    buyer = window.buyer();
    return true;
}

} // namespace kml
