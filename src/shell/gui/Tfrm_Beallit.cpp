#include "shell/gui/Tfrm_Beallit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kml {

namespace {

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit* NewEdit(QWidget* parent, const char* name) {
    return Named(new QLineEdit(parent), name);
}

QCheckBox* NewCheck(const QString& caption, QWidget* parent, const char* name) {
    return Named(new QCheckBox(caption, parent), name);
}

QGroupBox* NewGroup(const QString& caption, QWidget* parent, const char* name) {
    return Named(new QGroupBox(caption, parent), name);
}

QPushButton* NewBrowseButton(QWidget* parent, const char* name) {
    auto* button = Named(new QPushButton(QStringLiteral("..."), parent), name);
    button->setAutoDefault(false);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    return button;
}

// An edit with its browse button beside it.
QHBoxLayout* WithButton(QLineEdit* edit, QPushButton* button) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit, 1);
    row->addWidget(button);
    return row;
}

QWidget* NewPage(QTabWidget* pages, const QString& caption, const char* name) {
    auto* page = Named(new QWidget(pages), name);
    pages->addTab(page, caption);
    return page;
}

// Fields of one column: the caption on the left, the field on the right.
QFormLayout* NewForm(QWidget* parent = nullptr) {
    auto* form = new QFormLayout(parent);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return form;
}

} // namespace

const QString Tfrm_Beallit::PennartFileFilter = QStringLiteral("Pennart (Pennart.exe);;Minden fájl (*)");

