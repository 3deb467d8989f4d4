// Start-up against the real server: the paths through the database choice,
// the first-run window, the connection, the version check and the login,
// with the windows answered by script; and what reaches the ini file.

#include "shell/Startup.h"

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/DbError.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "shell/MainSession.h"
#include "shell/StartupWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRect>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <netinet/in.h>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace kml {
namespace {

using test::TestDatabase;

// An answer of the choice window: "Új" pressed (the first-run window opens).
constexpr int NewEntry = 1000;

// The start-up windows, answered by script and recorded.
struct StartupScript {
    std::vector<int> choices;                       // ChooseDatabase answers
    std::vector<std::optional<QString>> newEntries; // first-run window answers
    std::function<bool()> login = [] { return true; };

    int chooseCalls = 0, initCalls = 0, loginCalls = 0;
    QStringList shownLines;
    QString caption;

    StartupScript() {
        m_previousChoice = DatabaseChoiceWindow.replace(
            [this](const QStringList& lines, const QStringList&, const QString& c) {
                shownLines = lines;
                caption = c;
                const int choice = choices.at(size_t(chooseCalls++));
                if (choice != NewEntry)
                    return choice;
                return CreateConnectionEntry() ? int(lines.size()) : -1;
            });
        m_previousEntry =
            ConnectionEntryWindow.replace([this] { return newEntries.at(size_t(initCalls++)); });
        m_previousLogin = LoginWindow.replace([this] {
            ++loginCalls;
            return login();
        });
    }
    ~StartupScript() {
        DatabaseChoiceWindow.replace(std::move(m_previousChoice));
        ConnectionEntryWindow.replace(std::move(m_previousEntry));
        LoginWindow.replace(std::move(m_previousLogin));
    }

private:
    decltype(DatabaseChoiceWindow)::Function m_previousChoice;
    decltype(ConnectionEntryWindow)::Function m_previousEntry;
    decltype(LoginWindow)::Function m_previousLogin;
};

// A loopback port on which nothing listens.
unsigned ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd); // never listened on, and free again
    return ntohs(address.sin_port);
}

class StartupFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new TestDatabase(QStringLiteral("startup")); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        // The per-user data folder (no KoravelML.ini beside the test program).
        m_oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        m_closedPort = ClosedPort();
    }
    void TearDown() override {
        qputenv("XDG_DATA_HOME", m_oldHome);
        Beall() = TBeall{};
        SetSharedConnection(&s_db->connection());
    }

    QString iniPath() const { return m_home.filePath(QStringLiteral("KoravelML/KoravelML.ini")); }

    // {db}, {port} and {closed} stand for the test database, the server's
    // port and a port nobody listens on.
    QString expand(QString text) const {
        text.replace(QStringLiteral("{db}"), s_db->name());
        text.replace(QStringLiteral("{port}"), QString::number(s_db->options().port));
        text.replace(QStringLiteral("{closed}"), QString::number(m_closedPort));
        return text;
    }

    void writeIni(const std::map<int, QString>& entries, const std::map<QString, QString>& alapertek = {}) {
        QDir().mkpath(m_home.filePath(QStringLiteral("KoravelML")));
        IniFile ini(iniPath());
        for (const auto& [n, entry] : entries)
            ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr%1").arg(n),
                            ScramblePassword(expand(entry)));
        for (const auto& [key, value] : alapertek)
            ini.writeString(QStringLiteral("Alapertek"), key, value);
        ini.save();
    }

    QString storedEntry(int n) const {
        return UnscramblePassword(
            IniFile(iniPath()).readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr%1").arg(n)));
    }

    QByteArray iniBytes() const {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Statements separated by ";" (none of them holds one in a literal).
    void exec(const QString& sql) {
        for (const QString& statement : sql.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!statement.trimmed().isEmpty())
                s_db->connection().exec(statement);
    }

    static TestDatabase* s_db;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    unsigned m_closedPort = 0;
};

TestDatabase* StartupFixture::s_db = nullptr;

// A reachable entry without its display name.
const QString Good = QStringLiteral("{db};127.0.0.1;{port};root;;");

struct StartupCase {
    const char* name = "";
    std::map<int, QString> entries{};                 // stored before start-up
    std::vector<int> choices{};                       // answers of the choice window
    std::vector<std::optional<QString>> newEntries{}; // answers of the first-run window
    QString setupSql{}, teardownSql{};
    std::function<bool()> login{}; // when set, vanbelep is 'I'
    int reportAnswers = 0;         // "No" to that many report questions
    // Expected:
    bool failed = false;
    QStringList dialogs{}; // texts shown, in order; a text ending in "..." is a prefix
    int chooseCalls = 0, initCalls = 0;
    QStringList shownLines{};             // lines of the choice window, when it was shown
    QString connectionName{};             // after a successful start-up
    std::map<int, QString> storedAfter{}; // entries in the ini file afterwards
};

void PrintTo(const StartupCase& c, std::ostream* os) {
    *os << c.name;
}

class StartupPaths : public StartupFixture, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupPaths, RunsAsTheCaseSays) {
    const StartupCase& c = GetParam();
    writeIni(c.entries);
    exec(c.setupSql);
    if (c.login)
        exec(QStringLiteral("UPDATE beallit SET vanbelep = 'I';"));

