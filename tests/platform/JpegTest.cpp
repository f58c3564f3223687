#include "platform/Jpeg.h"

#include <gtest/gtest.h>

namespace {
QImage gradient()
{
    QImage img(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 5, (x + y) * 2));
    return img;
}
} // namespace

TEST(Jpeg, RoundTripKeepsSizeAndColoursClose)
{
    const QImage src = gradient();
    const QByteArray jpeg = platform::encodeJpeg(src, 95);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8"));
    const QImage back = platform::decodeJpeg(jpeg);
    ASSERT_EQ(back.size(), src.size());
    const QRgb a = src.pixel(30, 20), b = back.pixel(30, 20);
    EXPECT_NEAR(qRed(a), qRed(b), 8);
    EXPECT_NEAR(qGreen(a), qGreen(b), 8);
    EXPECT_NEAR(qBlue(a), qBlue(b), 8);
    EXPECT_EQ(qAlpha(b), 255);
}

TEST(Jpeg, QualityIsHonoured)
{
    const QImage src = gradient();
    EXPECT_LT(platform::encodeJpeg(src, 10).size(), platform::encodeJpeg(src, 100).size());
}

TEST(Jpeg, BadDataGivesNullImageAndMessage)
{
    QString error;
    EXPECT_TRUE(platform::decodeJpeg(QByteArray("not a jpeg"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    const QByteArray jpeg = platform::encodeJpeg(gradient(), 80);
    EXPECT_TRUE(platform::decodeJpeg(jpeg.left(40), &error).isNull()); // truncated header
    EXPECT_TRUE(platform::decodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(platform::encodeJpeg(QImage(), 80).isEmpty());
}
