#pragma once

// What a list is, apart from its widgets: its query, the condition it always
// keeps, how it searches and sorts, its key, its grid columns and colours,
// and what "Új", "Szerkeszt", "Töröl" and "Frissít" do with its rows. The
// same definition drives a list window (patterns/gui/ListWindow.h) and a
// list of the main window; a ListController (ListController.h) runs it.
//
// A simple master-data list is a definition and nothing else:
//
//     ListDefinition d;
//     d.name = "frm_Torzsadat";            d.caption = "Gyártó";
//     d.sql = "SELECT * FROM gyarto\nWHERE (1 = 1)\nORDER BY gyarto_nev;";
//     d.baseCondition = "(1 = 1)";        d.sortField = d.searchFields = "gyarto_nev";
//     d.keyField = "gyarto";              d.nameField = "gyarto_nev";
//     d.columns = {{"gyarto_nev", "Gyártó", 100}};
//     d.hooks.create = EditorOpener(...); d.hooks.remove = HardDelete("gyarto", ...);

#include "components/DatasetModel.h"
#include "foundation/RowKey.h"
#include "foundation/SearchFilter.h"
#include "patterns/ListSearch.h"

#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace kml {

class ListController;
class Query;

// How far a grid's row colours reach into its highlighted (sort) column.
enum class ColourReach {
    RowOnly,        // no colour at all in the highlighted column
    TextEverywhere, // the text colour everywhere, the background not there
};

// Pictures drawn instead of a flag column's text.
enum class CellIcon { None, Paid, Unpaid, Private, Company, Attachment, NoAttachment };

// A grid's row colouring: the colours of one row of the query (read without
// moving it; nothing for a selected row where the rule says so), and the
// flag columns drawn as a picture in a cleared cell.
struct RowColouring {
    std::function<RowStyle(const Query& query, int row, bool selected)> style;
    ColourReach reach = ColourReach::RowOnly;
    std::function<CellIcon(const QString& field, const QVariant& value)> icon;
    explicit operator bool() const { return bool(style) || bool(icon); }
};

// A flag column drawn as one of two pictures: yes for 'I', no otherwise;
// nothing for every other field.
std::function<CellIcon(const QString& field, const QVariant& value)> FlagPictures(const QString& field,
                                                                                  CellIcon yes, CellIcon no);

// A grid column from texts written in the source (the title in UTF-8).
GridColumn ColumnOf(const char* field, const char* title, int widthShare);

// One cell's colours from its row's: what the reach lets through in the
// highlighted column.
RowStyle CellStyle(ColourReach reach, const RowStyle& row, bool highlightedColumn);

// A field's value on a given row of an open query (invalid when there is no
// such row or field).
QVariant ValueAt(const Query& query, int row, const QString& field);

// What the list's standard actions do with its rows. A hook that is not set
// leaves its action out of a list window (and "Hamarosan" on the main
// window). The controller runs the hooks only with a current row where one
// is needed ("Nincs sor kiválasztva." otherwise) and re-reads the list after
// them.
struct ListHooks {
    // "Új": creates a row, usually through an editor; its key, or nothing
    // when the user cancelled.
    std::function<RowKey(ListController& list)> create;
    // "Szerkeszt": edits the row with the key; the saved key, or nothing
    // when the user cancelled.
    std::function<RowKey(ListController& list, qlonglong key)> edit;
    // "Töröl": asks and deletes the row with the key; whether it did.
    std::function<bool(ListController& list, qlonglong key)> remove;
    // "Frissít": what runs before the list is read again (the work sheets
    // recalculate the current sheet); reading again alone when unset.
    std::function<void(ListController& list)> refresh;
};

// The captions of a list window's standard actions; an empty caption leaves
// the action out.
struct ListActionCaptions {
    QString create = QStringLiteral("Új sor");
    QString edit = QStringLiteral("Szerkeszt");
    QString remove = QStringLiteral("Sor törlése");
    QString refresh; // "Frissítés" where the window has one (F5)
    QString find;    // "Kereső" where the window has one (Ctrl+F)
};

struct ListDefinition {
    QString name;    // window name: ini section, prefix of the recorded actions
    QString caption; // window caption
    QString heading; // caption of the panel that holds the search box

    QString sql;           // the query's lines, joined by "\n" (a WHERE and an ORDER line)
    QString baseCondition; // the condition the list always keeps
    QString sortField;     // initial sort and quick-locate column
    QString searchFields;  // "f1;f2;..." for the search filter
    SearchKind searchKind = SearchKind::Like;
    // A search of the list's own: the WHERE condition for the base condition
    // and a typed text (the device types' three-word filter).
    std::function<QString(const QString& baseCondition, const QString& text)> searchCondition;
    // The search table the server keeps for the list (db/schema.sql), for a
    // list that may be long: a LikeFilter search then runs through it, with
    // exactly the rows the filter over searchFields gives and in the same
    // order (IndexedLikeFilter, IndexedSearchPrelude). Its fields must be
    // searchFields; unused when the table is empty or a searchCondition is set.
    SearchIndex searchIndex;
    // The ORDER BY expression of a title click on a field (the field itself
    // when unset); the work sheets keep their number as second key.
    std::function<QString(const QString& field)> orderExpression;
    bool titleClickSorts = true; // false: a title click only focuses the search box

    QString keyField;  // the row's key, returned by a chooser
    QString nameField; // the text returned beside the key

    std::vector<GridColumn> columns; // widthShare: percent of (grid width - widthReserve)
    int widthReserve = 40;
    RowColouring colouring;
    QSize size{720, 460}; // a list window's size before any was saved
    // A read-only box under a list window's grid shows this field of the
    // current row (empty when there is none); no box when unset.
    QString memoField;

    ListHooks hooks;
    ListActionCaptions actions;
    // Master data: in chooser mode (opened from another window) the actions
    // that change rows, "Új", "Szerkeszt", "Töröl" and the window's own
    // marked ones, are hidden from a user without the master-data right
    // (Beall().torzsszerkeszt); the user can only choose.
    bool maintenanceNeedsRight = false;

    // Every field the definition names outside its SQL: key, name, sort,
    // memo and grid columns, and the search fields that are plain column
    // names.
    QStringList namedFields() const;
};

// The messages of the actions that need a row when the list has none.
namespace list_text {
inline const QString NoRowSelected = QStringLiteral("Nincs sor kiválasztva.");
inline const QString NoRowChosen = QStringLiteral("Nincs kiválasztott sor.");
} // namespace list_text

} // namespace kml
