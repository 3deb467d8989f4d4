#pragma once

// The editing-window pattern: every record editor (customer, device, type,
// lookup row, item, dictionary text, work-sheet type, letter text, ...) is a
// EditWindow that edits one row of one table through a kml::Table.
//
// What every editor gets from here:
//   - bindings between widgets and the row's columns (text, number, memo,
//     I/N check box, combo box text, read-only display); a change typed by
//     the user goes into the Table at once, and setFieldValue() puts a value
//     into the Table and every widget bound to it, so the window's logic
//     works on the Table alone;
//   - text edits limited to their column's width (Table::maxLength);
//   - EditorBehaviour: the focused edit field painted light blue (#A6CAF0),
//     Enter moving to the next control (except in multi-line fields and on
//     buttons), Ctrl+Enter accepting where the window asks for it, the first
//     letter typed into an empty name-like field upper-cased (UpcaseFirstKey);
//   - OK checks the row's numbers (limits()), runs validate() and then
//     posts the row while the window is still
//     open: a refused validation or a failed post (the error goes on to the
//     application error handler) leaves the window open with the input
//     intact;
//   - Esc, "Mégsem" and the close box on a changed row ask first ("A
//     módosítások elvesznek. Bezárod mentés nélkül?", Igen/Nem); Nem keeps
//     the window open with everything typed. An unchanged row closes at once;
//   - the position (and size, when resizable) restored from and saved to the
//     ini section named after the window; font size Betumeret.
//
// An operation runs an editor like this:
//
//     Tfrm_Szerkeszt w(parent);
//     if (!customer) { w.startNew(); ...defaults via w.setFieldValue... }
//     else if (!w.startEdit(*customer)) return std::nullopt;
//     return w.exec() == QDialog::Accepted ? w.savedKey() : std::nullopt;
//
// EditorBehaviour is usable on its own by windows that edit more than one
// row (the work-sheet editor).

#include "components/Table.h"
#include "foundation/FieldLimits.h"
#include "foundation/RowKey.h"
#include "patterns/EditorDefinition.h"

#include <QColor>
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QVariant>
#include <functional>
#include <map>
#include <vector>

class QAbstractButton;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QsciScintilla;

namespace kml {

namespace edit_text {
inline const QString DiscardChangesQuestion =
    QStringLiteral("A módosítások elvesznek. Bezárod mentés nélkül?");
} // namespace edit_text

// Light blue: the edit field that has the focus.
inline const QColor kFocusColor{0xA6, 0xCA, 0xF0};

// Moves the focus from the window's focused control to the next one in the
// tab order.
void FocusNextControl(QWidget* window);

class EditorBehaviour final : public QObject {
    Q_OBJECT
public:
    // Watches the key and focus events of every widget inside window.
    explicit EditorBehaviour(QWidget* window);
    ~EditorBehaviour() override;

    // A key typed while the field is empty is upper-cased (a..z only).
    void setUpcaseFirst(QWidget* field);
    // Ctrl+Enter in any control of the window calls accept.
    void setCtrlEnter(std::function<void()> accept) { m_ctrlEnter = std::move(accept); }

    // The kinds of widget that are painted when focused, and those in which
    // Enter stays a line break.
    static bool isEditField(const QWidget* widget);
    static bool isMultiLine(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool inWindow(const QWidget* widget) const;
    QWidget* paintTarget(QWidget* widget) const;
    void paintFocus(QWidget* widget, bool focused);

    QPointer<QWidget> m_window;
    QSet<const QWidget*> m_upcaseFirst;
    std::function<void()> m_ctrlEnter;
    QPointer<QWidget> m_painted;
    bool m_hadOwnPalette = false;
    QPalette m_savedPalette;
};

class EditWindow : public QDialog {
    Q_OBJECT
public:
    EditWindow(const QString& windowName, const QString& tableName, QWidget* parent = nullptr);
    ~EditWindow() override;

