#include "EngineFixture.h"
#include "controls/ContentsTree.h"
#include "controls/SpeedButton.h"
#include "platform/FormLayout.h"
#include "tools/RenderReport.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

// A page with two speed buttons and a contents tree; the tree's action is the
// "test" command, so every action run shows up as a message.
class TreeEngineTest : public EngineTest
{
protected:
    TSkStract &buildPage(const char *treeKeys)
    {
        file("toc.txt", "Двигатель;engine.htm\n"
                        "\tПоршни;pistons.htm\n"
                        "\tКлапаны;valves.htm\n"
                        "Без ссылки\n"
                        "Охлаждение;cooling.htm\n");
        const std::string text = std::string("[form]\ntype=form\n"
                                             "[next]\ntype=sp_button\n"
                                             "[prev]\ntype=sp_button\n"
                                             "[tree1]\ntype=tree\n") +
                                 treeKeys +
                                 "[other]\ntype=sp_button\nbut_next_tree=tree1\n"
                                 "but_prev_tree=tree1\n";
        file("s.txt", text.c_str());
        TSkStract &e = build("s.txt");
        e.OnAction = [this](RHelpAction &r) {
            handed << r.Action;
        };
        tree = e.Get<TSkTree>(s("tree1"));
        return e;
    }

    TSkTree *tree = nullptr;
    QStringList handed;
};

} // namespace

TEST_F(TreeEngineTest, KeysOfTheTreeSection)
{
    TSkStract &e = buildPage("action=test*x\nopen_block=1\ncolor_select=$0000FF\n"
                             "max_height=200\nmin_width=50\nbordur=1\nbut_next=next\n"
                             "but_prev=prev\nload=toc.txt\n");
    ASSERT_TRUE(tree != nullptr);
    EXPECT_EQ(tree->ActionText, s("test*x"));
    EXPECT_EQ(tree->Links().size(), 5);
    EXPECT_TRUE(tree->OpenBlock());
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_EQ(tree->SelectColor(), QColor(255, 0, 0));
    EXPECT_EQ(tree->frameShape(), QFrame::Box);
    const platform::SizeConstraints c = platform::FormLayout::constraints(tree);
    EXPECT_EQ(c.maxHeight, 200);
    EXPECT_EQ(c.minWidth, 50);
    EXPECT_EQ(c.maxWidth, 0);
    // The speed button named after the tree takes over as its buttons.
    EXPECT_EQ(tree->NextButton(), e.Get<TSkSpeedButton>(s("other")));
    EXPECT_EQ(tree->PrevButton(), e.Get<TSkSpeedButton>(s("other")));
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(TreeEngineTest, NavButtonsFromTheTreeKeys)
{
    TSkStract &e = buildPage("but_next=next\nbut_prev=prev\nload=toc.txt\n");
    // "other" came later and replaced them; give them back to check the keys.
    TSkSpeedButton *next = e.Get<TSkSpeedButton>(s("next"));
    TSkSpeedButton *prev = e.Get<TSkSpeedButton>(s("prev"));
    tree->SetNextButton(next);
    tree->SetPrevButton(prev);
    tree->setCurrentItem(tree->topLevelItem(0));
    EXPECT_TRUE(next->isEnabled());
    EXPECT_FALSE(prev->isEnabled());
    tree->setCurrentItem(tree->topLevelItem(2));
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(prev->isEnabled());
}

TEST_F(TreeEngineTest, ClickRunsTheTemplateWithTheLink)
{
    buildPage("action=test*x\nload=toc.txt\n");
    struct Case
    {
        const char *templ;
        int row; // top-level node
        QStringList messages;
    } const cases[] = {
        {"test*x", 0, {s("x*engine.htm")}},         // appended
        {"test*insert*y", 2, {s("cooling.htm*y")}}, // put in place
        {"test*x", 1, {}},                          // no link: nothing runs
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.templ);
        dialogs.clear();
        tree->ActionText = s(c.templ);
        tree->setCurrentItem(tree->topLevelItem(c.row));
        emit tree->nodeClicked();
        EXPECT_EQ(dialogs.texts(), c.messages);
    }
}

