// The main window's count of what falls due on the demo shop: shown at
// start-up, counted again after "Esedékes" (Ctrl+D) and "Frissít".
#include "ScriptedWindows.h"
#include "gui/MainWindowOnDemo.h"
#include "worksheets/DueList.h"

#include <QAction>
#include <QLabel>
#include <gtest/gtest.h>

namespace kml {
namespace {

class MainWindowDue : public test::MainWindowOnDemo {
protected:
    static void SetUpTestSuite() { StartDemo(QStringLiteral("maindue")); }
};

TEST_F(MainWindowDue, TheStatusBarCountsWhatFallsDueThisWeekAndFollowsTheDueWindow) {
    Tfrm_Main& w = open();
    const DueCount before = CountDue(s_db->connection());
    EXPECT_GT(before.due, 0) << "the demo shop has reminders around today";
    EXPECT_EQ(w.StatusPanelDue->text(), DueCountText(before));
    EXPECT_EQ(w.action(QStringLiteral("aEsedekes"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    shoot(QStringLiteral("due-count"));

    // Marked done in the window: the count follows when it closes.
    ScriptedWindows windows;
    windows.act(ShowDueList, [] {
        SharedConnection().exec(
            QStringLiteral("UPDATE ugyfel SET dat_figyelmeztet = CURDATE() + INTERVAL 1 YEAR "
                           "WHERE torolve = 'N' AND dat_figyelmeztet <= CURDATE()"));
    });
    w.action(QStringLiteral("aEsedekes"))->trigger();
    ASSERT_EQ(windows.calls(QStringLiteral("ShowDueList")).size(), 1u);
    const DueCount after = CountDue(s_db->connection());
    EXPECT_LT(after.due, before.due);
    EXPECT_EQ(w.StatusPanelDue->text(), DueCountText(after));

    // Another workstation's change shows with "Frissít".
    s_db->connection().exec(
        QStringLiteral("UPDATE ugyfel SET dat_figyelmeztet = CURDATE() WHERE ugyfel = 1"));
    w.action(QStringLiteral("aFrissit"))->trigger();
    EXPECT_EQ(w.StatusPanelDue->text(), DueCountText(CountDue(s_db->connection())));
}

} // namespace
} // namespace kml