    ScriptedDialogs dialogs;
    for (int i = 0; i < c.reportAnswers; ++i)
        dialogs.answer(DialogAnswer::No);
    StartupScript windows;
    windows.choices = c.choices;
    for (const auto& e : c.newEntries)
        windows.newEntries.push_back(e ? std::optional<QString>(expand(*e)) : std::nullopt);
    if (c.login)
        windows.login = c.login;

    StartupOutcome outcome;
    {
        MainSession session;
        outcome = RunStartup(session);
        const QByteArray before = iniBytes();
        MainWindowClosing(session, QRect(11, 12, 700, 500));
        if (c.failed) {
            EXPECT_EQ(iniBytes(), before) << "a failed start-up writes nothing at close";
        } else {
            EXPECT_NE(iniBytes(), before);
        }
    }
    exec(QStringLiteral("UPDATE beallit SET vanbelep = 'N';"));
    exec(c.teardownSql);

    EXPECT_EQ(outcome.failed, c.failed);
    EXPECT_EQ(Beall().startupFailed, c.failed);

    const QStringList shown = dialogs.texts();
    ASSERT_EQ(shown.size(), c.dialogs.size()) << shown.join(QStringLiteral(" | ")).toStdString();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QString expected = expand(c.dialogs[i]);
        if (expected.endsWith(QStringLiteral("..."))) {
            EXPECT_TRUE(shown[i].startsWith(expected.chopped(3))) << shown[i].toStdString();
        } else {
            EXPECT_EQ(shown[i], expected);
        }
    }

    EXPECT_EQ(windows.chooseCalls, c.chooseCalls);
    EXPECT_EQ(windows.initCalls, c.initCalls);
    if (c.chooseCalls > 0) {
        EXPECT_EQ(windows.shownLines, c.shownLines);
        EXPECT_EQ(windows.caption, QStringLiteral("Koravel.ML adatbázis választás"));
    }
    if (!c.failed) {
        EXPECT_EQ(Beall().connectionName, c.connectionName);
    }
    EXPECT_EQ(windows.loginCalls, c.login ? 1 : 0);
    for (const auto& [n, entry] : c.storedAfter)
        EXPECT_EQ(storedEntry(n), expand(entry)) << "ConStr" << n;
}

const QString VersionWarning = QStringLiteral("Eltérő verziók, hiba lehetséges, frissítse programját, "
                                              "adatbázisát\r\nadatbázis : %1\r\nprogram: 24.0.0.111");

