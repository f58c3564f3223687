#include "core/ActionText.h"

#include "platform/Dialogs.h"

#include <gtest/gtest.h>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(Command, ParseTable)
{
    struct Case
    {
        const char *text;
        QStringList normalised; // CommandText of each command
        QStringList tails;
    } cases[] = {
        {"a//b", {"a", "b"}, {"b", ""}},
        {"a////b", {"a", "b"}, {"//b", ""}},
        {"//", {}, {}},
        {"", {}, {}},
        {"html_load**html_see**page.htm", {"html_load*html_see*page.htm"}, {""}},
        {"*html_see", {}, {}},
        {"*x//nil", {"nil"}, {""}},
        {"Form_Close", {"form_close"}, {""}},
        {"html_load *x", {"html_load *x"}, {""}},
        {"go_main//tree_go*tree_main*a.htm",
         {"go_main", "tree_go*tree_main*a.htm"},
         {"tree_go*tree_main*a.htm", ""}},
        {"tree_next*t//about*x**y", {"tree_next*t", "about*x*y"}, {"about*x**y", ""}},
    };
    for (const Case &c : cases) {
        const TSkCommand command(s(c.text));
        QStringList normalised, tails;
        for (int i = 0; i < command.Count(); ++i) {
            normalised << command.CommandText(i);
            tails << command.Commands()[i].Tail;
        }
        EXPECT_EQ(normalised, c.normalised) << c.text;
        EXPECT_EQ(tails, c.tails) << c.text;
    }
    const TSkCommand raw(s("menu_del_favore*Стр. 1=html_load*html_see*a.htm"));
    ASSERT_EQ(raw.Count(), 1);
    EXPECT_EQ(raw.Commands()[0].ParamText, s("Стр. 1=html_load*html_see*a.htm"));
    EXPECT_EQ(raw.Commands()[0].Params.size(), 3);
    EXPECT_EQ(raw.CommandText(5), s(""));
}

TEST(Command, InsertValue)
{
    struct Case
    {
        const char *templ, *value;
        bool append;
        const char *expected;
    } cases[] = {
        {"html_load*html_see*insert", "a.htm", false, "html_load*html_see*a.htm"},
        {"html_load*html_see", "a.htm", true, "html_load*html_see*a.htm"},
        {"html_load*html_see*", "a.htm", true, "html_load*html_see*a.htm"},
        {"html_load*html_see", "a.htm", false, "html_load*html_see"},
        {"x*insert//y*insert", "v", true, "x*v//y*v"},
        {"x*INSERT", "v", false, "x*INSERT"},
        {"", "v", true, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(InsertValue(s(c.templ), s(c.value), c.append), s(c.expected)) << c.templ;
}

TEST(Command, GetParamAndOpenFile)
{
    platform::ScopedRecordingDialogs dialogs;
    dialogs.fileAnswers << s("Z:\\docs\\list.txt");
    const QStringList params{s("Html_See"), s("OPEN_FILE(.TXT|*.txt)"), s("open_file")};
    EXPECT_EQ(GetParam(params, 0), s("Html_See"));
    EXPECT_EQ(GetParam(params, 1), s("Z:\\docs\\list.txt"));
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(dialogs.fileRequests[0].filter, s("*.txt|*.txt"));
    EXPECT_EQ(GetParam(params, 2), s("")); // a bare open_file asks too; cancelled here
    EXPECT_EQ(dialogs.fileRequests.size(), 2);
    EXPECT_EQ(GetParam(params, 3), s(""));
    EXPECT_EQ(GetParam(params, -1), s(""));
}
