// Notification letters against a local HTTP server (text, 404, an empty
// body, a socket that never answers), the mail hand-off through a stub
// xdg-email, and the HTML page of the demo customers read back by
// xmllint's HTML parser.

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Cp1250.h"
#include "components/Query.h"
#include "exchange/GridHtml.h"
#include "exchange/Letters.h"
#include "foundation/Folders.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "records/TextWindows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace kml;
using namespace kml::test;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A loopback socket that accepts connections into its backlog and never
// answers; the port in port.
int SilentSocket(int& port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(s, 8);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

// The letter service: /ok answers a text in Windows-1250 with markup in it,
// /hiba 404, /ures an empty body; every request's path is logged.
const char* kService = R"PY(
import http.server, sys
log = open(sys.argv[2], "a")
class H(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        log.write(self.path + "\n"); log.flush()
        if self.path.startswith("/ok"):
            body = "Levél elküldve: <b>Kis & Társa</b>".encode("cp1250")
            self.send_response(200)
        elif self.path.startswith("/ures"):
            body = b""
            self.send_response(200)
        else:
            body = b"nincs"
            self.send_response(404)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *a):
        pass
srv = http.server.HTTPServer(("127.0.0.1", 0), H)
open(sys.argv[1] + ".tmp", "w").write(str(srv.server_address[1]))
import os; os.replace(sys.argv[1] + ".tmp", sys.argv[1])
srv.serve_forever()
)PY";

class Letters : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("letters"), TestDatabase::Contents::Demo);
        dir = new QTemporaryDir;
        WriteAll(dir->filePath("service.py"), kService);
        server = new QProcess;
        server->start("/usr/bin/python3",
                      {dir->filePath("service.py"), dir->filePath("port"), dir->filePath("log")});
        ASSERT_TRUE(server->waitForStarted());
        for (int i = 0; i < 200 && !QFile::exists(dir->filePath("port")); ++i)
            QThread::msleep(50);
        port = ReadAll(dir->filePath("port")).toInt();
        ASSERT_GT(port, 0) << "the letter service did not start";
    }
    static void TearDownTestSuite() {
        server->kill();
        server->waitForFinished();
        delete server;
        delete dir;
        delete db;
    }
    void SetUp() override {
        SetDataFolder(m_data.path());
        Beall() = TBeall{};
    }
    QStringList AnswerFiles() const { return QDir(m_data.path()).entryList({"level*.txt"}, QDir::Files); }
    static QString Service(const char* path) {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(QString::fromLatin1(path));
    }
    static QStringList Requests() {
        return QString::fromUtf8(ReadAll(dir->filePath("log"))).split('\n', Qt::SkipEmptyParts);
    }

    static inline TestDatabase* db = nullptr;
    static inline QTemporaryDir* dir = nullptr;
    static inline QProcess* server = nullptr;
    static inline int port = 0;
    QTemporaryDir m_data;
};

// A chosen letter (-1: none chosen).
LetterText Letter(int n) {
    LetterText letter;
    if (n != -1)
        letter.letter = n;
    return letter;
}

} // namespace

TEST_F(Letters, AddressAsTheServiceExpectsIt) {
    const QString key = ServerMd5(QStringLiteral("key=125"));
    EXPECT_EQ(LetterKey(125), key);
    EXPECT_EQ(key.size(), 32);
    const LetterRecord sheet{0, 125, 17};
    EXPECT_EQ(LetterAddress(QStringLiteral("https://levél.pelda.hu/kuld.php?type=%type%&id=%id%"), sheet, 3),
              QStringLiteral("https://levél.pelda.hu/kuld.php?type=0&id=125&key=") + key +
                  QStringLiteral("&client=17&mail=3"));
    // Any letter case, every occurrence; no placeholders still gets the rest.
    EXPECT_EQ(LetterAddress(QStringLiteral("x?a=%TYPE%&b=%Id%&c=%id%"), {3, 8, 2}, 1),
              QStringLiteral("x?a=3&b=8&c=8&key=") + LetterKey(8) + QStringLiteral("&client=2&mail=1"));
    EXPECT_EQ(LetterAddress(QString(), {1, 5, 5}, 2),
              QStringLiteral("&key=") + LetterKey(5) + QStringLiteral("&client=5&mail=2"));
    // The day planner names no record.
    EXPECT_EQ(LetterAddress(QStringLiteral("x?t=%type%&id=%id%"), {2, 0, 0}, 4),
              QStringLiteral("x?t=2&id=%id%&mail=4"));
    EXPECT_TRUE(LetterAnswerFile().startsWith(m_data.path() + QStringLiteral("/level")));
}

