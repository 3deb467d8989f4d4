#pragma once

// The operations of the dictionary texts, the work-sheet types and the
// letter texts.

#include "exchange/LetterChoice.h"
#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

// A dictionary entry chosen: its title and text; an empty title when none was.
struct DictionaryText {
    QString title;
    QString text;
};

// The dictionary list with the search box holding search (filtering at
// once); with chooser, "Elfogad" returns the row.
inline WindowOperation<DictionaryText(const QString& search, bool chooser)> ChooseDictionaryText{
    "ChooseDictionaryText"};
// The dictionary editor for a title (empty: a new entry): the saved title,
// empty when cancelled.
inline WindowOperation<QString(const QString& title)> EditDictionaryText{"EditDictionaryText"};

// The work-sheet type list: the chosen type and, through name, its
// mlaptipus_nev; -1 when no choice was made.
inline WindowOperation<int(int select, bool chooser, QString& name)> ChooseWorkSheetType{
    "ChooseWorkSheetType"};
// The work-sheet type editor: -1 creates a type. The saved type or -1.
inline WindowOperation<int(int type)> EditWorkSheetType{"EditWorkSheetType"};

// The letter-text editor: -1 creates a letter. The saved letter or -1.
inline WindowOperation<int(int letter)> EditLetterText{"EditLetterText"};

} // namespace kml
