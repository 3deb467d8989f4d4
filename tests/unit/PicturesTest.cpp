// The bilinear resampler and the JPEG fitting built on it; where a picture
// is drawn; reading picture files afresh; copying a file over another.
#include "foundation/Pictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kml;

namespace {

QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y,
                                QColor(x * 255 / qMax(1, width - 1), y * 255 / qMax(1, height - 1), 128));
    return image;
}

TEST(ResampleBitmap, BlendsNeighboursInFixedPointSteps) {
    // Black and white side by side, stretched to four pixels: steps of 1/4.
    QImage source(2, 1, QImage::Format_RGB888);
    source.setPixelColor(0, 0, Qt::black);
    source.setPixelColor(1, 0, Qt::white);
    QImage target(4, 1, QImage::Format_RGB888);
    ResampleBitmap(source, target);
    ASSERT_EQ(target.size(), QSize(4, 1));
    EXPECT_EQ(target.format(), QImage::Format_RGB888);
    const int expected[] = {0, 63, 127, 191};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(target.pixelColor(x, 0).red(), expected[x]) << x;

    // Two dimensions: a 2 x 2 picture to 2 x 2 is a copy; to 4 x 4 the
    // centre pixel (2,2) mixes all four corners equally.
    QImage corners(2, 2, QImage::Format_RGB32);
    corners.setPixelColor(0, 0, QColor(0, 0, 0));
    corners.setPixelColor(1, 0, QColor(200, 0, 0));
    corners.setPixelColor(0, 1, QColor(0, 200, 0));
    corners.setPixelColor(1, 1, QColor(200, 200, 200));
    QImage same(2, 2, QImage::Format_RGB888);
    ResampleBitmap(corners, same);
    EXPECT_EQ(same.pixelColor(1, 1), QColor(200, 200, 200));
    QImage big(4, 4, QImage::Format_RGB888);
    ResampleBitmap(corners, big);
    EXPECT_EQ(big.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(big.pixelColor(2, 2), QColor(100, 100, 50));
}

TEST(ResampleBitmap, ShrinksAndStretchesSinglePixelSources) {
    QImage target(10, 5, QImage::Format_RGB888);
    ResampleBitmap(Gradient(100, 50), target);
    EXPECT_EQ(target.pixelColor(0, 0).red(), 0);
    EXPECT_GT(target.pixelColor(9, 0).red(), 200);
    EXPECT_EQ(target.pixelColor(5, 2).blue(), 128);

    QImage dot(1, 1, QImage::Format_RGB888);
    dot.setPixelColor(0, 0, QColor(10, 20, 30));
    QImage wide(5, 3, QImage::Format_RGB888);
    ResampleBitmap(dot, wide);
    EXPECT_EQ(wide.pixelColor(4, 2), QColor(10, 20, 30));
}

TEST(ResizeJpeg, FitsIntoTheBox) {
    EXPECT_EQ(FittedSize(QSize(400, 200), 100, 100), QSize(100, 50));
    EXPECT_EQ(FittedSize(QSize(200, 400), 100, 100), QSize(50, 100));
    EXPECT_EQ(FittedSize(QSize(40, 20), 100, 100), QSize(100, 50)); // enlarged
    EXPECT_EQ(FittedSize(QSize(333, 100), 100, 100), QSize(100, 30));
    EXPECT_EQ(FittedSize(QSize(1000, 1), 10, 10), QSize(10, 1));

    QTemporaryDir dir;
    const QString source = dir.filePath("forras.jpg");
    const QString target = dir.filePath("kicsi.jpg");
    ASSERT_TRUE(Gradient(640, 480).save(source, "JPEG", 90));
    ResizeJpeg(source, target, 200, 200);
    QImage result;
    ASSERT_TRUE(result.load(target, "JPEG"));
    EXPECT_EQ(result.size(), QSize(200, 150));

    EXPECT_THROW(ResizeJpeg(dir.filePath("nincs.jpg"), target, 10, 10), std::runtime_error);
    EXPECT_THROW(ResizeJpeg(source, dir.filePath("nincs/mappa/x.jpg"), 10, 10), std::runtime_error);
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PicturePlacement, OwnSizeWhenItFitsOtherwiseFittedAndCentred) {
    const QRect area(0, 40, 300, 200); // below a tool bar and its gap
    struct Case {
        QSize picture;
        QRect expected;
    } cases[] = {
        {{100, 50}, {100, 115, 100, 50}}, // smaller both ways: own size, centred
        {{300, 200}, {0, 40, 300, 200}},  // exactly the area
        {{600, 200}, {0, 90, 300, 100}},  // too wide: halved
        {{150, 400}, {112, 40, 75, 200}}, // too tall: the smaller ratio
        {{301, 10}, {0, 135, 300, 10}},   // one pixel too wide: fitted, rounded
        {{1000, 3}, {0, 139, 300, 1}},    // never below a pixel
    };
    for (const Case& c : cases)
        EXPECT_EQ(PicturePlacement(c.picture, area), c.expected)
            << c.picture.width() << "x" << c.picture.height();
}

TEST(LoadPicture, ReadsTheFileAfreshAndGivesNullForWhatIsNoPicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kep.jpg");
    ASSERT_TRUE(Gradient(40, 30).save(path, "JPEG"));
    EXPECT_EQ(LoadPicture(path).size(), QSize(40, 30));
    // Replaced under the same name: the new picture, not a cached one.
    ASSERT_TRUE(Gradient(20, 10).save(path, "JPEG"));
    EXPECT_EQ(LoadPicture(path).size(), QSize(20, 10));

    QFile text(dir.filePath("szoveg.jpg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("nem kep");
    text.close();
    EXPECT_TRUE(LoadPicture(text.fileName()).isNull());
    EXPECT_TRUE(LoadPicture(dir.filePath("nincs.jpg")).isNull());
    EXPECT_TRUE(LoadPicture(QString()).isNull());
}

TEST(CopyFileOver, ReplacesTheTargetAndLeavesTheSameFileAlone) {
    QTemporaryDir dir;
    const QString source = dir.filePath("uj.jpg");
    const QString target = dir.filePath("MOB00007.jpg");
    ASSERT_TRUE(Gradient(64, 48).save(source, "JPEG"));
    ASSERT_TRUE(Gradient(8, 8).save(target, "JPEG"));

    ASSERT_TRUE(CopyFileOver(source, target));
    EXPECT_EQ(Contents(target), Contents(source));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file is left behind";

    // The target itself, also reached through "." and "..": nothing happens
    // and the picture is whole.
    const QByteArray before = Contents(target);
    for (const QString& same : {target, dir.filePath("./MOB00007.jpg"),
                                dir.filePath("../") + QDir(dir.path()).dirName() + "/MOB00007.jpg"}) {
        ASSERT_TRUE(CopyFileOver(same, target)) << same.toStdString();
        EXPECT_EQ(Contents(target), before) << same.toStdString();
    }
    // Through a symbolic link to it, too.
    const QString link = dir.filePath("link.jpg");
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(CopyFileOver(link, target));
    EXPECT_EQ(Contents(target), before);

    // A source that is not there, or a folder that is not there: false with
    // a reason, and the old target untouched.
    QString error;
    EXPECT_FALSE(CopyFileOver(dir.filePath("nincs.jpg"), target, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Contents(target), before);
    EXPECT_FALSE(CopyFileOver(source, dir.filePath("nincs/MOB00001.jpg"), &error));
}

} // namespace
