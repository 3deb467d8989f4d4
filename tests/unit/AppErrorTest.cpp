// The application error handler: which errors are only logged, which
// explanation each gets, the log line, and the report address.

#include "shell/AppError.h"

#include "ScriptedDialogs.h"
#include "components/DbError.h"
#include "foundation/Folders.h"
#include "foundation/Settings.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace kml {
namespace {

const QString Printer =
    QStringLiteral("Érvénytelen nyomtató, válasszon ki érvényes nyomtatót, és indítsa újra a "
                   "programot.");
const QString Preview =
    QStringLiteral("Nyomtatási probléma, vagy érvénytelen nyomtató: Rendszer menü / Beállítások "
                   "alatt válasszon ki érvényes nyomtatót, és indítsa újra a programot.");
const QString Report = QStringLiteral("Nyomtatási probléma: indítsa újra a programot.");
const QString Input =
    QStringLiteral("Adat beviteli probléma: érvénytelen dátum, vagy idő formátum, nyomja meg az "
                   "ESC gombot, vagy javítsa.");
const QString Software = QStringLiteral("Szoftver probléma: lehet, hogy újra kell indítani a programot.");
const QString Value = QStringLiteral("Érvénytelen érték megadás, ESC, majd add meg az újat.");
const QString Network =
    QStringLiteral("Internet kapcsolat megszakadt. Ellenőrizze, majd a program újraindítása "
                   "szükséges.");
const QString Deadlock = QStringLiteral("Adatbázis elérés probléma (1213 - Deadlock found...), a program "
                                        "újraindítása szükséges.");
const QString TooMany = QStringLiteral("Adatbázis elérés probléma (1040 - Túl sok felhasználói kapcsolat), a "
                                       "program újraindítása szükséges.");
const QString LockWait =
    QStringLiteral("Adatbázis elérés probléma (1205 - Lock wait timeout exceeded), hívja "
                   "rendszergazdáját.");
const QString Collation = QStringLiteral("Helytelen adatbázis kódlap beállítás (1267). Jelezze "
                                         "rendszergazdájának.");

struct ReactionCase {
    const char* name;
    QString text;
    QString window;
    bool ignored;
    QString message;
    bool askReport;
};

class ReactionTable : public ::testing::TestWithParam<ReactionCase> {};

TEST_P(ReactionTable, FirstMatchingRowDecides) {
    const ReactionCase& c = GetParam();
    const AppErrorReaction r = ReactToAppError(c.text, c.window);
    EXPECT_EQ(r.ignored, c.ignored);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.askReport, c.askReport);
}

const QString Main = QStringLiteral("frm_Main");

