// Benchmark of the main window's lists over a large shop (bench/make_large_shop):
//
//   * every keystroke of a search on the work-sheet list (tabs "Folyamatban"
//     and "Összes") and on the customer list, through the same components and
//     helpers the main window uses, against the same statement run by the
//     mariadb command-line client (with and without compression);
//   * the memory of the work-sheet grid over all sheets ("Összes") against
//     the bytes of the result as the protocol sends them;
//   * with --startup-runs, the start-up of the real main window up to the
//     work-sheet list shown.
//
// bench/run starts the server, creates the shop and runs this program.

#include "BenchSupport.h"
#include "ClientTiming.h"
#include "ListBench.h"
#include "MainWindowBench.h"
#include "StartupBench.h"

#include "components/Connection.h"
#include "components/Cp1250.h"
#include "shell/MainLists.h"
#include "shell/MainSession.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <vector>

using namespace kml;
using namespace kml::bench;

namespace {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

struct Settings {
    ConnectionOptions connection;
    QString clientProgram;
    int runs = 7;
    int clientBatch = 5;
    int clientRepeats = 5;
    bool uncompressed = true;
    bool memory = true;
    bool mainWindow = false;
    int startupRuns = 0;
    QStringList lists;
    QStringList texts;
    bool textsGiven = false;
    QString workSheetView;
    QString customerView;
};

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// The texts typed when none are given: the letters of a frequent family name
// one by one, a licence plate of a sheet in progress and the start of this
// year's dates.
QStringList DefaultTexts(Connection& db) {
    QStringList texts{QString(), QStringLiteral("k"), QStringLiteral("ko"), QStringLiteral("kov"),
                      QStringLiteral("kovács")};
    const ResultSet plate = db.query(QStringLiteral(
        "SELECT k.gysz FROM munkalap m JOIN keszulek k ON k.keszulek = m.keszulek "
        "WHERE m.statusz BETWEEN 1 AND 2 AND k.gysz LIKE '%-%' ORDER BY m.munkalap DESC LIMIT 1"));
    if (plate.rowCount() > 0)
        texts << plate.text(0, 0);
    const ResultSet year = db.query(QStringLiteral("SELECT YEAR(CURDATE())"));
    texts << year.text(0, 0) + QStringLiteral(".0");
    return texts;
}

void PrintShop(Connection& db) {
    const ResultSet r = db.query(QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM munkalap), (SELECT COUNT(*) FROM munkalap_tetel), "
        "(SELECT COUNT(*) FROM ugyfel), (SELECT COUNT(*) FROM keszulek), @@version"));
    Out() << "Shop " << db.options().database << " on " << db.options().host << ':' << db.options().port
          << " (server " << r.text(0, 4) << "): " << r.text(0, 0) << " work sheets, " << r.text(0, 1)
          << " lines, " << r.text(0, 2) << " customers, " << r.text(0, 3) << " devices\n\n";
}

void PrintMemory(const MemoryFigures& m) {
    Out() << "Memory of the work-sheet grid over all sheets (\"Összes\", " << AllSheetsCondition << "): " << m.rows
          << " rows x " << m.columns << " columns\n"
          << "  values' own bytes            " << MiB(m.fieldBytes) << '\n'
          << "  as the protocol sends them   " << MiB(m.protocolBytes) << "   (with packet headers "
          << MiB(m.packetBytes).trimmed() << ")\n"
          << "  ResultSet::memoryBytes()     " << MiB(m.resultBytes) << "   " << Ratio(m.resultBytes, m.protocolBytes).trimmed()
          << " of the protocol bytes\n"
          << "  process RSS before / opened / painted " << MiB(m.rssBefore).trimmed() << " / "
          << MiB(m.rssAfterOpen).trimmed() << " / " << MiB(m.rssAfterGrid).trimmed() << "   growth "
          << MiB(m.rssAfterGrid - std::min(m.rssAfterGrid, m.rssBefore)).trimmed() << " = "
          << Ratio(double(m.rssAfterGrid - std::min(m.rssAfterGrid, m.rssBefore)), double(m.protocolBytes)).trimmed()
          << " of the protocol bytes (target: within 2x)\n\n";
    Out().flush();
}

struct Row {
    QString list;
    QString text;
    int rows = 0;
    double clientZ = 0; // compressed
    double client = 0;  // uncompressed
    double ours = 0;
    double open = 0;
    double locate = 0;
    double grid = 0;
};

