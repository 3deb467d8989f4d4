#include "reports/gui/Tfrm_NyomValaszt.h"

#include "components/gui/ReportPrinting.h"
#include "foundation/Dialogs.h"
#include "foundation/gui/WidgetHelpers.h"
#include "reports/ReportWindows.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString kWindowName = QStringLiteral("frm_NyomValaszt");

// Pictures of the three ways: a page under a magnifier, a printer, a table.
QPixmap Picture(int item) {
    QPixmap pixmap(72, 72);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen ink(QColor(0x30, 0x30, 0x40), 2);
    p.setPen(ink);
    switch (item) {
    case 0: // preview
        p.setBrush(Qt::white);
        p.drawRect(10, 6, 40, 54);
        for (int y = 16; y < 52; y += 7)
            p.drawLine(16, y, 44, y);
        p.setBrush(QColor(0xD8, 0xE8, 0xFF, 200));
        p.drawEllipse(QPointF(44, 42), 13, 13);
        p.setPen(QPen(QColor(0x30, 0x30, 0x40), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(53, 51), QPointF(64, 62));
        break;
    case 1: // printer
        p.setBrush(Qt::white);
        p.drawRect(20, 6, 32, 22);
        p.setBrush(QColor(0x9A, 0xA4, 0xB4));
        p.drawRoundedRect(8, 26, 56, 26, 4, 4);
        p.setBrush(Qt::white);
        p.drawRect(18, 44, 36, 22);
        p.drawLine(24, 52, 48, 52);
        p.drawLine(24, 58, 44, 58);
        p.setBrush(QColor(0x40, 0xC0, 0x40));
        p.drawEllipse(54, 31, 5, 5);
        break;
    default: // delimited file
        p.setBrush(Qt::white);
        p.drawRect(8, 10, 56, 52);
        p.setBrush(QColor(0x3C, 0x9A, 0x50));
        p.drawRect(8, 10, 56, 11);
        for (int y = 32; y < 62; y += 10)
            p.drawLine(8, y, 64, y);
        for (int x = 27; x < 64; x += 18)
            p.drawLine(x, 10, x, 62);
        break;
    }
    return pixmap;
}

int Run(Tfrm_NyomValaszt& window) {
    ApplyFontSize(&window);
    LoadWindowPos(&window, kWindowName);
    const int result = window.exec();
    SaveWindowPos(&window, kWindowName);
    return result;
}

} // namespace

Tfrm_NyomValaszt::Tfrm_NyomValaszt(const QStringList& printers, bool editablePrinter, QWidget* parent)
    : QDialog(parent) {
    setObjectName(kWindowName);
    setWindowTitle(print_choice::Caption);

    auto* group = new QGroupBox(print_choice::Caption, this);
    group->setObjectName(QStringLiteral("grpMode"));
    auto* groupLayout = new QVBoxLayout(group);
    m_items = new QButtonGroup(this);
    for (int i = 0; i < print_choice::Items.size(); ++i) {
        auto* item = new QRadioButton(print_choice::Items.at(i), group);
        item->setObjectName(QStringLiteral("rbItem%1").arg(i));
        m_items->addButton(item, i);
        groupLayout->addWidget(item);
    }
    groupLayout->addStretch();
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("lblPicture"));
    m_picture->setFixedSize(80, 80);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);

    auto* top = new QHBoxLayout;
    top->addWidget(group, 1);
    top->addWidget(m_picture, 0, Qt::AlignTop);

    m_printerLabel = new QLabel(QStringLiteral("Nyomtató"), this);
    m_printerLabel->setObjectName(QStringLiteral("lblPrinter"));
    m_printer = new QComboBox(this);
    m_printer->setObjectName(QStringLiteral("cmbPrinter"));
    m_printer->setEditable(editablePrinter);
    m_printer->addItems(printers);
    m_printer->setMinimumWidth(260);
    m_printerLabel->setBuddy(m_printer);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(dialog_text::Ok, this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(dialog_text::Cancel, this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_printerLabel);
    layout->addWidget(m_printer);
    layout->addLayout(buttons);

    connect(m_items, &QButtonGroup::idClicked, this, [this] { itemChanged(); });
    connect(m_items, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            itemChanged();
    });
    selectItem(print_choice::Preview);
    setFixedSize(sizeHint());
}

int Tfrm_NyomValaszt::selectedItem() const {
    return m_items->checkedId();
}

void Tfrm_NyomValaszt::selectItem(int item) {
    if (QAbstractButton* button = m_items->button(item))
        button->setChecked(true);
    itemChanged();
}

void Tfrm_NyomValaszt::itemChanged() {
    const int item = selectedItem();
    const bool printer = print_choice::PrinterBoxEnabled(item);
    m_printer->setEnabled(printer);
    m_printerLabel->setEnabled(printer);
    m_picture->setPixmap(Picture(item));
}

QString Tfrm_NyomValaszt::printerText() const {
    return m_printer->currentText();
}
int Tfrm_NyomValaszt::printerIndex() const {
    return m_printer->currentIndex();
}

void Tfrm_NyomValaszt::setPrinterText(const QString& text) {
    const int at = m_printer->findText(text, Qt::MatchFixedString);
    if (at >= 0)
        m_printer->setCurrentIndex(at);
    if (m_printer->isEditable())
        m_printer->setEditText(text);
}

void Tfrm_NyomValaszt::setPrinterIndex(int index) {
    m_printer->setCurrentIndex(index);
}

int Tfrm_NyomValaszt::AskMode(QString& printer) {
    return AskMode(printer, report::InstalledPrinters());
}

int Tfrm_NyomValaszt::AskModeIndex(int& printerIndex) {
    return AskModeIndex(printerIndex, report::InstalledPrinters());
}

int Tfrm_NyomValaszt::AskMode(QString& printer, const QStringList& printers) {
    Tfrm_NyomValaszt window(printers, true, QApplication::activeWindow());
    window.setPrinterText(print_choice::InitialPrinterName(printer, printers));
    if (Run(window) != QDialog::Accepted)
        return -1;
    printer = window.printerText();
    return window.selectedItem();
}

int Tfrm_NyomValaszt::AskModeIndex(int& printerIndex, const QStringList& printers) {
    Tfrm_NyomValaszt window(printers, false, QApplication::activeWindow());
    window.setPrinterIndex(print_choice::InitialPrinterIndex(printerIndex, int(printers.size())));
    if (Run(window) != QDialog::Accepted)
        return -1;
    printerIndex = window.printerIndex();
    return window.selectedItem();
}

} // namespace kml
