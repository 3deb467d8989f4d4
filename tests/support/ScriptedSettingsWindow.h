#pragma once

// The settings window as a test drives it, on ScriptedWindows: each opening
// takes the next answer written beforehand, applies its change to the row
// and the values as a user would, and presses OK or Mégsem; what each
// opening showed is kept. An opening without an answer throws ScriptError.
//
//     ScriptedSettingsWindow window;
//     window.pressOk([](Table& row, SettingsValues& values) {
//         row.setValue("mlaphatid", 14);
//         values.teljesKep = false;
//     });
//     EditSettings();
//     EXPECT_EQ(window.shown()[0].programType, 0);

#include "ScriptedWindows.h"
#include "shell/Beallit.h"

#include <functional>
#include <vector>

namespace kml {

class ScriptedSettingsWindow final {
public:
    using Change = std::function<void(Table& row, SettingsValues& values)>;

    ScriptedSettingsWindow() { m_windows.script(SettingsWindow); }

    ScriptedSettingsWindow& pressOk(Change change = {}) { return press(true, std::move(change)); }
    ScriptedSettingsWindow& pressCancel(Change change = {}) { return press(false, std::move(change)); }

    // The values and the row as each opening showed them, before the change.
    const std::vector<SettingsValues>& shown() const { return m_shown; }
    const std::vector<Table>& shownRows() const { return m_shownRows; }
    qsizetype pendingAnswers() const { return m_windows.pendingAnswers(); }

private:
    ScriptedSettingsWindow& press(bool ok, Change change) {
        m_windows.act(SettingsWindow,
                      [this, ok, change = std::move(change)](Table& row, SettingsValues& values) {
                          m_shown.push_back(values);
                          m_shownRows.push_back(row);
                          if (change)
                              change(row, values);
                          return ok;
                      });
        return *this;
    }

    ScriptedWindows m_windows;
    std::vector<SettingsValues> m_shown;
    std::vector<Table> m_shownRows;
};

} // namespace kml