INSTANTIATE_TEST_SUITE_P(
    AppError, ReactionTable,
    ::testing::Values(
        ReactionCase{"ListIndex", "frm_Main.aUj-List index out of bounds (3)", Main, true, {}, false},
        ReactionCase{"CannotFocus", "-Cannot focus a disabled or invisible window", Main, true, {}, false},
        ReactionCase{"Clipboard", "-Cannot open clipboard", Main, true, {}, false},
        // The ignore list comes before everything, the preview window included.
        ReactionCase{
            "IgnoredInPreview", "-List index out of bounds (0)", ReportPreviewWindowName, true, {}, false},
        ReactionCase{"PreviewAnyText", "-Table 'x' doesn't exist (1146)", ReportPreviewWindowName, false,
                     Preview, false},
        ReactionCase{"PrinterIndex", "-Printer index out of range", Main, false, Printer, false},
        ReactionCase{"PrinterNotValid", "-Printer selected is not valid", Main, false, Printer, false},
        ReactionCase{"NoDefaultPrinter", "-There is no default printer currently selected", Main, false,
                     Printer, false},
        ReactionCase{"ReportComponent", "-A component named qrLabel1 already exists", Main, false, Report,
                     false},
        ReactionCase{"NotValid", "-'32.13.2024' is not a valid date", Main, false, Input, false},
        // Row 4 always wins over row 6 for this text.
        ReactionCase{"FloatNotValid", "-'x' is not a valid floating point value for field", Main, false,
                     Input, false},
        ReactionCase{"AccessViolation", "-Access violation at address 0040A1B2", Main, false, Software,
                     false},
        ReactionCase{"InvalidInput", "-Invalid input value. Use escape key to abandon changes", Main, false,
                     Value, false},
        ReactionCase{"CantConnect", "-Can't connect to server on '10.0.0.9' (2003)", Main, false, Network,
                     false},
        ReactionCase{"UnknownHost", "-Unknown server host 'x' (2005)", Main, false, Network, false},
        ReactionCase{"GoneAway", "-Server has gone away (2006)", Main, false, Network, false},
        ReactionCase{"LostConnection", "-Lost connection to server during query (2013)", Main, false, Network,
                     false},
        // The other numbers of an unreachable server or a lost session say
        // the same, never the report question.
        ReactionCase{"CantConnectOnTcp", "-Can't connect to server on '127.0.0.1' (111) (2002)", Main, false,
                     Network, false},
        ReactionCase{"LostExtended", "-Lost connection to server at 'reading', system error: 104 (2055)",
                     Main, false, Network, false},
        ReactionCase{"ConnectionKilled", "-Connection was killed (1927)", Main, false, Network, false},
        ReactionCase{"ServerShutdown", "-Server shutdown in progress (1053)", Main, false, Network, false},
        // A statement cut off on its way: it may not have run.
        ReactionCase{"Interrupted", "-Statement interrupted: Lost connection to server during query (2013)",
                     Main, false,
                     Network + QStringLiteral("\r\nA megszakadt művelet lehet, hogy nem futott le: "
                                              "ellenőrizze az eredményét, mielőtt megismétli."),
                     false},
        ReactionCase{"Deadlock", "-Deadlock found when trying to get lock (1213)", Main, false, Deadlock,
                     false},
        // Refused again and again by other workstations' changes (a
        // cluster's conflicts): said so in plain words, never the restart.
        ReactionCase{
            "ConflictGaveUp",
            "-Write conflict, given up after repeated attempts: Deadlock found when trying to get lock "
            "(1213)",
            Main, false, ConflictGaveUpMessage, false},
        ReactionCase{"TooManyConnections", "-Too many connections (1040)", Main, false, TooMany, false},
        ReactionCase{"LockWait", "-Lock wait timeout exceeded (1205)", Main, false, LockWait, false},
        ReactionCase{"Collation", "-Illegal mix of collations (1267)", Main, false, Collation, true},
        // Text the database cannot store: its own message, no report.
        ReactionCase{"UnstorableText",
                     "frm_Gyarto.aOK-Az adatbázis nem tudja tárolni ezt a karaktert: ñ\r\n(a szövegben: "
                     "„Señor”)\r\nÍrd át vagy hagyd ki, és próbáld újra. (1366)",
                     Main, false,
                     QStringLiteral("Az adatbázis nem tudja tárolni ezt a karaktert: ñ\r\n(a szövegben: "
                                    "„Señor”)\r\nÍrd át vagy hagyd ki, és próbáld újra."),
                     false},
        ReactionCase{"Other", "-Table 'koravelml.x' doesn't exist (1146)", Main, false, {}, true},
        // A number only counts in brackets.
        ReactionCase{"NumberWithoutBrackets", "-error 2013 happened", Main, false, {}, true},
        // Earlier rows win: a conversion error that mentions a lost connection.
        ReactionCase{"EarlierRowWins", "-'(2013)' is not a valid integer value", Main, false, Input, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppError, ErrorTextIsLastActionHyphenMessage) {
    SetLastAction({});
    EXPECT_EQ(AppErrorText(QStringLiteral("x")), QStringLiteral("-x"));
    SetLastAction(QStringLiteral("frm_Main.aStatusz"));
    EXPECT_EQ(AppErrorText(QStringLiteral("Lost connection (2013)")),
              QStringLiteral("frm_Main.aStatusz-Lost connection (2013)"));
    SetLastAction({});
}

TEST(AppError, ExceptionTextKeepsTheServerErrorNumber) {
    try {
        throw DbError(QStringLiteral("Lost connection to server during query"), 2013);
    } catch (...) {
        EXPECT_EQ(CurrentExceptionText(), QStringLiteral("Lost connection to server during query (2013)"));
    }
    try {
        throw 42;
    } catch (...) {
        EXPECT_EQ(CurrentExceptionText(), QStringLiteral("Ismeretlen hiba"));
    }
}

TEST(AppError, ReportAddressEncodesEveryValueAndKeepsKeyOrder) {
    ErrorReport report;
    report.programFile = QStringLiteral("KoravelML");
    report.windowName = QStringLiteral("frm_Main");
    report.database = QStringLiteral("bolt db");
    report.client = QStringLiteral("Kiss & Fia Kft.");
    report.errorText = QStringLiteral("frm_Main.aUj-Hibás #3? a+b=c\r\n100%");

    const QString address = ErrorReportAddress(report);
    EXPECT_EQ(address, QStringLiteral("https://www.tarnova.hu/apperr.php?app=47&appnev=KoravelML-KoravelML"
                                      "&ver=24.0.0.111&form=frm_Main&database=bolt%20db"
                                      "&client=Kiss%20%26%20Fia%20Kft."
                                      "&err=frm_Main.aUj-Hib%C3%A1s%20%233%3F%20a%2Bb%3Dc%0D%0A100%25"));

    // Whatever the values hold, the page receives each of them whole.
    const QUrl url = QUrl::fromEncoded(address.toLatin1(), QUrl::StrictMode);
    ASSERT_TRUE(url.isValid());
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("err"), QUrl::FullyDecoded), report.errorText);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("client"), QUrl::FullyDecoded), report.client);
    QStringList keys;
    for (const auto& item : query.queryItems())
        keys << item.first;
    EXPECT_EQ(keys, (QStringList{"app", "appnev", "ver", "form", "database", "client", "err"}));
}

