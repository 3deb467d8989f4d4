#include "foundation/Dialogs.h"

#include "components/NumberFormat.h"
#include "foundation/Conversions.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"

#include <stdexcept>

namespace kml {

namespace {

DialogBackend* g_backend = nullptr;

DialogBackend& Backend() {
    if (!g_backend)
        throw std::logic_error("No dialog backend is installed");
    return *g_backend;
}

bool Message(MessageIcon icon, MessageButtons buttons, const QString& caption, const QString& text,
             QWidget* owner) {
    return Backend().showMessage(MessageBoxRequest{icon, buttons, caption, text, owner});
}

constexpr int MaskedMaxLength = 255;
constexpr int RadioPieceCount = 20;

} // namespace

QStringList MessageButtonTexts(MessageButtons buttons) {
    if (buttons == MessageButtons::YesNo)
        return {dialog_text::Yes, dialog_text::No};
    return {dialog_text::Ok};
}

DialogBackend* SetDialogBackend(DialogBackend* backend) {
    DialogBackend* previous = g_backend;
    g_backend = backend;
    return previous;
}

DialogBackend* CurrentDialogBackend() {
    return g_backend;
}

bool AskYesNo(const QString& message, const QString& caption, QWidget* owner, MessageIcon icon) {
    return Message(icon, MessageButtons::YesNo, caption, message, owner);
}

bool ConfirmT(const QString& message, const QString& caption, QWidget* owner) {
    return AskYesNo(message, caption, owner, MessageIcon::Question);
}

void ShowError(const QString& message, QWidget* owner) {
    Message(MessageIcon::Error, MessageButtons::Ok, dialog_text::ErrorCaption, message, owner);
}

void ErrorT(const QString& message, QWidget* owner) {
    ShowError(message, owner);
}

void ShowWarning(const QString& message, QWidget* owner) {
    Message(MessageIcon::Warning, MessageButtons::Ok, dialog_text::WarningCaption, message, owner);
}

void ShowInfo(const QString& message, QWidget* owner) {
    Message(MessageIcon::Information, MessageButtons::Ok, dialog_text::InfoCaption, message, owner);
}

void InfoT(const QString& message, QWidget* owner) {
    ShowInfo(message, owner);
}

bool AskText(const QString& caption, const QString& prompt, QString& text, int minLength, int maxLength,
             bool mixedCase) {
    const bool upperCase = !mixedCase;
    // The edit shows what it would hold: cut to its length, in capitals when
    // it takes only capitals.
    auto asEdited = [&](QString value) {
        if (maxLength >= 0 && value.size() > maxLength)
            value.truncate(maxLength);
        return upperCase ? value.toUpper() : value;
    };
    const TextCheck check = [minLength](const QString& value) {
        if (value.size() < minLength) {
            ShowError(TooShortMessage(minLength));
            return false;
        }
        return true;
    };
    const std::optional<QString> result =
        Backend().askText(TextRequest{caption, prompt, asEdited(text), maxLength, upperCase}, check);
    if (!result)
        return false;
    text = asEdited(*result);
    return true;
}

bool AskDecimal(const QString& caption, const QString& prompt, double& number) {
    const std::optional<QString> result =
        Backend().askNumber(NumberRequest{caption, prompt, DecimalEditText(number), true});
    if (!result)
        return false;
    // "." and "," both mark the decimals here (StrFloat).
    number = NumberEditValue(*result);
    return true;
}

bool AskNumber(const QString& caption, const QString& prompt, double& number) {
    const std::optional<QString> result =
        Backend().askNumber(NumberRequest{caption, prompt, NumberEditText(number, Beall().formatFt)});
    if (!result)
        return false;
    number = NumberEditValue(*result);
    return true;
}

bool AskDate(QDate& date, const QString& caption) {
    // A missing date starts the picker at today rather than at an arbitrary
    // default of the widget.
    const QDate start = date.isValid() ? date : QDate::currentDate();
    const std::optional<QDate> result =
        Backend().askDate(DateRequest{caption.isEmpty() ? dialog_text::DateCaption : caption, start});
    if (!result)
        return false;
    date = *result;
    return true;
}

int AskTwoWay(const QString& caption, const QString& choices) {
    const auto [first, second] = TwoWayChoices(choices);
    const int result = Backend().askTwoWay(
        TwoWayRequest{caption.isEmpty() ? dialog_text::TwoWayCaption : caption, first, second});
    return result == 0 || result == 1 ? result : -1;
}

int AskRadio(int index, const QString& items, const QString& caption) {
    RadioRequest request{caption, RadioItems(items), index};
    const int result = Backend().askRadio(request);
    return result >= 0 && result < request.items.size() ? result : -1;
}

bool AskMasked(const QString& caption, const QString& prompt, const QString& mask, QString& text) {
    const std::optional<QString> result =
        Backend().askMasked(MaskedRequest{caption, prompt, mask, text.left(MaskedMaxLength)});
    if (!result)
        return false;
    text = result->left(MaskedMaxLength);
    return true;
}

QString TooShortMessage(int minimum) {
    return QStringLiteral("Túl rövid. Legalább ") + QString::number(minimum) +
           QStringLiteral(" karakter kell.");
}

QString NumberEditText(double number, const QString& moneyFormat) {
    return FormatNumber(moneyFormat, number);
}

double NumberEditValue(const QString& text) {
    return StrFloat(RemoveSpaces(text), 0);
}

bool NumberEditAccepts(QChar typed, bool pointMarksDecimals) {
    const char16_t c = typed.unicode();
    return (c >= u'0' && c <= u'9') || c == u',' || c == u'-' || c == u'\b' ||
           (pointMarksDecimals && c == u'.');
}

QString DecimalEditText(double number) {
    return FloatText(QStringLiteral(","), number);
}

std::pair<QString, QString> TwoWayChoices(const QString& choices) {
    const QString delimiters = QStringLiteral(";,");
    return {Token(delimiters, choices, 1), Token(delimiters, choices, 2)};
}

QStringList RadioItems(const QString& items) {
    QStringList result;
    for (int n = 1; n <= RadioPieceCount; ++n) {
        const QString piece = Token(QStringLiteral(",;"), items, n);
        if (!piece.isEmpty())
            result << piece;
    }
    return result;
}

} // namespace kml
