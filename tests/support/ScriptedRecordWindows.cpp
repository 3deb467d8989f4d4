#include "ScriptedRecordWindows.h"

namespace kml {

ScriptedCustomerWindows::ScriptedCustomerWindows() : m_previous(SetCustomerWindows(this)) {}

ScriptedCustomerWindows::~ScriptedCustomerWindows() {
    if (CurrentCustomerWindows() == this)
        SetCustomerWindows(m_previous);
}

ScriptedCustomerWindows& ScriptedCustomerWindows::answerEdit(int result) {
    m_answers.push_back(Answer{QStringLiteral("EditCustomer"), result, {}});
    return *this;
}

ScriptedCustomerWindows& ScriptedCustomerWindows::answerList(int result, const QString& name) {
    m_answers.push_back(Answer{QStringLiteral("OpenCustomerList"), result, name});
    return *this;
}

ScriptedCustomerWindows::Answer ScriptedCustomerWindows::next(const QString& operation) {
    if (m_answers.empty())
        throw ScriptError(QStringLiteral("%1 found no answer in the script").arg(operation).toStdString());
    Answer answer = m_answers.front();
    if (answer.operation != operation)
        throw ScriptError(QStringLiteral("%1 called, the script's next answer is for %2")
                              .arg(operation, answer.operation)
                              .toStdString());
    m_answers.pop_front();
    return answer;
}

int ScriptedCustomerWindows::editCustomer(int customer) {
    m_calls.push_back(RecordWindowCall{QStringLiteral("EditCustomer"), customer, false, {}});
    return next(QStringLiteral("EditCustomer")).result;
}

int ScriptedCustomerWindows::openCustomerList(int select, bool chooser, const QString& caption,
                                              QString& name) {
    m_calls.push_back(RecordWindowCall{QStringLiteral("OpenCustomerList"), select, chooser, caption});
    const Answer answer = next(QStringLiteral("OpenCustomerList"));
    name = answer.name;
    return answer.result;
}

} // namespace kml
