// The maker's online services against a local HTTPS server (a certificate
// authority of the test's own, made with openssl): version notices and news
// that are shown and remembered, answers that show nothing (other builds,
// garbage, error statuses, error pages, an untrusted certificate, a server
// that never answers while the program keeps painting), and the maker's
// message panel in its two styles.
#include "services/MakerServices.h"

#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/ShellOpener.h"
#include "gui/WindowTesting.h"
#include "services/gui/MakerMessagePanel.h"
#include "services/gui/ServiceWindows.h"
#include "services/gui/Tfrm_Hirfolyam.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::TestDatabase;

// Runs openssl in the folder; fails the test when it fails.
void OpenSsl(const QString& folder, const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral("openssl"), args);
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}

// A loopback port that nobody listens on at the moment.
int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

class MakerServices : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("makerservices"));
        s_dir = new QTemporaryDir;
        const QString d = s_dir->path();
        QDir(d).mkdir(QStringLiteral("answers"));
        QDir(d).mkdir(QStringLiteral("data"));
        const QStringList ec = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                                QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
        OpenSsl(
            d, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec +
                   QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=Teszt CA"});
        OpenSsl(d, QStringList{QStringLiteral("req")} + ec +
                       QStringList{"-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1"});
        QFile ext(d + QStringLiteral("/ext.cnf"));
        ASSERT_TRUE(ext.open(QIODevice::WriteOnly));
        ext.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n");
        ext.close();
        OpenSsl(d, {"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                    "-CAcreateserial", "-out", "server.pem", "-days", "2", "-extfile", "ext.cnf"});
        s_port = FreePort();
        s_server = new QProcess;
        s_server->start(QStringLiteral("/usr/bin/python3"),
                        {test::SourcePath(QStringLiteral("tests/support/maker_server.py")),
                         QString::number(s_port), d + QStringLiteral("/server.pem"),
                         d + QStringLiteral("/server.key"), d + QStringLiteral("/answers")});
        ASSERT_TRUE(s_server->waitForReadyRead(20000)) << s_server->readAllStandardError().toStdString();
        ASSERT_EQ(s_server->readLine().trimmed(), QByteArray("ready"));
    }
    static void TearDownTestSuite() {
        s_server->closeWriteChannel();
        s_server->kill();
        s_server->waitForFinished();
        delete s_server;
        delete s_dir;
        delete s_db;
    }

    void SetUp() override {
        InstallServiceWindows();
        for (const QString& f : QDir(answers()).entryList(QDir::Files))
            QFile::remove(answers() + QLatin1Char('/') + f);
        ExecSql(QStringLiteral("UPDATE beallit SET verzioelfogadva = NULL, hirelfogadva = NULL;"));
        ExecSql(QStringLiteral("DELETE FROM uzenet;"));
        m_previousOpener = SetShellOpener([this](const QString& a) { m_opened << a; });
    }
    void TearDown() override { SetShellOpener(m_previousOpener); }

    static QString answers() { return s_dir->path() + QStringLiteral("/answers"); }

    // The next answers of an endpoint ("verziokovetes.php", "hirfolyam.php").
    static void Answer(const char* endpoint, const QByteArray& status, const QByteArray& body = {}) {
        QFile f(answers() + QLatin1Char('/') + QLatin1String(endpoint));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(status + '\n' + body);
    }
    static QStringList Requests() {
        QFile f(answers() + QStringLiteral("/requests.log"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static MakerCheckSettings Settings(bool trusted = true) {
        MakerCheckSettings s;
        s.ownVersion = QStringLiteral("24.0.0.111");
        s.endpoint.base = QStringLiteral("https://127.0.0.1:%1").arg(s_port);
        if (trusted)
            s.endpoint.caFile = s_dir->path() + QStringLiteral("/ca.pem");
        s.dataFolder = s_dir->path() + QStringLiteral("/data");
        s.limits = {2, 4};
        return s;
    }

    // Runs one check to its end; whether its window was shown.
    static bool RunVersionCheck(bool trusted = true) {
        MakerChecks checks(Settings(trusted));
        QSignalSpy spy(&checks, &MakerChecks::versionChecked);
        checks.checkNewVersion();
        EXPECT_TRUE(spy.wait(15000));
        return !spy.isEmpty() && spy.first().first().toBool();
    }
    static bool RunNewsCheck() {
        MakerChecks checks(Settings());
        QSignalSpy spy(&checks, &MakerChecks::newsChecked);
        checks.checkNews();
        EXPECT_TRUE(spy.wait(15000));
        return !spy.isEmpty() && spy.first().first().toBool();
    }

    static inline TestDatabase* s_db = nullptr;
    static inline QTemporaryDir* s_dir = nullptr;
    static inline QProcess* s_server = nullptr;
    static inline int s_port = 0;
    QStringList m_opened;
    ShellOpener m_previousOpener;
};

// ---- Version notice ------------------------------------------------------------

TEST_F(MakerServices, NewerBuildIsShownUntilTheUserTicksNotAgain) {
    Answer("verziokovetes.php", "200",
           "24.0.0.112|Megjelent az \xC3\xBAj v\xC3\xA1ltozat: <b>gyorsabb</b> lista.");
    ScriptedWindows windows;
    QString shownVersion, shownText;
    windows.act(ShowVersionNotice, [&](const QString& version, const QString& text) {
        shownVersion = version;
        shownText = text;
        return true; // "Többet ne figyelmeztessen" ticked
    });
    EXPECT_TRUE(RunVersionCheck());
    EXPECT_EQ(shownVersion, QStringLiteral("24.0.0.112"));
    EXPECT_EQ(shownText, QStringLiteral("Megjelent az új változat: <b>gyorsabb</b> lista."));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT verzioelfogadva FROM beallit;")), QStringLiteral("24.0.0.112"));
    EXPECT_EQ(Requests(), QStringList{QStringLiteral("/verziokovetes.php?prg=47")});
    EXPECT_TRUE(QFile::exists(s_dir->path() + QStringLiteral("/data/Verkov.txt"))) << "left in place";

    // The same answer again: nothing.
    windows.script(ShowVersionNotice);
    EXPECT_FALSE(RunVersionCheck());
    EXPECT_EQ(windows.calls(QStringLiteral("ShowVersionNotice")).size(), 1u);
}

TEST_F(MakerServices, AnswersThatAreNoNewerVersionShowNothing) {
    const struct {
        const char* what;
        QByteArray status, body;
    } cases[] = {
        {"a higher major version with a lower build", "200", "25.0.0.100|Új főverzió"},
        {"the program's own version", "200", "24.0.0.111|Ez fut"},
        {"not a version", "200", "valami|szöveg"},
        {"a version too long for the database", "200", "24.0.0.11211111111|hosszú"},
        {"an error page with status 200", "200", "<!DOCTYPE html><html><body>24.0.0.999</body></html>"},
        {"not found", "404", "24.0.0.112|a 404 lap szövege"},
        {"server error", "500", "24.0.0.112|hiba"},
        {"an empty answer", "200", ""},
    };
    ScriptedWindows windows;
    windows.script(ShowVersionNotice);
    for (const auto& c : cases) {
        Answer("verziokovetes.php", c.status, c.body);
        EXPECT_FALSE(RunVersionCheck()) << c.what;
    }
    QFile::remove(answers() + QStringLiteral("/verziokovetes.php")); // no such page at all
    EXPECT_FALSE(RunVersionCheck());
    EXPECT_TRUE(windows.calls().empty());
    EXPECT_TRUE(QueryStr(QStringLiteral("SELECT verzioelfogadva FROM beallit;")).isEmpty());
}

TEST_F(MakerServices, ServerWithAnUntrustedCertificateShowsNothing) {
    Answer("verziokovetes.php", "200", "24.0.0.112|Új");
    ScriptedWindows windows;
    windows.script(ShowVersionNotice);
    EXPECT_FALSE(RunVersionCheck(false)) << "the system does not know the test's authority";
    EXPECT_TRUE(windows.calls().empty());
}

TEST_F(MakerServices, ServerThatNeverAnswersLeavesTheWindowPainting) {
    Answer("verziokovetes.php", "hang");
    ScriptedWindows windows;
    windows.script(ShowVersionNotice);

    // A window that repaints every 20 ms while the check waits.
    struct Counter : QWidget {
        int paints = 0;
        void paintEvent(QPaintEvent*) override { ++paints; }
    } window;
    window.resize(200, 100);
    window.show();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &window, [&window] { window.update(); });
    ticker.start(20);

    MakerChecks checks(Settings());
    QSignalSpy spy(&checks, &MakerChecks::versionChecked);
    QElapsedTimer clock;
    clock.start();
    checks.checkNewVersion();
    EXPECT_LT(clock.elapsed(), 500) << "the check returns at once";
    const int before = window.paints;
    ASSERT_TRUE(spy.wait(15000));
    EXPECT_FALSE(spy.first().first().toBool());
    EXPECT_GE(clock.elapsed(), 3500) << "waited for the total limit of 4 s";
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_GT(window.paints - before, 40) << "the window kept painting while the server kept silent";
    EXPECT_TRUE(windows.calls().empty());
}

TEST_F(MakerServices, CheckStillWaitingIsAbandonedWhenTheWindowGoes) {
    Answer("hirfolyam.php", "hang");
    QElapsedTimer clock;
    {
        MakerChecks checks(Settings());
        checks.checkNews();
        QTest::qWait(300);
        EXPECT_TRUE(checks.isChecking());
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 2500) << "closing the program does not wait for the maker's server";
}

// ---- News -------------------------------------------------------------------------

// The real news window: its texts, then "Többet ne mutassa" ticked and OK.
Tfrm_Hirfolyam* OpenNewsWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* news = qobject_cast<Tfrm_Hirfolyam*>(w); news && news->isVisible())
            return news;
    return nullptr;
}

TEST_F(MakerServices, NewsIsShownAsPlainTextAndNotAgainOnceTicked) {
    const struct {
        const char* stored; // hirelfogadva before
        const char* asked;  // the hir of the request
        int after;          // hirelfogadva after ticking
    } cases[] = {
        {"NULL", "0", 7}, // NULL < 7 is never true in SQL: the tick must still stick
        {"3", "3", 7},
        {"9", "9", 9}, // a higher number stays
    };
    Answer("hirfolyam.php", "200",
           "7|<b>\xC3\x9Aj</b> funkci\xC3\xB3|L\xC3\xA1sd <a href=\"http://x\">itt</a> "
           "\xE2\x80\x9Eid\xC3\xA9z\xE2\x80\x9D");
    for (const auto& c : cases) {
        ExecSql(QStringLiteral("UPDATE beallit SET hirelfogadva = %1;").arg(QLatin1String(c.stored)));
        QFile::remove(answers() + QStringLiteral("/requests.log"));
        ASSERT_TRUE(RunNewsCheck()) << c.stored;
        EXPECT_EQ(Requests(),
                  QStringList{QStringLiteral("/hirfolyam.php?prg=47&hir=") + QLatin1String(c.asked)});
        Tfrm_Hirfolyam* window = OpenNewsWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(window->isModal());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Hírek"));
        EXPECT_EQ(window->titleLabel()->textFormat(), Qt::PlainText);
        EXPECT_EQ(window->textLabel()->textFormat(), Qt::PlainText);
        EXPECT_EQ(window->titleLabel()->text(), QStringLiteral("<b>Új</b> funkció"));
        EXPECT_EQ(window->textLabel()->text(), QStringLiteral("Lásd <a href=\"http://x\">itt</a> „idéz”"));
        EXPECT_EQ(window->detailsLink()->text(),
                  QStringLiteral("https://127.0.0.1:%1/hirek.php?hir=7").arg(s_port));
        if (QLatin1String(c.stored) == QLatin1String("NULL"))
            test::SaveScreenshot(window, QStringLiteral("maker-news.png"));
        window->detailsLink()->click();
        window->dontShow()->setChecked(true);
        QPointer<Tfrm_Hirfolyam> alive(window);
        window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QTest::qWait(1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull()) << "destroyed when closed";
        EXPECT_EQ(QueryInt(QStringLiteral("SELECT hirelfogadva FROM beallit;")), c.after) << c.stored;
    }
    EXPECT_EQ(m_opened.size(), 3);
    EXPECT_EQ(m_opened.value(0), QStringLiteral("https://127.0.0.1:%1/hirek.php?hir=7").arg(s_port));
}

TEST_F(MakerServices, AnswersThatAreNoNewsShowNothing) {
    const struct {
        QByteArray status, body;
    } cases[] = {
        {"200", "0|Nincs új hír|"}, {"200", ""},
        {"200", "|cím|szöveg"},     {"200", "<html><head><title>Hiba</title></head></html>"},
        {"404", "7|cím|szöveg"},    {"500", "7|cím|szöveg"},
    };
    ScriptedWindows windows;
    windows.script(ShowNewsWindow);
    for (const auto& c : cases) {
        Answer("hirfolyam.php", c.status, c.body);
        EXPECT_FALSE(RunNewsCheck()) << c.body.constData();
    }
    EXPECT_TRUE(windows.calls().empty());
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT hirelfogadva FROM beallit;")), QString());
}

// ---- The maker's message ------------------------------------------------------------

TEST_F(MakerServices, MessagePanelInItsTwoStyles) {
    ExecSql(QStringLiteral("INSERT INTO uzenet (uzenet, szoveg, link, csakegyszer, olvasva) VALUES "
                           "(5, 'Mentsen rendszeresen! <b>fontos</b>', '', 'N', 'N'), "
                           "(6, 'Képzés kedden.', 'https://www.tarnova.hu/kepzes', 'I', 'N'), "
                           "(7, 'Gyanús hivatkozás', 'file:///etc/passwd', 'I', 'N'), "
                           "(4, 'Már olvasott', '', 'N', 'I');"));
    QWidget host;
    host.resize(700, 140);
    MakerMessagePanel* panel = new MakerMessagePanel(&host);
    panel->setGeometry(0, 40, 700, 100);
    host.show();

    // The lowest unread message that may be dismissed for good: blue, both
    // buttons, no link, its text as written.
    ASSERT_TRUE(panel->showMakerMessage());
    EXPECT_EQ(panel->shownMessage(), 5);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0x00, 0x80, 0xC0));
    EXPECT_EQ(panel->textLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(panel->textLabel()->text(), QStringLiteral("Mentsen rendszeresen! <b>fontos</b>"));
    EXPECT_FALSE(panel->linkButton()->isVisible());
    EXPECT_TRUE(panel->okButton()->isVisible());
    EXPECT_TRUE(panel->okForGoodButton()->isVisible());
    EXPECT_EQ(panel->okButton()->text(), QStringLiteral("Rendben"));
    EXPECT_EQ(panel->okForGoodButton()->text(), QStringLiteral("Rendben\ntöbbet ne figyelmeztessen"));
    test::SaveScreenshot(&host, QStringLiteral("maker-message-blue.png"));

    // "Rendben": read at a date, yet shown again at the next start.
    panel->okButton()->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(QueryStr(QStringLiteral(
                  "SELECT CONCAT(olvasva, dat_olvasva IS NOT NULL) FROM uzenet WHERE uzenet = 5;")),
              QStringLiteral("N1"));
    ASSERT_TRUE(panel->showMakerMessage());
    EXPECT_EQ(panel->shownMessage(), 5);
    // The other button: never again.
    panel->okForGoodButton()->click();
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT olvasva FROM uzenet WHERE uzenet = 5;")), QStringLiteral("I"));

    // Shown only once: light red, "Rendben" alone, the link opened on click.
    ASSERT_TRUE(panel->showMakerMessage());
    EXPECT_EQ(panel->shownMessage(), 6);
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0xFF, 0x80, 0x80));
    EXPECT_TRUE(panel->okButton()->isVisible());
    EXPECT_FALSE(panel->okForGoodButton()->isVisible());
    EXPECT_TRUE(panel->linkButton()->isVisible());
    EXPECT_EQ(panel->linkButton()->text(), QStringLiteral("https://www.tarnova.hu/kepzes"));
    test::SaveScreenshot(&host, QStringLiteral("maker-message-red.png"));
    panel->linkButton()->click();
    EXPECT_EQ(m_opened, QStringList{QStringLiteral("https://www.tarnova.hu/kepzes")});
    panel->okButton()->click(); // the server counts a message shown once as read
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT olvasva FROM uzenet WHERE uzenet = 6;")), QStringLiteral("I"));

    // A link that is no web or mail address is shown but never opened.
    ASSERT_TRUE(panel->showMakerMessage());
    EXPECT_EQ(panel->shownMessage(), 7);
    panel->linkButton()->click();
    EXPECT_EQ(m_opened.size(), 1);
    panel->okButton()->click();

    EXPECT_FALSE(panel->showMakerMessage()) << "no unread message left";
    EXPECT_FALSE(panel->isVisible());
}

} // namespace
} // namespace kml
