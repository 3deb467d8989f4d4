#include "ScriptedDialogs.h"

namespace kml {

namespace {

QString AnswerText(DialogAnswer button) {
    switch (button) {
    case DialogAnswer::Yes:
        return QStringLiteral("Yes");
    case DialogAnswer::No:
        return QStringLiteral("No");
    case DialogAnswer::Ok:
        return QStringLiteral("Ok");
    case DialogAnswer::Cancel:
        return QStringLiteral("Cancel");
    }
    return {};
}

QString Describe(const DialogCall& call) {
    return DialogKindName(call.kind) + QStringLiteral(" \"") + call.caption + QStringLiteral("\": \"") +
           call.text + QLatin1Char('"');
}

} // namespace

QString DialogKindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::Error:
        return QStringLiteral("ShowError");
    case DialogKind::Warning:
        return QStringLiteral("ShowWarning");
    case DialogKind::Info:
        return QStringLiteral("ShowInfo");
    case DialogKind::YesNo:
        return QStringLiteral("AskYesNo");
    case DialogKind::Text:
        return QStringLiteral("AskText");
    case DialogKind::Number:
        return QStringLiteral("AskNumber");
    case DialogKind::Date:
        return QStringLiteral("AskDate");
    case DialogKind::TwoWay:
        return QStringLiteral("AskTwoWay");
    case DialogKind::Radio:
        return QStringLiteral("AskRadio");
    case DialogKind::Masked:
        return QStringLiteral("AskMasked");
    }
    return {};
}

ScriptedDialogs::ScriptedDialogs() : m_previous(SetDialogBackend(this)) {}

ScriptedDialogs::~ScriptedDialogs() {
    if (CurrentDialogBackend() == this)
        SetDialogBackend(m_previous);
}

