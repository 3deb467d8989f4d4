// The website's content against the private server and the test FTP server
// (scripts/ftpserver): moving intro slides as one transaction with their
// pictures following them locally and on the server (a table of moves, a
// lock held by another workstation, a slide changed meanwhile), the picture
// uploads of the banner and intro editors, text only Windows-1250 has kept
// through a web text and a banner, and the web messages' filters, search,
// deleted acknowledging users and acknowledging.

#include "website/WebContent.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "components/Transaction.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "website/WebMessages.h"
#include "website/WebsiteWindows.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace kml;
using namespace kml::test;

namespace {

int FtpPort() {
    return qEnvironmentVariableIntValue("KML_TEST_FTP_PORT");
}
QString FtpRoot() {
    return qEnvironmentVariable("KML_TEST_FTP_ROOT");
}
bool HaveFtp() {
    return FtpPort() != 0 && !FtpRoot().isEmpty();
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The text only Windows-1250 has, among Hungarian letters.
const QString kCp1250Text = QString::fromUtf8("„Teszt” – 100 € Š ś ť ž árvíztűrő");

class WebContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new TestDatabase(QStringLiteral("webcontent")); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(m_data.isValid());
        SetDataFolder(m_data.path());
        SetIniFilePath(m_data.filePath("KoravelML.ini"));
        Beall() = TBeall{};
        Beall().kepek = m_data.filePath("Kepek");
        QDir().mkpath(Beall().kepek);
        if (HaveFtp()) {
            Beall().kepftp = true;
            Beall().kephost = QStringLiteral("127.0.0.1");
            Beall().kepport = FtpPort();
            Beall().kepuser = QStringLiteral("kml");
            Beall().keppwd = QStringLiteral("Ti tok:@/#1");
            Beall().kepfolder = QStringLiteral("honlap");
            QDir(remoteFolder()).removeRecursively();
            QDir().mkpath(remoteFolder());
        }
    }
    void TearDown() override { Beall() = TBeall{}; }

    static QString remoteFolder() { return FtpRoot() + QStringLiteral("/honlap"); }
    QString localPicture(qlonglong slide) const { return IntroPicturePath(Beall().kepek, slide); }

