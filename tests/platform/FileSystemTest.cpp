#include "platform/FileSystem.h"

#include "../support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(FileSystem, ConvertsBetweenProgramAndNativeForms)
{
    EXPECT_EQ(platform::toNative(QStringLiteral("Z:\\opt\\remont\\a.txt")),
              QStringLiteral("/opt/remont/a.txt"));
    EXPECT_EQ(platform::toNative(QStringLiteral("z:\\opt\\\\x")), QStringLiteral("/opt/x"));
    EXPECT_EQ(platform::toNative(QStringLiteral("Z:\\")), QStringLiteral("/"));
    EXPECT_EQ(platform::toNative(QStringLiteral("C:\\windows\\a")), QString());
    EXPECT_EQ(platform::toNative(QStringLiteral("\\\\server\\share")), QString());
    EXPECT_EQ(platform::toVirtual(QStringLiteral("/opt/remont/")),
              QStringLiteral("Z:\\opt\\remont\\"));
    EXPECT_EQ(platform::toVirtual(QStringLiteral("/")), QStringLiteral("Z:\\"));
    EXPECT_EQ(platform::toVirtual(QStringLiteral("/a/b/../c.txt")), QStringLiteral("Z:\\a\\c.txt"));
}

TEST(FileSystem, FindsFilesIgnoringCaseComponentByComponent)
{
    TempDir dir;
    dir.write(QStringLiteral("Pics/Engine/Wheel.JPG"), "x");
    const QString expected = dir.native() + QStringLiteral("/Pics/Engine/Wheel.JPG");
    EXPECT_EQ(platform::findOnDisk(dir.folder() + QStringLiteral("pics\\engine\\wheel.jpg")),
              expected);
    EXPECT_TRUE(platform::fileExists(dir.folder() + QStringLiteral("PICS\\ENGINE\\WHEEL.jpg")));
    EXPECT_TRUE(platform::directoryExists(dir.folder() + QStringLiteral("pics\\engine")));
    EXPECT_FALSE(platform::fileExists(dir.folder() + QStringLiteral("pics\\engine")));
    EXPECT_FALSE(platform::fileExists(dir.folder() + QStringLiteral("pics\\missing.jpg")));

    QByteArray data;
    EXPECT_TRUE(platform::readFile(dir.folder() + QStringLiteral("pics\\engine\\WHEEL.jpg"), data));
    EXPECT_EQ(data, QByteArray("x"));
}

TEST(FileSystem, CachedListingNoticesNewFiles)
{
    TempDir dir;
    dir.write(QStringLiteral("A.txt"), "1");
    EXPECT_TRUE(platform::fileExists(dir.folder() + QStringLiteral("a.txt")));
    EXPECT_FALSE(platform::fileExists(dir.folder() + QStringLiteral("b.txt")));
    dir.write(QStringLiteral("B.TXT"), "2");
    EXPECT_TRUE(platform::fileExists(dir.folder() + QStringLiteral("b.txt")));
}

TEST(FileSystem, AppFolderOverride)
{
    platform::setAppFolderOverride(QStringLiteral("Z:\\opt\\remont"));
    EXPECT_EQ(platform::executableFolder(), QStringLiteral("Z:\\opt\\remont\\"));
    platform::setAppFolderOverride(QString());
    EXPECT_TRUE(platform::executableFolder().startsWith(QStringLiteral("Z:\\")));
    EXPECT_TRUE(platform::executableFolder().endsWith(u'\\'));
}
