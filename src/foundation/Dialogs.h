#pragma once

// Message boxes and input dialogs. Every window of the program asks and
// reports through these free functions; they decide what is shown (captions,
// buttons, the text in an edit) and what comes back (validation, parsing),
// and leave the showing to the installed DialogBackend: the real one shows
// Qt dialogs (QtDialogs), the test one answers from a script
// (ScriptedDialogs). All of it runs on the user-interface thread.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

class QWidget;

namespace kml {

// Captions and button texts shown by the dialogs.
namespace dialog_text {
inline const QString ErrorCaption = QStringLiteral("Hiba");
inline const QString WarningCaption = QStringLiteral("Figyelmeztetés");
inline const QString InfoCaption = QStringLiteral("Üzenet");
inline const QString ConfirmCaption = QStringLiteral("Megerősítés");
inline const QString DeleteRowQuestion = QStringLiteral("Valóban töröljem a sort?");
inline const QString DateCaption = QStringLiteral("Dátum megadása");
inline const QString TwoWayCaption = QStringLiteral("Választás");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("Mégsem");
inline const QString Yes = QStringLiteral("Igen");
inline const QString No = QStringLiteral("Nem");
} // namespace dialog_text

enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo };

// The button texts of a message box, left to right.
QStringList MessageButtonTexts(MessageButtons buttons);

// ---- What a backend is asked to show -------------------------------------

struct MessageBoxRequest {
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    QString caption;
    QString text;
    QWidget* owner = nullptr; // null: the active window
};

// Window frm_InpStr.
struct TextRequest {
    QString caption;
    QString prompt;
    QString text;           // the edit's text at start
    int maxLength = -1;     // -1: no limit
    bool upperCase = false; // typed letters become capitals
};

// Called with the edit's text when the user presses OK. False keeps the
// window open; the check has already told the user why.
using TextCheck = std::function<bool(const QString& text)>;

// Window frm_Inp.
struct NumberRequest {
    QString caption;
    QString prompt;
    QString text; // the incoming number in the money format (AskDecimal: at full precision)
    bool pointMarksDecimals = false; // "." is typed as a decimal mark too (AskDecimal)
};

// Window frm_Datumbe.
struct DateRequest {
    QString caption;
    QDate date;
};

// Window frm_Valasztas.
struct TwoWayRequest {
    QString caption;
    QString first; // may hold line breaks
    QString second;
};

// Window frm_Radio.
struct RadioRequest {
    QString caption;
    QStringList items;
    int index = -1; // checked at start; out of range: none
};

// The run-time built password-style box.
struct MaskedRequest {
    QString caption;
    QString prompt;
    QString mask; // Qt input-mask syntax; empty: none
    QString text;
};

// Shows the dialogs. Each call is modal and returns when the user has
// answered; nothing is kept between calls. An empty optional means
// "cancelled".
class DialogBackend {
public:
    virtual ~DialogBackend() = default;

    // True for "Igen"; a box with only "OK" gives true.
    virtual bool showMessage(const MessageBoxRequest& request) = 0;
    // The edit's text on an OK that the check accepted.
    virtual std::optional<QString> askText(const TextRequest& request, const TextCheck& check) = 0;
    // The edit's text as the user left it.
    virtual std::optional<QString> askNumber(const NumberRequest& request) = 0;
    virtual std::optional<QDate> askDate(const DateRequest& request) = 0;
    // 0 or 1 for the button pressed, -1 when cancelled.
    virtual int askTwoWay(const TwoWayRequest& request) = 0;
    // The checked item's index on OK (-1 when none is checked), -1 when cancelled.
    virtual int askRadio(const RadioRequest& request) = 0;
    virtual std::optional<QString> askMasked(const MaskedRequest& request) = 0;
};

// Installs the backend that the functions below use and returns the one it
// replaces. The backend is not owned and must outlive its installation. The
// functions throw std::logic_error while none is installed.
DialogBackend* SetDialogBackend(DialogBackend* backend);
DialogBackend* CurrentDialogBackend();

// ---- Message boxes --------------------------------------------------------

// Yes/No question with the caller's caption; true for Yes. The icon is the
// question mark everywhere except the error-report question (stop sign:
// MessageIcon::Error).
bool AskYesNo(const QString& message, const QString& caption, QWidget* owner = nullptr,
              MessageIcon icon = MessageIcon::Question);
bool ConfirmT(const QString& message, const QString& caption, QWidget* owner = nullptr);
// "Hiba", error icon, OK.
void ShowError(const QString& message, QWidget* owner = nullptr);
void ErrorT(const QString& message, QWidget* owner = nullptr);
// "Figyelmeztetés", warning icon, OK.
void ShowWarning(const QString& message, QWidget* owner = nullptr);
// "Üzenet", information icon, OK.
void ShowInfo(const QString& message, QWidget* owner = nullptr);
void InfoT(const QString& message, QWidget* owner = nullptr);

// ---- Input dialogs ----------------------------------------------------------

// One line of text. maxLength -1 means no limit; mixedCase false turns the
// letters into capitals. OK with fewer than minLength characters shows
// TooShortMessage and keeps the window open. True and the new text on OK.
bool AskText(const QString& caption, const QString& prompt, QString& text, int minLength, int maxLength,
             bool mixedCase);
// A number shown in the money format (Beall().formatFt) and read back the
// way users type it. True and the new number on OK.
bool AskNumber(const QString& caption, const QString& prompt, double& number);
// A number that is saved as typed (a price, a discount): shown at full
// precision with a decimal comma (12.5 as "12,5", never rounded by a display
// format), typed with "," or "." as the decimal mark. True and the new
// number on OK.
bool AskDecimal(const QString& caption, const QString& prompt, double& number);
// A date; an empty caption keeps "Dátum megadása". True and the new date on OK.
bool AskDate(QDate& date, const QString& caption = {});
// Two buttons from "first;second" (or ","); 0 or 1, -1 when cancelled. An
// empty caption gives "Választás".
int AskTwoWay(const QString& caption, const QString& choices);
// Radio items from "a,b;c" (empty pieces skipped); the chosen index, -1 when
// none is chosen or cancelled.
int AskRadio(int index, const QString& items, const QString& caption);
// One line with an optional input mask, at most 255 characters. True and the
// new text on OK.
bool AskMasked(const QString& caption, const QString& prompt, const QString& mask, QString& text);

// ---- What the dialogs compute (no widgets) ---------------------------------

// "Túl rövid. Legalább " + minimum + " karakter kell."
QString TooShortMessage(int minimum);
// The incoming number as frm_Inp shows it: the money format FormatFt.
QString NumberEditText(double number, const QString& moneyFormat);
// The edit's text as a number: blanks (thousands separators) dropped, ","
// as decimal mark, 0 when it is not a number.
double NumberEditValue(const QString& text);
// Whether the number edit takes a typed character: digits, ",", "-" and
// backspace; with pointMarksDecimals "." too.
bool NumberEditAccepts(QChar typed, bool pointMarksDecimals = false);
// AskDecimal's edit text: the number's shortest text with a decimal comma.
QString DecimalEditText(double number);
// The two choices of AskTwoWay: pieces 1 and 2 split at ";" or ",".
std::pair<QString, QString> TwoWayChoices(const QString& choices);
// The radio items: the non-empty ones among the first 20 pieces split at
// "," or ";".
QStringList RadioItems(const QString& items);

} // namespace kml
