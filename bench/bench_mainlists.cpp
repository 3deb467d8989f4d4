// Benchmark of the main window's lists over a large shop (bench/make_large_shop):
//
//   * every keystroke of a search on the work-sheet list (tabs "Folyamatban"
//     and "Összes"), the customer list and the device list, answered two ways
//     side by side: "before", the blocking LIKE search the window ran before
//     the search tables (ListBench), and "after", the session's own list
//     controllers as the main window's search box calls them, searching
//     through the lists' search tables with the rows streamed into the grid
//     (StreamingListBench); each against its statements run by the mariadb
//     command-line client with compression;
//   * typing a word letter by letter faster than the searches finish;
//   * the memory of the work-sheet grid over all sheets ("Összes") against
//     the bytes of the result as the protocol sends them, read both ways;
//   * with --main-window, the same keystrokes typed into the real main window
//     (its search box, list controllers, detail panels and counter) instead
//     of the before/after pair;
//   * with --startup-runs, the start-up of the real main window up to the
//     work-sheet list shown.
//
// The last lines judge the figures against the targets: "targets: all met",
// or "targets: N missed" and one line per miss.
//
// bench/run starts the server, creates the shop and runs this program.

#include "BenchSupport.h"
#include "ClientTiming.h"
#include "ListBench.h"
#include "MainWindowBench.h"
#include "StartupBench.h"
#include "components/Connection.h"
#include "components/Cp1250.h"
#include "shell/MainSession.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

using namespace kml;
using namespace kml::bench;

namespace {

// The targets.
constexpr double kFirstScreenMs = 150;   // first screen painted after a keystroke
constexpr double kSmallCompleteMs = 150; // a search of at most kSmallRows rows complete
constexpr int kSmallRows = 1000;
constexpr double kBroadRatio = 1.0;  // a broader search complete against the client's time
constexpr double kStallMs = 100;     // the event loop's longest wait while rows arrive
constexpr double kMemoryRatio = 2.0; // grid memory against the result's protocol bytes

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
    bool before = true;
    bool memory = true;
    bool mainWindow = false;
    int startupRuns = 0;
    int burstIntervalMs = 80;
    QString burstText = QStringLiteral("kovács");
    QStringList lists;
    QStringList texts;
    bool textsGiven = false;
};

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

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
    const ResultSet r = db.query(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM munkalap), (SELECT COUNT(*) FROM munkalap_tetel), "
                       "(SELECT COUNT(*) FROM ugyfel), (SELECT COUNT(*) FROM keszulek), @@version"));
    Out() << "Shop " << db.options().database << " on " << db.options().host << ':' << db.options().port
          << " (server " << r.text(0, 4) << "): " << r.text(0, 0) << " work sheets, " << r.text(0, 1)
          << " lines, " << r.text(0, 2) << " customers, " << r.text(0, 3) << " devices\n\n";
    Out().flush();
}

void PrintMemory(const char* how, const MemoryFigures& m) {
    const quint64 growth = m.rssAfterGrid - std::min(m.rssAfterGrid, m.rssBefore);
    Out() << "Memory of the work-sheet grid over all sheets (\"Összes\", " << AllSheetsCondition << "), "
          << how << ": " << m.rows << " rows x " << m.columns << " columns\n"
          << "  values' own bytes            " << MiB(m.fieldBytes) << '\n'
          << "  as the protocol sends them   " << MiB(m.protocolBytes) << "   (with packet headers "
          << MiB(m.packetBytes).trimmed() << ")\n"
          << "  ResultSet::memoryBytes()     " << MiB(m.resultBytes) << "   "
          << Ratio(double(m.resultBytes), double(m.protocolBytes)).trimmed() << " of the protocol bytes\n"
          << "  process RSS before / opened / painted " << MiB(m.rssBefore).trimmed() << " / "
          << MiB(m.rssAfterOpen).trimmed() << " / " << MiB(m.rssAfterGrid).trimmed() << "   growth "
          << MiB(growth).trimmed() << " = " << Ratio(double(growth), double(m.protocolBytes)).trimmed()
          << " of the protocol bytes (target: within " << kMemoryRatio << "x)\n\n";
    Out().flush();
}

// One typed text on one list, medians of the timed runs.
struct Row {
    QString list;
    QString text;
    int rows = 0;
    // before: the blocking LIKE search (or, with --main-window, unused)
    double beforeClientZ = 0;
    double beforeMs = 0;
    // after: the streaming search (or the main window)
    double clientZ = 0;
    double firstMs = 0;
    double completeMs = 0;
    double maxStallMs = 0;
};