void PrintHeader() {
    Out() << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 | %8 %9 %10\n")
                 .arg(QStringLiteral("list"), -24)
                 .arg(QStringLiteral("typed"), -10)
                 .arg(QStringLiteral("rows"), 7)
                 .arg(QStringLiteral("client-z"), 8)
                 .arg(QStringLiteral("client"), 8)
                 .arg(QStringLiteral("ours"), 8)
                 .arg(QStringLiteral("ratio"), 7)
                 .arg(QStringLiteral("open"), 8)
                 .arg(QStringLiteral("locate"), 8)
                 .arg(QStringLiteral("grid"), 8);
    Out().flush();
}

void PrintRow(const Row& r) {
    Out() << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 | %8 %9 %10\n")
                 .arg(r.list, -24)
                 .arg(Quoted(r.text), -10)
                 .arg(r.rows, 7)
                 .arg(Ms(r.clientZ), r.client > 0 ? Ms(r.client) : QStringLiteral("-").rightJustified(8), Ms(r.ours),
                      Ratio(r.ours, r.clientZ), Ms(r.open), Ms(r.locate))
                 .arg(Ms(r.grid));
    Out().flush();
}

void PrintKeystrokeHeader(bool mainWindow) {
    if (mainWindow)
        Out() << "Keystrokes: medians in ms; client-z / client = the mariadb client with / without --compress "
                 "for the same statement; ours = the search box's change handled (open: the window's search, "
                 "details and counter included) and the grid painted (grid); ratio = ours / client-z\n";
    else
        Out() << "Keystrokes: medians in ms; client-z / client = the mariadb client with / without --compress "
                 "for the same statement; ours = condition, reopen, quick-locate, grid painted (open + locate + "
                 "grid); ratio = ours / client-z\n";
    PrintHeader();
}

// Drops the offscreen platform's notices about what it cannot do.
QtMessageHandler g_previousHandler = nullptr;

