#include "core/ManualLocation.h"

#include "../support/TempDir.h"
#include "../support/TestArchive.h"
#include "core/CommandLine.h"
#include "core/ResourceArchive.h"
#include "core/ViewerOptions.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray archive()
{
    return TestArchive().add("struct_main.txt", "[form]\r\ntype=form\r\n").bytes();
}

// A folder of manuals of every kind, and of things that are not manuals.
class ManualChoiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root.write(s("packed/interface.dat"), archive());
        root.write(s("loose/struct_main.txt"), "[form]\r\ntype=form\r\n");
        root.write(s("loose-upper/STRUCT_MAIN.TXT"), "[form]\r\ntype=form\r\n");
        root.write(s("shipped/lada.dat"), archive());
        root.write(s("empty/readme.txt"), "nothing here");
        root.write(s("notes.txt"), "BMA but not an archive");
        root.write(s("cut.dat"), archive().left(20));
        root.write(s("program/remont"), "");
    }

    QString native(const char *relative) const { return root.native() + u'/' + s(relative); }
    QString folder(const char *relative) const
    {
        return platform::toVirtual(native(relative) + u'/');
    }

    // Nothing installed anywhere unless a test says so.
    ManualSearch nowhere() const { return {native("program") + u'/', {}, {}}; }

    TempDir root;
};

} // namespace

TEST_F(ManualChoiceTest, NamedManual)
{
    struct Case
    {
        const char *argument;
        const char *folder;  // empty: refused
        const char *archive; // relative to the root
        const char *error;
    } cases[] = {
        {"packed", "packed", "packed/interface.dat", ""},
        {"packed/", "packed", "packed/interface.dat", ""},
        {"loose", "loose", "loose/interface.dat", ""},
        {"loose-upper", "loose-upper", "loose-upper/interface.dat", ""},
        {"shipped/lada.dat", "shipped", "shipped/lada.dat", ""},
        {"packed/interface.dat", "packed", "packed/interface.dat", ""},
        {"missing", "", "", "Руководство не найдено: "},
        {"empty", "", "", "В папке нет руководства (ни interface.dat, ни struct_main.txt): "},
        {"notes.txt", "", "", "Файл не является архивом руководства: "},
        {"cut.dat", "", "", "Файл не является архивом руководства: "},
    };
    platform::ScopedRecordingDialogs dialogs;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.argument);
        const ManualChoice choice = ChooseManual(native(c.argument), nowhere());
        if (*c.folder) {
            ASSERT_TRUE(choice.Ok) << choice.Error.toStdString();
            EXPECT_EQ(choice.Manual.Folder, folder(c.folder));
            EXPECT_EQ(choice.Manual.Archive, platform::toVirtual(native(c.archive)));
        } else {
            EXPECT_FALSE(choice.Ok);
            // The message names what was given, so the reader sees the typo.
            EXPECT_EQ(choice.Error, s(c.error) + QDir::cleanPath(native(c.argument)));
        }
    }
    // A stranger's file is refused without the archive reader's message box.
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ManualChoiceTest, NamedManualRelativeToTheWorkingFolder)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(root.native());
    const ManualChoice choice = ChooseManual(s("shipped/../packed"), nowhere());
    QDir::setCurrent(before);
    ASSERT_TRUE(choice.Ok);
    EXPECT_EQ(choice.Manual.Folder, folder("packed"));
}

TEST_F(ManualChoiceTest, WithoutManual)
{
    root.write(s("home/remont/manuals/sample/interface.dat"), archive());
    root.write(s("usr/remont/manuals/sample/interface.dat"), archive());
    root.write(s("opt/remont/manuals/sample/interface.dat"), archive());
    root.write(s("broken/remont/manuals/sample/readme.txt"), "");

    // The described behaviour first: the archive next to the program.
    ManualSearch search{native("packed") + u'/', {native("home")}, native("opt")};
    EXPECT_EQ(ChooseManual(QString(), search).Manual.Folder, folder("packed"));

    // Otherwise the first data folder that holds the sample, in XDG order.
    search.ProgramFolder = native("program") + u'/';
    search.DataFolders = {native("nothing"), native("broken"), native("usr"), native("home")};
    EXPECT_EQ(ChooseManual(QString(), search).Manual.Folder, folder("usr/remont/manuals/sample"));

    // Then the installation's own data folder (an install under any prefix).
    search.DataFolders = {native("broken")};
    EXPECT_EQ(ChooseManual(QString(), search).Manual.Folder, folder("opt/remont/manuals/sample"));

    // Then, as always, whatever lies next to the program.
    search.InstallData.clear();
    const ManualChoice choice = ChooseManual(QString(), search);
    EXPECT_TRUE(choice.Ok);
    EXPECT_EQ(choice.Manual.Folder, folder("program"));
    EXPECT_EQ(choice.Manual.Archive, folder("program") + s("interface.dat"));
}

