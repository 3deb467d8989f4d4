#pragma once

#include "components/Query.h"
#include "patterns/gui/EditWindow.h"
#include "worksheets/WorkSheetEditing.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimeEdit;
class QToolButton;

namespace kml {

class GarmentDrawing;

// The work-sheet editor "Munkalap": the sheet's header, its description
// memos, lines, employees and, by trade, the garment or gas-appliance page,
// over one row of munkalap that stays in edit mode while the window is open.
// Every action that calls the server first saves what changed in the row
// and afterwards reads the row, the lines, the employees and the sums
// again; every write is refused, with the reason, once the sheet has been
// cancelled or locked (by its status) on another workstation, and the window
// then turns read-only. A locked sheet can only be viewed and printed.
//
// A new sheet is created before the window opens (BeginSheetEdit) and is
// removed again when the window is cancelled, unless it was printed or a
// later sheet exists; when it already has lines or employees the user is
// asked first.
class Tfrm_Munkalap final : public EditWindow {
    Q_OBJECT
public:
    // The pages, in tab order.
    enum Page { DescriptionPage, LinesPage, EmployeesPage, GarmentPage, GasPage };

    explicit Tfrm_Munkalap(const SheetOpening& opening, QWidget* parent = nullptr);
    ~Tfrm_Munkalap() override;

    // EditWorkSheet with the real window.
    static RowKey Run(RowKey sheet, RowKey customer, RowKey type, bool quotation, RowKey device,
                      QWidget* parent = nullptr);

    int sheet() const { return m_sheet; }
    bool isLocked() const { return m_locked; }
    // Still removed when the window is cancelled (a new sheet not printed).
    bool isNewSheet() const { return m_newSheet; }
    // The window's actions by name ("aUj", "aNyomtat", ...).
    QAction* action(const QString& name) const;
    QTabWidget* pages() const { return m_pages; }
    void showPage(Page page);

    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildDescriptionPage();
    QWidget* buildLinesPage();
    QWidget* buildEmployeesPage();
    QWidget* buildGarmentPage();
    QWidget* buildGasPage();
    void createActions();
    QAction* newAction(const char* name, const QString& caption, const QString& shortcut,
                       void (Tfrm_Munkalap::*slot)());

    // The row and what is shown from it, read again.
    void loadSheet();
    void readLists();
    void showSheetTexts();
    void showPayable();
    void showSums();
    void showLineDetail();
    void showGarment();
    void applyLock(bool locked);
    void updateActions();
    // The state on the server decides the lock again (after a refusal).
    void refreshLock();
    // Saves what changed in the row under the lock; false when refused.
    bool postSheet();
    // The deadline (and the editable arrival date) boxes into the row.
    void syncDates();
    void setDeadline(const QDateTime& deadline);
    void amountLeft(const QString& field);
    void run(const char* action);

    std::optional<int> currentLine() const;
    std::optional<int> currentEmployee() const;
    // The selected line for an action that needs one; nothing, after the
    // message, when there is none.
    std::optional<int> selectedLine();
    // Asks a price or discount (starting from start), saves the row, makes
    // the change with the number and reads the sheet again. A number refuse
    // gives a message for is shown that message and changes nothing.
    void changeLines(const QString& caption, const QString& prompt, double start,
                     const std::function<SheetWrite(double)>& change,
                     const std::function<std::optional<QString>(double)>& refuse = {});

    // Actions.
    void newRow();
    void editLine();
    void deleteRow();
    void changePrice();
    void lineDiscount();
    void sheetDiscount();
    void insertText();
    void printSheet();
    void previewSheet();
    void print(bool toPrinter);
    void cutText();
    void copyText();
    void pasteText();
    void editDevice();
    void bookPlanner();

    int m_sheet;
    int m_customer;
    int m_type;
    int m_device;
    int m_programType;
    bool m_newSheet;
    bool m_locked = false;
    bool m_garment = false;
    bool m_loading = false;

    Query m_lines;     // QryTetel: vw_munkalap_tetel
    Query m_employees; // QryDolg: vw_munkalap_dolgozo
    Query m_sums;      // QryMLapSum: vw_mlapsum

    std::map<QString, QAction*> m_actions;
    QPlainTextEdit* m_lastMemo = nullptr; // where "Beszúr" and the clipboard act

    // Header.
    QLineEdit* m_number = nullptr; // "Munkalap"
    QLineEdit* m_customerName = nullptr;
    QLineEdit* m_status = nullptr;
    QLineEdit* m_arrived = nullptr;     // datum, read-only
    QDateEdit* m_arrivedEdit = nullptr; // datum, when the arrival date may be changed
    QDateEdit* m_deadlineDate = nullptr;
    QTimeEdit* m_deadlineTime = nullptr;
    QPushButton* m_planner = nullptr;
    QLineEdit* m_finished = nullptr; // dat_kesz
    QLabel* m_deviceLabel = nullptr;
    QLineEdit* m_deviceText = nullptr;
    QPushButton* m_deviceButton = nullptr;
    QLabel* m_odometerLabel = nullptr;
    QLineEdit* m_odometer = nullptr; // kmora
    QLabel* m_typePanel = nullptr;
    QLineEdit* m_total = nullptr;    // ar_ossz
    QLineEdit* m_discount = nullptr; // ar_kedvezmeny
    QLineEdit* m_advance = nullptr;  // ar_eloleg
    QLineEdit* m_payable = nullptr;  // ar_fizetendo as computed
    QLineEdit* m_invoice = nullptr;  // szlaszam
    QPushButton* m_preview = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;

    // Pages.
    QTabWidget* m_pages = nullptr;
    QPlainTextEdit* m_request = nullptr;  // panasz
    QPlainTextEdit* m_workDone = nullptr; // vegzett_munka
    QPlainTextEdit* m_remarks = nullptr;  // megjegyzes
    QTableView* m_linesGrid = nullptr;    // DBGrid2 (short) or DBGrid3 (long)
    QToolButton* m_discountButton = nullptr;
    QAction* m_discountButtonAction = nullptr;
    std::map<QString, QLineEdit*> m_sumFields;
    QLabel* m_partNumber = nullptr; // egyeb of the selected line
    QTableView* m_employeesGrid = nullptr;
    QComboBox* m_front = nullptr; // m01
    QComboBox* m_side = nullptr;  // m02
    QComboBox* m_back = nullptr;  // m03
    GarmentDrawing* m_drawing = nullptr;
    std::vector<QWidget*> m_lockedFields; // read-only while the sheet is locked
};

} // namespace kml