struct Medians {
    double first = 0;
    double complete = 0;
    double stall = 0;
    double client = 0; // the mariadb client with --compress, same statements
    int rows = 0;
};

// A warm-up keystroke (on a streaming list also noting the event loop's
// longest wait), then the timed runs, each with the client's time for the
// same statements. A slow search is timed three times, each time right
// before the client runs it once, so that both meet the same load of the
// machine; a quick one as often as asked, the client's time then taken from
// batches of the statement (ClientStatementMs).
Medians TimeKeystrokes(SearchTarget& target, const QString& text, const Settings& s,
                       const ClientSetup& client) {
    auto* streaming = dynamic_cast<StreamingListBench*>(&target);
    if (streaming)
        streaming->setStallProbe(true);
    const KeystrokeTimes warm = target.type(text);
    if (streaming)
        streaming->setStallProbe(false);
    const QByteArray statement = ToCp1250(target.statement());
    const bool slow = warm.totalMs > 1000;
    const int n = slow ? std::min(s.runs, 3) : s.runs;
    std::vector<double> first, complete, clients;
    Medians m;
    m.stall = warm.maxStallMs;
    for (int r = 0; r < n; ++r) {
        const KeystrokeTimes t = target.type(text);
        first.push_back(t.firstMs);
        complete.push_back(t.totalMs);
        m.rows = t.rows;
        if (slow)
            clients.push_back(ClientOnceMs(client, statement, true));
    }
    m.first = Median(first);
    m.complete = Median(complete);
    m.client =
        slow ? Median(clients) : ClientStatementMs(client, statement, true, s.clientBatch, s.clientRepeats);
    return m;
}

void PrintKeystrokeHeader(bool beforeColumns, bool window) {
    Out() << "Keystrokes (medians in ms; client-z = the mariadb client with --compress running the same "
             "statement; first = the first screen of matching rows painted; complete = every row there, the "
             "counter right and the grid painted; ratio = complete / client-z; stall = the event loop's "
             "longest wait while the rows arrived)\n";
    QString line = QStringLiteral("%1 %2 %3 |")
                       .arg(QStringLiteral("list"), -24)
                       .arg(QStringLiteral("typed"), -10)
                       .arg(QStringLiteral("rows"), 7);
    if (beforeColumns)
        line += QStringLiteral(" before: %1 %2 |")
                    .arg(QStringLiteral("client-z"), 8)
                    .arg(QStringLiteral("ours"), 8);
    line += QStringLiteral(" %1: %2 %3 %4 %5 %6\n")
                .arg(window ? QStringLiteral("window") : QStringLiteral("after"))
                .arg(QStringLiteral("client-z"), 8)
                .arg(QStringLiteral("first"), 8)
                .arg(QStringLiteral("complete"), 8)
                .arg(QStringLiteral("ratio"), 7)
                .arg(QStringLiteral("stall"), 8);
    Out() << line;
    Out().flush();
}

void PrintRow(const Row& r, bool beforeColumns, bool window) {
    QString line = QStringLiteral("%1 %2 %3 |").arg(r.list, -24).arg(Quoted(r.text), -10).arg(r.rows, 7);
    if (beforeColumns)
        line += QStringLiteral(" before: %1 %2 |").arg(Ms(r.beforeClientZ), Ms(r.beforeMs));
    line += QStringLiteral(" %1: %2 %3 %4 %5 %6\n")
                .arg(window ? QStringLiteral("window") : QStringLiteral("after"))
                .arg(Ms(r.clientZ), Ms(r.firstMs), Ms(r.completeMs), Ratio(r.completeMs, r.clientZ),
                     Ms(r.maxStallMs));
    Out() << line;
    Out().flush();
}

QString Title(const QString& list) {
    if (list == QLatin1String("folyamatban"))
        return QStringLiteral("Munkalapok/Folyamatban");
    if (list == QLatin1String("osszes"))
        return QStringLiteral("Munkalapok/Összes");
    if (list == QLatin1String("ugyfelek"))
        return QStringLiteral("Ügyfelek");
    if (list == QLatin1String("keszulekek"))
        return QStringLiteral("Készülékek");
    return {};
}