TEST_F(Letters, AnswersFailuresAndTheAnswerFile) {
    const struct {
        const char* path;
        bool answered;
        QString shown;
    } cases[] = {
        {"ok", true, QStringLiteral("Levél elküldve: <b>Kis & Társa</b>")},
        {"ures", true, QString()},
        {"hiba", false, letter_text::Failed},
    };
    for (const auto& c : cases) {
        Beall().levelkuldlink = Service(c.path) + QStringLiteral("?type=%type%&id=%id%");
        ScriptedWindows windows;
        windows.answer(ChooseLetterText, Letter(3));
        ScriptedDialogs dialogs;
        EXPECT_EQ(SendLetter({0, 125, 17}), c.answered) << c.path;
        ASSERT_EQ(dialogs.calls().size(), 1u) << c.path;
        EXPECT_EQ(dialogs.lastCall().kind, c.answered ? DialogKind::Info : DialogKind::Error) << c.path;
        EXPECT_EQ(dialogs.lastCall().text, c.shown) << c.path;
        EXPECT_EQ(AnswerFiles(), QStringList()) << c.path;
    }
    EXPECT_EQ(Requests().value(0), QStringLiteral("/ok?type=0&id=125&key=") + LetterKey(125) +
                                       QStringLiteral("&client=17&mail=3"));

    // No letter chosen: nothing is sent or shown.
    ScriptedWindows windows;
    windows.answer(ChooseLetterText, Letter(-1));
    ScriptedDialogs dialogs;
    const qsizetype before = Requests().size();
    EXPECT_FALSE(SendLetter({1, 4, 4}));
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(Requests().size(), before);

    // Nobody listening: a failure at once.
    windows.answer(ChooseLetterText, Letter(1));
    Beall().levelkuldlink = QStringLiteral("http://127.0.0.1:1/x?id=%id%");
    EXPECT_FALSE(SendLetter({1, 4, 4}));
    EXPECT_EQ(dialogs.lastCall().text, letter_text::Failed);
    EXPECT_EQ(AnswerFiles(), QStringList());
}

TEST_F(Letters, SilentServiceTimesOutWhileTheWindowPaints) {
    int silentPort = 0;
    const int silent = SilentSocket(silentPort);
    Beall().levelkuldlink = QStringLiteral("http://127.0.0.1:%1/x?id=%id%").arg(silentPort);
    ScriptedWindows windows;
    windows.answer(ChooseLetterText, Letter(2));
    ScriptedDialogs dialogs;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(100);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(SendLetter({0, 9, 1}));
    const qint64 elapsed = clock.elapsed();
    close(silent);
    EXPECT_GE(elapsed, 14000);
    EXPECT_LT(elapsed, 17000);
    // The event loop ran all along (about ten times a second).
    EXPECT_GT(ticks, 100);
    EXPECT_EQ(dialogs.lastCall().text, letter_text::Failed);
    EXPECT_EQ(AnswerFiles(), QStringList());
}