// HandleAppError end to end: a data folder of its own, scripted dialogs and
// a recorded "browser".
class HandleAppErrorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_oldFolder = DataFolder();
        SetDataFolder(m_folder.path());
        AppErrorEnvironment env;
        env.activeWindowName = [this] { return m_window; };
        env.openAddress = [this](const QString& address) { m_opened << address; };
        m_oldEnvironment = SetAppErrorEnvironment(env);
        Beall().connectionEntry = QStringLiteral("bolt;127.0.0.1;3306;root;;Bolt");
        Beall().tulajdonos = QStringLiteral("Tulaj");
        SetLastAction(QStringLiteral("frm_Main.aStatusz"));
    }
    void TearDown() override {
        SetAppErrorEnvironment(m_oldEnvironment);
        SetDataFolder(m_oldFolder);
        SetLastAction({});
        Beall() = TBeall{};
    }

    QStringList logLines() const {
        QFile file(m_folder.filePath(ErrorLogFileName));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir m_folder;
    QString m_oldFolder;
    AppErrorEnvironment m_oldEnvironment;
    QString m_window = QStringLiteral("frm_Main");
    QStringList m_opened;
    ScriptedDialogs m_dialogs;
};

TEST_F(HandleAppErrorTest, LostConnectionIsLoggedAndExplainedWithoutReportQuestion) {
    HandleAppError(AppErrorText(QStringLiteral("Lost connection to server during query (2013)")));

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    // Date and time of the workstation, " : ", window, " - ", error text.
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    EXPECT_TRUE(lines[0].startsWith(date + QLatin1Char(' '))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" : frm_Main - frm_Main.aStatusz-Lost connection to server "
                                                 "during query (2013)")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QRegularExpression(QStringLiteral("\\b\\d{1,2}:\\d{2}:\\d{2}\\b"))));

    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_EQ(m_dialogs.calls()[0].kind, DialogKind::Error);
    EXPECT_EQ(m_dialogs.calls()[0].text, Network);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(HandleAppErrorTest, IgnoredErrorIsOnlyLogged) {
    HandleAppError(AppErrorText(QStringLiteral("List index out of bounds (5)")));
    HandleAppError(AppErrorText(QStringLiteral("Cannot focus a disabled or invisible window")));
    EXPECT_EQ(logLines().size(), 2); // appended, one line each
    EXPECT_TRUE(m_dialogs.calls().empty());
}

TEST_F(HandleAppErrorTest, CollationErrorShowsMessageThenReportQuestionAndOpensEncodedAddress) {
    m_dialogs.answer(DialogAnswer::Yes);
    const QString text = AppErrorText(QStringLiteral("Illegal mix of collations & more (1267)"));
    HandleAppError(text);

    ASSERT_EQ(m_dialogs.calls().size(), 2u);
    EXPECT_EQ(m_dialogs.calls()[0].text, Collation);
    const DialogCall& question = m_dialogs.calls()[1];
    EXPECT_EQ(question.kind, DialogKind::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Error); // the stop sign
    EXPECT_EQ(question.caption, QStringLiteral("Hiba"));
    EXPECT_EQ(question.text, QStringLiteral("Kérem, az alábbi hibaüzenetet az OK gombra kattintva küldje el "
                                            "nekünk:\r\n") +
                                 text + QStringLiteral("\r\nNyomja meg az OK gombot!"));

    ASSERT_EQ(m_opened.size(), 1);
    const QUrlQuery query(QUrl::fromEncoded(m_opened[0].toLatin1()));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("form"), QUrl::FullyDecoded), QStringLiteral("frm_Main"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("database"), QUrl::FullyDecoded), QStringLiteral("bolt"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("client"), QUrl::FullyDecoded), QStringLiteral("Tulaj"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("err"), QUrl::FullyDecoded), text);
}

TEST_F(HandleAppErrorTest, DeclinedReportOpensNothing) {
    m_dialogs.answer(DialogAnswer::No);
    HandleAppError(AppErrorText(QStringLiteral("Unknown column 'x' in 'field list' (1054)")));
    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_EQ(m_dialogs.calls()[0].kind, DialogKind::YesNo);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(HandleAppErrorTest, ErrorWhilePreviewIsActiveIsAPrinterProblem) {
    m_window = ReportPreviewWindowName;
    HandleAppError(AppErrorText(QStringLiteral("Unknown column 'x' in 'field list' (1054)")));
    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_EQ(m_dialogs.calls()[0].text, Preview);
    EXPECT_TRUE(logLines().value(0).contains(QStringLiteral(" : QRStandardPreview - ")));
}

TEST_F(HandleAppErrorTest, UnwritableLogDoesNotStopTheHandler) {
    SetDataFolder(m_folder.filePath(QStringLiteral("missing/folder")));
    HandleAppError(AppErrorText(QStringLiteral("Server has gone away (2006)")));
    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_EQ(m_dialogs.calls()[0].text, Network);
}

TEST_F(HandleAppErrorTest, DialogFailureInsideHandlerIsSwallowed) {
    // No answer scripted: the question throws inside the handler, which must
    // not let it out.
    EXPECT_NO_THROW(HandleAppError(AppErrorText(QStringLiteral("Something else (1146)"))));
    EXPECT_EQ(logLines().size(), 1);
}

} // namespace
} // namespace kml
