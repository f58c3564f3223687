#include "EngineFixture.h"
#include "controls/ContentsTree.h"
#include "controls/Label.h"
#include "controls/PageView.h"
#include "engine/PageTreeLinks.h"
#include "tools/RenderReport.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QScrollBar>

#include <ostream>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QJsonObject byName(const QJsonArray &objects, const QString &name)
{
    for (const QJsonValue &v : objects) {
        if (v.toObject()[QStringLiteral("name")].toString() == name)
            return v.toObject();
    }
    return {};
}

// A page view with its tree and title label, pages on disk in the
// application folder.
class HtmlEngineTest : public EngineTest
{
protected:
    TSkStract &buildPage(const char *viewKeys)
    {
        file("toc.txt", "Двигатель;engine.htm\nКлапаны;a\\valves.htm\n");
        file("engine.htm", "<html><head><title>Двигатель</title></head><body>"
                           "<p>Двигатель</p><a href=\"$test*из страницы\">x</a></body></html>");
        file("a/valves.htm", "<html><head><title>Клапаны</title></head><body><p>Клапаны</p>"
                             "</body></html>");
        file("start.htm", "<html><head><title>Начало</title></head><body>Начало</body></html>");
        const std::string text = std::string("[form]\ntype=form\n"
                                             "[title]\ntype=label\n"
                                             "[tree1]\ntype=tree\nload=toc.txt\n"
                                             "[pm]\ntype=pop_menu\nglob_action=nil\n"
                                             "[html_see]\ntype=html\n") +
                                 viewKeys + "[title2]\ntype=label\nhtml_title=html_see\n";
        file("s.txt", text.c_str());
        TSkStract &e = build("s.txt");
        view = e.Get<TSkHtml>(s("html_see"));
        return e;
    }

    TSkHtml *view = nullptr;
};

} // namespace

TEST_F(HtmlEngineTest, KeysOfTheHtmlObject)
{
    TSkStract &e = buildPage("action=tree_go*tree1\nmove_cursor=true\nfont_name=Arial\n"
                             "font_size=14\nmin_width=200\nmin_height=150\nlabel_title=title\n"
                             "link_tree=tree1\nmenu=pm\nload=start.htm\n");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(view->ActionPrefix, s("tree_go*tree1"));
    EXPECT_TRUE(view->MoveCursor());
    EXPECT_EQ(view->DefFontName(), s("Arial"));
    EXPECT_EQ(view->DefFontSize(), 14);
    EXPECT_EQ(view->MinWidth, 200);
    EXPECT_EQ(view->MinHeight, 150);
    EXPECT_EQ(TPageTreeLinks::of(view).Tree(), e.Get<TSkTree>(s("tree1")));
    EXPECT_EQ(view->CurrentFile(), dir.folder() + s("start.htm"));
    // The label named by the view had the title; the label naming the view
    // was applied last and is the view's label now.
    EXPECT_EQ(e.Get<TSkLabel>(s("title"))->text(), s("Начало"));
    EXPECT_EQ(view->TitleLabel(), e.Get<TSkLabel>(s("title2")));
    EXPECT_FALSE(view->OnMouseDown);

    // A bad number stops the build with the conversion message.
    buildPage("font_size=big\n");
    EXPECT_FALSE(dialogs.messages.isEmpty());
}

TEST_F(HtmlEngineTest, MoveKeyHandsThePressToTheWindow)
{
    buildPage("move=true\nmove_cursor=true\n");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(bool(view->OnMouseDown));
}

TEST_F(HtmlEngineTest, HtmlCommands)
{
    TSkStract &e = buildPage("link_tree=tree1\nlabel_title=title\n");
    TSkTree *tree = e.Get<TSkTree>(s("tree1"));
    e.RunAction(s("html_load*html_see*engine.htm"));
    EXPECT_EQ(view->CurrentFile(), dir.folder() + s("engine.htm"));
    EXPECT_EQ(tree->SelectedLink(), s("engine.htm"));
    e.RunAction(s("html_load*html_see*a\\valves.htm"));
    EXPECT_EQ(tree->SelectedLink(), s("a\\valves.htm"));
    EXPECT_EQ(e.Get<TSkLabel>(s("title2"))->text(), s("Клапаны"));

    e.RunAction(s("html_back*html_see"));
    EXPECT_EQ(view->CurrentFile(), dir.folder() + s("engine.htm"));
    EXPECT_EQ(tree->SelectedLink(), s("engine.htm"));
    e.RunAction(s("html_forward*html_see"));
    EXPECT_EQ(view->CurrentFile(), dir.folder() + s("a\\valves.htm"));
    e.RunAction(s("html_go_history*html_see*1"));
    EXPECT_EQ(view->HistoryIndex(), 1);
    EXPECT_EQ(tree->SelectedLink(), s("a\\valves.htm")); // not synchronised

    // The tree moves even when the page is nowhere.
    e.RunAction(s("html_load*html_see*missing.htm//test*after"));
    EXPECT_EQ(dialogs.texts(), (QStringList{s("Не найден файл: missing.htm"), s("after*")}));
    dialogs.clear();

    e.RunAction(s("html_go_history*html_see*x1//test*after"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_NE(dialogs.messages[0].text.indexOf(s("x1")), -1);
    dialogs.clear();

    e.RunAction(s("html_sel_all*html_see//html_copy*html_see"));
    EXPECT_EQ(QApplication::clipboard()->text().trimmed(), s("Двигатель\nx"));
    e.RunAction(s("html_go_top*html_see"));
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    e.RunAction(s("html_print*html_see"));
    EXPECT_EQ(dialogs.printRequests.size(), 1);

    // A "$" link of the page runs through the engine's dispatcher.
    view->HotSpotClick(s("$test*из страницы"));
    EXPECT_EQ(dialogs.texts(), QStringList{s("из страницы*")});
}

TEST_F(HtmlEngineTest, RenderReportDescribesTheView)
{
    TSkStract &e = buildPage("");
    e.RunAction(s("html_load*html_see*start.htm//html_load*html_see*engine.htm//"
                  "html_back*html_see//html_sel_all*html_see"));
    const QJsonObject report = RenderReport(e, dialogs);
    const QJsonObject html = byName(report[s("objects")].toArray(), s("html_see"));
    EXPECT_EQ(html[s("type")].toString(), s("html"));
    EXPECT_EQ(html[s("page")].toString(), dir.folder() + s("start.htm"));
    EXPECT_EQ(html[s("title")].toString(), s("Начало"));
    const QJsonArray history = html[s("history")].toArray();
    ASSERT_EQ(history.size(), 2);
    EXPECT_EQ(history[0].toString(), dir.folder() + s("engine.htm"));
    EXPECT_EQ(history[1].toString(), dir.folder() + s("start.htm"));
    EXPECT_EQ(html[s("historyIndex")].toInt(), 1);
    EXPECT_EQ(html[s("selection")].toString(), s("Начало"));

    TSkStract &empty = buildPage("");
    const QJsonObject none =
        byName(RenderReport(empty, dialogs)[s("objects")].toArray(), s("html_see"));
    EXPECT_EQ(none[s("page")].toString(), QString());
    EXPECT_EQ(none[s("history")].toArray().size(), 0);
}
