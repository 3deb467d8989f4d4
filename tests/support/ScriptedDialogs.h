#pragma once

// A dialog backend for tests: answers every dialog from a script written
// beforehand and records what each dialog showed, so that a test can run a
// whole flow and then check the exact texts the user would have seen.
//
//     ScriptedDialogs dialogs;                 // installed until it goes
//     dialogs.answer(DialogAnswer::Yes);
//     RunTheFlow();
//     EXPECT_EQ(dialogs.calls()[0].text, "Valóban töröljem a sort?");
//
// Boxes with only an "OK" button (ShowError, ShowWarning, ShowInfo) are
// recorded but take no answer from the script. Any other dialog takes the
// next answer; a dialog that finds no answer, or one that does not fit it,
// throws ScriptError naming the dialog, so an unexpected question fails the
// test instead of passing silently.

#include "foundation/Dialogs.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <deque>
#include <stdexcept>
#include <vector>

namespace kml {

enum class DialogKind { Error, Warning, Info, YesNo, Text, Number, Date, TwoWay, Radio, Masked };

// The name of the function that shows a dialog of this kind ("AskYesNo", ...).
QString DialogKindName(DialogKind kind);

// What one dialog showed.
struct DialogCall {
    DialogKind kind = DialogKind::Info;
    MessageIcon icon = MessageIcon::Information; // message boxes
    QString caption;
    QString text;           // the message, or the prompt of an input dialog
    QStringList buttons;    // message-box buttons, the two choices, or the radio items
    QString value;          // the edit's text at start; a date as yyyy-MM-dd
    int index = -1;         // AskRadio: the item checked at start
    int maxLength = -1;     // AskText
    bool upperCase = false; // AskText
    QString mask;           // AskMasked
};

// A button pressed in answer: Yes/No for questions; Ok (keep what the
// dialog shows) or Cancel for input dialogs.
enum class DialogAnswer { Yes, No, Ok, Cancel };

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScriptedDialogs final : public DialogBackend {
public:
    // Installs itself as the dialog backend; the destructor puts the previous
    // one back.
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // The script, consumed in order by the dialogs that need an answer.
    ScriptedDialogs& answer(DialogAnswer button);
    // OK with this text in the edit (AskText, AskMasked; for AskNumber the
    // text as typed, e.g. "1 234,5"). A text refused by AskText's check
    // leaves the window open for the next answer.
    ScriptedDialogs& answerText(const QString& text);
    // OK on AskNumber with this number typed (decimal comma).
    ScriptedDialogs& answerNumber(double number);
    // OK on AskDate with this date.
    ScriptedDialogs& answerDate(const QDate& date);
    // AskTwoWay: button 0 or 1. AskRadio: OK with this item checked.
    ScriptedDialogs& answerChoice(int index);

    // Every dialog shown so far, in order.
    const std::vector<DialogCall>& calls() const { return m_calls; }
    // The last dialog shown; throws ScriptError when none was.
    const DialogCall& lastCall() const;
    // The texts (messages and prompts) of every dialog shown, in order.
    QStringList texts() const;
    // Answers not used yet.
    qsizetype pendingAnswers() const { return static_cast<qsizetype>(m_answers.size()); }
    // Forgets the calls and the unused answers.
    void clear();

    bool showMessage(const MessageBoxRequest& request) override;
    std::optional<QString> askText(const TextRequest& request, const TextCheck& check) override;
    std::optional<QString> askNumber(const NumberRequest& request) override;
    std::optional<QDate> askDate(const DateRequest& request) override;
    int askTwoWay(const TwoWayRequest& request) override;
    int askRadio(const RadioRequest& request) override;
    std::optional<QString> askMasked(const MaskedRequest& request) override;

private:
    struct Answer {
        enum class Type { Button, Text, Date, Choice } type;
        DialogAnswer button = DialogAnswer::Ok;
        QString text;
        QDate date;
        int choice = -1;
    };

    // Stores the call and gives back a copy that later calls cannot move.
    DialogCall record(const DialogCall& call);
    Answer next(const DialogCall& call);
    [[noreturn]] void misfit(const DialogCall& call, const Answer& answer) const;
    std::optional<QString> editAnswer(const DialogCall& call);

    std::deque<Answer> m_answers;
    std::vector<DialogCall> m_calls;
    DialogBackend* m_previous = nullptr;
};

} // namespace kml
