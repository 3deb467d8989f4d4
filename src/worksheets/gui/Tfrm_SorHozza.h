#pragma once

#include "patterns/gui/EditWindow.h"
#include "worksheets/LineItems.h"

#include <QStringList>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kml {

// The line editor "Sor hozzáadása": one line of a work sheet in a record of
// its own, on the layout page of the shop's trade. Leaving a quantity or
// price recalculates the line (also when OK or Ctrl+Enter leaves it; not
// when the focus only goes to another window); OK hands the line to the
// server (LineItems.h). Nothing is written before OK; Esc, "Mégsem" and the
// close box on a changed line ask before dropping it (EditWindow).
class Tfrm_SorHozza final : public EditWindow {
    Q_OBJECT
public:
    // line -1: a new line. The record is where the fields start from.
    Tfrm_SorHozza(int sheet, int line, const LineRecord& record, int programType, QWidget* parent = nullptr);

    // EditWorkSheetLine with the real window.
    static bool Run(qlonglong sheet, RowKey line, QWidget* parent = nullptr);

    const LineRecord& record() const { return m_record; }
    // The layout page of the trade (one tab, captioned by the trade).
    QTabWidget* pages() const { return m_pages; }

    void accept() override;
    // The line differs from what the window showed first: another item, or
    // a field's text.
    bool isDirty() const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* numberEdit(const char* name);
    QStringList fieldTexts() const;
    void readFields();
    void showFields();
    void onLeave(QLineEdit* field, std::function<void()> recalculate);
    void grossUp();
    void changeItem();

    int m_sheet;
    int m_line;
    int m_programType;
    LineRecord m_record;
    LineRecord m_read;        // a stored line as it was read: saved only while it still holds that
    int m_firstItem;          // the item the window opened with
    QStringList m_firstTexts; // the fields' texts when first shown

    QTabWidget* m_pages = nullptr;
    QLineEdit* m_code = nullptr; // "Tétel kód"
    QLineEdit* m_name = nullptr; // "Tétel neve"
    QPushButton* m_chooseItem = nullptr;
    QLineEdit* m_quantity = nullptr;      // "Mennyiség"
    QLineEdit* m_unitPrice = nullptr;     // "Egységár"
    QLineEdit* m_total = nullptr;         // "Összesen"
    QComboBox* m_remark = nullptr;        // "Megjegyzés"
    QLineEdit* m_purchasePrice = nullptr; // "Beszerzési ár"
    QLineEdit* m_other = nullptr;         // "Egyéb" / "Gyári cikkszám"
    QPushButton* m_grossUp = nullptr;     // "Bruttósítás"
    QLineEdit* m_listPrice = nullptr;     // "Listaár"
    QLineEdit* m_received = nullptr;      // "Kapott kedv%"
    QPushButton* m_applyReceived = nullptr;
    QLineEdit* m_given = nullptr; // "Adott kedv%"
    QPushButton* m_applyGiven = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace kml