    // Slides with the numbers given, titled "Dia <n>", each with a picture
    // holding "kép <n>" in the local folder and on the server.
    void MakeSlides(const std::vector<int>& numbers) {
        ExecSql(QStringLiteral("DELETE FROM webintro;"));
        QDir(Beall().kepek).removeRecursively();
        QDir().mkpath(Beall().kepek);
        for (const QString& name : QDir(remoteFolder()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(remoteFolder() + QLatin1Char('/') + name);
        for (int n : numbers) {
            ExecSql(QStringLiteral("INSERT INTO webintro (webintro, webintro_nev, szoveg) VALUES "
                                   "(%1, 'Dia %1', 'Szöveg %1');")
                        .arg(n));
            WriteAll(localPicture(n), QStringLiteral("kép %1").arg(n).toUtf8());
            if (HaveFtp())
                WriteAll(remoteFolder() + QLatin1Char('/') + IntroPictureName(n),
                         QStringLiteral("kép %1").arg(n).toUtf8());
        }
    }

    // The slides by number: the number each had when made.
    static std::map<qlonglong, int> Slides() {
        std::map<qlonglong, int> slides;
        Query q;
        q.setSql(QStringLiteral("SELECT webintro, webintro_nev FROM webintro ORDER BY webintro;"));
        q.open();
        for (int row = 0; row < q.recordCount(); ++row)
            slides[ValueAt(q, row, QStringLiteral("webintro")).toLongLong()] =
                ValueAt(q, row, QStringLiteral("webintro_nev")).toString().mid(4).toInt();
        return slides;
    }

    // Every slide's picture, locally and on the server, is the one it was
    // made with; the message names where it is not.
    std::string PicturesFollow(const std::map<qlonglong, int>& slides) const {
        std::string faults;
        for (const auto& [number, made] : slides) {
            const QByteArray expected = QStringLiteral("kép %1").arg(made).toUtf8();
            if (ReadAll(localPicture(number)) != expected)
                faults += "local intro" + std::to_string(number) + " ";
            if (HaveFtp() &&
                ReadAll(remoteFolder() + QLatin1Char('/') + IntroPictureName(number)) != expected)
                faults += "remote intro" + std::to_string(number) + " ";
        }
        // No temporary name is left behind.
        for (const QString& folder : {Beall().kepek, HaveFtp() ? remoteFolder() : QString()})
            if (!folder.isEmpty())
                for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                    if (!name.startsWith(QStringLiteral("intro")))
                        faults += "left over " + name.toStdString() + " ";
        return faults;
    }

    static SeenSlide Seen(qlonglong n) {
        SeenSlide seen;
        seen.number = n;
        seen.title = QStringLiteral("Dia %1").arg(n);
        seen.text = QStringLiteral("Szöveg %1").arg(n);
        return seen;
    }

    static inline TestDatabase* s_db = nullptr;
    QTemporaryDir m_data;
};

// ---- Moving slides --------------------------------------------------------------

TEST_F(WebContent, SlideMovesKeepKeysAndPicturesTogether) {
    using D = SlideDirection;
    using O = SlideMove::Outcome;
    const struct {
        std::vector<int> slides;
        int moved;
        D direction;
        O outcome;
        std::map<qlonglong, int> after; // number -> the slide made with that number
    } cases[] = {
        {{1, 2, 3}, 1, D::Up, O::Nowhere, {{1, 1}, {2, 2}, {3, 3}}},
        {{1, 2, 3}, 3, D::Down, O::Nowhere, {{1, 1}, {2, 2}, {3, 3}}},
        {{1, 2, 3}, 2, D::Up, O::Moved, {{1, 2}, {2, 1}, {3, 3}}},
        {{1, 2, 3}, 2, D::Down, O::Moved, {{1, 1}, {2, 3}, {3, 2}}},
        // Into the gap: nothing to swap with; the picture moves along.
        {{1, 2, 4}, 2, D::Down, O::Moved, {{1, 1}, {3, 2}, {4, 4}}},
        {{1, 2, 4}, 4, D::Up, O::Moved, {{1, 1}, {2, 2}, {3, 4}}},
        // An old leftover numbered 9999 is an ordinary slide here.
        {{1, 2, 9999}, 2, D::Up, O::Moved, {{1, 2}, {2, 1}, {9999, 9999}}},
        // The placeholder is never moved.
        {{1, 2}, 0, D::Down, O::Nowhere, {{1, 1}, {2, 2}}},
    };
    for (const auto& c : cases) {
        MakeSlides(c.slides);
        const std::map<qlonglong, int> before = Slides();
        SeenSlide seen = Seen(c.moved);
        ScriptedDialogs dialogs;
        const SlideMove move = MoveSlideWithPictures(seen, c.direction);
        const std::string label =
            "slide " + std::to_string(c.moved) + (c.direction == D::Up ? " up" : " down");
        EXPECT_EQ(move.outcome, c.outcome) << label;
        EXPECT_TRUE(dialogs.calls().empty()) << label << ": " << dialogs.texts().join('|').toStdString();
        const std::map<qlonglong, int> after = Slides();
        EXPECT_EQ(after, c.after) << label;
        // The pictures: slide k's picture is under its new number, whatever
        // the slide's number was before.
        std::map<qlonglong, int> pictures = after;
        if (c.outcome == O::Nowhere)
            pictures = before;
        EXPECT_EQ(PicturesFollow(pictures), "") << label;
        // A picture whose slide moved away is not left under the old number
        // (into a gap: the old number has no slide and no picture).
        if (c.outcome == O::Moved && !after.count(c.moved)) {
            EXPECT_FALSE(QFile::exists(localPicture(c.moved))) << label;
        }
    }
}

TEST_F(WebContent, ALockedSlideRollsTheWholeMoveBack) {
    MakeSlides({1, 2, 3});
    const auto other = s_db->connect();
    other->exec(QStringLiteral("START TRANSACTION;"));
    other->query(QStringLiteral("SELECT * FROM webintro WHERE webintro = 2 FOR UPDATE;"));
    Connection& here = s_db->connection();
    here.exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = 1;"));

    // "Feljebb" on 2: the neighbour already stepped aside when the slide's
    // own row turns out to be locked; every attempt waits, fails and is
    // rolled back.
    try {
        MoveSlide(here, Seen(2), SlideDirection::Up);
        ADD_FAILURE() << "the move went through a lock";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().startsWith(ConflictGaveUpMark)) << e.message().toStdString();
    }
    EXPECT_FALSE(here.inTransaction());
    const std::map<qlonglong, int> untouched{{1, 1}, {2, 2}, {3, 3}};
    EXPECT_EQ(Slides(), untouched);
    EXPECT_EQ(
        QueryInt(QStringLiteral("SELECT COUNT(*) FROM webintro WHERE webintro < 1 OR webintro = 9999;")), 0);
    EXPECT_EQ(PicturesFollow(untouched), "");

    // Once the other workstation is done, the same move works.
    other->exec(QStringLiteral("ROLLBACK;"));
    ScriptedDialogs dialogs;
    EXPECT_EQ(MoveSlideWithPictures(Seen(2), SlideDirection::Up).outcome, SlideMove::Outcome::Moved);
    const std::map<qlonglong, int> moved{{1, 2}, {2, 1}, {3, 3}};
    EXPECT_EQ(Slides(), moved);
    EXPECT_EQ(PicturesFollow(moved), "");
    here.exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = DEFAULT;"));
}

TEST_F(WebContent, ASlideChangedMeanwhileIsNotMoved) {
    MakeSlides({1, 2, 3});
    // Another workstation moved slide 3 up: number 2 is another slide now.
    const auto other = s_db->connect();
    ASSERT_EQ(MoveSlide(*other, Seen(3), SlideDirection::Up).outcome, SlideMove::Outcome::Moved);
    const std::map<qlonglong, int> afterOther{{1, 1}, {2, 3}, {3, 2}};
    ASSERT_EQ(Slides(), afterOther);

    ScriptedDialogs dialogs;
    const SlideMove move = MoveSlideWithPictures(Seen(2), SlideDirection::Up);
    EXPECT_EQ(move.outcome, SlideMove::Outcome::Changed);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.lastCall().text, web_text::SlideChanged);
    EXPECT_EQ(Slides(), afterOther);
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM webintro WHERE webintro < 1;")), 0);
}

