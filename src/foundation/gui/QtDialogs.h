#pragma once

// The dialog backend that shows real Qt windows: system-style message boxes
// with Hungarian buttons and the small designed input windows. Install it
// once at start-up:
//
//     QtDialogs dialogs;
//     SetDialogBackend(&dialogs);
//
// The input windows are classes of their own, named after their windows,
// so that tests can find them (qobject_cast on the active modal widget) and
// drive their widgets by object name:
//
//   frm_InpStr    lblPrompt, edtText, btnOk, btnCancel
//   frm_Inp       lblPrompt, edtNumber, btnOk, btnCancel
//   frm_Datumbe   dtpDate, btnOk, btnCancel
//   frm_Valasztas btnFirst, btnSecond (context menu action actCancel)
//   frm_Radio     grpItems holding rbItem0, rbItem1, ..., btnOk, btnCancel
//   dlgMasked     lblPrompt, edtMasked, btnOk, btnCancel
//
// Each designed window applies the font size Betumeret and restores its
// position from the ini section named after it (frm_InpStr, which can be
// widened, also its width) and saves it when it closes.

#include "foundation/Dialogs.h"

#include <QDialog>

class QButtonGroup;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace kml {

class QtDialogs final : public DialogBackend {
public:
    bool showMessage(const MessageBoxRequest& request) override;
    std::optional<QString> askText(const TextRequest& request, const TextCheck& check) override;
    std::optional<QString> askNumber(const NumberRequest& request) override;
    std::optional<QDate> askDate(const DateRequest& request) override;
    int askTwoWay(const TwoWayRequest& request) override;
    int askRadio(const RadioRequest& request) override;
    std::optional<QString> askMasked(const MaskedRequest& request) override;
};

// One line of text; OK runs the check and stays open when it refuses.
class Tfrm_InpStr final : public QDialog {
    Q_OBJECT
public:
    Tfrm_InpStr(const TextRequest& request, TextCheck check, QWidget* parent = nullptr);
    QString text() const;
    void accept() override;

private:
    QLineEdit* m_edit = nullptr;
    TextCheck m_check;
};

// A number in a right-aligned edit that takes only digits, "," and "-".
class Tfrm_Inp final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Inp(const NumberRequest& request, QWidget* parent = nullptr);
    QString text() const;

private:
    QLineEdit* m_edit = nullptr;
};

// A date picker.
class Tfrm_Datumbe final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Datumbe(const DateRequest& request, QWidget* parent = nullptr);
    QDate date() const;

private:
    QDateEdit* m_picker = nullptr;
};

// Two large buttons; choice() is 0 or 1, or -1 when the window was cancelled.
class Tfrm_Valasztas final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Valasztas(const TwoWayRequest& request, QWidget* parent = nullptr);
    int choice() const { return m_choice; }

private:
    int m_choice = -1;
};

// A radio group; selectedIndex() is the checked item, -1 when none.
class Tfrm_Radio final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Radio(const RadioRequest& request, QWidget* parent = nullptr);
    int selectedIndex() const;

private:
    QButtonGroup* m_group = nullptr;
};

} // namespace kml