ListBenchDefinition BenchListOf(const QString& list, MainSession& session) {
    if (list == QLatin1String("ugyfelek"))
        return CustomerList(session);
    if (list == QLatin1String("keszulekek"))
        return DeviceList(session);
    ListBenchDefinition sheets = WorkSheetList(session);
    sheets.fixedCondition = list == QLatin1String("osszes") ? AllSheetsCondition : InProgressCondition;
    return sheets;
}

// The misses of one row against the targets.
QStringList Misses(const Row& r) {
    QStringList misses;
    const QString what = r.list + QLatin1Char(' ') + Quoted(r.text) + QStringLiteral(": ");
    if (r.firstMs > kFirstScreenMs)
        misses << what + QStringLiteral("first screen %1 ms (target %2 ms)")
                             .arg(r.firstMs, 0, 'f', 0)
                             .arg(kFirstScreenMs);
    if (r.rows <= kSmallRows && r.completeMs > kSmallCompleteMs)
        misses << what + QStringLiteral("%1 rows complete in %2 ms (target %3 ms)")
                             .arg(r.rows)
                             .arg(r.completeMs, 0, 'f', 0)
                             .arg(kSmallCompleteMs);
    if (r.rows > kSmallRows && r.clientZ > 0 && r.completeMs > kBroadRatio * r.clientZ)
        misses << what + QStringLiteral("complete %1x of the client (target %2x)")
                             .arg(r.completeMs / r.clientZ, 0, 'f', 2)
                             .arg(kBroadRatio, 0, 'f', 1);
    if (r.rows > kSmallRows && r.maxStallMs > kStallMs)
        misses << what + QStringLiteral("the event loop waited %1 ms while rows arrived (target %2 ms)")
                             .arg(r.maxStallMs, 0, 'f', 0)
                             .arg(kStallMs);
    return misses;
}

QStringList MemoryMisses(const char* how, const MemoryFigures& m) {
    QStringList misses;
    if (m.protocolBytes == 0)
        return misses;
    const double held = double(m.resultBytes) / double(m.protocolBytes);
    const double growth =
        double(m.rssAfterGrid - std::min(m.rssAfterGrid, m.rssBefore)) / double(m.protocolBytes);
    if (held > kMemoryRatio || growth > kMemoryRatio)
        misses << QStringLiteral("memory (%1): the result holds %2x, the process grew %3x the protocol bytes "
                                 "(target %4x)")
                      .arg(QLatin1String(how))
                      .arg(held, 0, 'f', 2)
                      .arg(growth, 0, 'f', 2)
                      .arg(kMemoryRatio, 0, 'f', 1);
    return misses;
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
        std::fputs((qFormatLogMessage(type, context, message) + QLatin1Char('\n')).toLocal8Bit().constData(),
                   stderr);
}

Settings ParseArguments(const QCoreApplication& app, QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Times the main window's lists over a large shop."));
    parser.addHelpOption();
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Server host."),
                                  QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Server port."),
                                  QStringLiteral("port"), QStringLiteral("3306"));
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
                                   QStringLiteral("Extra statements in a timed client batch."),
                                   QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption repeats(QStringLiteral("client-repeats"),
                                     QStringLiteral("Timed client batches per text."), QStringLiteral("n"),
                                     QStringLiteral("5"));
    const QCommandLineOption noBefore(
        QStringLiteral("no-before"),
        QStringLiteral("Skip the blocking LIKE search the lists ran before the search tables."));
    const QCommandLineOption noMemory(QStringLiteral("no-memory"),
                                      QStringLiteral("Skip the memory figures."));
    const QCommandLineOption lists(
        QStringLiteral("lists"),
        QStringLiteral("Lists to time: folyamatban, osszes, ugyfelek, keszulekek (comma-separated)."),
        QStringLiteral("names"), QStringLiteral("folyamatban,osszes,ugyfelek,keszulekek"));
    const QCommandLineOption texts(
        QStringLiteral("texts"),
        QStringLiteral("Texts to type, separated by '|' (default: k, ko, kov, kovács, a "
                       "licence plate, this year's date start; \"\" always first)."),
        QStringLiteral("texts"));
    const QCommandLineOption burst(QStringLiteral("burst-interval"),
                                   QStringLiteral("Milliseconds between the letters of the typed word."),
                                   QStringLiteral("ms"), QStringLiteral("80"));
    const QCommandLineOption startupRuns(QStringLiteral("startup-runs"),
                                         QStringLiteral("Start-ups of the real main window to time."),
                                         QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption mainWindow(
        QStringLiteral("main-window"),
        QStringLiteral("Type into the real main window instead of the before/after "
                       "pair of its lists' components (no memory figures)."));
    const QCommandLineOption startupChild(
        QStringLiteral("startup-child"), QStringLiteral("(internal) one timed start-up of the main window."));
    parser.addOptions({host, port, user, password, database, client, runs, batch, repeats, noBefore, noMemory,
                       lists, texts, burst, startupRuns, mainWindow, startupChild});
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
    s.before = !parser.isSet(noBefore);
    s.mainWindow = parser.isSet(mainWindow);
    s.memory = !parser.isSet(noMemory) && !s.mainWindow;
    s.startupRuns = parser.value(startupRuns).toInt();
    s.burstIntervalMs = std::max(1, parser.value(burst).toInt());
    s.lists = parser.value(lists).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parser.isSet(texts)) {
        s.textsGiven = true;
        s.texts = QStringList{QString()} + parser.value(texts).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    }
    return s;
}