Tfrm_Beallit::Tfrm_Beallit(QWidget* parent)
    : EditWindow(QStringLiteral("frm_Beallit"), QStringLiteral("beallit"), parent) {
    setWindowTitle(settings_text::WindowCaption);

    auto* layout = new QVBoxLayout(this);
    m_pages = Named(new QTabWidget(this), "PageControl1");
    layout->addWidget(m_pages, 1);

    // Fields are created in the order Enter moves through them.

    // ---- Általános
    QWidget* general = NewPage(m_pages, QStringLiteral("Általános"), "TabSheet1");
    auto* deadline = NewEdit(general, "mlaphatid");
    deadline->setMaximumWidth(80);
    m_printer = Named(new QComboBox(general), "AlapNyomtato");
    m_printer->setEditable(true);
    m_printer->setInsertPolicy(QComboBox::NoInsert);
    m_fullScreen = NewCheck(QStringLiteral("Megnyitáskor teljes képernyő"), general, "TeljesKep");
    auto* login = NewCheck(QStringLiteral("Belépésnél jelszót kér"), general, "vanbelep");
    auto* formats = NewGroup(QStringLiteral("Szám formátum"), general, "GroupBox1");
    m_quantityFormat = NewEdit(formats, "FormatDb");
    m_moneyFormat = NewEdit(formats, "FormatFt");
    m_programType = Named(new QComboBox(general), "prgtipus");
    auto* codes = NewGroup(QStringLiteral("Automatikus cikkszám"), general, "GroupBox2");
    auto* autoCode = NewCheck(QStringLiteral("Automatikus cikkszám"), codes, "autocikkszam");
    auto* codeLength = NewEdit(codes, "autocikkszamhossz");
    codeLength->setMaximumWidth(80);
    auto* dateChange = NewCheck(QStringLiteral("Munkalap dátum módosítható"), general, "mlapdatummodosit");
    auto* comebackDays = NewEdit(general, "visszateres_nap");
    comebackDays->setMaximumWidth(80);
    comebackDays->setToolTip(
        QStringLiteral("Ha a készülék előző munkalapja ennyi napon belül készült el, az új "
                       "munkalap visszatérő javítás lehet. 0: nincs figyelés."));

    auto* generalForm = NewForm(general);
    generalForm->addRow(QStringLiteral("Munkalap hatidő (nap)"), deadline);
    generalForm->addRow(QStringLiteral("Alapértelmezett nyomtató"), m_printer);
    generalForm->addRow(m_fullScreen);
    generalForm->addRow(login);
    auto* formatForm = NewForm(formats);
    formatForm->addRow(QStringLiteral("Mennyiség formátum"), m_quantityFormat);
    formatForm->addRow(QStringLiteral("Pénz formátum"), m_moneyFormat);
    generalForm->addRow(formats);
    generalForm->addRow(QStringLiteral("Program típusa"), m_programType);
    auto* codeForm = NewForm(codes);
    codeForm->addRow(autoCode);
    codeForm->addRow(QStringLiteral("Cikkszám hossza (max 15)"), codeLength);
    generalForm->addRow(codes);
    generalForm->addRow(dateChange);
    generalForm->addRow(QStringLiteral("Visszatérő javítás figyelése (nap)"), comebackDays);

    // ---- Autószerelő
    QWidget* garage = NewPage(m_pages, QStringLiteral("Autószerelő"), "TabSheet2");
    auto* showDiscount =
        NewCheck(QStringLiteral("Adott kedvezményt munkalapon megjelenít"), garage, "kedvmutat");
    auto* garageLayout = new QVBoxLayout(garage);
    garageLayout->addWidget(showDiscount);
    garageLayout->addStretch(1);

    // ---- Számlázó program kapcsolat
    QWidget* invoicing = NewPage(m_pages, QStringLiteral("Számlázó program kapcsolat"), "TabSheet3");
    auto* pennartGroup = NewGroup(QStringLiteral("Pennart kapcsolat"), invoicing, "GroupBox3");
    m_vanPennart = NewCheck(QStringLiteral("Van Pennart kapcsolat"), pennartGroup, "VanPennart");
    m_pennart = NewEdit(pennartGroup, "Pennart");
    auto* pennartBrowse = NewBrowseButton(pennartGroup, "PennartBrowse");
    auto* vatRate = NewEdit(invoicing, "afakulcs");
    vatRate->setMaximumWidth(80);
    auto* invoiceNote = Named(new QPlainTextEdit(invoicing), "szlamegjegyzes");
    invoiceNote->setTabChangesFocus(true);

    auto* invoicingForm = NewForm(invoicing);
    auto* pennartForm = NewForm(pennartGroup);
    pennartForm->addRow(m_vanPennart);
    pennartForm->addRow(QStringLiteral("Pennart program helye"), WithButton(m_pennart, pennartBrowse));
    invoicingForm->addRow(pennartGroup);
    invoicingForm->addRow(QStringLiteral("Áfa kulcs"), vatRate);
    auto* noteLabel = new QLabel(QStringLiteral("Megjegyzés a számlán"), invoicing);
    noteLabel->setBuddy(invoiceNote);
    invoicingForm->addRow(noteLabel);
    invoicingForm->addRow(invoiceNote);

    // ---- Honlap
    QWidget* website = NewPage(m_pages, QStringLiteral("Honlap"), "TabSheet4");
    auto* ftp = NewGroup(QStringLiteral("Képek másolása FTP-re"), website, "GroupBox4");
    auto* host = NewEdit(ftp, "kephost");
    auto* user = NewEdit(ftp, "kepuser");
    auto* password = NewEdit(ftp, "keppwd");
    password->setEchoMode(QLineEdit::Password);
    password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // masked with "*"
    auto* folder = NewEdit(ftp, "kepfolder");
    auto* port = NewEdit(ftp, "kepport");
    port->setMaximumWidth(80);
    auto* upload = NewCheck(QStringLiteral("Képek automatikus feltöltése"), ftp, "kepftp");
    auto* letters = NewGroup(QStringLiteral("Levél küldés"), website, "GroupBox5");
    auto* letterLink = NewEdit(letters, "levelkuldlink");
    auto* status = NewGroup(QStringLiteral("Munkalap állapot"), website, "GroupBox6");
    auto* statusLink = NewEdit(status, "allapotlink");
    statusLink->setPlaceholderText(QStringLiteral("https://.../allapot.php?id=%id%&key=%key%"));
    statusLink->setToolTip(
        QStringLiteral("A munkalap állapotának címe a honlapon; a nyomtatott munkalapon QR kóddal együtt "
                       "jelenik meg.\n%id%: a munkalap száma, %key%: a munkalap kulcsa.\nÜresen hagyva "
                       "nem nyomtat QR kódot."));
    m_pictureFolder = NewEdit(website, "Kepek");
    auto* pictureBrowse = NewBrowseButton(website, "KepekBrowse");

    auto* websiteForm = NewForm(website);
    auto* ftpForm = NewForm(ftp);
    ftpForm->addRow(QStringLiteral("Kiszolgáló"), host);
    ftpForm->addRow(QStringLiteral("Felhasználó"), user);
    ftpForm->addRow(QStringLiteral("Jelszó"), password);
    ftpForm->addRow(QStringLiteral("Távoli mappa"), folder);
    ftpForm->addRow(QStringLiteral("Port"), port);
    ftpForm->addRow(upload);
    websiteForm->addRow(ftp);
    auto* letterForm = NewForm(letters);
    letterForm->addRow(QStringLiteral("Levélküldés link"), letterLink);
    websiteForm->addRow(letters);
    auto* statusForm = NewForm(status);
    statusForm->addRow(QStringLiteral("Állapot link"), statusLink);
    auto* statusHint = new QLabel(
        QStringLiteral("%id%: munkalapszám, %key%: kulcs (üres: nincs QR kód a munkalapon)"), status);
    statusHint->setEnabled(false);
    statusForm->addRow(statusHint);
    websiteForm->addRow(status);
    websiteForm->addRow(QStringLiteral("Képek mappája"), WithButton(m_pictureFolder, pictureBrowse));

    // ---- Buttons
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "btnOK");
    auto* cancel = Named(new QPushButton(QStringLiteral("Mégsem"), this), "btnMegsem");
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    setButtons(ok, cancel);

    bindNumber(deadline, QStringLiteral("mlaphatid"));
    bindFlag(login, QStringLiteral("vanbelep"));
    bindFlag(autoCode, QStringLiteral("autocikkszam"));
    bindNumber(codeLength, QStringLiteral("autocikkszamhossz"));
    bindFlag(dateChange, QStringLiteral("mlapdatummodosit"));
    bindNumber(comebackDays, QStringLiteral("visszateres_nap"));
    bindFlag(showDiscount, QStringLiteral("kedvmutat"));
    bindNumber(vatRate, QStringLiteral("afakulcs"));
    bindMemo(invoiceNote, QStringLiteral("szlamegjegyzes"));
    bindText(host, QStringLiteral("kephost"));
    bindText(user, QStringLiteral("kepuser"));
    bindText(password, QStringLiteral("keppwd"));
    bindText(folder, QStringLiteral("kepfolder"));
    bindNumber(port, QStringLiteral("kepport"));
    bindFlag(upload, QStringLiteral("kepftp"));
    bindText(letterLink, QStringLiteral("levelkuldlink"));
    bindText(statusLink, QStringLiteral("allapotlink"));

    SetSettingsLimits(limits());

    connect(pennartBrowse, &QPushButton::clicked, this, [this] { browsePennart(); });
    connect(pictureBrowse, &QPushButton::clicked, this, [this] { browsePictureFolder(); });

    resize(520, 460);
    m_pages->setCurrentIndex(0);
    deadline->setFocus(Qt::OtherFocusReason);
}

