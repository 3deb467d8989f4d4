// What the maker's answers mean: versions that count and those that are not
// versions at all, news numbers and what is no news, the addresses asked and
// opened, and the links that may be handed to the desktop.
#include "foundation/ShellOpener.h"
#include "services/MakerServices.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kml;

namespace {

TEST(MakerAnswers, VersionAnswerNeedsFourDottedNumbers) {
    const struct {
        const char* answer;
        const char* version; // nullptr: no answer
        const char* text;
    } cases[] = {
        {"24.0.0.112|Megjelent az új változat.", "24.0.0.112", "Megjelent az új változat."},
        {" 25.0.0.100 | szöveg \r\n", "25.0.0.100", "szöveg"},
        {"24.0.0.112", "24.0.0.112", ""},
        {"", nullptr, nullptr},
        {"24.0.112|három szám", nullptr, nullptr},
        {"24.0.0.112b|betű", nullptr, nullptr},
        {"<!DOCTYPE html><html><body>Not found</body></html>", nullptr, nullptr},
        {"24.0.0.112<script>|x", nullptr, nullptr},
        {"123456.0.0.1|túl hosszú", nullptr, nullptr},
        {"99999.99999.99999.1|16 karakter", nullptr, nullptr},
        {"-1.0.0.5|előjel", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto notice = ParseVersionAnswer(QString::fromUtf8(c.answer));
        if (!c.version) {
            EXPECT_FALSE(notice.has_value()) << c.answer;
            continue;
        }
        ASSERT_TRUE(notice.has_value()) << c.answer;
        EXPECT_EQ(notice->version, QString::fromUtf8(c.version));
        EXPECT_EQ(notice->text, QString::fromUtf8(c.text));
    }
}

TEST(MakerAnswers, OnlyTheBuildNumberDecidesWhetherAVersionIsNews) {
    const QString own = QStringLiteral("24.0.0.111");
    const struct {
        const char* version;
        const char* accepted;
        bool newer;
    } cases[] = {
        {"24.0.0.112", "", true},
        {"24.0.0.112", "24.0.0.111", true},
        {"24.0.0.112", "24.0.0.112", false}, // ticked once: not again
        {"24.0.0.113", "24.0.0.112", true},
        {"25.0.0.100", "", false}, // 100 < 111
        {"24.0.0.111", "", false},
        {"24.0.0.112", "nem verzió", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNewerBuild(QString::fromUtf8(c.version), QString::fromUtf8(c.accepted), own), c.newer)
            << c.version << " / " << c.accepted;
    EXPECT_EQ(BuildNumber(QStringLiteral("24.0.0.112")), 112);
    EXPECT_EQ(BuildNumber(QStringLiteral("x")), 0);
}

TEST(MakerAnswers, NewsNeedsAPositiveNumberOfDigits) {
    const struct {
        const char* answer;
        int number; // 0: no news
        const char* title;
        const char* text;
    } cases[] = {
        {"7|Új funkció|Részletek a honlapon.", 7, "Új funkció", "Részletek a honlapon."},
        {"12|<b>cím</b>|<script>alert(1)</script>", 12, "<b>cím</b>", "<script>alert(1)</script>"},
        {"0|semmi|", 0, nullptr, nullptr},
        {"", 0, nullptr, nullptr},
        {"|cím|szöveg", 0, nullptr, nullptr},
        {"<h1>404</h1>", 0, nullptr, nullptr},
        {"7a|cím|szöveg", 0, nullptr, nullptr},
        {"-7|cím|szöveg", 0, nullptr, nullptr},
        {"99999999999|túl nagy|", 0, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto news = ParseNewsAnswer(QString::fromUtf8(c.answer));
        if (c.number == 0) {
            EXPECT_FALSE(news.has_value()) << c.answer;
            continue;
        }
        ASSERT_TRUE(news.has_value()) << c.answer;
        EXPECT_EQ(news->number, c.number);
        EXPECT_EQ(news->title, QString::fromUtf8(c.title));
        EXPECT_EQ(news->text, QString::fromUtf8(c.text));
    }
}

TEST(MakerAnswers, AddressesCarryTheProductAndWholeNumbers) {
    MakerEndpoint endpoint;
    endpoint.base = QStringLiteral("https://127.0.0.1:8443");
    EXPECT_EQ(VersionAddress(endpoint), QStringLiteral("https://127.0.0.1:8443/verziokovetes.php?prg=47"));
    EXPECT_EQ(NewsAddress(endpoint, 0), QStringLiteral("https://127.0.0.1:8443/hirfolyam.php?prg=47&hir=0"));
    EXPECT_EQ(NewsAddress(endpoint, 7), QStringLiteral("https://127.0.0.1:8443/hirfolyam.php?prg=47&hir=7"));
    EXPECT_EQ(NewsDetailsAddress(endpoint, 7), QStringLiteral("https://127.0.0.1:8443/hirek.php?hir=7"));
    // The news number in the details address is the parsed number, never the
    // answer's own text.
    const auto news = ParseNewsAnswer(QStringLiteral("0007|cím|szöveg"));
    ASSERT_TRUE(news.has_value());
    EXPECT_EQ(NewsDetailsAddress(endpoint, news->number),
              QStringLiteral("https://127.0.0.1:8443/hirek.php?hir=7"));
}

TEST(MakerAnswers, OnlyWebAndMailLinksAreOpened) {
    const struct {
        const char* link;
        bool openable;
    } cases[] = {
        {"https://www.tarnova.hu/akcio", true},
        {"http://tarnova.hu", true},
        {"mailto:info@tarnova.hu", true},
        {"HTTPS://WWW.TARNOVA.HU", true},
        {"", false},
        {"file:///etc/passwd", false},
        {"/usr/bin/xterm", false},
        {"javascript:alert(1)", false},
        {"smb://server/share", false},
        {"https://", false},
        {"mailto:", false},
        {"ftp://tarnova.hu/x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsOpenableLink(QString::fromUtf8(c.link)), c.openable) << c.link;
}

TEST(MakerAnswers, AnswerFilesAreReadAsUtf8OrRepairedFromCp1250) {
    QTemporaryDir dir;
    const struct {
        QByteArray bytes;
        const char* text;
    } cases[] = {
        {"7|\xC3\x9Aj h\xC3\xADr|\xE2\x80\x9Eid\xC3\xA9zet\xE2\x80\x9D \xE2\x80\x93 100 \xE2\x82\xAC",
         "7|Új hír|„idézet” – 100 €"},
        {"24.0.0.112|u\xCC\x88zenet o\xCC\x8B", "24.0.0.112|üzenet ő"}, // combining accents
        {"24.0.0.112|\xFCzenet \xF5 \x84"
         "cp1250\x94",
         "24.0.0.112|üzenet ő „cp1250”"},
        {"", ""},
    };
    int i = 0;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::number(++i));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        EXPECT_EQ(ReadAnswerFile(path), QString::fromUtf8(c.text)) << i;
    }
    EXPECT_EQ(ReadAnswerFile(dir.filePath(QStringLiteral("nincs"))), QString());
}

} // namespace
