#include "MainWindowBench.h"

#include "BenchSupport.h"
#include "StartupBench.h"

#include "ScriptedDialogs.h"
#include "shell/StartupWindows.h"
#include "shell/gui/Tfrm_Main.h"

#include <QCoreApplication>
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
    const bool customers = list == QLatin1String("ugyfelek");
    m_window->TabControl1->setCurrentIndex(customers ? int(MainTab::Customers) : int(MainTab::WorkSheets));
    if (!customers)
        m_window->TabControl2->setCurrentIndex(list == QLatin1String("osszes") ? 1 : 0);
    QCoreApplication::processEvents();
}

KeystrokeTimes MainWindowBench::type(const QString& text) {
    KeystrokeTimes t;
    QLineEdit* edit = m_window->Edit1;
    QElapsedTimer timer;
    timer.start();
    // The change signal comes even when the same text is typed again.
    {
        const QSignalBlocker quiet(edit);
        edit->setText(text);
    }
    emit edit->textChanged(text);
    t.openMs = ElapsedMs(timer);
    QCoreApplication::processEvents();
    if (QTableView* grid = m_window->currentListGrid())
        grid->viewport()->repaint();
    t.totalMs = ElapsedMs(timer);
    t.gridMs = t.totalMs - t.openMs;
    const bool customers = m_window->TabControl1->currentIndex() == int(MainTab::Customers);
    t.rows = (customers ? m_window->session().QryU : m_window->session().QryMLap).recordCount();
    return t;
}

QString MainWindowBench::statement() const {
    const bool customers = m_window->TabControl1->currentIndex() == int(MainTab::Customers);
    return (customers ? m_window->session().QryU : m_window->session().QryMLap).statement();
}

} // namespace kml::bench