TEST_F(TreeEngineTest, TreeCommands)
{
    TSkStract &e = buildPage("action=test*x\nload=toc.txt\n");
    struct Case
    {
        const char *action;
        const char *selected; // link of the selected node afterwards
        QStringList messages;
    } const cases[] = {
        {"tree_go*tree1*PISTONS.htm", "pistons.htm", {}},
        {"tree_next*tree1", "valves.htm", {s("x*valves.htm")}},
        {"tree_prev*tree1", "pistons.htm", {s("x*pistons.htm")}},
        {"tree_back*tree1", "valves.htm", {s("x*valves.htm")}},
        {"tree_back*tree1", "pistons.htm", {s("x*pistons.htm")}},
        {"tree_back*tree1", "pistons.htm", {}}, // the oldest entry
        {"tree_forward*tree1", "valves.htm", {s("x*valves.htm")}},
        {"tree_go_history*tree1*0", "pistons.htm", {s("x*pistons.htm")}},
        {"tree_forward*tree1", "pistons.htm", {}}, // already the newest
        {"tree_go*tree1*nowhere.htm", "", {}},
        {"tree_next*tree1", "", {}},
        {"tree_go_history*tree1*x1//test*never",
         "",
         {s("tree_go_history. Параметр \"x1\" не является целым числом")}},
        {"tree_next*missing//test*after",
         "",
         {s("GetComponent. Не найден контрол: missing"), s("after*")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        dialogs.clear();
        e.RunAction(s(c.action));
        EXPECT_EQ(tree->SelectedLink(), s(c.selected));
        EXPECT_EQ(dialogs.texts(), c.messages);
    }
    EXPECT_TRUE(handed.isEmpty());
}

TEST_F(TreeEngineTest, ExpandCollapseShowOrHide)
{
    TSkStract &e = buildPage("load=toc.txt\n");
    e.RunAction(s("tree_expand*tree1"));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(tree->isHidden());
    e.RunAction(s("tree_collapse*tree1"));
    EXPECT_FALSE(tree->topLevelItem(0)->isExpanded());
    const QPoint at = tree->pos();
    e.RunAction(s("tree_show_or_hide*tree1"));
    EXPECT_TRUE(tree->isHidden());
    e.RunAction(s("tree_show_or_hide*tree1"));
    EXPECT_FALSE(tree->isHidden());
    EXPECT_EQ(tree->pos(), at);
}

TEST_F(TreeEngineTest, RenderReportOfTheTree)
{
    TSkStract &e = buildPage("action=test*x\nload=toc.txt\n");
    e.RunAction(s("tree_go*tree1*engine.htm//tree_go*tree1*cooling.htm"));
    const QJsonObject report = RenderReport(e, dialogs);
    QJsonObject found;
    for (const QJsonValue &object : report[s("objects")].toArray()) {
        if (object[s("name")] == s("tree1"))
            found = object.toObject();
    }
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(found[s("type")].toString(), s("tree"));
    EXPECT_EQ(found[s("nodes")].toInt(), 5);
    EXPECT_EQ(found[s("selectedLink")].toString(), s("cooling.htm"));
    EXPECT_EQ(found[s("selectedCaption")].toString(), s("Охлаждение"));
    EXPECT_EQ(found[s("historyPos")].toInt(), 0);
    EXPECT_EQ(found[s("history")].toArray(), (QJsonArray{s("Охлаждение"), s("Двигатель")}));
}

TEST_F(TreeEngineTest, LinkedPageViewAndTreeFollowEachOther)
{
    file("engine.htm", "<html><body>Двигатель</body></html>");
    file("pistons.htm", "<html><body>Поршни</body></html>");
    file("toc.txt", "Двигатель;engine.htm\n\tПоршни;pistons.htm\n");
    file("s.txt", "[form]\ntype=form\n[html_see]\ntype=html\n"
                  "[tree1]\ntype=tree\naction=html_load*html_see*insert\nload=toc.txt\n"
                  "link_html=html_see\n");
    TSkStract &e = build("s.txt");
    tree = e.Get<TSkTree>(s("tree1"));
    ASSERT_TRUE(tree != nullptr);

    // A click opens the node's page; the view then finds the tree in step.
    e.RunAction(s("tree_expand*tree1"));
    tree->setCurrentItem(tree->topLevelItem(0));
    emit tree->nodeClicked();
    e.RunAction(s("tree_next*tree1"));
    EXPECT_EQ(tree->SelectedLink(), s("pistons.htm"));
    EXPECT_EQ(tree->HistoryCount(), 2);

    // Going back in the view moves the tree without running its action again.
    e.RunAction(s("html_back*html_see"));
    EXPECT_EQ(tree->SelectedLink(), s("engine.htm"));
    EXPECT_EQ(tree->HistoryCaptions(), (QStringList{s("Двигатель"), s("Поршни"), s("Двигатель")}));
    EXPECT_TRUE(dialogs.texts().isEmpty());
}
