// The device types' and devices' rules that need no server: the three-word
// type search with its quoting, the type picture files, the editor's pages
// by program type and the device list's condition.
#include "records/DeviceTypes.h"
#include "records/Devices.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kml;

namespace {

const QString kBase = QStringLiteral("(torolve='N')");

QString Either(const QString& pattern) {
    return QStringLiteral("((tipus_nev LIKE '%1') OR (gyarto_nev LIKE '%1'))").arg(pattern);
}

TEST(TypeSearch, ThreeWordsEachQuotedInTypeOrManufacturer) {
    struct Case {
        const char* typed;
        QString expected;
    } cases[] = {
        {"", kBase},
        {"   ", kBase},
        {"bosch", kBase + " AND " + Either("%bosch%")},
        {"  bosch  ", kBase + " AND " + Either("%bosch%")},
        // Two blanks between the words: still two words, not one phrase.
        {"bosch  3000", kBase + " AND (" + Either("%bosch%") + " AND " + Either("%3000%") + ")"},
        {"a b c", kBase + " AND (" + Either("%a%") + " AND " + Either("%b%") + " AND " + Either("%c%") + ")"},
        // Words after the third are left out.
        {"a b c d",
         kBase + " AND (" + Either("%a%") + " AND " + Either("%b%") + " AND " + Either("%c%") + ")"},
        // Quotes and backslashes are searched for as typed, never closing the literal.
        {"d'a", kBase + " AND " + Either("%d''a%")},
        {"%') OR 1=1 OR ('",
         kBase + " AND (" + Either("%%'')%") + " AND " + Either("%OR%") + " AND " + Either("%1=1%") + ")"},
        {"c:\\x", kBase + " AND " + Either("%c:\\\\\\\\x%")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TypeSearchCondition(kBase, QString::fromUtf8(c.typed)), c.expected) << c.typed;
}

TEST(TypePictures, NamedByTheTypeNumberFoundWhateverTheCase) {
    EXPECT_EQ(TypePictureName(7), "MOB00007.jpg");
    EXPECT_EQ(TypePictureName(42), "MOB00042.jpg");
    EXPECT_EQ(TypePictureName(123456), "MOB123456.jpg");

    QTemporaryDir dir;
    const QString folder = dir.filePath("Kepek");
    // No folder, no file: the canonical name.
    EXPECT_EQ(TypePicturePath(folder, 42), folder + "/MOB00042.jpg");
    ASSERT_TRUE(QDir().mkpath(folder));
    // Carried over from another system: other letter cases, .jpeg.
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(folder + "/mob00042.JPG", "JPEG"));
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(folder + "/MOB00043.jpeg", "JPEG"));
    EXPECT_EQ(TypePicturePath(folder, 42), folder + "/mob00042.JPG");
    EXPECT_EQ(TypePicturePath(folder, 43), folder + "/MOB00043.jpeg");
    EXPECT_EQ(TypePicturePath(folder, 4), folder + "/MOB00004.jpg") << "MOB00042 is not type 4's";

    // Adding replaces the file that is there; removing takes it away.
    const QString source = dir.filePath("uj.jpg");
    ASSERT_TRUE(QImage(30, 20, QImage::Format_RGB32).save(source, "JPEG"));
    ASSERT_TRUE(AddTypePicture(folder, 42, source));
    EXPECT_EQ(QImage(folder + "/mob00042.JPG").size(), QSize(30, 20));
    EXPECT_FALSE(QFile::exists(folder + "/MOB00042.jpg"));
    EXPECT_TRUE(RemoveTypePicture(folder, 42));
    EXPECT_FALSE(RemoveTypePicture(folder, 42));
    EXPECT_EQ(TypePicturePath(folder, 42), folder + "/MOB00042.jpg");

    // Adding creates the folder; choosing the type's own file keeps it whole.
    const QString fresh = dir.filePath("uj/Kepek");
    ASSERT_TRUE(AddTypePicture(fresh, 7, source));
    const QString own = fresh + "/MOB00007.jpg";
    ASSERT_TRUE(AddTypePicture(fresh, 7, own));
    EXPECT_EQ(QImage(own).size(), QSize(30, 20));
    QString error;
    EXPECT_FALSE(AddTypePicture(fresh, 8, dir.filePath("nincs.jpg"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(fresh + "/MOB00008.jpg"));
}

TEST(DevicePages, ByProgramType) {
    using P = DevicePage;
    const std::vector<P> all{P::Device, P::Vehicle, P::SimCard};
    struct Case {
        int programType;
        std::vector<P> pages;
    } cases[] = {{1, {P::Device}},  {2, {P::Vehicle}}, {3, all}, {4, {P::Device}},
                 {5, {P::SimCard}}, {0, all},          {6, all}};
    for (const Case& c : cases)
        EXPECT_EQ(DevicePagesFor(c.programType), c.pages) << c.programType;
}

TEST(DeviceList, LiveDevicesOfOneCustomerOrOfAll) {
    EXPECT_EQ(DeviceBaseCondition(-1), "(torolve = 'N')");
    EXPECT_EQ(DeviceBaseCondition(17), "(ugyfel = 17) AND (torolve = 'N')");
    EXPECT_EQ(DeviceListHeading(std::nullopt, QStringLiteral("Gépjármű")), "Gépjármű  ");
}

} // namespace