QStringList ConnectionArguments(const Settings& s) {
    QStringList args{QStringLiteral("--host"),           s.connection.host,        QStringLiteral("--port"),
                     QString::number(s.connection.port), QStringLiteral("--user"), s.connection.user,
                     QStringLiteral("--database"),       s.connection.database};
    if (!s.connection.password.isEmpty())
        args << QStringLiteral("--password") << s.connection.password;
    return args;
}

// The keystrokes typed into the real main window.
std::vector<Row> MeasureMainWindow(const Settings& s, const ClientSetup& client) {
    Out() << "Typing into the main window (Tfrm_Main, search box Edit1)\n";
    MainWindowBench window(s.connection);
    PrintKeystrokeHeader(false, true);
    std::vector<Row> rows;
    for (const QString& name : s.lists) {
        window.select(name);
        for (const QString& text : s.texts) {
            Row row;
            row.list = Title(name);
            row.text = text;
            const Medians m = TimeKeystrokes(window, text, s, client);
            row.rows = m.rows;
            row.firstMs = m.first;
            row.completeMs = m.complete;
            row.clientZ = m.client;
            PrintRow(row, false, true);
            rows.push_back(row);
        }
    }
    return rows;
}

// The keystrokes answered by the blocking LIKE search and by the streaming
// search, text by text.
std::vector<Row> MeasureBeforeAfter(const Settings& s, const ClientSetup& client, MainSession& before,
                                    MainSession& after) {
    PrintKeystrokeHeader(s.before, false);
    std::vector<Row> rows;
    for (const QString& name : s.lists) {
        std::optional<ListBench> old;
        if (s.before) {
            old.emplace(BenchListOf(name, before));
            old->grid().setVisible(false);
        }
        StreamingListBench streaming(BenchListOf(name, after));
        streaming.grid().setVisible(false);
        for (const QString& text : s.texts) {
            Row row;
            row.list = Title(name);
            row.text = text;
            if (old) {
                old->grid().setVisible(true);
                const Medians m = TimeKeystrokes(*old, text, s, client);
                old->grid().setVisible(false);
                old->query().close();
                row.beforeMs = m.complete;
                row.rows = m.rows;
                row.beforeClientZ = m.client;
            }
            streaming.grid().setVisible(true);
            const Medians m = TimeKeystrokes(streaming, text, s, client);
            streaming.grid().setVisible(false);
            row.rows = m.rows;
            row.firstMs = m.first;
            row.completeMs = m.complete;
            row.maxStallMs = m.stall;
            row.clientZ = m.client;
            streaming.query().close();
            PrintRow(row, s.before, false);
            rows.push_back(row);
        }
    }
    return rows;
}