void Tfrm_Beallit::setValues(const SettingsValues& values) {
    m_values = values;
    m_vanPennart->setChecked(values.vanPennart);
    m_pennart->setText(values.pennart);
    m_fullScreen->setChecked(values.teljesKep);
    m_printer->clear();
    m_printer->addItems(QPrinterInfo::availablePrinterNames());
    m_printer->setCurrentText(values.alapNyomtato);
    m_quantityFormat->setText(values.formatDb);
    m_moneyFormat->setText(values.formatFt);
    m_pictureFolder->setText(values.kepek);
    m_programType->clear();
    m_programType->addItems(values.programTypeNames);
    m_programType->setCurrentIndex(values.programType);
}

SettingsValues Tfrm_Beallit::values() const {
    SettingsValues values = m_values;
    values.vanPennart = m_vanPennart->isChecked();
    values.pennart = m_pennart->text();
    values.teljesKep = m_fullScreen->isChecked();
    values.alapNyomtato = m_printer->currentText();
    values.formatDb = m_quantityFormat->text();
    values.formatFt = m_moneyFormat->text();
    values.kepek = m_pictureFolder->text();
    values.programType = m_programType->currentIndex();
    return values;
}

void Tfrm_Beallit::accept() {
    // Not the pattern's post: EditSettings writes the row together with the
    // per-workstation values once the window has closed. A value out of its
    // limits keeps the window open.
    if (!limits().check(table(), this))
        return;
    QDialog::accept();
}

void Tfrm_Beallit::browsePennart() {
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Pennart program helye"),
                                                        m_pennart->text(), PennartFileFilter);
    if (!chosen.isEmpty())
        m_pennart->setText(chosen);
}

void Tfrm_Beallit::browsePictureFolder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Képek mappája"), m_pictureFolder->text());
    if (!chosen.isEmpty())
        m_pictureFolder->setText(chosen);
}

bool Tfrm_Beallit::Run(Table& row, SettingsValues& values, QWidget* parent) {
    Tfrm_Beallit window(parent ? parent : QApplication::activeWindow());
    window.table() = row;
    window.showValues();
    window.setValues(values);
    const bool ok = window.exec() == QDialog::Accepted;
    row = window.table();
    values = window.values();
    return ok;
}

} // namespace kml
