#include "core/TreeFile.h"

#include "../support/TempDir.h"
#include "../support/TestArchive.h"
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A tree text whose line i is indented by levels[i] tabs and captioned "n<i>".
QString indented(const std::vector<int> &levels)
{
    QString text;
    for (size_t i = 0; i < levels.size(); ++i)
        text += QString(levels[i], u'\t') + u'n' + QString::number(i) + QStringLiteral(";l\r\n");
    return text;
}

struct PlacementCase
{
    const char *name;
    std::vector<int> levels;
    std::vector<int> depths;
    std::vector<int> parents;
};

class TreePlacement : public ::testing::TestWithParam<PlacementCase>
{};

} // namespace

TEST_P(TreePlacement, DepthsAndParents)
{
    const PlacementCase &c = GetParam();
    const QList<TTreeLine> lines = ParseTreeFile(indented(c.levels));
    ASSERT_EQ(size_t(lines.size()), c.levels.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].Level, c.levels[i]);
        EXPECT_EQ(lines[i].Depth, c.depths[i]);
        EXPECT_EQ(lines[i].Parent, c.parents[i]);
        // Every line keeps its caption, whatever its placement.
        EXPECT_EQ(lines[i].Caption, u'n' + QString::number(i));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, TreePlacement,
    ::testing::Values(
        PlacementCase{"OneParentTwoChildren", {0, 1, 1}, {0, 1, 1}, {-1, 0, 0}},
        PlacementCase{"ChainThenSecondTop", {0, 1, 2, 0}, {0, 1, 2, 0}, {-1, 0, 1, -1}},
        PlacementCase{"JumpOfTwoIsChild", {0, 2}, {0, 1}, {-1, 0}},
        PlacementCase{"JumpThenSameLevelGoesDeeper", {0, 3, 3}, {0, 1, 2}, {-1, 0, 1}},
        PlacementCase{"FirstLineIndented", {1, 1}, {0, 1}, {-1, 0}},
        PlacementCase{"FirstLineIndentedThenTop", {2, 0}, {0, 0}, {-1, -1}},
        PlacementCase{"BackUpTwoLevels", {0, 1, 2, 3, 1}, {0, 1, 2, 3, 1}, {-1, 0, 1, 2, 0}},
        PlacementCase{
            "BackToMiddleThenTop", {0, 1, 2, 1, 0, 0}, {0, 1, 2, 1, 0, 0}, {-1, 0, 1, 0, -1, -1}},
        PlacementCase{"ShallowerThanAnyAncestor",
                      {0, 0, 1, 2, 0, 1},
                      {0, 0, 1, 2, 0, 1},
                      {-1, -1, 1, 2, -1, 4}}),
    [](const ::testing::TestParamInfo<PlacementCase> &info) { return info.param.name; });

TEST(TreeLine, Fields)
{
    struct Case
    {
        const char *line;
        int level;
        const char *caption, *link, *icon;
    } const cases[] = {
        {"Caption only", 0, "Caption only", "", ""},
        {"Cap  ;  a.htm \t;i.bmp", 0, "Cap  ", "a.htm", "i.bmp"},
        {"A;b;c;d", 0, "A", "b", "c;d"},
        {"A; b ; i.bmp ", 0, "A", "b", " i.bmp "},
        {"A;b", 0, "A", "b", ""},
        {"\t \tX;y", 3, "X", "y", ""},
        {"", 0, "", "", ""},
        {"  ", 2, "", "", ""},
        {";;", 0, "", "", ""},
        {"A;\xC2\xA0x.htm\xC2\xA0", 0, "A", "\xC2\xA0x.htm\xC2\xA0", ""}, // no-break space is text
        {"A;\x01x.htm\x1F", 0, "A", "x.htm", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const TTreeLine line = ParseTreeLine(s(c.line));
        EXPECT_EQ(line.Level, c.level);
        EXPECT_EQ(line.Caption, s(c.caption));
        EXPECT_EQ(line.Link, s(c.link));
        EXPECT_EQ(line.Icon, s(c.icon));
    }
}

TEST(TreeFileText, LineBreaks)
{
    struct Case
    {
        const char *text;
        QStringList captions;
    } const cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        QStringList captions;
        for (const TTreeLine &line : ParseTreeFile(s(c.text)))
            captions.append(line.Caption);
        EXPECT_EQ(captions, c.captions);
    }
}

TEST(TreeFileText, BlankLinesAreNodesInPlace)
{
    // A blank line is a top-level node; the indented line after it is its child.
    const QList<TTreeLine> lines = ParseTreeFile(s("A;a\r\n\tB;b\r\n\r\n\tC;c\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[2].Caption, s(""));
    EXPECT_EQ(lines[2].Parent, -1);
    EXPECT_EQ(lines[3].Parent, 2);
}

TEST(TreeFileRead, ThroughArchiveIn1251)
{
    TempDir dir;
    platform::setAppFolderOverride(dir.folder());
    platform::ScopedRecordingDialogs dialogs;
    TestArchive archive;
    // "Двигатель;engine\a.htm;e.bmp" then an indented "Поршни;p.htm"
    archive.add("tree.txt", "\xC4\xE2\xE8\xE3\xE0\xF2\xE5\xEB\xFC;engine\\a.htm;e.bmp\r\n"
                            "\t\xCF\xEE\xF0\xF8\xED\xE8; p.htm\r\n");
    dir.write(s("interface.dat"), archive.bytes());
    ASSERT_TRUE(OpenArchive(dir.folder() + s("interface.dat")));

    const QList<TTreeLine> lines = ReadTreeFile(s("Tree.txt"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].Caption, s("Двигатель"));
    EXPECT_EQ(lines[0].Link, s("engine\\a.htm"));
    EXPECT_EQ(lines[0].Icon, s("e.bmp"));
    EXPECT_EQ(lines[1].Caption, s("Поршни"));
    EXPECT_EQ(lines[1].Link, s("p.htm"));
    EXPECT_EQ(lines[1].Parent, 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A missing file is the reader's to report; there are no lines.
    EXPECT_TRUE(ReadTreeFile(s("missing.txt")).isEmpty());
    EXPECT_EQ(dialogs.messages.size(), 1);

    CloseArchive();
    platform::setAppFolderOverride(QString());
}