TEST_F(WebContent, ARefusedRemoteSwapIsToldNotHidden) {
    if (!HaveFtp())
        GTEST_SKIP() << "no test FTP server (scripts/test starts scripts/ftpserver)";
    MakeSlides({1, 2});
    // A login that may read but not rename.
    Beall().kepuser = QStringLiteral("olvaso");
    Beall().keppwd = QStringLiteral("csak-olvas");
    ScriptedDialogs dialogs;
    EXPECT_EQ(MoveSlideWithPictures(Seen(2), SlideDirection::Up).outcome, SlideMove::Outcome::Moved);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_TRUE(dialogs.lastCall().text.startsWith(web_text::RemotePicturesNotSwapped.left(20)))
        << dialogs.lastCall().text.toStdString();
    EXPECT_FALSE(dialogs.lastCall().text.contains(QStringLiteral("csak-olvas")));
    // The move and the local pictures stand; the server's are as they were.
    const std::map<qlonglong, int> moved{{1, 2}, {2, 1}};
    EXPECT_EQ(Slides(), moved);
    EXPECT_EQ(ReadAll(localPicture(1)), QByteArray("kép 2"));
    EXPECT_EQ(ReadAll(remoteFolder() + QStringLiteral("/intro1.jpg")), QByteArray("kép 1"));
}

