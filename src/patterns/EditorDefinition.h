#pragma once

// A record editor declared as a table of fields: which columns of which
// table it edits, with which caption and kind of control, on which page.
// The editing window pattern builds the window from it (patterns/gui/
// FormEditor.h): labelled controls in the order given (on tabs when fields
// name pages), OK and Mégsem, the focus colour, Enter moving on, Ctrl+Enter
// pressing OK, the question before changes are dropped, the position kept
// in the ini file. A window class that adds nothing to its table derives
// from FormEditor with a constructor passing its definition; one with more
// to it adds to a FormEditor or derives from EditWindow.
//
//     EditorDefinition d;
//     d.name = "frm_Torzsadat_Szerkeszt";  d.caption = "Gyártó";
//     d.table = "gyarto";
//     d.fields = {FieldOf("gyarto_nev", "Gyártó", EditorFieldKind::Text, {.upcaseFirst = true}),
//                 FieldOf("gyarto", "Kód", EditorFieldKind::Display)};
//     RowKey saved = RunFormEditor(d, key);   // nothing: cancelled
//
// The other kinds, each one line:
//
//     FieldOf("dat_vasarol", "Vásárlás", EditorFieldKind::Date).onPage("Készülék")
//     FieldOf("jelszo", "Jelszó", EditorFieldKind::Password)
//     FieldOf("szoveg", "Szöveg", EditorFieldKind::Html)
//     PictureOf("Kép", [](const Table& row) { return PicturePath(row); })
//     DetailOf("Mellékletek", AttachmentList(), [](qlonglong note) { return "(jegyzet = " + ... + ")"; })

#include "patterns/ListDefinition.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace kml {

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
    Text,       // one line, limited to the column's width
    Number,     // digits, sign, decimal comma or point
    Memo,       // several lines; Enter stays a line break
    Flag,       // check box: 'I' checked, 'N' not
    Display,    // read-only text of the column (keys, dates)
    Lookup,     // read-only text computed from the row, with a button that chooses
    Date,       // a date with a calendar; empty (NULL) allowed
    Password,   // one line shown masked, with a "Mutat" toggle that shows it
    Html,       // HTML in the syntax-highlighting editor; Enter stays a line break
    Picture,    // a preview of the picture file the column (or picturePath) names
    DetailList, // a list of other rows that follows the row's key (detail)
};

class Table;

// A list under the form that shows the rows belonging to the edited row
// (a note's attachments): the list, and its condition for the row's key.
// A new row has no key yet: the list stays empty until OK saved it.
struct DetailList {
    ListDefinition list;
    std::function<QString(qlonglong key)> condition;
};

struct EditorField {
    QString field; // the column (Lookup: the key column the button sets)
    QString label; // caption before the control; a check box's own text
    EditorFieldKind kind = EditorFieldKind::Text;
    FieldOptions options;
    // The tab the field is on; the tabs come in the order the fields first
    // name them. Empty: the first tab (or no tabs when no field names one).
    QString page;
    // Picture: the file shown, from the row; the column's text when unset.
    std::function<QString(const Table& row)> picturePath;
    // DetailList: the list and how it follows the row.
    std::shared_ptr<const DetailList> detail;
    // Lookup: the text shown for the row, and the button's choice: true when
    // it changed the row (the window then shows the row again).
    std::function<QString(const Table& row)> display;
    std::function<bool(Table& row)> choose;
    // Lookup: where the focus goes after the button, chosen or not: the
    // control of this field; the control after the button when empty.
    QString focusAfterChoice;

    // The same field on a page (tab).
    EditorField onPage(const QString& pageCaption) const {
        EditorField f = *this;
        f.page = pageCaption;
        return f;
    }
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

// A picture preview of the file the row names.
inline EditorField PictureOf(const QString& label, std::function<QString(const Table& row)> path) {
    EditorField f = FieldOf(QString(), label, EditorFieldKind::Picture);
    f.picturePath = std::move(path);
    return f;
}

// A detail list under the form.
inline EditorField DetailOf(const QString& label, ListDefinition list,
                            std::function<QString(qlonglong key)> condition) {
    EditorField f = FieldOf(QString(), label, EditorFieldKind::DetailList);
    f.detail = std::make_shared<const DetailList>(DetailList{std::move(list), std::move(condition)});
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
