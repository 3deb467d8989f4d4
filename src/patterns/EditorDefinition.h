#pragma once

// A simple record editor declared as a table of fields: which columns of
// which table it edits, with which caption and kind of control. The editing
// window pattern builds the window from it (patterns/gui/FormEditor.h):
// labelled controls in the order given, OK and Mégsem, the focus colour,
// Enter moving on, Ctrl+Enter pressing OK, the position kept in the ini
// file. A window with more to it derives from EditWindow instead. A window
// class that adds nothing to its table derives from FormEditor with a
// constructor passing its definition.
//
//     EditorDefinition d;
//     d.name = "frm_Torzsadat_Szerkeszt";  d.caption = "Gyártó";
//     d.table = "gyarto";
//     d.fields = {FieldOf("gyarto_nev", "Gyártó", EditorFieldKind::Text, {.upcaseFirst = true}),
//                 FieldOf("gyarto", "Kód", EditorFieldKind::Display)};
//     std::optional<qlonglong> saved = RunFormEditor(d, key);   // nothing: cancelled

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace kml {

class Table;

namespace edit_text {
inline const QString RowDeleted =
    QStringLiteral("A sort közben egy másik munkaállomáson törölték, ezért a módosítás nem menthető.");
inline const QString RowChanged =
    QStringLiteral("A sort közben egy másik munkaállomáson módosították, ezért a módosítás nem menthető. "
                   "Zárd be az ablakot, és nyisd meg újra a sort.");
} // namespace edit_text

struct FieldOptions {
    bool upcaseFirst = false; // first letter into an empty field in capitals
    bool upperCase = false;   // every letter stored in capitals (serial numbers)
};

enum class EditorFieldKind {
    Text,    // one line, limited to the column's width
    Number,  // digits, sign, decimal comma or point
    Memo,    // several lines; Enter stays a line break
    Flag,    // check box: 'I' checked, 'N' not
    Display, // read-only text of the column (keys, dates)
    Lookup,  // read-only text computed from the row, with a button that chooses
};

struct EditorField {
    QString field; // the column (Lookup: the key column the button sets)
    QString label; // caption before the control; a check box's own text
    EditorFieldKind kind = EditorFieldKind::Text;
    FieldOptions options;
    // Lookup: the text shown for the row, and the button's choice: true when
    // it changed the row (the window then shows the row again).
    std::function<QString(const Table& row)> display;
    std::function<bool(Table& row)> choose;
    // Lookup: where the focus goes after the button, chosen or not: the
    // control of this field; the control after the button when empty.
    QString focusAfterChoice;
};

// A field of the table: the column, its caption, its kind and options.
inline EditorField FieldOf(const QString& field, const QString& label,
                           EditorFieldKind kind = EditorFieldKind::Text, FieldOptions options = {}) {
    EditorField f;
    f.field = field;
    f.label = label;
    f.kind = kind;
    f.options = options;
    return f;
}

struct EditorDefinition {
    QString name;     // window name: ini section, object name
    QString caption;  // window caption
    QString table;    // the table of the row; its key column is named like it
    QString keyField; // the key when it is not named like the table
    std::vector<EditorField> fields;
    bool ctrlEnterAccepts = true;
    // A new row's values before the window shows it.
    std::function<void(Table& row)> newRow;
    // OK's check before the row is written; false keeps the window open
    // (the check has told the user why).
    std::function<bool(const Table& row)> validate;
};

} // namespace kml