void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")) ||
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        std::fputs((qFormatLogMessage(type, context, message) + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

// The keystrokes of one list: ours (median of the runs after one warm-up)
// and the client's for the same statement.
std::vector<Row> MeasureList(SearchTarget& list, const QString& title, const Settings& s, const ClientSetup& client) {
    std::vector<Row> rows;
    for (const QString& text : s.texts) {
        Row row;
        row.list = title;
        row.text = text;
        const KeystrokeTimes warm = list.type(text);
        const int runs = warm.totalMs > 1500 ? std::min(s.runs, 3) : s.runs;
        std::vector<double> total, open, locate, grid;
        for (int r = 0; r < runs; ++r) {
            const KeystrokeTimes t = list.type(text);
            total.push_back(t.totalMs);
            open.push_back(t.openMs);
            locate.push_back(t.locateMs);
            grid.push_back(t.gridMs);
            row.rows = t.rows;
        }
        row.ours = Median(total);
        row.open = Median(open);
        row.locate = Median(locate);
        row.grid = Median(grid);

        // A slow statement is timed with fewer client runs.
        const QByteArray statement = ToCp1250(list.statement());
        const bool slow = ClientBatchMs(client, statement, 1, true) > 1000;
        const int n = slow ? 1 : s.clientBatch;
        row.clientZ = ClientStatementMs(client, statement, true, n, slow ? 2 : s.clientRepeats);
        if (s.uncompressed)
            row.client = ClientStatementMs(client, statement, false, n, slow ? 1 : s.clientRepeats);
        PrintRow(row);
        rows.push_back(row);
    }
    return rows;
}

void PrintVerdict(const std::vector<Row>& rows, const MemoryFigures* memory) {
    Out() << "\nAgainst the targets (keystroke within 1.3x of the client's compressed time, that statement under "
             "150 ms):\n";
    for (const Row& r : rows) {
        QStringList misses;
        if (r.clientZ > 0 && r.ours > 1.3 * r.clientZ)
            misses << QStringLiteral("keystroke %1x of the client").arg(r.ours / r.clientZ, 0, 'f', 2);
        if (r.clientZ > 150)
            misses << QStringLiteral("statement %1 ms").arg(r.clientZ, 0, 'f', 0);
        if (!misses.isEmpty())
            Out() << "  " << r.list << ' ' << Quoted(r.text) << ": " << misses.join(QStringLiteral(", ")) << '\n';
    }
    if (memory && memory->protocolBytes > 0) {
        const double ratio = double(memory->resultBytes) / double(memory->protocolBytes);
        Out() << "  memory: the result holds " << QString::number(ratio, 'f', 2) << "x the protocol bytes"
              << (ratio <= 2 ? " (within 2x)" : " (over 2x)") << '\n';
    }
    Out().flush();
}

Settings ParseArguments(const QCoreApplication& app, QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Times the main window's lists over a large shop."));
    parser.addHelpOption();
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Server host."), QStringLiteral("host"),
                                  QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Server port."), QStringLiteral("port"),
                                  QStringLiteral("3306"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User."), QStringLiteral("user"),
                                  QStringLiteral("root"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Password."),
                                      QStringLiteral("password"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Database."),
                                      QStringLiteral("name"), QStringLiteral("koravel_large"));
    const QCommandLineOption client(QStringLiteral("client"), QStringLiteral("The mariadb client program."),
                                    QStringLiteral("program"), QStringLiteral("mariadb"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Timed keystrokes per text."),
                                  QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption batch(QStringLiteral("client-batch"),
                                   QStringLiteral("Extra statements in a timed client batch."), QStringLiteral("n"),
                                   QStringLiteral("5"));
    const QCommandLineOption repeats(QStringLiteral("client-repeats"),
                                     QStringLiteral("Timed client batches per text."), QStringLiteral("n"),
                                     QStringLiteral("5"));
    const QCommandLineOption noUncompressed(QStringLiteral("no-uncompressed"),
                                            QStringLiteral("Skip the client without compression."));
    const QCommandLineOption noMemory(QStringLiteral("no-memory"), QStringLiteral("Skip the memory figures."));
    const QCommandLineOption lists(QStringLiteral("lists"),
                                   QStringLiteral("Lists to time: folyamatban, osszes, ugyfelek (comma-separated)."),
                                   QStringLiteral("names"), QStringLiteral("folyamatban,osszes,ugyfelek"));
    const QCommandLineOption texts(QStringLiteral("texts"),
                                   QStringLiteral("Texts to type, separated by '|' (default: k, ko, kov, kovács, a "
                                                  "licence plate, this year's date start; \"\" always first)."),
                                   QStringLiteral("texts"));
    const QCommandLineOption sheetView(QStringLiteral("worksheet-view"),
                                       QStringLiteral("View the work-sheet list reads instead of vw_munkalap."),
                                       QStringLiteral("view"));
    const QCommandLineOption customerView(QStringLiteral("customer-view"),
                                          QStringLiteral("View the customer list reads instead of vw_ugyfel."),
                                          QStringLiteral("view"));
    const QCommandLineOption startupRuns(QStringLiteral("startup-runs"),
                                         QStringLiteral("Start-ups of the real main window to time."),
                                         QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption mainWindow(QStringLiteral("main-window"),
                                        QStringLiteral("Type into the real main window instead of its lists' "
                                                       "components (no memory figures)."));
    const QCommandLineOption startupChild(QStringLiteral("startup-child"),
                                          QStringLiteral("(internal) one timed start-up of the main window."));
    parser.addOptions({host, port, user, password, database, client, runs, batch, repeats, noUncompressed, noMemory,
                       lists, texts, sheetView, customerView, startupRuns, mainWindow, startupChild});
    parser.process(app);

    Settings s;
    s.connection.host = parser.value(host);
    s.connection.port = parser.value(port).toUInt();
    s.connection.user = parser.value(user);
    s.connection.password = parser.value(password);
    s.connection.database = parser.value(database);
    s.connection.compress = true;
    s.clientProgram = parser.value(client);
    s.runs = std::max(1, parser.value(runs).toInt());
    s.clientBatch = std::max(1, parser.value(batch).toInt());
    s.clientRepeats = std::max(1, parser.value(repeats).toInt());
    s.uncompressed = !parser.isSet(noUncompressed);
    s.mainWindow = parser.isSet(mainWindow);
    s.memory = !parser.isSet(noMemory) && !s.mainWindow;
    s.startupRuns = parser.value(startupRuns).toInt();
    s.lists = parser.value(lists).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parser.isSet(texts)) {
        s.textsGiven = true;
        s.texts = QStringList{QString()} + parser.value(texts).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    }
    s.workSheetView = parser.value(sheetView);
    s.customerView = parser.value(customerView);
    return s;
}

QStringList ConnectionArguments(const Settings& s) {
    QStringList args{QStringLiteral("--host"), s.connection.host, QStringLiteral("--port"),
                     QString::number(s.connection.port), QStringLiteral("--user"), s.connection.user,
                     QStringLiteral("--database"), s.connection.database};
    if (!s.connection.password.isEmpty())
        args << QStringLiteral("--password") << s.connection.password;
    return args;
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    // The offscreen platform warns about window opacity (the splash) and the like.
    g_previousHandler = qInstallMessageHandler(QuietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KoravelML"));
    QCommandLineParser parser;
    const Settings s = ParseArguments(app, parser);

    if (parser.isSet(QStringLiteral("startup-child")))
        return RunStartupChild(s.connection, sinceMain.nsecsElapsed());

    try {
        Settings run = s;
        {
            Connection probe;
            probe.open(s.connection);
            PrintShop(probe);
            if (!run.textsGiven)
                run.texts = DefaultTexts(probe);
        }
        const ClientSetup client{s.clientProgram, s.connection.host, s.connection.port, s.connection.user,
                                 s.connection.password, s.connection.database};
        const auto title = [](const QString& list) {
            if (list == QLatin1String("folyamatban"))
                return QStringLiteral("Munkalapok/Folyamatban");
            if (list == QLatin1String("osszes"))
                return QStringLiteral("Munkalapok/Összes");
            if (list == QLatin1String("ugyfelek"))
                return QStringLiteral("Ügyfelek");
            return QString();
        };
        for (const QString& name : s.lists)
            if (title(name).isEmpty()) {
                Out() << "unknown list: " << name << '\n';
                return 2;
            }

        std::vector<Row> all;
        std::unique_ptr<MemoryFigures> memory;
        if (s.mainWindow) {
            Out() << "Typing into the main window (Tfrm_Main, search box Edit1)\n";
            MainWindowBench window(s.connection);
            PrintKeystrokeHeader(true);
            for (const QString& name : s.lists) {
                window.select(name);
                const std::vector<Row> rows = MeasureList(window, title(name), run, client);
                all.insert(all.end(), rows.begin(), rows.end());
            }
        } else {
            auto session = std::make_unique<MainSession>();
            session->mySQLDatabase1.open(s.connection);
            SetSharedConnection(&session->mySQLDatabase1);
            ListBench sheets(WorkSheetList(*session, s.workSheetView));
            if (s.memory) {
                sheets.setFixedCondition(AllSheetsCondition);
                memory = std::make_unique<MemoryFigures>(MeasureListMemory(sheets));
                PrintMemory(*memory);
            }
            PrintKeystrokeHeader(false);
            for (const QString& name : s.lists) {
                std::vector<Row> rows;
                if (name == QLatin1String("ugyfelek")) {
                    sheets.query().close();
                    ListBench customers(CustomerList(*session, s.customerView));
                    rows = MeasureList(customers, title(name), run, client);
                    customers.query().close();
                } else {
                    sheets.setFixedCondition(name == QLatin1String("osszes") ? AllSheetsCondition
                                                                            : InProgressCondition);
                    rows = MeasureList(sheets, title(name), run, client);
                    if (name == QLatin1String("folyamatban"))
                        Out() << "  detail panels (lines and totals of the current sheet): "
                              << Ms(RefreshWorkSheetDetails(*session, int(ValueAt(sheets.query(), sheets.query().row(),
                                                                                   QStringLiteral("munkalap"))
                                                                               .toLongLong())))
                                     .trimmed()
                              << " ms\n";
                }
                all.insert(all.end(), rows.begin(), rows.end());
            }
            sheets.query().close();
        }
        PrintVerdict(all, memory.get());

        if (s.startupRuns > 0) {
            Out() << "\nStart-up of the main window (" << s.startupRuns << " runs, medians):\n";
            Out().flush();
            const StartupFigures f =
                MeasureStartup(QCoreApplication::applicationFilePath(), ConnectionArguments(s), s.startupRuns);
            if (!f.failure.isEmpty())
                Out() << "  start-up failed: " << f.failure << '\n';
            else
                Out() << "  process start to work-sheet list painted " << Ms(f.sinceStartMs) << " ms\n"
                      << "    of which Tfrm_Main built (start-up steps) " << Ms(f.constructMs) << " ms, shown and "
                      << "painted " << Ms(f.showMs) << " ms; " << f.rows << " rows; RSS " << MiB(f.rssBytes).trimmed()
                      << '\n';
        }
        Out().flush();
        return 0;
    } catch (const std::exception& e) {
        Out() << "error: " << e.what() << '\n';
        Out().flush();
        return 1;
    }
}
