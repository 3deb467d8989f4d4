#pragma once

#include "shell/Beallit.h"

#include <deque>
#include <functional>
#include <vector>

namespace kml {

// A settings window for tests, installed while it lives. Each opening takes
// the next answer written beforehand: the change is applied to the row and
// the values as a user would make it, then OK or Mégsem is pressed. What each
// opening showed is recorded. An opening without an answer throws
// ScriptError (foundation/ScriptedDialogs.h).
//
//     ScriptedSettingsWindow window;
//     window.pressOk([](Table& row, SettingsValues& values) {
//         row.setValue("mlaphatid", 14);
//         values.teljesKep = false;
//     });
//     EditSettings();
//     EXPECT_EQ(window.shown()[0].programType, 0);
class ScriptedSettingsWindow final {
public:
    using Change = std::function<void(Table& row, SettingsValues& values)>;

    ScriptedSettingsWindow();
    ~ScriptedSettingsWindow();
    ScriptedSettingsWindow(const ScriptedSettingsWindow&) = delete;
    ScriptedSettingsWindow& operator=(const ScriptedSettingsWindow&) = delete;

    ScriptedSettingsWindow& pressOk(Change change = {});
    ScriptedSettingsWindow& pressCancel(Change change = {});

    // The values and the row as each opening showed them, before the change.
    const std::vector<SettingsValues>& shown() const { return m_shown; }
    const std::vector<Table>& shownRows() const { return m_shownRows; }
    qsizetype pendingAnswers() const { return qsizetype(m_answers.size()); }

private:
    struct Answer {
        Change change;
        bool ok = false;
    };
    bool open(Table& row, SettingsValues& values);

    std::deque<Answer> m_answers;
    std::vector<SettingsValues> m_shown;
    std::vector<Table> m_shownRows;
    SettingsWindow m_previous;
};

} // namespace kml
