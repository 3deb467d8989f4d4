#pragma once

// Qt's own texts in Hungarian: the buttons and captions of Qt's dialogs (the
// file dialogs' "Hely", "Fájlnév", "Megnyitás", "Mégse", the standard message
// box buttons). The translations come with the system's Qt
// (qt6-translations-l10n); without them Qt speaks English and the program
// still works.

namespace kml {

// Installs Qt's Hungarian translation on the application once; whether it
// was found. Call after the application object exists.
bool InstallQtHungarian();

} // namespace kml
