#include "controls/PictureFiles.h"

#include "../support/TempDir.h"
#include "../support/TestArchive.h"
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Jpeg.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

QImage sample()
{
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(qRgb(200, 30, 40));
    return img;
}

QByteArray asBmp(const QImage &img)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

} // namespace

TEST(Picture, LoadsBitmapsAndJpegsByExtension)
{
    TempDir dir;
    platform::setAppFolderOverride(dir.folder());
    platform::ScopedRecordingDialogs dialogs;
    const QByteArray bmp = asBmp(sample());
    const QByteArray jpg = platform::encodeJpeg(sample(), 90);
    dir.write(QStringLiteral("interface.dat"),
              TestArchive()
                  .add("pics\\a.bmp", bmp)
                  .addScrambled("pics\\b.jpg", jpg)
                  .add("pics\\c.gif", jpg) // any other extension is JPEG
                  .add("pics\\d.jpg", bmp) // a bitmap behind a JPEG name
                  .bytes());
    ASSERT_TRUE(OpenArchive(dir.folder() + QStringLiteral("interface.dat")));

    EXPECT_EQ(LoadBitmapResource(QStringLiteral("PICS\\A.BMP")).size(), QSize(20, 10));
    const QImage b = LoadBitmapResource(QStringLiteral("pics\\b.jpg"));
    ASSERT_EQ(b.size(), QSize(20, 10));
    EXPECT_NEAR(qRed(b.pixel(5, 5)), 200, 10);
    EXPECT_EQ(LoadBitmapResource(QStringLiteral("pics\\c.gif")).size(), QSize(20, 10));

    QString error;
    EXPECT_TRUE(LoadBitmapResource(QStringLiteral("pics\\d.jpg"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(LoadBitmapResource(QStringLiteral("pics\\none.jpg")).isNull());
    EXPECT_EQ(dialogs.messages.size(), 1); // the reader's "not found" message

    CloseArchive();
    platform::setAppFolderOverride(QString());
}

TEST(Picture, BitmapToJpeg)
{
    EXPECT_TRUE(BitmapToJpeg(nullptr, 80).isEmpty());
    const QImage img = sample();
    const QByteArray low = BitmapToJpeg(&img, 5);
    const QByteArray high = BitmapToJpeg(&img, 100);
    ASSERT_FALSE(low.isEmpty());
    EXPECT_LE(low.size(), high.size());
    EXPECT_EQ(platform::decodeJpeg(high).size(), img.size());
}

TEST(Picture, DenseVariantsByName)
{
    struct Case
    {
        const char *name, *expected;
    } cases[] = {
        {"pics\\a.gif", "pics\\a@2x.gif"},
        {"PICS\\A.B.JPG", "PICS\\A.B@2x.JPG"},
        {"..\\pics.v2\\noext", "..\\pics.v2\\noext@2x"},
        {"icons/tool.jpg", "icons/tool@2x.jpg"},
        {"Z:\\opt\\m\\i.bmp", "Z:\\opt\\m\\i@2x.bmp"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ScaledPictureName(QString::fromUtf8(c.name), 2), QString::fromUtf8(c.expected));

    TempDir dir;
    platform::setAppFolderOverride(dir.folder());
    platform::ScopedRecordingDialogs dialogs;
    dir.write(QStringLiteral("interface.dat"), TestArchive()
                                                   .add("pics\\a.gif", "GIF89a")
                                                   .add("pics\\a@2x.gif", "GIF89a")
                                                   .add("pics\\b.gif", "GIF89a")
                                                   .bytes());
    dir.write(QStringLiteral("pics/b@3x.gif"), "GIF89a"); // on disk beside the archive
    ASSERT_TRUE(OpenArchive(dir.folder() + QStringLiteral("interface.dat")));
    struct Dense
    {
        const char *name;
        qreal ratio;
        const char *expected;
        int scale;
    } dense[] = {
        {"pics\\a.gif", 1.0, "pics\\a.gif", 1},    {"pics\\a.gif", 1.5, "pics\\a@2x.gif", 2},
        {"pics\\a.gif", 2.0, "pics\\a@2x.gif", 2}, {"pics\\a.gif", 3.0, "pics\\a@2x.gif", 2},
        {"pics\\b.gif", 2.0, "pics\\b.gif", 1},    {"pics\\b.gif", 3.0, "pics\\b@3x.gif", 3},
        {"pics\\c.gif", 2.0, "pics\\c.gif", 1},
    };
    for (const Dense &c : dense) {
        int scale = 0;
        EXPECT_EQ(DensestPicture(QString::fromUtf8(c.name), c.ratio, &scale),
                  QString::fromUtf8(c.expected))
            << c.name << " at " << c.ratio;
        EXPECT_EQ(scale, c.scale) << c.name << " at " << c.ratio;
    }
    EXPECT_TRUE(dialogs.messages.isEmpty()); // looking for a variant reports nothing
    CloseArchive();
    platform::setAppFolderOverride(QString());
}
