#pragma once

// The print-choice window "Nyomtatás típusa": preview, print on a printer,
// or export to a delimited file, with a picture of the chosen way. The
// printer box is an editable text (AskPrintMode) or a pick-only list
// (AskPrintModeIndex); it and its label are usable only while "Nyomtatás"
// is chosen.
//
// Widgets by object name: grpMode holding rbItem0..rbItem2, lblPicture,
// lblPrinter, cmbPrinter, btnOk, btnCancel.

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QComboBox;
class QLabel;

namespace kml {

class Tfrm_NyomValaszt final : public QDialog {
    Q_OBJECT
public:
    Tfrm_NyomValaszt(const QStringList& printers, bool editablePrinter, QWidget* parent = nullptr);

    int selectedItem() const;
    void selectItem(int item);
    QString printerText() const;
    int printerIndex() const;
    void setPrinterText(const QString& text);
    void setPrinterIndex(int index);

    // The operations' windows, modal over the active window; the printer
    // list is the installed printers'.
    static int AskMode(QString& printer);
    static int AskModeIndex(int& printerIndex);
    // The same over a given printer list (tests, machines without printers).
    static int AskMode(QString& printer, const QStringList& printers);
    static int AskModeIndex(int& printerIndex, const QStringList& printers);

private:
    void itemChanged();

    QButtonGroup* m_items = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_printerLabel = nullptr;
    QComboBox* m_printer = nullptr;
};

} // namespace kml