TEST_F(WebContent, ThePlaceholderRowIsNeverDeleted) {
    ExecSql(QStringLiteral("DELETE FROM web_szoveg;"));
    ExecSql(QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_AUTO_VALUE_ON_ZERO');"));
    ExecSql(QStringLiteral("INSERT INTO web_szoveg (web_szoveg, kulcs) VALUES (0, '');"));
    ExecSql(QStringLiteral("SET SESSION sql_mode = REPLACE(@@sql_mode, 'NO_AUTO_VALUE_ON_ZERO', '');"));
    ScriptedDialogs dialogs;
    EXPECT_FALSE(DeleteWebText(0));
    EXPECT_FALSE(DeleteIntroSlide(0));
    EXPECT_FALSE(DeleteBanner(-1));
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM web_szoveg WHERE web_szoveg = 0;")), 1);
}

// ---- Pictures of the editors -----------------------------------------------------------

TEST_F(WebContent, IntroPictureIsFittedAndUploaded) {
    const QString source = m_data.filePath("nagy.jpg");
    QImage big(1600, 1200, QImage::Format_RGB888);
    big.fill(QColor(200, 40, 10));
    ASSERT_TRUE(big.save(source, "JPEG", 90));

    Table slide(QStringLiteral("webintro"));
    slide.startNew();
    slide.setValue(QStringLiteral("webintro_nev"), QStringLiteral("Új dia"));
    ScriptedWindows windows;
    windows.answer(ChooseWebPicture, source);
    ScriptedDialogs dialogs;
    ASSERT_TRUE(UploadIntroPicture(slide));
    EXPECT_TRUE(dialogs.calls().empty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(windows.calls("ChooseWebPicture").at(0).args.at(0).toString(), web_text::JpegFilter);
    // The new slide was stored first: its number names the picture.
    const qlonglong n = slide.key().toLongLong();
    ASSERT_GT(n, 0);
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM webintro WHERE webintro = %1;").arg(n)), 1);
    const QString local = localPicture(n);
    EXPECT_EQ(QImage(local).size(), QSize(640, 480));
    if (HaveFtp()) {
        EXPECT_EQ(ReadAll(remoteFolder() + QLatin1Char('/') + IntroPictureName(n)), ReadAll(local));
    }

    // Cancelling the file choice stores the slide and nothing else.
    windows.answer(ChooseWebPicture, QString());
    EXPECT_FALSE(UploadIntroPicture(slide));
}

TEST_F(WebContent, BannerPicturesAreNamedAndStoredWithTheRow) {
    const QString jpeg = m_data.filePath("hatter.jpg");
    const QString png = m_data.filePath("kicsi.png");
    QImage picture(300, 100, QImage::Format_RGB888);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(jpeg, "JPEG"));
    ASSERT_TRUE(picture.save(png, "PNG"));

    Table banner(QStringLiteral("banner"));
    banner.startNew();
    banner.setValue(QStringLiteral("banner_nev"), QStringLiteral("Nyári akció"));
    ScriptedWindows windows;
    windows.answer(ChooseWebPicture, jpeg).answer(ChooseWebPicture, png);
    ScriptedDialogs dialogs;
    ASSERT_TRUE(UploadBannerPicture(banner, BannerPicture::Background));
    ASSERT_TRUE(UploadBannerPicture(banner, BannerPicture::Small));
    EXPECT_TRUE(dialogs.calls().empty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(windows.calls("ChooseWebPicture").at(1).args.at(0).toString(), web_text::PngFilter);

    const qlonglong n = banner.key().toLongLong();
    ASSERT_GT(n, 0);
    // The row names its pictures on the server even if the editor is now
    // cancelled.
    banner.cancel();
    Table stored(QStringLiteral("banner"));
    ASSERT_TRUE(stored.load(n));
    EXPECT_EQ(stored.value(QStringLiteral("hatterkep")).toString(), QStringLiteral("banner%1.jpg").arg(n));
    EXPECT_EQ(stored.value(QStringLiteral("kiskep")).toString(), QStringLiteral("banner%1-k.png").arg(n));
    for (const QString& name :
         {QStringLiteral("banner%1.jpg").arg(n), QStringLiteral("banner%1-k.png").arg(n)}) {
        const QString local = QDir(Beall().kepek).filePath(name);
        EXPECT_EQ(ReadAll(local), ReadAll(name.endsWith(QStringLiteral(".png")) ? png : jpeg))
            << name.toStdString();
        if (HaveFtp()) {
            EXPECT_EQ(ReadAll(remoteFolder() + QLatin1Char('/') + name), ReadAll(local))
                << name.toStdString();
        }
    }
}

// ---- Text encoding -----------------------------------------------------------------------

TEST_F(WebContent, WindowsOnlyCharactersSurviveWebTextsAndBanners) {
    const struct {
        const char* table;
        const char* column;
    } cases[] = {
        {"web_szoveg", "cim"}, {"web_szoveg", "szoveg"}, {"banner", "banner_nev"}, {"banner", "szoveg"}};
    for (const auto& c : cases) {
        Table row(QString::fromLatin1(c.table));
        row.startNew();
        if (QLatin1String(c.table) == QLatin1String("web_szoveg")) {
            SetNewWebTextDefaults(row);
            row.setValue(QStringLiteral("kulcs"), QStringLiteral("kodlap"));
        }
        row.setValue(QString::fromLatin1(c.column), kCp1250Text);
        const QVariant key = row.post();
        Table back(QString::fromLatin1(c.table));
        ASSERT_TRUE(back.load(key));
        EXPECT_EQ(back.value(QString::fromLatin1(c.column)).toString(), kCp1250Text)
            << c.table << "." << c.column;
        // Stored as the Windows-1250 bytes the website reads.
        const QString hex =
            QueryStr(QStringLiteral("SELECT HEX(%1) FROM %2 WHERE %2 = %3;")
                         .arg(QLatin1String(c.column), QLatin1String(c.table), key.toString()));
        EXPECT_TRUE(hex.startsWith(QStringLiteral("845465737A7494209620313030208020"))) << hex.toStdString();
    }
}

// ---- Web messages ----------------------------------------------------------------------------

class WebMessages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("webmessages"));
        ExecSql(QStringLiteral("INSERT INTO felhasznalo (felhasznalo, felhasznalo_nev) VALUES "
                               "('iroda', 'Irodai Ildikó'), ('szerviz', 'Szerviz Sándor');"));
        // 1, 2: acknowledged (2 by a user deleted since); 3..5 still active.
        ExecSql(QString::fromUtf8(
            "INSERT INTO webuzenet (webuzenet, ugyfel_nev, telefon, emil, uzenet, rogzdat, nyugtazva, "
            "felh_nyugtazva) VALUES "
            "(1, 'Kovács Anna', '+36 30 111 2222', 'a@pelda.hu', 'Első', NOW() - INTERVAL 5 DAY, "
            "NOW() - INTERVAL 4 DAY, 'iroda'),"
            "(2, 'Nagy Béla', '+36 20 333 4444', 'b@pelda.hu', 'Második', NOW() - INTERVAL 4 DAY, "
            "NOW() - INTERVAL 3 DAY, 'torolt'),"
            "(3, 'Kovács Béla', '+36 1 555 6666', 'c@pelda.hu', 'Harmadik', NOW() - INTERVAL 3 DAY, NULL, "
            "NULL),"
            "(4, 'Szabó Kovács Éva', '+36 30 777 8888', 'd@pelda.hu', 'Negyedik', NOW() - INTERVAL 2 DAY, "
            "NULL, NULL),"
            "(5, 'Tóth Ede', '+36 30 999 0000', 'e@pelda.hu', 'Ötödik', NOW() - INTERVAL 1 DAY, NULL, "
            "NULL);"));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }

    static std::vector<qlonglong> Keys(ListController& list) {
        std::vector<qlonglong> keys;
        for (int row = 0; row < list.rowCount(); ++row)
            keys.push_back(ValueAt(list.query(), row, QStringLiteral("webuzenet")).toLongLong());
        return keys;
    }

    static inline TestDatabase* s_db = nullptr;
};