INSTANTIATE_TEST_SUITE_P(
    Startup, StartupPaths,
    ::testing::Values(
        StartupCase{.name = "NoEntriesOpensFirstRunWindowAndStoresConStr1",
                    .newEntries = {Good + "Első"},
                    .failed = false,
                    .chooseCalls = 0,
                    .initCalls = 1,
                    .connectionName = "Első",
                    .storedAfter = {{1, Good + "Első"}}},
        StartupCase{.name = "NoEntriesAndFirstRunCancelled",
                    .newEntries = {std::nullopt},
                    .failed = true,
                    .chooseCalls = 0,
                    .initCalls = 1,
                    .storedAfter = {{1, ""}}},
        StartupCase{.name = "OneReachableEntryShowsNoChoiceWindow",
                    .entries = {{1, Good + "Bolt"}},
                    .failed = false,
                    .chooseCalls = 0,
                    .initCalls = 0,
                    .connectionName = "Bolt"},
        StartupCase{.name = "UnnamedEntryAndEntriesAbove25AreNotOffered",
                    .entries = {{1, "nincs;127.0.0.1;{port};root;;"},
                                {2, Good + "Kettő"},
                                {3, Good + "Három"},
                                {26, Good + "Huszonhat"}},
                    .choices = {0},
                    .failed = false,
                    .chooseCalls = 1,
                    .initCalls = 0,
                    .shownLines = {"2; Kettő", "3; Három"},
                    .connectionName = "Kettő"},
        StartupCase{.name = "NewEntryMadeFromTheChoiceWindowIsUsed",
                    .entries = {{1, Good + "A"}, {2, Good + "B"}},
                    .choices = {NewEntry},
                    .newEntries = {Good + "Új bolt"},
                    .failed = false,
                    .chooseCalls = 1,
                    .initCalls = 1,
                    .shownLines = {"1; A", "2; B"},
                    .connectionName = "Új bolt",
                    .storedAfter = {{3, Good + "Új bolt"}}},
        StartupCase{.name = "NewEntryCancelledInTheChoiceWindow",
                    .entries = {{1, Good + "A"}, {2, Good + "B"}},
                    .choices = {NewEntry},
                    .newEntries = {std::nullopt, std::nullopt},
                    .failed = true,
                    .chooseCalls = 1,
                    .initCalls = 2,
                    .shownLines = {"1; A", "2; B"}},
        StartupCase{.name = "CancelledChoiceStillShowsFirstRunWindowAndEnds",
                    .entries = {{1, Good + "A"}, {2, Good + "B"}},
                    .choices = {-1},
                    .newEntries = {Good + "Harmadik"},
                    .failed = true,
                    .chooseCalls = 1,
                    .initCalls = 1,
                    .shownLines = {"1; A", "2; B"},
                    .storedAfter = {{3, Good + "Harmadik"}}},
        StartupCase{.name = "UnreachableServer",
                    .newEntries = {QString("{db};127.0.0.1;{closed};root;;X")},
                    .failed = true,
                    .dialogs = {"Sikertelen kapcsolódás: ..."},
                    .chooseCalls = 0,
                    .initCalls = 1},
        StartupCase{.name = "OneUnreachableEntryOpensTheChoiceWindowAfterItsTest",
                    .entries = {{1, "{db};127.0.0.1;{closed};root;;X"}},
                    .choices = {0},
                    .failed = true,
                    .dialogs = {"Hiba: ...", "Sikertelen kapcsolódás: ..."},
                    .chooseCalls = 1,
                    .initCalls = 0,
                    .shownLines = {"1; X"}},
        StartupCase{.name = "NonNumericPortIsAFailedConnection",
                    .newEntries = {QString("{db};127.0.0.1;33o6;root;;X")},
                    .failed = true,
                    .dialogs = {"Sikertelen kapcsolódás: '33o6' is not a valid integer value"},
                    .chooseCalls = 0,
                    .initCalls = 1},
        StartupCase{.name = "VersionWithTrailingBlank",
                    .entries = {{1, Good + "Bolt"}},
                    .setupSql = "DELETE FROM verzio; INSERT INTO verzio (verzio) VALUES ('24.0.0.111 ');",
                    .teardownSql = "DELETE FROM verzio; INSERT INTO verzio (verzio) VALUES ('24.0.0.111');",
                    .failed = true,
                    .dialogs = {VersionWarning.arg("24.0.0.111 ")},
                    .chooseCalls = 0,
                    .initCalls = 0},
        StartupCase{.name = "OlderVersion",
                    .entries = {{1, Good + "Bolt"}},
                    .setupSql = "INSERT INTO verzio (verzio) VALUES ('24.0.0.110'); "
                                "DELETE FROM verzio WHERE verzio = '24.0.0.111';",
                    .teardownSql = "DELETE FROM verzio; INSERT INTO verzio (verzio) VALUES ('24.0.0.111');",
                    .failed = true,
                    .dialogs = {VersionWarning.arg("24.0.0.110")},
                    .chooseCalls = 0,
                    .initCalls = 0},
        StartupCase{.name = "MissingVersionTable",
                    .entries = {{1, Good + "Bolt"}},
                    .setupSql = "RENAME TABLE verzio TO verzio_regi;",
                    .teardownSql = "RENAME TABLE verzio_regi TO verzio;",
                    .failed = true,
                    .dialogs = {VersionWarning.arg("")},
                    .chooseCalls = 0,
                    .initCalls = 0},
        StartupCase{.name = "LoginCancelled",
                    .entries = {{1, Good + "Bolt"}},
                    .login = [] { return false; },
                    .failed = true,
                    .chooseCalls = 0,
                    .initCalls = 0},
        StartupCase{
            .name = "ErrorInsideLogin",
            .entries = {{1, Good + "Bolt"}},
            .login = []() -> bool { throw DbError("Lost connection to server during query", 2013); },
            .failed = true,
            .dialogs = {"Ismeretlen hiba, indítsa újra a programot.\r\nLost connection to server during "
                        "query (2013)"},
            .chooseCalls = 0,
            .initCalls = 0},
        StartupCase{.name = "LoginAccepted",
                    .entries = {{1, Good + "Bolt"}},
                    .login = [] { return true; },
                    .failed = false,
                    .chooseCalls = 0,
                    .initCalls = 0,
                    .connectionName = "Bolt"},
        StartupCase{.name = "UnexpectedErrorGoesToTheErrorHandler",
                    .entries = {{1, Good + "Bolt"}},
                    .setupSql = "RENAME TABLE tulajdonos TO tulajdonos_regi;",
                    .teardownSql = "RENAME TABLE tulajdonos_regi TO tulajdonos;",
                    .reportAnswers = 1,
                    .failed = true,
                    .dialogs = {"Kérem, az alábbi hibaüzenetet az OK gombra kattintva küldje el "
                                "nekünk:\r\n-Table '{db}.tulajdonos' doesn't exist (1146)..."},
                    .chooseCalls = 0,
                    .initCalls = 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupFixture, SuccessfulStartUpPreparesTheMainWindowAndClosingWritesEveryKey) {
    writeIni({{1, Good + "Bolt"}}, {{"Betumeret", "12"}});
    IniFile seeded(iniPath());
    seeded.writeString(QStringLiteral("Tulajdonos"), QStringLiteral("Tulajdonos"),
                       QStringLiteral("Kiss Béla"));
    seeded.writeString(QStringLiteral("Defaults"), QStringLiteral("Kepek"),
                       m_home.filePath(QStringLiteral("a/b/Kepek")));
    seeded.save();
    exec(QStringLiteral("UPDATE beallit SET mlaphatid = 4, utbelep = NULL;"));
    ScriptedDialogs dialogs;
    StartupScript windows;

    MainSession session;
    const StartupOutcome outcome = RunStartup(session);
    ASSERT_FALSE(outcome.failed) << dialogs.texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(dialogs.calls().empty());

    const TBeall& s = Beall();
    EXPECT_EQ(outcome.caption, QStringLiteral("Koravel - ML: [") +
                                   QueryStr(QStringLiteral("SELECT tulajdonos FROM tulajdonos;")) +
                                   QLatin1Char(']'));
    EXPECT_EQ(outcome.label, QStringLiteral("Koravel.ML: Bolt  "));
    EXPECT_EQ(s.betumeret, 9);
    EXPECT_TRUE(QDir(m_home.filePath(QStringLiteral("a/b/Kepek"))).exists()) << "picture folder created";
    EXPECT_EQ(s.workDate, ServerDate());
    EXPECT_EQ(s.prgtipus, 1);
    EXPECT_EQ(s.mlaphatid, 4);
    EXPECT_FALSE(s.vanbelep);
    EXPECT_EQ(s.felhasznaloNev, QStringLiteral("rendszergazda"));
    EXPECT_TRUE(s.rendszergazda && s.torzsszerkeszt && s.nyomtathat && s.nyeresegnezhet && s.excelbe &&
                s.canins && s.canedit && s.candel);

    // The shared connection is the session's, with the entry's database.
    EXPECT_EQ(&SharedConnection(), &session.mySQLDatabase1);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT DATABASE();")), s_db->name());
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT @@collation_connection;")),
              QStringLiteral("latin2_hungarian_ci"));

    // The work-sheet list is open on status 1 and 2.
    EXPECT_TRUE(session.list(MainTab::WorkSheets).query().isActive());
    EXPECT_EQ(session.list(MainTab::WorkSheets).query().sql().value(1),
              QStringLiteral("WHERE (statusz BETWEEN 1 AND 2)"));
    EXPECT_EQ(session.daySlots().param(QStringLiteral("pdatum")).toDate(), s.workDate);
    EXPECT_GT(QueryInt(QStringLiteral("SELECT COUNT(*) FROM dolgelo WHERE datum = CURDATE();")), 0)
        << "sp_dolgelofeltolt prepared today's planner";

    MainWindowShown();
    EXPECT_EQ(
        QueryInt(QStringLiteral("SELECT COUNT(*) FROM beallit WHERE utbelep >= NOW() - INTERVAL 1 MINUTE;")),
        1);

    Beall().alapVaros = QStringLiteral("Szeged");
    Beall().vanPennart = true;
    MainWindowClosing(session, QRect(21, 22, 800, 600));
    EXPECT_FALSE(session.mySQLDatabase1.isOpen());

    const IniFile ini(iniPath());
    const std::vector<std::tuple<const char*, const char*, QString>> expected{
        {"Pennart", "VanPennart", "1"},
        {"Pennart", "Pennart", ""},
        {"Defaults", "Kepek", m_home.filePath(QStringLiteral("a/b/Kepek"))},
        {"Alapertek", "Betumeret", "9"},
        {"Alapertek", "MLapHatid", "4"},
        {"Alapertek", "HtmlUt", QCoreApplication::applicationDirPath() + "/Html"},
        {"Alapertek", "TeljesKep", "1"},
        {"Tulajdonos", "Tulajdonos", "Kiss Béla"},
        {"Alapertek", "AlapVaros", "Szeged"},
        {"Alapertek", "FormatFt", "### ### ##0"},
        {"Alapertek", "FormatDb", "### ### ##0"},
        {"Nyomtato", "AlapNyomtato", ""},
        {"Alapertek", "Bal", "21"},
        {"Alapertek", "Felul", "22"},
        {"Alapertek", "Magas", "600"},
        {"Alapertek", "Szeles", "800"},
    };
    for (const auto& [section, key, value] : expected) {
        EXPECT_TRUE(ini.hasKey(QLatin1String(section), QLatin1String(key))) << section << "/" << key;
        EXPECT_EQ(ini.readString(QLatin1String(section), QLatin1String(key)), value) << section << "/" << key;
    }
    EXPECT_EQ(storedEntry(1), expand(Good + "Bolt")) << "the entries are left as they were";
}

} // namespace
} // namespace kml
