// How long the planner takes with 20 employees and full days: opening it
// (window built, the day read, the grid painted), showing the next day, and
// repainting a scrolled grid; the main window's day panel switching days for
// one employee. References in the same run: the planner opened on an empty
// day, and reading the full day's rows alone. Runs on its own database on the server
// named by KML_TEST_HOST / KML_TEST_PORT (bench/planner starts one): the day
// has 48 half hours, 20 employees are booked over a year (about 300,000
// appointment rows), every day nearly full.
//
//   bench_planner [--runs N]

#include "BenchSupport.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "shell/MainSession.h"
#include "worksheets/DayPlanner.h"
#include "worksheets/PlannerGrid.h"
#include "worksheets/gui/DayPlannerPanel.h"
#include "worksheets/gui/SlotGrid.h"
#include "worksheets/gui/Tfrm_Naptar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextStream>
#include <cstdio>
#include <functional>

using namespace kml;

namespace {

// The offscreen platform's note on every window shown is left out.
QtMessageHandler PreviousHandler = nullptr;
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (PreviousHandler)
        PreviousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Paints the window now, as the first frame after a change.
void Paint(QWidget& window) {
    window.repaint();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PreviousHandler = qInstallMessageHandler(QuietOffscreen);
    int runs = 15;
    for (int i = 1; i + 1 < argc; ++i)
        if (QString::fromLatin1(argv[i]) == QLatin1String("--runs"))
            runs = QString::fromLatin1(argv[i + 1]).toInt();

    QTextStream out(stdout);
    out << "Preparing 20 employees, 48 half hours a day, a year of appointments ..." << Qt::endl;
    test::TestDatabase db(QStringLiteral("bench_planner"));
    ExecSql(QStringLiteral(
        "INSERT INTO ora (ora) SELECT seq FROM seq_0_to_47 WHERE seq NOT IN (SELECT ora FROM ora);"));
    ExecSql(QStringLiteral("INSERT INTO dolgozo (dolgozo, dolgozo_nev, sorszam) "
                           "SELECT seq, CONCAT('Dolgozó ', LPAD(seq, 2, '0')), seq FROM seq_1_to_20;"));
    // Appointments of one and a half hours (the first of a day shorter) with
    // a free half hour after each: 36 of 48 half hours booked, every day of a
    // year. azon: one number per appointment.
    ExecSql(QStringLiteral(
        "INSERT INTO elojegyzes (azon, dolgozo, datum, ora, szoveg, munkalapstr, ugyfelstr, keszulekstr) "
        "SELECT d.seq * 100000 + n.seq * 100 + o.seq - (o.seq + d.seq) MOD 4 + 10, d.seq, "
        "'2031-01-01' + INTERVAL n.seq DAY, o.seq, "
        "CONCAT('Karbantartás, ', d.seq, '. ügyfél, ', o.seq DIV 4, '. cím'), '', '', '' "
        "FROM seq_1_to_20 d JOIN seq_0_to_364 n JOIN seq_0_to_47 o WHERE (o.seq + d.seq) MOD 4 <> 3;"));
    ExecSql(QStringLiteral("ANALYZE TABLE elojegyzes, dolgozo, ora, nap;"));
    const QDate full(2031, 6, 2), empty(2032, 6, 2);
    // The new rows into the server's buffers before anything is timed.
    for (int d = -5; d < 40; ++d)
        ReadPlannerGrid(full.addDays(d));

    struct Row {
        QString what;
        std::vector<double> ms;
    };
    std::vector<Row> rows;
    for (const QDate& day : {full, empty}) {
        const QString which = day == full ? QStringLiteral("full day ") : QStringLiteral("empty day");
        rows.push_back({QStringLiteral("planner open, %1").arg(which), bench::TimeRuns(runs, [&] {
                            Tfrm_Naptar planner;
                            planner.resize(1400, 900);
                            planner.showDay(day);
                            planner.show();
                            Paint(planner);
                        })});
    }
    {
        Tfrm_Naptar planner;
        planner.resize(1400, 900);
        planner.showDay(full);
        planner.show();
        Paint(planner);
        QDate day = full;
        rows.push_back({QStringLiteral("planner next day, full day"), bench::TimeRuns(runs, [&] {
                            day = day.addDays(1);
                            planner.showDay(day);
                            Paint(planner);
                        })});
        int step = 0;
        rows.push_back({QStringLiteral("planner scrolled and painted"), bench::TimeRuns(runs, [&] {
                            QScrollBar* v = planner.Naptar->verticalScrollBar();
                            QScrollBar* h = planner.Naptar->horizontalScrollBar();
                            ++step;
                            v->setValue(v->maximum() * (step % 5) / 4);
                            h->setValue(h->maximum() * (step % 3) / 2);
                            planner.Naptar->viewport()->repaint();
                        })});
    }
    {
        MainSession session;
        session.mySQLDatabase1.open(db.options());
        SetSharedConnection(&session.mySQLDatabase1);
        Beall().workDate = full;
        DayPlannerPanel panel(session.dayPlanner());
        panel.resize(900, 700);
        panel.show();
        session.list(MainTab::Planner).open();
        Paint(panel);
        rows.push_back({QStringLiteral("day panel next day"), bench::TimeRuns(runs, [&] {
                            session.dayPlanner().nextDay();
                            Paint(panel);
                        })});
        SetSharedConnection(&db.connection());
    }
    rows.push_back(
        {QStringLiteral("the full day's rows alone"), bench::TimeRuns(runs, [&] { ReadPlannerGrid(full); })});

    out << "Planner, 20 employees x 48 half hours, " << runs << " runs each, medians (ms)\n";
    const double emptyOpen = bench::Median(rows[1].ms);
    const double readAlone = bench::Median(rows.back().ms);
    for (const Row& row : rows) {
        const double median = bench::Median(row.ms);
        out << row.what.leftJustified(30) << bench::Ms(median) << "   vs empty-day open "
            << bench::Ratio(median, emptyOpen) << "   vs the day's rows alone "
            << bench::Ratio(median, readAlone) << '\n';
    }
    return 0;
}
