#pragma once

// The device types apart from the widgets: the list "Típusok" with its
// three-word search, the type editor's fields, the text a chooser gives
// back, and the type pictures (MOB + number + ".jpg" in the picture folder).
// The windows (Tfrm_TorzsTipus, Tfrm_TorzsTipus_Szerkeszt) call these.

#include "foundation/WindowOperation.h"
#include "patterns/EditorDefinition.h"
#include "patterns/ListDefinition.h"

#include <QString>

namespace kml {

namespace type_text {
inline const QString ListCaption = QStringLiteral("Típusok");
inline const QString ListHeading = QStringLiteral("Típusok  ");
inline const QString EditorCaption = QStringLiteral("Típus szerkesztés");
inline const QString DeletePictureQuestion = QStringLiteral("Valóban törlöd a képet?");
inline const QString PictureFilter = QStringLiteral("JPEG kép (*.jpg *.JPG *.jpeg *.JPEG)");
inline const QString PictureNotCopied = QStringLiteral("A képet nem sikerült bemásolni: ");
} // namespace type_text

// The search of the type list for a typed text: the base condition and, for
// each of the first three words (blanks between them skipped), the word in
// the type name or the manufacturer name, every word quoted as a LIKE
// pattern. "(torolve='N')" alone for a text without words.
QString TypeSearchCondition(const QString& baseCondition, const QString& text);

// The type list over vw_tipus: manufacturer, type and kind of device;
// "Új sor" chooses a manufacturer and opens the editor for a new type of it,
// "Szerkeszt" edits, "Sor törlése" marks the type deleted. A chooser hides
// these (and the picture actions) from a user without the master-data right.
ListDefinition TypeListDefinition();

// The type editor (Tfrm_TorzsTipus_Szerkeszt): "Típus", the manufacturer
// and the kind of device chosen from their lookup lists; a new type starts
// with the manufacturer given, if any.
EditorDefinition TypeEditorDefinition(RowKey manufacturer);

// What a type chooser gives back beside the key: the trimmed manufacturer
// name, a blank and the type name.
QString TypeChoiceText(const QString& manufacturer, const QString& typeName);
// A type's one-line text (vw_tipus.tipusstr); empty when the type is gone.
QString TypeText(qlonglong type);

// The picture dialog "JPEG kép": the file chosen to start in folder; empty
// when cancelled.
inline WindowOperation<QString(const QString& folder)> ChoosePictureFile{"ChoosePictureFile"};

// The folder of the type pictures: the Kepek setting, or data folder +
// "/Kepek" when it is not set.
QString TypePictureFolder();
// "MOB" + the type number in at least five digits + ".jpg": MOB00042.jpg.
QString TypePictureName(qlonglong type);
// The type's picture file in folder: the file of that name whatever the
// case of its letters (pictures carried over as mob00042.JPG) or with the
// extension .jpeg; the canonical name when none exists.
QString TypePicturePath(const QString& folder, qlonglong type);

// "Kép hozzáadás": copies source over the type's picture (creating the
// folder); false with the reason when it could not. Choosing the picture
// file itself changes nothing.
bool AddTypePicture(const QString& folder, qlonglong type, const QString& source, QString* error = nullptr);
// "Kép törlés": removes the type's picture when there is one; whether a
// file went.
bool RemoveTypePicture(const QString& folder, qlonglong type);

} // namespace kml
