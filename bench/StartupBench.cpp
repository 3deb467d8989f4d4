#include "StartupBench.h"

#include "BenchSupport.h"
#include "ScriptedDialogs.h"
#include "foundation/Folders.h"
#include "shell/ConnectionEntries.h"
#include "shell/StartupWindows.h"
#include "shell/gui/Tfrm_Main.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTextStream>
#include <cstdio>
#include <vector>

namespace kml::bench {

void WriteIniFile(const ConnectionOptions& options) {
    const QString path = ProgramFolder() + QLatin1Char('/') + QLatin1String(kIniFileName);
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.close();
    InitFolders();
    ConnectionEntry entry;
    entry.database = options.database;
    entry.host = options.host;
    entry.port = QString::number(options.port);
    entry.user = options.user;
    entry.password = options.password;
    entry.displayName = QStringLiteral("Nagy szerviz");
    StoreNewConnectionEntry(entry.text());
}

namespace {

void Report(const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int RunStartupChild(const ConnectionOptions& options, qint64 mainTimerNs) {
    QElapsedTimer timer;
    timer.start();
    try {
        WriteIniFile(options);
        ScriptedDialogs dialogs; // a message box would fail the run instead of waiting
        const double iniMs = ElapsedMs(timer);
        Tfrm_Main window;
        const double constructMs = ElapsedMs(timer) - iniMs;
        if (window.startupFailed()) {
            QString why;
            for (const DialogCall& call : dialogs.calls())
                why += call.text + QLatin1Char(' ');
            Report(QStringLiteral("failed ") + why.simplified());
            return 1;
        }
        window.resize(1280, 800);
        window.show();
        QCoreApplication::processEvents();
        QTableView* grid = window.workSheetGrid();
        if (grid)
            grid->viewport()->repaint();
        const double showMs = ElapsedMs(timer) - iniMs - constructMs;
        // The ini written for the run is not part of the start-up.
        const double sinceMain = double(mainTimerNs) / 1e6 + ElapsedMs(timer) - iniMs;
        Report(QStringLiteral("startup main=%1 construct=%2 show=%3 rows=%4 rss=%5")
                   .arg(sinceMain, 0, 'f', 1)
                   .arg(constructMs, 0, 'f', 1)
                   .arg(showMs, 0, 'f', 1)
                   .arg(window.session().list(MainTab::WorkSheets).query().recordCount())
                   .arg(ResidentBytes()));
        return 0;
    } catch (const std::exception& e) {
        Report(QStringLiteral("failed ") + QString::fromUtf8(e.what()));
        return 1;
    }
}

StartupFigures MeasureStartup(const QString& program, const QStringList& childArguments, int runs) {
    StartupFigures f;
    std::vector<double> since, construct, show, rss;
    for (int r = 0; r < runs; ++r) {
        QProcess child;
        child.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        child.start(program, QStringList{QStringLiteral("--startup-child")} + childArguments);
        QByteArray line;
        while (!line.contains('\n') && child.waitForReadyRead(120000))
            line += child.readAllStandardOutput();
        const double ms = ElapsedMs(timer);
        child.waitForFinished(60000);
        const QString text = QString::fromUtf8(line).trimmed();
        if (!text.startsWith(QLatin1String("startup "))) {
            f.failure = text.isEmpty() ? QStringLiteral("no report from the child") : text;
            return f;
        }
        since.push_back(ms);
        for (const QString& part : text.mid(8).split(QLatin1Char(' '))) {
            const QString key = part.section(QLatin1Char('='), 0, 0);
            const double value = part.section(QLatin1Char('='), 1).toDouble();
            if (key == QLatin1String("construct"))
                construct.push_back(value);
            else if (key == QLatin1String("show"))
                show.push_back(value);
            else if (key == QLatin1String("rows"))
                f.rows = int(value);
            else if (key == QLatin1String("rss"))
                rss.push_back(value);
        }
        ++f.runs;
    }
    f.sinceStartMs = Median(since);
    f.constructMs = Median(construct);
    f.showMs = Median(show);
    f.rssBytes = quint64(Median(rss));
    return f;
}

} // namespace kml::bench