ScriptedDialogs& ScriptedDialogs::answer(DialogAnswer button) {
    m_answers.push_back(Answer{Answer::Type::Button, button, {}, {}, -1});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerText(const QString& text) {
    m_answers.push_back(Answer{Answer::Type::Text, DialogAnswer::Ok, text, {}, -1});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerNumber(double number) {
    QString typed = QString::number(number, 'g', 15);
    typed.replace(QLatin1Char('.'), QLatin1Char(','));
    return answerText(typed);
}

ScriptedDialogs& ScriptedDialogs::answerDate(const QDate& date) {
    m_answers.push_back(Answer{Answer::Type::Date, DialogAnswer::Ok, {}, date, -1});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerChoice(int index) {
    m_answers.push_back(Answer{Answer::Type::Choice, DialogAnswer::Ok, {}, {}, index});
    return *this;
}

const DialogCall& ScriptedDialogs::lastCall() const {
    if (m_calls.empty())
        throw ScriptError("ScriptedDialogs: no dialog has been shown");
    return m_calls.back();
}

QStringList ScriptedDialogs::texts() const {
    QStringList result;
    for (const DialogCall& call : m_calls)
        result << call.text;
    return result;
}

void ScriptedDialogs::clear() {
    m_calls.clear();
    m_answers.clear();
}

DialogCall ScriptedDialogs::record(const DialogCall& call) {
    m_calls.push_back(call);
    return call;
}

ScriptedDialogs::Answer ScriptedDialogs::next(const DialogCall& call) {
    if (m_answers.empty()) {
        throw ScriptError(("ScriptedDialogs: no answer left for " + Describe(call)).toStdString());
    }
    Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedDialogs::misfit(const DialogCall& call, const Answer& answer) const {
    QString given;
    switch (answer.type) {
    case Answer::Type::Button:
        given = QStringLiteral("button ") + AnswerText(answer.button);
        break;
    case Answer::Type::Text:
        given = QStringLiteral("text \"") + answer.text + QLatin1Char('"');
        break;
    case Answer::Type::Date:
        given = QStringLiteral("date ") + answer.date.toString(Qt::ISODate);
        break;
    case Answer::Type::Choice:
        given = QStringLiteral("choice ") + QString::number(answer.choice);
        break;
    }
    throw ScriptError(
        ("ScriptedDialogs: the answer " + given + " does not fit " + Describe(call)).toStdString());
}

bool ScriptedDialogs::showMessage(const MessageBoxRequest& request) {
    DialogCall call;
    call.icon = request.icon;
    call.caption = request.caption;
    call.text = request.text;
    call.buttons = MessageButtonTexts(request.buttons);
    if (request.buttons == MessageButtons::YesNo) {
        call.kind = DialogKind::YesNo;
    } else {
        call.kind = request.icon == MessageIcon::Error     ? DialogKind::Error
                    : request.icon == MessageIcon::Warning ? DialogKind::Warning
                                                           : DialogKind::Info;
    }
    const DialogCall shown = record(call);
    if (shown.kind != DialogKind::YesNo)
        return true;
    const Answer answer = next(shown);
    if (answer.type != Answer::Type::Button ||
        (answer.button != DialogAnswer::Yes && answer.button != DialogAnswer::No))
        misfit(shown, answer);
    return answer.button == DialogAnswer::Yes;
}

// OK with the shown text, OK with a typed text, or cancel.
std::optional<QString> ScriptedDialogs::editAnswer(const DialogCall& call) {
    const Answer answer = next(call);
    if (answer.type == Answer::Type::Text)
        return answer.text;
    if (answer.type == Answer::Type::Button && answer.button == DialogAnswer::Ok)
        return call.value;
    if (answer.type == Answer::Type::Button && answer.button == DialogAnswer::Cancel)
        return std::nullopt;
    misfit(call, answer);
}

std::optional<QString> ScriptedDialogs::askText(const TextRequest& request, const TextCheck& check) {
    DialogCall call;
    call.kind = DialogKind::Text;
    call.caption = request.caption;
    call.text = request.prompt;
    call.value = request.text;
    call.maxLength = request.maxLength;
    call.upperCase = request.upperCase;
    const DialogCall shown = record(call);
    // The window stays open until an OK passes the check or it is cancelled.
    for (;;) {
        const std::optional<QString> text = editAnswer(shown);
        if (!text || !check || check(*text))
            return text;
    }
}

std::optional<QString> ScriptedDialogs::askNumber(const NumberRequest& request) {
    DialogCall call;
    call.kind = DialogKind::Number;
    call.caption = request.caption;
    call.text = request.prompt;
    call.value = request.text;
    return editAnswer(record(call));
}

std::optional<QDate> ScriptedDialogs::askDate(const DateRequest& request) {
    DialogCall call;
    call.kind = DialogKind::Date;
    call.caption = request.caption;
    call.value = request.date.toString(Qt::ISODate);
    const DialogCall shown = record(call);
    const Answer answer = next(shown);
    if (answer.type == Answer::Type::Date)
        return answer.date;
    if (answer.type == Answer::Type::Button && answer.button == DialogAnswer::Ok)
        return request.date;
    if (answer.type == Answer::Type::Button && answer.button == DialogAnswer::Cancel)
        return std::nullopt;
    misfit(shown, answer);
}

int ScriptedDialogs::askTwoWay(const TwoWayRequest& request) {
    DialogCall call;
    call.kind = DialogKind::TwoWay;
    call.caption = request.caption;
    call.buttons = QStringList{request.first, request.second};
    const DialogCall shown = record(call);
    const Answer answer = next(shown);
    if (answer.type == Answer::Type::Choice && (answer.choice == 0 || answer.choice == 1))
        return answer.choice;
    if (answer.type == Answer::Type::Button && answer.button == DialogAnswer::Cancel)
        return -1;
    misfit(shown, answer);
}

int ScriptedDialogs::askRadio(const RadioRequest& request) {
    DialogCall call;
    call.kind = DialogKind::Radio;
    call.caption = request.caption;
    call.buttons = request.items;
    call.index = request.index;
    const DialogCall shown = record(call);
    const Answer answer = next(shown);
    if (answer.type == Answer::Type::Choice && answer.choice >= 0 && answer.choice < request.items.size())
        return answer.choice;
    if (answer.type == Answer::Type::Button && answer.button == DialogAnswer::Ok)
        return request.index >= 0 && request.index < request.items.size() ? request.index : -1;
    if (answer.type == Answer::Type::Button && answer.button == DialogAnswer::Cancel)
        return -1;
    misfit(shown, answer);
}

std::optional<QString> ScriptedDialogs::askMasked(const MaskedRequest& request) {
    DialogCall call;
    call.kind = DialogKind::Masked;
    call.caption = request.caption;
    call.text = request.prompt;
    call.value = request.text;
    call.mask = request.mask;
    return editAnswer(record(call));
}

} // namespace kml
