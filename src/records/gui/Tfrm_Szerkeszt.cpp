#include "records/gui/Tfrm_Szerkeszt.h"

#include "foundation/Settings.h"
#include "records/Customers.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kml {

namespace {

QLineEdit* NewEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLabel* NewLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

const QString Tfrm_Szerkeszt::TaxNumberMask = QStringLiteral("00000000-0-00;_");

Tfrm_Szerkeszt::Tfrm_Szerkeszt(QWidget* parent)
    : EditWindow(QStringLiteral("frm_Szerkeszt"), QStringLiteral("ugyfel"), parent) {
    setWindowTitle(customer_text::EditorCaption);

    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    auto* page = new QWidget(pages);
    page->setObjectName(QStringLiteral("TabSheet1"));
    pages->addTab(page, QStringLiteral("Általános adatok"));
    layout->addWidget(pages, 1);

    // Created in the order Enter moves through them.
    m_name = NewEdit(page, "DBEdit2");
    QFont big = m_name->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    m_name->setFont(big);
    m_discount = NewEdit(page, "DBEdit3");
    m_phone = NewEdit(page, "DBEdit7");
    // Wide enough for a full number with its area code, or two of them.
    m_phone->setMinimumWidth(
        m_phone->fontMetrics().horizontalAdvance(QStringLiteral("+36 30 123 4567, 06 1 234 5678")));
    m_email = NewEdit(page, "DBEdit4");
    m_postcode = NewEdit(page, "DBEdit8");
    m_town = NewEdit(page, "DBEdit9");
    m_address = NewEdit(page, "DBEdit10");
    m_contact = NewEdit(page, "DBEdit13");
    auto* firm = new QGroupBox(QStringLiteral("Cégforma"), page);
    firm->setObjectName(QStringLiteral("GroupBox1"));
    m_private = new QCheckBox(QStringLiteral("Magánszemély?"), firm);
    m_private->setObjectName(QStringLiteral("DBCheckBox1"));
    m_taxNumber = NewEdit(firm, "DBEdit1");
    m_taxNumber->setInputMask(TaxNumberMask);
    m_webUser = NewEdit(page, "DBEdit5");
    m_password = new QPushButton(QStringLiteral("Jelszó adása honlapon"), page);
    m_password->setObjectName(QStringLiteral("Button3"));
    m_password->setAutoDefault(false);
    m_remarks = new QPlainTextEdit(page);
    m_remarks->setObjectName(QStringLiteral("DBMemo2"));
    m_remarks->setTabChangesFocus(true);

    auto* grid = new QGridLayout(page);
    grid->addWidget(NewLabel(QStringLiteral("Ügyfél"), m_name, page), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(NewLabel(QStringLiteral("Kedv.%"), m_discount, page), 0, 4);
    grid->addWidget(m_discount, 0, 5);
    grid->addWidget(NewLabel(QStringLiteral("Telefon"), m_phone, page), 1, 0);
    grid->addWidget(m_phone, 1, 1, 1, 2);
    grid->addWidget(NewLabel(QStringLiteral("E-mail"), m_email, page), 1, 3);
    grid->addWidget(m_email, 1, 4, 1, 2);
    grid->addWidget(NewLabel(QStringLiteral("Irányítószám"), m_postcode, page), 2, 0);
    grid->addWidget(m_postcode, 2, 1);
    grid->addWidget(NewLabel(QStringLiteral("Város"), m_town, page), 2, 2);
    grid->addWidget(m_town, 2, 3, 1, 3);
    grid->addWidget(NewLabel(QStringLiteral("Cím"), m_address, page), 3, 0);
    grid->addWidget(m_address, 3, 1, 1, 5);
    grid->addWidget(NewLabel(QStringLiteral("Kapcsolattartó"), m_contact, page), 4, 0);
    grid->addWidget(m_contact, 4, 1, 1, 5);
    auto* firmLayout = new QHBoxLayout(firm);
    firmLayout->addWidget(m_private);
    firmLayout->addSpacing(16);
    firmLayout->addWidget(NewLabel(QStringLiteral("Adószám"), m_taxNumber, firm));
    firmLayout->addWidget(m_taxNumber, 1);
    grid->addWidget(firm, 5, 0, 1, 6);
    grid->addWidget(NewLabel(QStringLiteral("Belépőkód honlapon"), m_webUser, page), 6, 0);
    grid->addWidget(m_webUser, 6, 1, 1, 2);
    grid->addWidget(m_password, 6, 3, 1, 3);
    grid->addWidget(NewLabel(QStringLiteral("Megjegyzés"), m_remarks, page), 7, 0, Qt::AlignTop);
    grid->addWidget(m_remarks, 7, 1, 1, 5);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    setButtons(m_ok, m_cancel);

    const FieldOptions nameLike{.upcaseFirst = true};
    bindText(m_name, QStringLiteral("ugyfel_nev"), nameLike);
    bindNumber(m_discount, QStringLiteral("kedvezmeny"), nameLike);
    bindText(m_phone, QStringLiteral("telefon"));
    bindText(m_email, QStringLiteral("emil"));
    bindText(m_postcode, QStringLiteral("cim_irsz"));
    bindText(m_town, QStringLiteral("cim_varos"), nameLike);
    bindText(m_address, QStringLiteral("cim_cim"), nameLike);
    bindText(m_contact, QStringLiteral("kapcsolat"), nameLike);
    bindFlag(m_private, QStringLiteral("maganszemely"));
    bindText(m_taxNumber, QStringLiteral("adoszam"), nameLike);
    bindText(m_webUser, QStringLiteral("webuser"), nameLike);
    bindMemo(m_remarks, QStringLiteral("megjegyzes"));

    SetCustomerLimits(limits());
    setLeaveHandler(m_postcode, [this] { postcodeLeft(); });
    connect(m_password, &QPushButton::clicked, this, [this] { setWebPassword(); });

    resize(620, 440);
    m_name->setFocus(Qt::OtherFocusReason);
}

void Tfrm_Szerkeszt::postcodeLeft() {
    if (table().isActive() && FillTownFromPostcode(table(), Beall().alapVaros))
        showValues();
}

void Tfrm_Szerkeszt::setWebPassword() {
    if (table().isActive())
        SetCustomerWebPassword(table(), this);
}

bool Tfrm_Szerkeszt::validate() {
    return CheckCustomer(table(), this);
}

RowKey Tfrm_Szerkeszt::Run(RowKey customer, QWidget* parent) {
    Tfrm_Szerkeszt window(parent ? parent : QApplication::activeWindow());
    if (!customer) {
        window.startNew();
        SetNewCustomerDefaults(window.table(), Beall().alapVaros, QDate::currentDate());
        window.showValues();
    } else if (!window.startEdit(*customer)) {
        return std::nullopt;
    }
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey();
}

} // namespace kml
