#pragma once

// What the website windows do with the data, apart from the widgets: the
// lists of the page texts (web_szoveg), banners (banner) and intro slides
// (webintro), the names and places of their pictures, the editors' picture
// uploads and moving a slide up or down. The windows (Tfrm_TorzsWebSzoveg,
// Tfrm_TorzsBanner, Tfrm_TorzsWebIntro and their editors) are built from
// these; tests call them against the server and the test FTP server.

#include "patterns/ListDefinition.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

class QWidget;

namespace kml {

class Connection;
class Table;

namespace web_text {
inline const QString WebTextListCaption = QStringLiteral("Webáruház szövegezése");
inline const QString WebTextEditorCaption = QStringLiteral("Web szöveg szerkesztés");
inline const QString BannerListCaption = QStringLiteral("Webáruház - Bannerek");
inline const QString BannerEditorCaption = QStringLiteral("Banner szerkesztés");
inline const QString IntroListCaption = QStringLiteral("Intro");
inline const QString IntroEditorCaption = QStringLiteral("Intro");
inline const QString KeyRequired = QStringLiteral("Kulcs megadása kötelező");
inline const QString InvalidInput = QStringLiteral("Hibás, vagy hiányos adatmegadás\n");
inline const QString BannerSizeNote =
    QStringLiteral("Kép hozzáadásakor ügyeljen a pontos méretre, melyet a\ngrafikus átadott Önnek!");
inline const QString JpegFilter = QStringLiteral("JPeg file-ok (*.jpg)");
inline const QString PngFilter = QStringLiteral("PNG file-ok (*.png)");
inline const QString PictureLoadError = QStringLiteral("Hiba a kép betöltése közben: ");
inline const QString PictureCopyError = QStringLiteral("Hiba a másolás közben: ");
inline const QString SlideChanged =
    QStringLiteral("A diát közben egy másik munkaállomáson módosították vagy áthelyezték, ezért nem "
                   "mozgattam. A lista frissült, próbáld újra.");
// %1: the error text of the picture server.
inline const QString RemotePicturesNotSwapped =
    QStringLiteral("Hiba: a dia áthelyezve, de a képeit a honlap szerverén nem sikerült felcserélni: %1");
inline const QString LocalPicturesNotSwapped =
    QStringLiteral("Hiba: a dia áthelyezve, de a képeit a képek mappájában nem sikerült felcserélni: %1");
} // namespace web_text

// ---- Lists ------------------------------------------------------------------

// "Webáruház szövegezése": key, title and the footer flag (drawn as a
// picture); rows marked for the footer light blue; every typed word in key,
// title or text.
ListDefinition WebTextListDefinition();
// "Webáruház - Bannerek": number, heading, link, start of the text.
ListDefinition BannerListDefinition();
// "Intro": the slides in display order with their text under the grid.
ListDefinition IntroListDefinition();

// The condition the intro list keeps once the user has searched: slides
// without a title then stay out until the window is opened again.
inline const QString IntroSearchedCondition = QStringLiteral("(webintro_nev <> '')");

// The light blue of a web text that is a footer menu item.
inline const QColor FooterRowColour{0xC4, 0xE0, 0xFF};

// Deleting a row after the question; the hidden placeholder row (key 0 or
// less) is never deleted. Its picture files stay where they are.
bool DeleteWebText(qlonglong text);
bool DeleteBanner(qlonglong banner);
bool DeleteIntroSlide(qlonglong slide);

// ---- Editors ----------------------------------------------------------------

// A new web text: plain text, not in the footer.
void SetNewWebTextDefaults(Table& row);
// OK's check of a web text: the key may not be empty (tells the user).
bool CheckWebText(const Table& row, QWidget* owner = nullptr);

// ---- Pictures ---------------------------------------------------------------

// The local picture folder (the Kepek setting, or the data folder's Kepek).
QString WebPictureFolder();

enum class BannerPicture { Background, Small };
// The column that names it and the file name: "hatterkep", "banner" + n +
// ".jpg"; "kiskep", "banner" + n + "-k.png".
QString BannerPictureColumn(BannerPicture kind);
QString BannerPictureName(qlonglong banner, BannerPicture kind);
// "intro" + n + ".jpg"
QString IntroPictureName(qlonglong slide);
// The same in a folder.
QString IntroPicturePath(const QString& folder, qlonglong slide);

// The banner editor's picture buttons: posts the row (a new banner gets its
// number), lets the user choose the file (ChooseWebPicture), copies it to
// the picture folder under the banner's name and uploads it
// (CopyAndUploadPicture), then stores the name in the row's column and
// posts again, so that the row names the picture it has even when the
// editor is cancelled afterwards. False when nothing was stored (the user
// cancelled the file choice, or the copy failed).
bool UploadBannerPicture(Table& row, BannerPicture kind, QWidget* owner = nullptr);

// The intro editor's "Háttérkép feltöltés": posts the row, lets the user
// choose a JPEG and fits it into 640 x 480 as the slide's picture
// (ResizeAndUploadPicture). False when nothing was stored.
bool UploadIntroPicture(Table& row, QWidget* owner = nullptr);

// ---- Moving a slide -----------------------------------------------------------

// The renames that swap the files named a and b in one folder, through the
// unused name temporary, given which of them exist: a file takes the other
// one's name and a missing one stays missing. Nothing when neither exists.
std::vector<std::pair<QString, QString>> SwapRenames(const QString& a, bool aExists, const QString& b,
                                                     bool bExists, const QString& temporary);

// Swaps the pictures intro<a>.jpg and intro<b>.jpg in the local folder; the
// error text when a rename failed (the renames done are undone), empty when
// all went well.
QString SwapLocalIntroPictures(const QString& folder, qlonglong a, qlonglong b);
// The same on the picture server (when kepftp is set); the error text, or
// empty.
QString SwapRemoteIntroPictures(qlonglong a, qlonglong b);

enum class SlideDirection { Up, Down };

// The slide as the user saw it in the list.
struct SeenSlide {
    qlonglong number = 0;
    QVariant title; // webintro_nev
    QVariant text;  // szoveg
};

struct SlideMove {
    enum class Outcome {
        Moved,   // the slide is now number `to`
        Nowhere, // first up, last down, or the placeholder: nothing done
        Changed, // the slide is not as the user saw it any more: nothing done
    };
    Outcome outcome = Outcome::Nowhere;
    qlonglong to = 0;
    bool swapped = false; // another slide took the old number
};

// Moves the slide one place up ("Feljebb": only above 1) or down
// ("Lejjebb": only below the highest number), as one transaction on db: the
// slide takes the neighbouring number and the slide there, if any, takes
// its number (through a number no slide has). Refused when the slide no
// longer has the number, title and text the user saw. A failure (a lock
// that does not come free, a lost connection) rolls everything back and is
// thrown. The pictures are not touched (MoveSlideWithPictures).
SlideMove MoveSlide(Connection& db, const SeenSlide& seen, SlideDirection direction);

// MoveSlide on the shared connection, then the two numbers' pictures
// swapped in the local folder and on the picture server, so that each slide
// keeps its own picture. A picture swap that failed is told to the user
// ("Hiba: ..."); the move itself stays.
SlideMove MoveSlideWithPictures(const SeenSlide& seen, SlideDirection direction, QWidget* owner = nullptr);

} // namespace kml
