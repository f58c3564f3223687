#include "../support/TempDir.h"
#include "ManualCheck.h"
#include "platform/Text.h"

#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Windows-1251 with CR LF line ends, as every text file of a manual.
QByteArray cp(const char *utf8)
{
    QString text = s(utf8);
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return platform::encode1251(text);
}

::testing::AssertionResult NoProblems(const QStringList &problems)
{
    if (problems.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problems.join(u'\n').toStdString();
}

const ManualCheck &sample()
{
    static const ManualCheck check(QStringLiteral(REMONT_SAMPLE_MANUAL));
    return check;
}

} // namespace

// The manual that ships with the viewer.

TEST(SampleManual, HoldsAtLeastTwentyFivePagesInChapters)
{
    int pages = 0;
    QSet<QString> chapters;
    for (const QString &file : sample().Files()) {
        if (file.startsWith(QLatin1String("pages/")) && file.endsWith(QLatin1String(".htm"))) {
            ++pages;
            if (file.count(u'/') == 2)
                chapters.insert(file.section(u'/', 1, 1));
        }
    }
    EXPECT_GE(pages, 25);
    EXPECT_GE(chapters.size(), 3);
}

TEST(SampleManual, FileNamesAndEncoding)
{
    EXPECT_TRUE(NoProblems(sample().FileNames()));
    EXPECT_TRUE(NoProblems(sample().TextEncoding()));
}

TEST(SampleManual, DensePicturesPairWithTheirOwn)
{
    EXPECT_TRUE(NoProblems(sample().DensePictures()));
    // Each kind the viewer draws sharp on a dense screen has one.
    for (const char *kind : {"icons/", "pics/", "skins/"})
        EXPECT_FALSE(sample().Files().filter(QRegularExpression(s(kind) + s(".*@2x"))).isEmpty())
            << kind;
}

TEST(SampleManual, IndexListsEveryPageWithItsTitle)
{
    EXPECT_TRUE(NoProblems(sample().PageIndex()));
}

TEST(SampleManual, ContentsTreeLinksEveryPageAndIcon)
{
    EXPECT_TRUE(NoProblems(sample().ContentsTree()));
}

TEST(SampleManual, PageLinksPicturesAndStyleSheetsResolve)
{
    EXPECT_TRUE(NoProblems(sample().PageLinks()));
}

TEST(SampleManual, CommandsNameExistingObjectsAndPages)
{
    EXPECT_TRUE(NoProblems(sample().Commands()));
}

TEST(SampleManual, StructureFilesBuildInOrder)
{
    EXPECT_TRUE(NoProblems(sample().StructureFiles()));
}

// The checks themselves, on a small manual with one fault at a time: a check
// that found nothing wrong anywhere would pass the sample all the same.

namespace {

struct FaultCase
{
    const char *name;
    const char *file;     // written over the sound manual
    const char *contents; // UTF-8, written as Windows-1251 with CR LF
    const char *problem;  // part of the problem line expected
};

void PrintTo(const FaultCase &c, std::ostream *os)
{
    *os << c.name;
}

const char *kPage = R"(<html><head><title>Страница А</title>
<link rel="stylesheet" href="..\styles\s.css"></head>
<body><h2><a name="top"></a>А</h2>
<a href="b.htm#part">Б</a> <a href="..\pics\p.gif"><img src="..\pics\p.gif"></a>
<a href="$html_load*html_see*pages\b.htm">Б</a> <a href="#top">вверх</a>
<a href="http://example.org/a.htm">сайт</a> <a href="mailto:a@b.c">почта</a>
</body></html>
)";