TEST_F(WebMessages, FiltersAndTwoWordSearch) {
    ListController list(WebMessageListDefinition());
    EXPECT_TRUE(MissingListFields(list.definition()).isEmpty());
    // As the main window opens it: the active ones, newest first.
    list.setFixedCondition(WebMessageFilterCondition(StartingFilter(std::nullopt)));
    list.open();
    EXPECT_EQ(Keys(list), (std::vector<qlonglong>{5, 4, 3}));
    list.setFixedCondition(WebMessageFilterCondition(StartingFilter(2)));
    list.open(2);
    EXPECT_EQ(list.currentKey(), 2);
    EXPECT_EQ(Keys(list), (std::vector<qlonglong>{5, 4, 3, 2, 1}));

    const struct {
        const char* text;
        std::vector<qlonglong> keys;
    } searches[] = {
        {"kovács", {4, 3, 1}},
        {"kovács 30", {4, 1}}, // name and phone
        {"béla kovács", {3}},  // both words in the name
        {"iroda", {1}},        // the acknowledging user's login code
        {"torolt", {}},        // a deleted user's code is not there
        {"kovács nincsilyen", {}},
    };
    for (const auto& s : searches) {
        list.search(QString::fromUtf8(s.text));
        EXPECT_EQ(Keys(list), s.keys) << s.text;
    }

    // Another column sorts ascending, the number newest first.
    list.search(QString());
    list.sortBy(QStringLiteral("ugyfel_nev"));
    EXPECT_EQ(Keys(list), (std::vector<qlonglong>{1, 3, 2, 4, 5}));
    list.sortBy(QStringLiteral("webuzenet"));
    EXPECT_EQ(Keys(list), (std::vector<qlonglong>{5, 4, 3, 2, 1}));
}