// A word typed letter by letter on "Összes" faster than its searches finish.
QStringList MeasureBurst(const Settings& s, MainSession& after) {
    QStringList misses;
    QStringList prefixes;
    for (int n = 1; n <= s.burstText.size(); ++n)
        prefixes << s.burstText.left(n);
    ListBenchDefinition list = BenchListOf(QStringLiteral("osszes"), after);
    std::vector<QStringList> keys;
    for (const QString& text : prefixes)
        keys.push_back(SearchKeys(list, text));
    StreamingListBench streaming(list);
    // Once to warm up, then timed.
    streaming.typeQuickly(prefixes, s.burstIntervalMs, keys);
    const BurstFigures f = streaming.typeQuickly(prefixes, s.burstIntervalMs, keys);
    streaming.query().close();
    Out() << "\nTyping " << Quoted(s.burstText) << " on Munkalapok/Összes, a letter every "
          << s.burstIntervalMs << " ms: " << f.keystrokes << " searches started, " << f.abandoned
          << " abandoned (KILL QUERY), " << f.completed
          << " completed; rows of an older text shown: " << f.foreignRows << "; the last text's rows "
          << (f.finalRowsRight ? "right" : "WRONG") << "; last keystroke to complete "
          << Ms(f.lastToCompleteMs).trimmed() << " ms\n";
    Out().flush();
    if (f.completed != 1)
        misses << QStringLiteral("typing %1: %2 searches completed (target 1)")
                      .arg(Quoted(s.burstText))
                      .arg(f.completed);
    if (f.foreignRows > 0)
        misses << QStringLiteral("typing %1: %2 rows of an older text shown (target none)")
                      .arg(Quoted(s.burstText))
                      .arg(f.foreignRows);
    if (!f.finalRowsRight)
        misses << QStringLiteral("typing %1: the last text's rows are not those of its own search")
                      .arg(Quoted(s.burstText));
    return misses;
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
        for (const QString& name : s.lists)
            if (Title(name).isEmpty()) {
                Out() << "unknown list: " << name << '\n';
                return 2;
            }
        const ClientSetup client{s.clientProgram,   s.connection.host,     s.connection.port,
                                 s.connection.user, s.connection.password, s.connection.database};

        std::vector<Row> rows;
        QStringList misses;
        if (s.mainWindow) {
            rows = MeasureMainWindow(run, client);
        } else {
            // Two sessions, so that the two ways never share a query or a grid.
            auto before = std::make_unique<MainSession>();
            before->mySQLDatabase1.open(s.connection);
            auto after = std::make_unique<MainSession>();
            after->mySQLDatabase1.open(s.connection);
            SetSharedConnection(&after->mySQLDatabase1);
            if (s.memory) {
                for (const bool streaming : {false, true}) {
                    MainSession& session = streaming ? *after : *before;
                    const ListBenchDefinition list = BenchListOf(QStringLiteral("osszes"), session);
                    ListGrid grid(list);
                    const MemoryFigures m =
                        MeasureListMemory(*list.query, grid, list.fixedCondition, streaming);
                    const char* how = streaming ? "streamed (after)" : "read at once (before)";
                    PrintMemory(how, m);
                    if (streaming)
                        misses += MemoryMisses(how, m);
                }
            }
            rows = MeasureBeforeAfter(run, client, *before, *after);
            misses += MeasureBurst(run, *after);
        }
        QStringList rowMisses;
        for (const Row& r : rows)
            rowMisses += Misses(r);
        misses = rowMisses + misses;

        if (s.startupRuns > 0) {
            Out() << "\nStart-up of the main window (" << s.startupRuns << " runs, medians):\n";
            Out().flush();
            const StartupFigures f = MeasureStartup(QCoreApplication::applicationFilePath(),
                                                    ConnectionArguments(s), s.startupRuns);
            if (!f.failure.isEmpty())
                Out() << "  start-up failed: " << f.failure << '\n';
            else
                Out() << "  process start to work-sheet list painted " << Ms(f.sinceStartMs) << " ms\n"
                      << "    of which Tfrm_Main built (start-up steps) " << Ms(f.constructMs)
                      << " ms, shown and "
                      << "painted " << Ms(f.showMs) << " ms; " << f.rows << " rows; RSS "
                      << MiB(f.rssBytes).trimmed() << '\n';
        }

        Out() << "\nTargets (" << (s.mainWindow ? "the main window" : "after") << "): first screen within "
              << kFirstScreenMs << " ms; at most " << kSmallRows << " rows complete within "
              << kSmallCompleteMs << " ms; broader searches complete within " << kBroadRatio
              << "x the client, the event loop never "
              << "waiting more than " << kStallMs
              << " ms meanwhile; typing a word abandons every search but the "
              << "last and never shows an older text's rows; memory within " << kMemoryRatio << "x\n";
        if (misses.isEmpty()) {
            Out() << "targets: all met\n";
        } else {
            Out() << "targets: " << misses.size() << " missed\n";
            for (const QString& miss : misses)
                Out() << "  " << miss << '\n';
        }
        Out().flush();
        return 0;
    } catch (const std::exception& e) {
        Out() << "error: " << e.what() << '\n';
        Out().flush();
        return 1;
    }
}