TEST_F(Letters, MailHandOffThroughXdgEmail) {
    QTemporaryDir bin;
    const QString log = bin.filePath("args");
    WriteAll(
        bin.filePath("xdg-email"),
        QStringLiteral(
            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.tmp'\n/bin/mv '%1.tmp' '%1'\n")
            .arg(log)
            .toUtf8());
    QFile::setPermissions(bin.filePath("xdg-email"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    ScriptedDialogs dialogs;
    const QString attachment = QStringLiteral("/tmp/ügyfelek $(touch x); 'a'.htm");
    EXPECT_EQ(SendMail(QStringLiteral("Html küldés"), QStringLiteral("Html küldés"), attachment), 0);
    for (int i = 0; i < 100 && !QFile::exists(log); ++i)
        QThread::msleep(50);
    EXPECT_EQ(QString::fromUtf8(ReadAll(log)).split('\n', Qt::SkipEmptyParts),
              (QStringList{"--subject", QStringLiteral("Html küldés"), "--body",
                           QStringLiteral("Html küldés"), "--attach", attachment}));
    QFile::remove(log);
    EXPECT_EQ(SendMail(QStringLiteral("T"), QString(), QString(), QStringLiteral("vevo@pelda.hu"),
                       QStringLiteral("Vevő Béla")),
              0);
    for (int i = 0; i < 100 && !QFile::exists(log); ++i)
        QThread::msleep(50);
    EXPECT_EQ(QString::fromUtf8(ReadAll(log)).split('\n', Qt::SkipEmptyParts),
              (QStringList{"--subject", "T", QStringLiteral("Vevő Béla <vevo@pelda.hu>")}));
    EXPECT_TRUE(dialogs.calls().empty());

    // No mail program: said so.
    QTemporaryDir empty;
    qputenv("PATH", empty.path().toUtf8());
    EXPECT_EQ(SendMail(QStringLiteral("T"), QStringLiteral("B"), QString()), -1);
    qputenv("PATH", path);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.lastCall().text, letter_text::NoMailProgram);
}

// ---- HTML page ----------------------------------------------------------------

TEST(GridHtmlRules, WidthsFileNamesAndText) {
    EXPECT_EQ(HtmlWidthPercent(100, 200), 50);
    EXPECT_EQ(HtmlWidthPercent(25, 200), 12); // 12.5: to the even neighbour
    EXPECT_EQ(HtmlWidthPercent(27, 200), 14); // 13.5
    EXPECT_EQ(HtmlWidthPercent(10, 0), 0);
    EXPECT_EQ(ProposedHtmlFile(QStringLiteral("/h"), QStringLiteral("Ügyfelek")),
              QStringLiteral("/h/_gyfelek.htm"));
    SetDataFolder(QStringLiteral("/adat"));
    EXPECT_EQ(ProposedHtmlFile(QString(), QStringLiteral("Ügyfelek")), QStringLiteral("/adat/_gyfelek.htm"));
    EXPECT_EQ(HtmlPageText(QStringLiteral("<b>Kis & Társa</b> \"x\" 'y'")),
              ToCp1250(QStringLiteral("&lt;b&gt;Kis &amp; Társa&lt;/b&gt; &quot;x&quot; &#39;y&#39;")));
    EXPECT_EQ(HtmlPageText(QStringLiteral("€ ő ñ Ж")), QByteArray("\x80 \xF5 &#241; &#1046;"));
}

TEST_F(Letters, CustomerPageParsesAndShowsTextsAsTyped) {
    db->connection().exec(QString::fromUtf8("INSERT INTO ugyfel (ugyfel_nev, telefon, torolve) VALUES "
                                            "('<b>Kis & Társa</b><script>alert(1)</script>', '1', 'N')"));
    Query customers;
    customers.setSql(QStringLiteral(
        "SELECT ugyfel, ugyfel_nev, telefon FROM vw_ugyfel\nWHERE ugyfel > 0\nORDER BY ugyfel_nev;"));
    customers.open();
    customers.fieldSettings(QStringLiteral("ugyfel")).alignment = Qt::AlignRight;
    customers.open();
    ASSERT_GT(customers.recordCount(), 2);
    customers.moveTo(2);
    const std::vector<HtmlColumn> columns = {
        {QStringLiteral("ugyfel"), QStringLiteral("Kód"), 50, Qt::AlignRight},
        {QString(), QStringLiteral("nincs mező"), 30, Qt::AlignLeft},
        {QStringLiteral("ugyfel_nev"), QStringLiteral("Név & cím"), 100, Qt::AlignLeft},
        {QStringLiteral("telefon"), QStringLiteral("Telefon"), 40, Qt::AlignHCenter}};
    const QByteArray page = GridHtmlPage(customers, columns, 200, QStringLiteral("Ügyfelek"),
                                         QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)));
    EXPECT_EQ(customers.row(), 2);
    EXPECT_FALSE(page.contains('\n'));
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html><html lang=\"hu-HU\"><head>"));
    EXPECT_TRUE(page.contains("<th width=\"25%\" bgcolor=\"#C0C0C0\" align=\"right\">K\xF3"
                              "d</th>"));
    EXPECT_TRUE(page.contains("<th width=\"50%\" bgcolor=\"#C0C0C0\" >N\xE9v &amp; c\xEDm</th>"));
    EXPECT_FALSE(page.contains("nincs mez"));
    EXPECT_TRUE(page.contains("<td width=\"20%\"><p align=\"center\">"));
    EXPECT_TRUE(page.contains("&lt;b&gt;Kis &amp; T\xE1rsa&lt;/b&gt;&lt;script&gt;"));
    EXPECT_FALSE(page.contains("<script"));
    EXPECT_TRUE(page.contains("\xD6sszesen " + QByteArray::number(customers.recordCount()) + " sor."));
    EXPECT_TRUE(page.contains("<p><font face=\"Verdana\" size=\"1\">2024.03.05 07:08:09</font></p>"));
    EXPECT_TRUE(
        page.endsWith("<p><font face=\"Courier New\" size=\"1\">Koravel.ML</font></p></body></html>"));

    QTemporaryDir dir;
    const QString file = dir.filePath("ugyfelek.htm");
    WriteGridHtml(file, page);
    // The HTML parser reads it without a complaint, and the customer's name
    // comes back as typed, in the first cell of its row.
    QProcess lint;
    lint.start("xmllint", {"--html", "--noout", file});
    ASSERT_TRUE(lint.waitForFinished());
    EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().toStdString();
    EXPECT_EQ(lint.readAllStandardError(), QByteArray());
    lint.start("xmllint", {"--html", "--xpath", "//td[contains(., 'script')]/text()", file});
    ASSERT_TRUE(lint.waitForFinished());
    // (xmllint writes the text node escaped again.)
    EXPECT_EQ(QString::fromUtf8(lint.readAllStandardOutput()).trimmed().toStdString(),
              QStringLiteral("&lt;b&gt;Kis &amp; Társa&lt;/b&gt;&lt;script&gt;alert(1)&lt;/script&gt;")
                  .toStdString());
    lint.start("xmllint", {"--html", "--xpath", "count(//script)", file});
    ASSERT_TRUE(lint.waitForFinished());
    EXPECT_EQ(lint.readAllStandardOutput().trimmed(), QByteArray("0"));

    // An empty list: the header row only and 0 rows.
    customers.setSql(QStringLiteral("SELECT ugyfel, ugyfel_nev, telefon FROM vw_ugyfel\nWHERE 1 = 0;"));
    customers.close();
    customers.open();
    ASSERT_EQ(customers.recordCount(), 0);
    const QByteArray empty =
        GridHtmlPage(customers, columns, 200, QStringLiteral("Ügyfelek"), QDateTime::currentDateTime());
    EXPECT_FALSE(empty.contains("<tr><td"));
    EXPECT_TRUE(empty.contains("\xD6sszesen 0 sor."));
}
