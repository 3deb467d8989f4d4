#include "MainWindowBench.h"

#include "BenchSupport.h"
#include "ScriptedDialogs.h"
#include "StartupBench.h"
#include "shell/MainSession.h"
#include "shell/StartupWindows.h"
#include "shell/gui/Tfrm_Main.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableView>
#include <stdexcept>

namespace kml::bench {
namespace {

// A message box would fail the run instead of waiting for an answer, as
// would a start-up window.
ScriptedDialogs& Dialogs() {
    static ScriptedDialogs dialogs;
    return dialogs;
}

} // namespace

MainWindowBench::MainWindowBench(const ConnectionOptions& options) {
    WriteIniFile(options);
    Dialogs();
    // No start-up window is installed: one that would open fails the run.
    m_window = std::make_unique<Tfrm_Main>();
    if (m_window->startupFailed()) {
        QString why;
        for (const DialogCall& call : Dialogs().calls())
            why += call.text + QLatin1Char(' ');
        throw std::runtime_error("start-up of the main window failed: " + why.simplified().toStdString());
    }
    m_window->resize(1280, 800);
    m_window->show();
    QCoreApplication::processEvents();
}

MainWindowBench::~MainWindowBench() = default;

void MainWindowBench::select(const QString& list) {
    if (list == QLatin1String("ugyfelek")) {
        m_window->TabControl1->setCurrentIndex(int(MainTab::Customers));
    } else if (list == QLatin1String("keszulekek")) {
        m_window->TabControl1->setCurrentIndex(int(MainTab::Devices));
    } else {
        m_window->TabControl1->setCurrentIndex(int(MainTab::WorkSheets));
        m_window->TabControl2->setCurrentIndex(list == QLatin1String("osszes") ? 1 : 0);
    }
    PumpUntil([this] { return !currentQuery().isFetching(); });
}

ListController& MainWindowBench::currentList() const {
    return m_window->currentList();
}

Query& MainWindowBench::currentQuery() const {
    return currentList().query();
}

KeystrokeTimes MainWindowBench::type(const QString& text) {
    KeystrokeTimes t;
    QLineEdit* edit = m_window->Edit1;
    QTableView* grid = m_window->currentListGrid();
    const int rowHeight = grid ? std::max(1, grid->verticalHeader()->defaultSectionSize()) : 1;
    const int screen = grid ? std::max(1, grid->viewport()->height() / rowHeight) : 1;
    const auto paint = [grid] {
        QCoreApplication::processEvents();
        if (grid)
            grid->viewport()->repaint();
    };
    QElapsedTimer timer;
    timer.start();
    // The change signal comes even when the same text is typed again.
    {
        const QSignalBlocker quiet(edit);
        edit->setText(text);
    }
    emit edit->textChanged(text);
    t.openMs = ElapsedMs(timer);
    Query& q = currentQuery();
    bool firstShown = false;
    const auto showFirstScreen = [&] {
        if (firstShown || !(q.recordCount() >= screen || !q.isFetching()))
            return;
        firstShown = true;
        paint();
        t.firstMs = ElapsedMs(timer);
    };
    PumpUntil([&] {
        showFirstScreen();
        return !q.isFetching();
    });
    showFirstScreen();
    paint();
    t.totalMs = ElapsedMs(timer);
    t.gridMs = t.totalMs - t.openMs;
    t.rows = q.recordCount();
    return t;
}

QString MainWindowBench::statement() const {
    return SearchStatements(currentList(), currentList().searchText());
}

} // namespace kml::bench