    const QString& windowName() const { return m_name; }
    Table& table() { return m_table; }
    const Table& table() const { return m_table; }
    EditorBehaviour* behaviour() const { return m_behaviour; }

    // A new row (the server's defaults for what is not set) / the row with
    // that key; false when there is no such row.
    void startNew();
    bool startEdit(const QVariant& key);

    // Bindings. A field may be bound to several widgets.
    void bindText(QLineEdit* edit, const QString& field, FieldOptions options = {});
    void bindNumber(QLineEdit* edit, const QString& field, FieldOptions options = {});
    void bindMemo(QPlainTextEdit* memo, const QString& field);
    void bindFlag(QCheckBox* box, const QString& field); // checked = 'I', unchecked = 'N'
    void bindComboText(QComboBox* combo, const QString& field, FieldOptions options = {});
    void bindDisplay(QLineEdit* box, const QString& field); // read-only: dates, looked-up texts
    void bindHtml(QsciScintilla* editor, const QString& field);

    QVariant fieldValue(const QString& field) const { return m_table.value(field); }
    void setFieldValue(const QString& field, const QVariant& value);
    // Every bound widget shows the row's value again.
    void showValues();

    // Runs handler when the focus leaves field for another control of the
    // window (not when another window comes to the front).
    void setLeaveHandler(QWidget* field, std::function<void()> handler);

    // OK and Cancel; OK is also what Ctrl+Enter presses when asked to.
    void setButtons(QPushButton* ok, QPushButton* cancel);
    // The usual row of them at the bottom right of layout: "OK" (Button1)
    // and "Mégsem" (Button2), set as the window's buttons.
    void addOkCancel(QBoxLayout* layout);
    void setCtrlEnterAccepts(bool on);
    // Resizable editors keep their size too.
    void setResizable(bool on);

    // The limits OK checks the row's numbers against before posting: every
    // numeric column's range for free, captions from the bound widgets'
    // labels; a window adds narrower limits with limits().setRange().
    FieldLimits& limits() { return m_limits; }

    // Whether closing now would lose something the user changed: the row
    // differs from what it was when the window was shown (or last saved,
    // markClean). A window with more than its row overrides it.
    virtual bool isDirty() const;
    // What the window shows now counts as saved.
    void markClean();
    // True when closing loses nothing, or the user agreed to lose it.
    bool confirmDiscard();

    // The row's key after a successful OK; nothing before, and for a key
    // that is not a number (savedKeyValue() has it then: the dictionary's
    // title).
    RowKey savedKey() const { return KeyOf(m_savedKey); }
    const QVariant& savedKeyValue() const { return m_savedKey; }

    void accept() override;
    void reject() override;
    void done(int result) override;

protected:
    // Checks before the row is posted; false keeps the window open (the
    // check has told the user why).
    virtual bool validate() { return true; }

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Forgets the changes and closes as cancelled, without asking.
    void discardAndClose();
    // Runs the leave handler of the focused control, if it has one (OK
    // pressed without leaving the field).
    void leaveFocusedField();

private:
    enum class Kind { Text, Number, Memo, Flag, Combo, Display, Html };
    struct Binding {
        Kind kind;
        QPointer<QWidget> widget;
        QString field;
        FieldOptions options;
    };
    void bind(Kind kind, QWidget* widget, const QString& field, FieldOptions options);
    QStringList rowSnapshot() const;
    void showBinding(const Binding& binding);
    void store(const Binding& binding, const QVariant& value);
    QString displayText(const QVariant& value, Kind kind) const;

    QString m_name;
    Table m_table;
    FieldLimits m_limits;
    EditorBehaviour* m_behaviour;
    std::vector<Binding> m_bindings;
    std::map<const QObject*, std::function<void()>> m_leaveHandlers;
    QPointer<QPushButton> m_ok;
    bool m_resizable = false;
    bool m_placed = false;
    bool m_loading = false;
    QVariant m_savedKey;
    QStringList m_clean; // the row as last shown or saved (rowSnapshot)
};

} // namespace kml
