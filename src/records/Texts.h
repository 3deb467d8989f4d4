#pragma once

// What the dictionary, work-sheet type and letter-text windows do with the
// data, apart from the widgets: their lists, their editors as tables of
// fields, the title rules of the dictionary and the deletions. The windows
// (Tfrm_TorzsSzotar, Tfrm_TorzsMlapTipus, Tfrm_TorzsLevelSzoveg and their
// editors) are built from these; tests call them against the server.

#include "patterns/EditorDefinition.h"
#include "patterns/ListDefinition.h"

#include <QString>

namespace kml {

class Table;

namespace texts_text {
inline const QString DictionaryCaption = QStringLiteral("Szótár");
inline const QString WorkSheetTypesCaption = QStringLiteral("Munkalap típusok");
inline const QString WorkSheetTypeEditorCaption = QStringLiteral("Munkalap típus szerkesztés");
inline const QString LettersCaption = QStringLiteral("Levélszövegek");
inline const QString LetterEditorCaption = QStringLiteral("Levélszöveg szerkesztés");
inline const QString BlankTitle = QStringLiteral("A cím nem lehet üres.");
// %1: the title typed.
inline const QString DuplicateTitle =
    QStringLiteral("Már van ilyen című szöveg a szótárban: \"%1\". Adj meg másik címet!");
// %1: how many work sheets.
inline const QString TypeInUse =
    QStringLiteral("Ez a munkalap típus nem törölhető, mert %1 munkalap ilyen típusú.");
} // namespace texts_text

// ---- Dictionary (szotar, keyed by its title cim) ---------------------------

// The list "Szótár": titles with the text under the grid, searched in title
// and text, located by title; a title click only focuses the search box.
// The row actions are the window's own: the key is a title, not a number.
ListDefinition DictionaryListDefinition();

// The editor of the entry titled original (empty: a new entry). OK refuses a
// blank title and a title another entry already has under the table's
// collation (letter case and trailing blanks do not count); renaming an
// entry to its own title in other letter case is fine.
EditorDefinition DictionaryEditorDefinition(const QString& original);

// The message that refuses title for the entry titled original; empty when
// the title may be saved.
QString DictionaryTitleProblem(const QString& title, const QString& original);

// "DELETE FROM szotar WHERE cim = " + the title as a literal + ";"
QString DictionaryDeleteSql(const QString& title);
// Asks "Valóban töröljem a sort?" and deletes the entry; whether it did.
bool DeleteDictionaryText(const QString& title);

// ---- Work-sheet types (mlaptipus) ------------------------------------------

// "(prgtipus = " + programType + ")"
QString WorkSheetTypeCondition(int programType);

// The list "Munkalap típusok" of one program type, by letter, remark under
// the grid. "Új sor", "Szerkeszt" and "Töröl" need the master-data right;
// deleting refuses a type that work sheets use.
ListDefinition WorkSheetTypeListDefinition(int programType);

// The type editor; a new type belongs to programType.
EditorDefinition WorkSheetTypeEditorDefinition(int programType);

// How many work sheets are of the type.
int WorkSheetTypeUsage(qlonglong type);
// Refuses a type in use (saying how many sheets use it), otherwise asks and
// deletes; whether it deleted. A sheet saved with the type between the
// question and the deletion still keeps the type.
bool DeleteWorkSheetType(qlonglong type);

// ---- Letter texts (levelszoveg) --------------------------------------------

// The list "Levélszövegek" by title, body under the grid, every typed word
// must occur in title, subject or body. "Új sor", "Szerkeszt" and "Töröl"
// need the master-data right.
ListDefinition LetterListDefinition();

// A new letter's values: plain text (ezhtml 'N').
void SetNewLetterDefaults(Table& letter);

} // namespace kml
