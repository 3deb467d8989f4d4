#include "ScriptedSettingsWindow.h"

#include "ScriptedDialogs.h"

namespace kml {

// ---- ScriptedSettingsWindow ----------------------------------------------

ScriptedSettingsWindow::ScriptedSettingsWindow()
    : m_previous(
          SetSettingsWindow([this](Table& row, SettingsValues& values) { return open(row, values); })) {}

ScriptedSettingsWindow::~ScriptedSettingsWindow() {
    SetSettingsWindow(std::move(m_previous));
}

ScriptedSettingsWindow& ScriptedSettingsWindow::pressOk(Change change) {
    m_answers.push_back(Answer{std::move(change), true});
    return *this;
}

ScriptedSettingsWindow& ScriptedSettingsWindow::pressCancel(Change change) {
    m_answers.push_back(Answer{std::move(change), false});
    return *this;
}

bool ScriptedSettingsWindow::open(Table& row, SettingsValues& values) {
    m_shown.push_back(values);
    m_shownRows.push_back(row);
    if (m_answers.empty())
        throw ScriptError("EditSettings: no answer scripted for the settings window");
    const Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    if (answer.change)
        answer.change(row, values);
    return answer.ok;
}

} // namespace kml
