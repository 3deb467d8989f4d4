#pragma once

#include "worksheets/LineItems.h"

#include <QDialog>
#include <functional>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kml {

class EditorBehaviour;

// The line editor "Sor hozzáadása": one line of a work sheet in a record of
// its own, on the layout page of the shop's trade. Leaving a quantity or
// price recalculates the line (also when OK or Ctrl+Enter leaves it; not
// when the focus only goes to another window); OK hands the line to the
// server (LineItems.h). Nothing is written before OK.
class Tfrm_SorHozza final : public QDialog {
    Q_OBJECT
public:
    // line -1: a new line. The record is where the fields start from.
    Tfrm_SorHozza(int sheet, int line, const LineRecord& record, int programType, QWidget* parent = nullptr);

    // EditWorkSheetLine with the real window.
    static bool Run(int sheet, int line, QWidget* parent = nullptr);

    const LineRecord& record() const { return m_record; }
    // The layout page of the trade (one tab, captioned by the trade).
    QTabWidget* pages() const { return m_pages; }

    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* numberEdit(const char* name);
    void readFields();
    void showFields();
    void leave(QObject* field);
    void onLeave(QLineEdit* field, std::function<void()> recalculate);
    void grossUp();
    void changeItem();

    int m_sheet;
    int m_line;
    int m_programType;
    LineRecord m_record;
    LineRecord m_read; // a stored line as it was read: saved only while it still holds that
    bool m_placed = false;
    EditorBehaviour* m_behaviour = nullptr;
    std::map<QObject*, std::function<void()>> m_leaveHandlers;

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