TEST_F(ManualChoiceTest, CurrentManualIsTheApplicationFolder)
{
    const ManualLocation shipped{folder("shipped"), folder("shipped") + s("lada.dat")};
    SetCurrentManual(shipped);
    EXPECT_EQ(platform::executableFolder(), folder("shipped"));
    EXPECT_EQ(CurrentManual(), shipped);
    EXPECT_EQ(ManualArgument(shipped), native("shipped/lada.dat"));
    // The archive of a folder is named by the folder.
    EXPECT_EQ(ManualArgument({folder("packed"), folder("packed") + s("interface.dat")}),
              native("packed") + u'/');

    // An application folder set by other means has the archive beside it.
    platform::setAppFolderOverride(folder("packed"));
    EXPECT_EQ(CurrentManual().Archive, folder("packed") + s("interface.dat"));
    platform::setAppFolderOverride(QString());
}

TEST(ViewerOptions, CommandLine)
{
    struct Case
    {
        QStringList args;
        const char *manual, *page, *standard, *error;
        bool fromMenu;
    } cases[] = {
        {{}, "", "", "", "", false},
        {{s("m")}, "m", "", "", "", false},
        {{s("--from-menu"), s("/a b/м")}, "/a b/м", "", "", "", true},
        {{s("--page=pages\\a.htm"), s("m")}, "m", "pages\\a.htm", "", "", false},
        {{s("m"), s("--page"), s("p.htm")}, "m", "p.htm", "", "", false},
        {{s("--"), s("--page=x")}, "--page=x", "", "", "", false},
        {{s("-")}, "-", "", "", "", false},
        {{s("m"), s("--version"), s("--help")}, "", "", "--version", "", false},
        {{s("--bogus"), s("--help")}, "", "", "--help", "", false},
        {{s("--"), s("--help")}, "--help", "", "", "", false},
        {{s("--bogus")}, "", "", "", "unrecognized option '--bogus'", false},
        {{s("-platform"), s("xcb")}, "", "", "", "unrecognized option '-platform'", false},
        {{s("--page")}, "", "", "", "option '--page' requires an argument", false},
        {{s("a"), s("b")}, "a", "", "", "one MANUAL only (also given: 'b')", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const ViewerOptions o = ParseViewerOptions(c.args);
        EXPECT_EQ(o.Standard, s(c.standard));
        EXPECT_EQ(o.Error, s(c.error));
        if (o.Error.isEmpty() && o.Standard.isEmpty()) {
            EXPECT_EQ(o.Manual, s(c.manual));
            EXPECT_EQ(o.Page, s(c.page));
            EXPECT_EQ(o.FromMenu, c.fromMenu);
        }
    }
    // What a restart passes reads back as the same manual and page.
    const ViewerOptions again = ParseViewerOptions(ViewerArguments(s("-odd name"), s("p.htm")));
    EXPECT_EQ(again.Manual, s("-odd name"));
    EXPECT_EQ(again.Page, s("p.htm"));
}

TEST(ViewerOptions, StartErrorShowsAMessageBoxOnlyFromTheMenu)
{
    platform::ScopedRecordingDialogs dialogs;
    EXPECT_EQ(ReportStartError(s("Руководство не найдено: /x"), false), kUsageExit);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(ReportStartError(s("Руководство не найдено: /x"), true), kUsageExit);
    EXPECT_EQ(dialogs.texts(), QStringList{s("Руководство не найдено: /x")});
}