TEST_F(WebMessages, DeletedUserShowsNoLoginCode) {
    ListController list(WebMessageListDefinition());
    list.setFixedCondition(WebMessageFilterCondition(WebMessageFilter::All));
    list.open(2);
    ASSERT_EQ(list.currentKey(), 2);
    EXPECT_TRUE(list.currentValue(QStringLiteral("felhasznalo")).toString().isEmpty());
    ASSERT_TRUE(list.locate(1));
    EXPECT_EQ(list.currentValue(QStringLiteral("felhasznalo")).toString(), QStringLiteral("iroda"));
}

TEST_F(WebMessages, AcknowledgingOnlyWhatNobodyHas) {
    ExecSql(QStringLiteral("INSERT INTO webuzenet (webuzenet, ugyfel_nev) VALUES (20, 'Próba');"));
    EXPECT_TRUE(AcknowledgeWebMessage(20, QStringLiteral("szerviz")));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT felh_nyugtazva FROM webuzenet WHERE webuzenet = 20;")),
              QStringLiteral("szerviz"));
    const QString when = QueryStr(QStringLiteral("SELECT nyugtazva FROM webuzenet WHERE webuzenet = 20;"));
    EXPECT_FALSE(when.isEmpty());
    // A second workstation that still shows it as active changes nothing.
    EXPECT_FALSE(AcknowledgeWebMessage(20, QStringLiteral("iroda")));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT felh_nyugtazva FROM webuzenet WHERE webuzenet = 20;")),
              QStringLiteral("szerviz"));
    EXPECT_FALSE(AcknowledgeWebMessage(999, QStringLiteral("iroda")));
    ExecSql(QStringLiteral("DELETE FROM webuzenet WHERE webuzenet = 20;"));
}

} // namespace
