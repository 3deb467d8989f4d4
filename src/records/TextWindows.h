#pragma once

// The operations of the dictionary texts, the work-sheet types and the
// letter texts.

#include "exchange/LetterChoice.h"
#include "foundation/RowKey.h"
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

// The work-sheet type list: the chosen type and its mlaptipus_nev; no key
// when no choice was made.
inline WindowOperation<ChosenRow(RowKey select, bool chooser)> ChooseWorkSheetType{"ChooseWorkSheetType"};
// The work-sheet type editor: nothing creates a type. The saved type or nothing.
inline WindowOperation<RowKey(RowKey type)> EditWorkSheetType{"EditWorkSheetType"};

// The letter-text editor: nothing creates a letter. The saved letter or nothing.
inline WindowOperation<RowKey(RowKey letter)> EditLetterText{"EditLetterText"};

} // namespace kml
