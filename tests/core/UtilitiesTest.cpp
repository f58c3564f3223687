#include "../support/TempDir.h"
#include "core/DesktopServices.h"
#include "core/PathUtils.h"
#include "core/TextUtils.h"
#include "core/ValueSyntax.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Printers.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

// Pins the application folder for the tests that depend on it.
class AppFolderScope
{
public:
    explicit AppFolderScope(const QString &folder) { platform::setAppFolderOverride(folder); }
    ~AppFolderScope() { platform::setAppFolderOverride(QString()); }
};

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(Paths, AppPath)
{
    AppFolderScope app(s("C:\\app\\"));
    struct Case
    {
        const char *name, *expected;
    } cases[] = {
        {"", ""},
        {"interface.dat", "C:\\app\\interface.dat"},
        {"pics\\1.jpg", "C:\\app\\pics\\1.jpg"},
        {"\\pics\\1.jpg", "C:\\app\\pics\\1.jpg"},
        {"\\\\x", "C:\\app\\\\x"}, // only the first backslash goes
        {"D:\\x.htm", "D:\\x.htm"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AppPath(s(c.name)), s(c.expected)) << c.name;
}

TEST(Paths, ResolvePath)
{
    AppFolderScope app(s("C:\\app\\"));
    struct Case
    {
        const char *name, *base, *expected;
    } cases[] = {
        {"..\\..\\pics\\1.jpg", "C:\\app\\data\\", "C:\\pics\\1.jpg"},
        {"pics/1.jpg", "C:\\app\\", "C:\\app\\pics\\1.jpg"},
        {"D:\\x.htm", "C:\\app\\", "D:\\x.htm"},
        {"", "C:\\app\\", ""},
        {"a.htm", "", "C:\\app\\a.htm"},                    // empty base: the application folder
        {"a.htm", "C:\\app\\data", "C:\\app\\data\\a.htm"}, // base without trailing backslash
        {"..\\..\\..\\..\\a.htm", "C:\\app\\data\\",
         "C:\\a.htm"}, // climbing stops at the drive root
        {"x\\..\\y\\..\\z.htm", "C:\\a\\b\\c\\",
         "C:\\a\\z.htm"}, // every "..\" climbs, text before it goes
        {"\\a.htm", "C:\\app\\", "C:\\app\\\\a.htm"},
        {"..\\a.htm", "Z:\\", "Z:\\a.htm"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ResolvePath(s(c.name), s(c.base)), s(c.expected)) << c.name << " in " << c.base;
}

TEST(Paths, SlashesAndStripAppFolder)
{
    EXPECT_EQ(AddSlash(s("a")), s("a\\"));
    EXPECT_EQ(AddSlash(s("a\\")), s("a\\"));
    EXPECT_EQ(AddSlash(s("")), s(""));
    EXPECT_EQ(DelSlash(s("a\\")), s("a"));
    EXPECT_EQ(DelSlash(s("a")), s("a"));
    EXPECT_EQ(DelSlash(s("")), s(""));

    AppFolderScope app(s("C:\\app\\"));
    EXPECT_EQ(StripAppFolder(s("C:\\app\\pics\\1.jpg")), s("pics\\1.jpg"));
    EXPECT_EQ(StripAppFolder(s("D:\\xyz\\pics\\1.jpg")),
              s("pics\\1.jpg")); // prefix taken, not compared
    EXPECT_EQ(StripAppFolder(s("pics\\1.jpg")), s("pics\\1.jpg"));
}

TEST(Paths, TempFilesAndLongNames)
{
    TempDir dir;
    const QString a = TempFileName(dir.folder(), s("BMAxyz"));
    const QString b = TempFileName(dir.folder(), s("BMA"));
    ASSERT_FALSE(a.isEmpty());
    EXPECT_NE(a, b);
    const QString nameA = a.mid(a.lastIndexOf(u'\\') + 1);
    EXPECT_TRUE(nameA.startsWith(s("BMA")));
    EXPECT_FALSE(nameA.startsWith(s("BMAx")));
    EXPECT_TRUE(nameA.endsWith(s(".tmp")));
    const QFileInfo info(platform::toNative(a));
    EXPECT_TRUE(info.isFile());
    EXPECT_EQ(info.size(), 0);
    EXPECT_EQ(TempFileName(dir.folder() + s("missing\\"), s("BMA")), QString());

    EXPECT_TRUE(TempFolder().startsWith(s("Z:\\")));
    EXPECT_TRUE(TempFolder().endsWith(u'\\'));

    dir.write(s("Long Folder/File.TXT"), "x");
    EXPECT_EQ(LongPathName(dir.folder() + s("long folder\\file.txt")),
              dir.folder() + s("Long Folder\\File.TXT"));
    EXPECT_EQ(LongPathName(dir.folder() + s("long folder\\missing.txt")),
              dir.folder() + s("Long Folder\\missing.txt"));
    EXPECT_EQ(LongPathName(s("Z:\\")), s("Z:\\"));
}

TEST(Text, CutTokenTextAfterCutChars)
{
    QString t = s("abc");
    EXPECT_EQ(CutToken(t, s("*")), s("abc"));
    EXPECT_EQ(t, s(""));
    t = s("a//b//c");
    EXPECT_EQ(CutToken(t, s("//")), s("a"));
    EXPECT_EQ(t, s("b//c"));
    EXPECT_EQ(TextAfter(s("a*b*c"), s("*")), s("b*c"));
    EXPECT_EQ(TextAfter(s("abc"), s("*")), s(""));
    t = s("abcdef");
    EXPECT_EQ(CutChars(2, t), s("ab"));
    EXPECT_EQ(t, s("cdef"));
    EXPECT_EQ(CutChars(10, t), s("cdef"));
    EXPECT_EQ(t, s(""));
}

TEST(Text, NthField)
{
    struct Case
    {
        const char *text;
        int n;
        const char *expected;
    } cases[] = {
        {"a*b", 2, "b"}, {"a*b", 3, ""},  {"a**b", 2, ""}, {"a**b", 3, "b"},
        {"a*b", 0, ""},  {"a*b", -1, ""}, {"", 1, ""},     {"abc", 1, "abc"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NthField(s(c.text), c.n), s(c.expected)) << c.text << " " << c.n;
}

TEST(Text, ShortenText)
{
    const QString thirty = s("Снятие и установка генератора!"); // 30 characters
    ASSERT_EQ(thirty.size(), 30);
    EXPECT_EQ(ShortenText(thirty, 20), s("Снятие и установка..."));
    EXPECT_EQ(ShortenText(s("abcdefghijklmnopqrstuvwxyz0123"), 20), s("abcdefghijklmnopqrs"));
    EXPECT_EQ(ShortenText(s("short text"), 20), s("short text"));
    EXPECT_EQ(ShortenText(s("exactly twenty chars"), 20), s("exactly twenty..."));
    EXPECT_EQ(ShortenText(s("abc"), 0), s("abc"));
    EXPECT_EQ(ShortenText(s("abc"), 1), s(""));
}

TEST(Text, FindInList)
{
    const QStringList list{s("Двигатель"), s("Тормоза передние"), s("тормоза задние"), s("Кузов")};
    QList<int> progress;
    EXPECT_EQ(FindInList(
                  list, s("ТОРМОЗА"), 0, [&](int p) { progress << p; }, false),
              1);
    EXPECT_EQ(progress, (QList<int>{1, 2}));
    EXPECT_EQ(FindInList(list, s("тормоза"), 2, {}, false), 2);
    EXPECT_EQ(FindInList(list, s("задние"), 0, {}, true), -1);
    EXPECT_EQ(FindInList(list, s("кузов"), 0, {}, true), 3);
    EXPECT_EQ(FindInList(list, s("нет"), 0, {}, false), -1);
}

TEST(Values, ParseBoolAndBoolText)
{
    struct Case
    {
        const char *text;
        bool def, expected;
    } cases[] = {
        {" TRUE ", false, true}, {"1", false, true},    {"false", true, false}, {"0", true, false},
        {"yes", true, true},     {"yes", false, false}, {"", true, true},       {"", false, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseBool(s(c.text), c.def), c.expected) << c.text;
    EXPECT_EQ(BoolText(true), s("1"));
    EXPECT_EQ(BoolText(false), s("0"));
}

TEST(Values, ParseColor)
{
    struct Case
    {
        const char *text;
        std::optional<TColor> expected;
    } cases[] = {
        {"#FF0000", 0x0000FF},     {"$0000FF", 0x0000FF},
        {"0000FF", 0x0000FF},      {"#123456", 0x563412},
        {"$563412", 0x563412},     {"#12345678", 0x563412}, // after six: dropped
        {"#FFF", 0x000FFF},        {"$00FFFFFF", 0xFFFFFF},
        {"", std::nullopt},        {"red", std::nullopt},
        {"#GG0000", std::nullopt}, {"$", std::nullopt},
        {"#", std::nullopt},       {"0x12", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseColor(s(c.text)), c.expected) << c.text;
}

TEST(Values, AlignmentsAndEven)
{
    EXPECT_EQ(ParseAlign(s("Client")), TAlign::Client);
    EXPECT_EQ(ParseAlign(s("TOP")), TAlign::Top);
    EXPECT_EQ(ParseAlign(s("custom")), TAlign::Custom);
    EXPECT_EQ(ParseAlign(s("middle")), TAlign::None);
    EXPECT_EQ(ParseAlignment(s("CENTER")), Qt::AlignHCenter);
    EXPECT_EQ(ParseAlignment(s("")), Qt::AlignHCenter);
    EXPECT_EQ(ParseAlignment(s("Left")), Qt::AlignLeft);
    EXPECT_EQ(ParseAlignment(s("right")), Qt::AlignRight);
    EXPECT_TRUE(IsEven(-4));
    EXPECT_FALSE(IsEven(-3));
    EXPECT_TRUE(IsEven(0));
}

TEST(Html, WrapHeadAndTail)
{
    QStringList lines{s("<p>x</p>")};
    WrapHtmlHead(lines, s("bgcolor=\"#FFFFFF\""));
    WrapHtmlTail(lines);
    EXPECT_EQ(lines, (QStringList{s("<html>"), s("<head></head>"), s("<body bgcolor=\"#FFFFFF\">"),
                                  s("<p>x</p>"), s("</body>"), s("</html>")}));
}

TEST(Services, ShellOpenGoesThroughTheHook)
{
    platform::ScopedRecordingShell shell;
    ShellOpen(s("http://example.invalid/"), s(""), s("open"));
    ASSERT_EQ(shell.requests.size(), 1);
    EXPECT_EQ(shell.requests[0].target, s("http://example.invalid/"));
    EXPECT_EQ(shell.requests[0].verb, s("open"));
}

TEST(Services, NoDefaultPrinter)
{
    platform::ScopedRecordingDialogs dialogs;
    platform::FixedPrinters none;
    platform::setPrinters(&none);
    EXPECT_TRUE(NoDefaultPrinter(s("Принтер не найден.")));
    EXPECT_TRUE(NoDefaultPrinter(s("")));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Skinned);
    EXPECT_EQ(dialogs.messages[0].text, s("Принтер не найден."));
    platform::FixedPrinters one(s("Office"));
    platform::setPrinters(&one);
    EXPECT_FALSE(NoDefaultPrinter(s("Принтер не найден.")));
    EXPECT_EQ(dialogs.messages.size(), 1);
    platform::setPrinters(nullptr);
}

TEST(Services, SetWallpaperWritesTheDesktopValues)
{
    TempDir dir;
    platform::setRegistryFile(dir.native() + s("/registry.ini"));
    platform::ScopedRecordingShell shell; // gsettings, when installed, is not really run
    SetWallpaper(s("Z:\\tmp\\wallp.bmp"), true);
    {
        platform::RegistryKey key(s("Control Panel\\Desktop"));
        EXPECT_EQ(key.readString(s("Wallpaper")), s("Z:\\tmp\\wallp.bmp"));
        EXPECT_EQ(key.readString(s("TileWallpaper")), s("1"));
    }
    SetWallpaper(s("Z:\\tmp\\wallp.bmp"), false);
    {
        platform::RegistryKey key(s("Control Panel\\Desktop"));
        EXPECT_EQ(key.readString(s("TileWallpaper")), s("0"));
    }
    platform::setRegistryFile(QString());
}