// Two pages in one chapter folder, a tree, an index and the three structure
// files, all consistent.
class SmallManual : public ::testing::Test
{
protected:
    void SetUp() override
    {
        put("struct_main.txt", "[form]\ntype=form\nskin=skins\\s.qss\n[b]\ntype=button\n"
                               "action=go_main//html_load*html_see*pages\\a.htm\n");
        put("struct_show.txt",
            "[form]\ntype=form\n[menu1]\ntype=pop_menu\ncaption=Назад\n"
            "action=html_back*html_see\n[history]\ntype=pop_menu\n"
            "history_back=html_see\nglob_action=tree_go*tree\n[p]\ntype=panel\n"
            "[but_tree_open]\ntype=sp_button\nmaster=p\naction=tree_expand*tree\n"
            "[but_tree_hide]\ntype=sp_button\nmaster=p\n"
            "[html_see]\ntype=html\nmenu=menu1\n"
            "[tree]\ntype=tree\nload=tree.txt\nlink_html=html_see\n"
            "action=html_load*html_see*insert\n"
            "[l]\ntype=label\nhtml_title=html_see\n"
            "[k]\ntype=hot_key\nk1=F5*tree_go*tree*pages\\b.htm\n");
        put("struct_about.txt", "[form]\ntype=form\n[ok]\ntype=button\naction=form_close*1\n");
        put("tree.txt", "А;pages\\a.htm;icons\\i.bmp\n\tБ;pages\\b.htm\n");
        put("file.ind", "pages\\a.htm#:#Страница А\npages\\b.htm#:#Страница Б\n");
        put("pages/a.htm", kPage);
        put("pages/b.htm", "<html><head><title>Страница Б</title></head><body>"
                           "<a name=\"part\"></a></body></html>\n");
        put("styles/s.css", "body { color: black; }\n");
        put("skins/s.qss", "QWidget { }\n");
        dir.write(QStringLiteral("pics/p.gif"), "GIF89a");
        dir.write(QStringLiteral("icons/i.bmp"), "BM");
    }

    void put(const char *file, const char *contents) const { dir.write(s(file), cp(contents)); }

    TempDir dir;
};

class ManualFault : public SmallManual, public ::testing::WithParamInterface<FaultCase>
{};

} // namespace

TEST_F(SmallManual, HasNoProblems)
{
    EXPECT_TRUE(NoProblems(ManualCheck(dir.native()).All()));
}

TEST_F(SmallManual, DensePictureMustMatchItsOwn)
{
    const auto picture = [this](const char *name, int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::gray);
        image.save(dir.native() + u'/' + s(name), "PNG");
    };
    picture("pics/d.png", 10, 8);
    picture("pics/d@2x.png", 20, 16);
    EXPECT_TRUE(NoProblems(ManualCheck(dir.native()).All()));

    picture("pics/e@2x.png", 20, 16);
    picture("pics/f.png", 10, 8);
    picture("pics/f@2x.png", 21, 16);
    const QStringList problems = ManualCheck(dir.native()).DensePictures();
    ASSERT_EQ(problems.size(), 2) << problems.join(u'\n').toStdString();
    EXPECT_TRUE(problems.contains(s("pics/e@2x.png: no picture pics/e.png beside it")));
    EXPECT_TRUE(problems.contains(s("pics/f@2x.png: 21x16, not 2 times the 10x8 of pics/f.png")));
}

