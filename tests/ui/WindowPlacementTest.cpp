// Windows reopen where they were closed, under a real window manager: the
// test runs its probe in a virtual X display (Xvfb) with openbox, whose
// frames make the difference between a window's frame and its client area.
// The probe opens editors (fixed-size and resizable) several times from the
// position and size in the ini file, moves the window as a user does, and
// checks that each opening stands exactly where the last one was closed.
//
// The outer test starts the probe through xvfb-run; it is skipped when Xvfb
// or openbox is missing. The probe itself runs only inside that display.

#include "foundation/WindowPlacement.h"

#include "foundation/Dialogs.h"
#include "foundation/IniFile.h"
#include "foundation/gui/QtDialogs.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/gui/EditWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Failures show rectangles as rectangles.
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.width() << 'x' << r.height() << '+' << r.x() << '+' << r.y();
}

namespace kml {
namespace {

const char* const ProbeVariable = "KML_PLACEMENT_PROBE";

// Opens an editor on the ini file, lets the window manager place it, runs
// act (a user moving or resizing it), closes it, and gives the client area
// it stood at and its frame. (Qt learns a frame's size some time after the
// window is mapped, and not reliably for every window: the frame is used
// only to see that a window manager frames the windows at all.)
struct Shown {
    QRect client;
    QRect frame;
};
Shown OpenAndClose(bool resizable, const std::function<void(QWidget*)>& act = {}) {
    EditWindow window(QStringLiteral("frm_Proba"), QStringLiteral("proba"));
    window.setResizable(resizable);
    window.resize(320, 200);
    Shown shown;
    QTimer::singleShot(0, &window, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(400); // the frame arrives after the window is mapped
        shown = {window.geometry(), window.frameGeometry()};
        if (act) {
            act(&window);
            QTest::qWait(400);
        }
        window.reject();
    });
    window.exec();
    return shown;
}

TEST(WindowPlacementProbe, EditorsReopenWhereTheyWereClosed) {
    if (!qEnvironmentVariableIsSet(ProbeVariable))
        GTEST_SKIP() << "runs inside the virtual display only";
    QTemporaryDir home;
    SetIniFilePath(home.filePath(QStringLiteral("KoravelML.ini")));
    IniWriteInt(QStringLiteral("frm_Proba"), QStringLiteral("Left"), 200);
    IniWriteInt(QStringLiteral("frm_Proba"), QStringLiteral("Top"), 150);

    // Fixed-size: opened and closed again and again, it does not move.
    const Shown first = OpenAndClose(false);
    ASSERT_NE(first.frame, first.client) << "no window manager frames the window";
    EXPECT_EQ(first.client.topLeft(), QPoint(200, 150));
    for (int i = 0; i < 3; ++i) {
        const Shown again = OpenAndClose(false);
        EXPECT_EQ(again.client, first.client) << "opening " << i + 2;
    }
    EXPECT_EQ(IniReadInt(QStringLiteral("frm_Proba"), QStringLiteral("Left"), -1), 200);
    EXPECT_EQ(IniReadInt(QStringLiteral("frm_Proba"), QStringLiteral("Top"), -1), 150);

    // Moved by the user: the next opening stands where it was left.
    const Shown moved = OpenAndClose(false, [](QWidget* w) { w->move(w->pos() + QPoint(37, 21)); });
    const Shown afterMove = OpenAndClose(false);
    EXPECT_EQ(afterMove.client.topLeft(), moved.client.topLeft() + QPoint(37, 21));

    // Resizable: position and size both come back.
    const Shown resized = OpenAndClose(true, [](QWidget* w) { w->resize(410, 260); });
    const Shown afterResize = OpenAndClose(true);
    EXPECT_EQ(afterResize.client, QRect(resized.client.topLeft(), QSize(410, 260)));
    const Shown once = OpenAndClose(true);
    EXPECT_EQ(once.client, afterResize.client);
    SetIniFilePath({});
}

// The input dialogs keep their place through the same ini file.
QRect AskNumberAndClose() {
    QRect shown;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !QTest::qWaitForWindowExposed(modal)) {
            ADD_FAILURE() << "the number window did not open";
            return;
        }
        QTest::qWait(400);
        shown = modal->geometry();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    double number = 1;
    AskNumber(QStringLiteral("Szám"), QStringLiteral("Mennyi?"), number);
    return shown;
}

TEST(WindowPlacementProbe, InputDialogsReopenWhereTheyWereClosed) {
    if (!qEnvironmentVariableIsSet(ProbeVariable))
        GTEST_SKIP() << "runs inside the virtual display only";
    QTemporaryDir home;
    SetIniFilePath(home.filePath(QStringLiteral("KoravelML.ini")));
    QtDialogs backend;
    DialogBackend* previous = SetDialogBackend(&backend);
    const QRect first = AskNumberAndClose();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(AskNumberAndClose(), first) << "opening " << i + 2;
    SetDialogBackend(previous);
    SetIniFilePath({});
}

TEST(WindowPlacement, EditorsReopenWhereTheyWereClosedUnderAWindowManager) {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (xvfbRun.isEmpty() || openbox.isEmpty())
        GTEST_SKIP() << "needs xvfb-run and openbox (scripts/deps installs them)";
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(ProbeVariable), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    probe.setProcessEnvironment(env);
    // openbox in the background, the probe once it has taken the screen.
    const QString script = QStringLiteral("'%1' --sm-disable & wm=$!; sleep 1; '%2' "
                                          "--gtest_filter=WindowPlacementProbe.*; rc=$?; kill $wm; exit $rc")
                               .arg(openbox, QCoreApplication::applicationFilePath());
    probe.start(xvfbRun,
                {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
                 QStringLiteral("sh"), QStringLiteral("-c"), script});
    ASSERT_TRUE(probe.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(probe.readAll());
    EXPECT_EQ(probe.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 2 tests"))) << output.toStdString();
}

} // namespace
} // namespace kml
