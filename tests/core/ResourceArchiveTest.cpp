#include "core/ResourceArchive.h"

#include "../support/TempDir.h"
#include "../support/TestArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kNotFound = QStringLiteral("Не найден файл \r\n");
const QString kBadSignature = QStringLiteral("Неверная сигнатура архива");

// Each test gets its own application folder holding "interface.dat".
class ArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override { platform::setAppFolderOverride(dir.folder()); }
    void TearDown() override
    {
        CloseArchive();
        platform::setAppFolderOverride(QString());
    }

    bool open(const QByteArray &archive)
    {
        dir.write(QStringLiteral("interface.dat"), archive);
        return OpenArchive(dir.folder() + QStringLiteral("interface.dat"));
    }

    TempDir dir;
    platform::ScopedRecordingDialogs dialogs;
};

} // namespace

TEST_F(ArchiveTest, LookupRules)
{
    ASSERT_TRUE(open(TestArchive()
                         .add("struct_main.txt", "first")
                         .add("pics\\1.jpg", "picture")
                         .add("struct_main.txt", "second") // the later entry wins
                         .add("Upper.txt", "never found")
                         .add("\xF1\xF2\xF0.htm", "cyrillic") // "стр.htm"
                         .bytes()));
    EXPECT_EQ(ArchiveEntries().size(), 5);
    EXPECT_EQ(OpenResource(s("STRUCT_Main.txt")), QByteArray("second"));
    EXPECT_EQ(FindEntry(s("struct_main.txt")), 2);
    EXPECT_EQ(FindEntry(s("Upper.txt")), -1);
    EXPECT_EQ(OpenResource(s("СТР.htm")), QByteArray("cyrillic"));
    // An absolute name inside the archive folder is looked up by its relative part.
    EXPECT_EQ(OpenResource(dir.folder() + s("pics\\1.jpg")), QByteArray("picture"));
    EXPECT_EQ(FindEntry(s("中文.htm")), -1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ArchiveTest, ScrambledAndPlainEntries)
{
    const QByteArray stored("\x01\x02\x03hello", 8);
    ASSERT_TRUE(open(TestArchive()
                         .add("plain.bin", stored, 0)
                         .add("scrambled.bin", stored, 1)
                         .add("flag2.bin", stored, 2)
                         .addScrambled("page.htm", "<html>Страница</html>")
                         .bytes()));
    EXPECT_EQ(OpenResource(s("plain.bin")), stored);
    EXPECT_EQ(OpenResource(s("flag2.bin")), stored); // any flag but 1 means stored as is
    EXPECT_EQ(OpenResource(s("scrambled.bin")), TestArchive::scramble(stored));
    EXPECT_EQ(OpenResource(s("page.htm")), QByteArray("<html>Страница</html>"));
}

TEST_F(ArchiveTest, DiskFallbackAndMissingFiles)
{
    ASSERT_TRUE(open(TestArchive().add("inside.txt", "archive").bytes()));
    dir.write(QStringLiteral("Pages/Disk.HTM"), "disk");
    dir.write(QStringLiteral("inside.txt"), "disk copy");
    EXPECT_EQ(OpenResource(s("inside.txt")), QByteArray("archive"));
    EXPECT_EQ(OpenResource(s("pages\\disk.htm")), QByteArray("disk"));
    EXPECT_EQ(OpenResource(s("pages/disk.htm")), QByteArray("disk"));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    EXPECT_EQ(OpenResource(s("Missing.htm")), QByteArray());
    EXPECT_EQ(OpenResource(s("Missing.htm")), QByteArray());
    EXPECT_EQ(dialogs.texts(),
              (QStringList{kNotFound + s("Missing.htm"), kNotFound + s("Missing.htm")}));
    dialogs.clear();
    EXPECT_EQ(OpenResource(QString()), QByteArray()); // empty name: no message
    EXPECT_TRUE(dialogs.messages.isEmpty());

    const TPack pack(s("pages\\disk.htm"));
    EXPECT_EQ(pack.data(), QByteArray("disk"));
    EXPECT_EQ(NewPack(s("nothing.txt"))->size(), 0);
}

TEST_F(ArchiveTest, HostileArchivesFailCleanlyOrReadOnlyWhatExists)
{
    const QByteArray good = TestArchive().add("a.txt", "aaaa").add("b.txt", "bbbb").bytes();
    struct Case
    {
        const char *what;
        QByteArray bytes;
        bool opens;
        int entries;
    } cases[] = {
        {"empty file", QByteArray(), true, 0},
        {"shorter than the header", QByteArray("BMA\0\0", 5), false, 0},
        {"wrong signature", TestArchive().signature("BMX").add("a.txt", "a").bytes(), false, 0},
        {"directory cut short", good.left(good.size() - 3), false, 0},
        {"last entry ends at the end", good, true, 2},
        {"directory offset past the end",
         TestArchive().add("a.txt", "a").dirOffsetOverride(1 << 30).bytes(), false, 0},
        {"negative directory offset",
         TestArchive().add("a.txt", "a").dirOffsetOverride(0x80000010).bytes(), false, 0},
        {"no directory at all", TestArchive().bytes(), true, 0},
    };
    for (const Case &c : cases) {
        dialogs.clear();
        EXPECT_EQ(open(c.bytes), c.opens) << c.what;
        EXPECT_EQ(ArchiveIsOpen(), c.opens) << c.what;
        EXPECT_EQ(ArchiveEntries().size(), c.entries) << c.what;
        const bool signatureMessage = QByteArrayView(c.what) == QByteArrayView("wrong signature");
        EXPECT_EQ(dialogs.texts(), signatureMessage ? QStringList{kBadSignature} : QStringList())
            << c.what;
    }

    // After a failed open every read goes to disk.
    ASSERT_FALSE(open(TestArchive().signature("XXX").add("a.txt", "archive").bytes()));
    dir.write(QStringLiteral("a.txt"), "disk");
    EXPECT_EQ(OpenResource(s("a.txt")), QByteArray("disk"));
}

TEST_F(ArchiveTest, EntriesRunningPastTheEndYieldOnlyExistingBytes)
{
    TestArchive archive;
    archive.addRaw({"huge.bin", "0123456789", 0, 0xFFFFFFF0, -1});
    archive.addRaw({"beyond.bin", "x", 0, 4, 0x7FFFFFF0});
    archive.addRaw({"scrambled.bin", TestArchive::scramble("abc"), 1, 1000, -1});
    ASSERT_TRUE(open(archive.bytes()));
    const QByteArray huge = OpenResource(s("huge.bin"));
    // The entry's data, then whatever follows it up to the end of the file.
    EXPECT_TRUE(huge.startsWith("0123456789"));
    EXPECT_LT(huge.size(), 200);
    EXPECT_EQ(OpenResource(s("beyond.bin")), QByteArray());
    EXPECT_TRUE(OpenResource(s("scrambled.bin")).startsWith("abc"));
    EXPECT_EQ(ExtractEntry(-1), QByteArray());
    EXPECT_EQ(ExtractEntry(99), QByteArray());
}

TEST_F(ArchiveTest, CloseAndReopen)
{
    ASSERT_TRUE(open(TestArchive().add("a.txt", "one").bytes()));
    EXPECT_EQ(ArchiveName(), dir.folder() + s("interface.dat"));
    EXPECT_EQ(ArchiveFolder(), dir.folder());
    CloseArchive();
    EXPECT_FALSE(ArchiveIsOpen());
    EXPECT_EQ(FindEntry(s("a.txt")), -1);
    EXPECT_EQ(ArchiveName(), QString());
    EXPECT_EQ(ArchiveFolder(), dir.folder()); // kept after closing
    // Opening the same name again reads the rebuilt file.
    ASSERT_TRUE(open(TestArchive().add("a.txt", "two").bytes()));
    EXPECT_EQ(OpenResource(s("a.txt")), QByteArray("two"));
    // A missing archive: false, no message.
    EXPECT_FALSE(OpenArchive(dir.folder() + s("none.dat")));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ArchiveTest, ResourceExistsAndExtractToTemp)
{
    ASSERT_TRUE(open(TestArchive().add("struct_main.txt", "[form]\r\ntype=form\r\n").bytes()));
    dir.write(QStringLiteral("disk.txt"), "d");
    EXPECT_TRUE(ResourceExists(s("Struct_Main.txt")));
    EXPECT_TRUE(ResourceExists(s("disk.txt")));
    EXPECT_TRUE(ResourceExists(s("\\disk.txt")));
    EXPECT_FALSE(ResourceExists(s("none.txt")));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    const QString temp = ExtractToTemp(s("struct_main.txt"));
    ASSERT_FALSE(temp.isEmpty());
    EXPECT_TRUE(temp.mid(temp.lastIndexOf(u'\\') + 1).startsWith(s("BMA")));
    EXPECT_TRUE(temp.endsWith(s(".tmp")));
    QFile file(platform::toNative(temp));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[form]\r\ntype=form\r\n"));
    file.remove();
}