TEST_P(ManualFault, IsReported)
{
    const FaultCase &c = GetParam();
    if (c.file[0] == '!')
        dir.write(s(c.file + 1), QByteArray(c.contents)); // raw bytes
    else
        put(c.file, c.contents);
    const QStringList problems = ManualCheck(dir.native()).All();
    const QString expected = s(c.problem);
    EXPECT_TRUE(problems.filter(expected).size() == 1)
        << "expected \"" << c.problem << "\" among:\n"
        << problems.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Checks, ManualFault,
    ::testing::Values(
        FaultCase{"MissingPicture", "pages/b.htm",
                  "<title>Страница Б</title><a name=\"part\"></a><img src=\"..\\pics\\x.gif\">",
                  "pages/b.htm: ..\\pics\\x.gif does not exist"},
        FaultCase{"MissingAnchor", "pages/b.htm", "<title>Страница Б</title>",
                  "pages/a.htm: b.htm#part: no anchor"},
        FaultCase{"LinkLeavesTheManual", "pages/b.htm",
                  "<title>Страница Б</title><a name=\"part\" href=\"..\\..\\x.htm\"></a>",
                  "..\\..\\x.htm does not exist"},
        FaultCase{"PageMissingFromIndex", "file.ind", "pages\\a.htm#:#Страница А\n",
                  "pages/b.htm: not listed in file.ind"},
        FaultCase{"IndexTitleDiffers", "file.ind",
                  "pages\\a.htm#:#Страница А\npages\\b.htm#:#Другая\n", "differs from the page"},
        FaultCase{"IndexNamesMissingPage", "file.ind",
                  "pages\\a.htm#:#Страница А\npages\\b.htm#:#Страница Б\npages\\c.htm#:#В\n",
                  "file.ind:3: pages\\c.htm does not exist"},
        FaultCase{"TreeLinksMissingPage", "tree.txt",
                  "А;pages\\a.htm;icons\\i.bmp\n\tБ;pages\\b.htm\n\tВ;pages\\c.htm\n",
                  "tree.txt:3: pages\\c.htm does not exist"},
        FaultCase{"TreeMissingIcon", "tree.txt", "А;pages\\a.htm;icons\\x.bmp\n\tБ;pages\\b.htm\n",
                  "icon icons\\x.bmp does not exist"},
        FaultCase{"TreeLevelJump", "tree.txt", "А;pages\\a.htm\n\t\tБ;pages\\b.htm\n",
                  "tree.txt:2: indented more than one level"},
        FaultCase{"TreeOmitsPage", "tree.txt", "А;pages\\a.htm\n",
                  "pages/b.htm: not in the contents tree"},
        FaultCase{"LoneLineFeed", "!styles/s.css", "body {}\r\np {}\n",
                  "styles/s.css:2: a line ending in LF"},
        FaultCase{"UndefinedByte", "!styles/s.css", "body {}\r\n/* \x98 */\r\n",
                  "styles/s.css:2: byte 0x98"},
        FaultCase{"UpperCaseName", "pages/B2.htm", "<title>Х</title>",
                  "pages/B2.htm: file names must be lower-case"},
        FaultCase{"CommandLoadsMissingPage", "struct_main.txt",
                  "[form]\ntype=form\n[b]\ntype=button\naction=go_main//"
                  "html_load*html_see*pages\\c.htm\n",
                  "html_load: pages\\c.htm does not exist"},
        FaultCase{"CommandNamesMissingControl", "pages/b.htm",
                  "<title>Страница Б</title><a name=\"part\" href=\"$tree_next*tre\"></a>",
                  "no object \"tre\" in struct_show.txt"},
        FaultCase{"CommandBeforeGoMainRunsOnItsOwnPage", "struct_main.txt",
                  "[form]\ntype=form\n[b]\ntype=button\naction=html_go_top*html_see//go_main\n",
                  "no object \"html_see\" in struct_main.txt"},
        FaultCase{"TitleLabelBeforeItsView", "struct_show.txt",
                  "[form]\ntype=form\n[l]\ntype=label\nhtml_title=html_see\n"
                  "[html_see]\ntype=html\n[tree]\ntype=tree\nload=tree.txt\n"
                  "[but_tree_open]\ntype=sp_button\n[but_tree_hide]\ntype=sp_button\n",
                  "html_title names \"html_see\", which is not built before it"},
        FaultCase{"MasterCannotHoldObjects", "struct_about.txt",
                  "[form]\ntype=form\n[ok]\ntype=button\n[x]\ntype=label\nmaster=ok\n",
                  "struct_about.txt[x]: its master is never built"},
        FaultCase{"MissingTreeButton", "struct_show.txt",
                  "[form]\ntype=form\n[html_see]\ntype=html\n[tree]\ntype=tree\nload=tree.txt\n"
                  "[but_tree_open]\ntype=sp_button\n",
                  "needs the object \"but_tree_hide\""},
        FaultCase{"MissingSkin", "struct_about.txt", "[form]\ntype=form\nskin=skins\\x.qss*About\n",
                  "skin: skins\\x.qss*About does not exist"}),
    [](const ::testing::TestParamInfo<FaultCase> &info) { return std::string(info.param.name); });
