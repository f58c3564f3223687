#include "EngineFixture.h"
#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/Panel.h"
#include "controls/ParentPanel.h"
#include "controls/PopupMenu.h"
#include "controls/SpeedButton.h"
#include "engine/SkinnedWindow.h"
#include "platform/Notebook.h"
#include "platform/Process.h"
#include "platform/SkinFrame.h"

#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

// Builds a window whose owner records every action handed to it.
class DispatchTest : public EngineTest
{
protected:
    TSkStract &buildRecording(const char *name)
    {
        TSkStract &e = build(name);
        e.OnAction = [this](RHelpAction &r) {
            handed << r.Action;
        };
        return e;
    }
    QStringList handed;
};

} // namespace

TEST_F(DispatchTest, HandOffToTheOwner)
{
    file("s.txt", "[form]\ntype=form\n[panel1]\ntype=panel\nvisible_ex=1\n");
    TSkStract &e = buildRecording("s.txt");
    struct Case
    {
        const char *action;
        QStringList handed;
        QStringList messages;
    } cases[] = {
        {"go_main//tree_go*tree_main*a.htm", {"go_main//tree_go*tree_main*a.htm"}, {}},
        {"test*x//about*x**y", {"about*x*y"}, {"x*"}},
        {"Go_Main**a**b", {"go_main*a*b"}, {}},
        {"nil//*html_see//nil", {}, {}},
        {"//", {}, {}},
        {"test*1//test*2", {}, {"1*", "2*"}},
        {"form_close*abc//test*never",
         {},
         {"form_close. Параметр \"abc\" не является целым числом"}},
    };
    for (const Case &c : cases) {
        handed.clear();
        dialogs.clear();
        e.RunAction(s(c.action));
        EXPECT_EQ(handed, c.handed) << c.action;
        EXPECT_EQ(dialogs.texts(), c.messages) << c.action;
    }
    // Without an owner unknown commands are skipped and the rest still runs.
    e.OnAction = nullptr;
    dialogs.clear();
    e.RunAction(s("unknown*1//test*after"));
    EXPECT_EQ(dialogs.texts(), QStringList{s("after*")});
}

TEST_F(DispatchTest, VisibilityCommands)
{
    file("s.txt", "[form]\ntype=form\n[panel1]\ntype=panel\nvisible_ex=1\n[b1]\ntype=button\n");
    TSkStract &e = buildRecording("s.txt");
    TSkPanel *panel = e.Get<TSkPanel>(s("panel1"));
    ASSERT_TRUE(panel->isHidden());
    struct Case
    {
        const char *action;
        bool hidden;
    } cases[] = {
        {"visible*panel1", false},
        {"visible*PANEL1*0", true},
        {"visible*panel1*nonsense", false},
        {"panel_show_or_hide*panel1", true},
        {"panel_show_or_hide*panel1", false},
    };
    for (const Case &c : cases) {
        e.RunAction(s(c.action));
        EXPECT_EQ(panel->isHidden(), c.hidden) << c.action;
    }
    e.RunAction(s("enabled*b1*false"));
    EXPECT_FALSE(e.Get<TSkButton>(s("b1"))->isEnabled());
    e.RunAction(s("visible*nosuch"));
    EXPECT_EQ(dialogs.texts(),
              QStringList{s("s.txt\r\nGetControl. Не найден контрол: nosuch").mid(7)});
}

TEST_F(DispatchTest, SpeedButtonAndComboCommands)
{
    file("items.txt", "Один;1\nДва;2\n");
    file("s.txt",
         "[form]\ntype=form\n[sp]\ntype=sp_button\n[combo]\ntype=combo_box\naction=pick*insert\n");
    TSkStract &e = buildRecording("s.txt");
    TSkSpeedButton *sp = e.Get<TSkSpeedButton>(s("sp"));
    e.RunAction(s("sbutton_down*sp"));
    EXPECT_TRUE(sp->Down());
    e.RunAction(s("sbutton_down*sp"));
    EXPECT_FALSE(sp->Down());
    e.RunAction(s("spbutton_down*sp*1"));
    EXPECT_TRUE(sp->Down());
    EXPECT_TRUE(sp->DownState);
    handed.clear();
    e.RunAction(s("combo_load*combo*items.txt"));
    EXPECT_EQ(e.Get<TSkComboBox>(s("combo"))->currentIndex(), 0);
    // Loading selects the first item, which runs the combo box's action.
    EXPECT_EQ(handed, QStringList{s("pick*1")});
}

TEST_F(DispatchTest, FormCloseWithAndWithoutCode)
{
    file("sub.txt", "[form]\ntype=form\ncaption=Sub\n");
    build("sub.txt"); // a main window to own the sub-window
    TfrmFORM sub(form.get());
    TSkStract engine(&sub, s("sub.txt"));
    engine.LoadStructure();
    engine.ActivateWindow();
    QTimer::singleShot(0, &sub, [&] { engine.RunAction(s("form_close*2")); });
    EXPECT_EQ(sub.exec(), 2);

    platform::ScopedExitRecorder exits;
    engine.RunAction(s("form_close//test*never"));
    EXPECT_EQ(exits.codes, QList<int>{0});
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DispatchTest, FormShowRunsAModalSubWindowWithItsOwnEngine)
{
    file("main.txt", "[form]\ntype=form\n");
    file("sub.txt", "[form]\ntype=form\ncaption=Подокно\naction=test*started\n[b]\ntype=button\n");
    TSkStract &e = buildRecording("main.txt");
    QTimer::singleShot(0, [&] {
        auto *sub = qobject_cast<TSkForm *>(QApplication::activeModalWidget());
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->windowTitle(), s("Подокно"));
        RHelpAction close{s("form_close*1"), 0, 0, 0};
        sub->OnWindowAction(close);
    });
    e.RunAction(s("form_show*sub.txt//test*after"));
    EXPECT_EQ(dialogs.texts(), (QStringList{s("started*"), s("after*")}));
}

TEST_F(DispatchTest, MenuShowPositions)
{
    file("s.txt",
         "[form]\ntype=form\n"
         "[pm]\ntype=pop_menu\ncaption=a\nglob_action=nil\n"
         "[btn1]\ntype=button\nleft=10\ntop=20\nwidth=80\nheight=25\naction=menu_show*pm*btn1\n"
         "[sp1]\ntype=sp_button\nleft=100\ntop=50\nwidth=30\nheight=30\n");
    TSkStract &e = buildRecording("s.txt");
    form->show();
    auto *menu = qobject_cast<TSkPopMenu *>(e.Get<TSkPopMenu>(s("pm")));
    TSkButton *btn = e.Get<TSkButton>(s("btn1"));

    RHelpAction fromClick{s("menu_show*pm*sp1"), 40, 300, 200};
    e.ExecuteAction(fromClick); // the record's position wins over p1
    EXPECT_EQ(menu->LastPopupPoint(), QPoint(300, 240));
    menu->hide();

    e.RunAction(s("menu_show*pm*btn1")); // a hot key: zeros, so below btn1
    EXPECT_EQ(menu->LastPopupPoint(), btn->mapToGlobal(QPoint(0, 25)));
    menu->hide();
    e.RunAction(s("menu_show*pm*SP1"));
    EXPECT_EQ(menu->LastPopupPoint(), e.Get<TSkSpeedButton>(s("sp1"))->mapToGlobal(QPoint(0, 30)));
    menu->hide();

    e.ShowErrors = false; // the message is shown whatever ShowErrors says
    e.RunAction(s("menu_show*pm*nosuch"));
    EXPECT_EQ(menu->LastPopupPoint(), QPoint(0, 0));
    EXPECT_EQ(dialogs.texts(), QStringList{s("menu_show. Не найден контрол nosuch")});
    menu->hide();

    // A real click on the button fills the record with its height and origin.
    QTest::mouseClick(btn, Qt::LeftButton);
    EXPECT_EQ(menu->LastPopupPoint(), btn->mapToGlobal(QPoint(0, 25)));
    menu->hide();
}

TEST_F(DispatchTest, CheckBoxEnablesItsControlsAndReportsMissingOnes)
{
    file("s.txt", "[form]\ntype=form\n"
                  "[panel1]\ntype=panel\n[b2]\ntype=button\n"
                  "[chk]\ntype=check_box\naction=light\nenable_control=panel1;missing;B2\n");
    TSkStract &e = buildRecording("s.txt");
    auto *check = qobject_cast<TSkCheckBox *>(e.GetControl(s("chk")));
    check->click(); // now checked
    EXPECT_TRUE(e.Get<TSkPanel>(s("panel1"))->isEnabled());
    EXPECT_EQ(dialogs.texts(), QStringList{s("Проверте параметр enable_control для чекьокса chk")});
    EXPECT_EQ(handed, QStringList{s("light*1")});
    check->click(); // cleared
    EXPECT_FALSE(e.Get<TSkPanel>(s("panel1"))->isEnabled());
    EXPECT_FALSE(e.Get<TSkButton>(s("b2"))->isEnabled());
    EXPECT_EQ(handed.last(), s("light*0"));
}

TEST_F(DispatchTest, MenusFromSections)
{
    file("s.txt", "[form]\ntype=form\n"
                  "[m1]\ntype=pop_menu\ncaption=a;b;c\naction=x;;z\nglob_action=g\ncheck=1\n"
                  "[m2]\ntype=pop_menu\ncaption=a;b\n"
                  "[m3]\ntype=pop_menu\ncaption=a\nglob_action=g\nlength=10\n"
                  "last_caption=Колесо передней;Подвеска1234567890;Колесо 12;\nlast_key=F5\n");
    TSkStract &e = buildRecording("s.txt");
    auto *m1 = qobject_cast<TSkPopMenu *>(e.Get<TSkPopMenu>(s("m1")));
    ASSERT_EQ(m1->ItemCount(), 3);
    EXPECT_EQ(m1->ItemAt(0)->Action, s("x"));
    EXPECT_EQ(m1->ItemAt(1)->Action, s("g"));
    EXPECT_EQ(m1->ItemAt(2)->Action, s("z"));
    EXPECT_TRUE(m1->ItemAt(1)->isChecked());
    EXPECT_FALSE(m1->ItemAt(0)->isChecked());
    EXPECT_EQ(m1->FixedCount, 3);

    auto *m2 = qobject_cast<TSkPopMenu *>(e.Get<TSkPopMenu>(s("m2")));
    EXPECT_EQ(m2->ItemCount(), 0);
    EXPECT_EQ(
        dialogs.texts(),
        QStringList{s("Для меню m2 надо указать все параметры:\r\nCaption, Action и можно Key")});

    auto *m3 = qobject_cast<TSkPopMenu *>(e.Get<TSkPopMenu>(s("m3")));
    ASSERT_EQ(m3->ItemCount(), 4);
    EXPECT_EQ(m3->LastCount, 3);
    EXPECT_EQ(m3->ItemAt(1)->text(), s("Колесо..."));
    EXPECT_EQ(m3->ItemAt(2)->text(), s("Подвеска1"));
    EXPECT_EQ(m3->ItemAt(3)->text(), s("Колесо 12"));
    // The item's key works while the menu is closed, through the window's table.
    EXPECT_EQ(form->HotKeys().Count(), 1);
    EXPECT_EQ(form->HotKeys().ActionAt(0), s("g"));

    m1->ItemAt(2)->trigger();
    EXPECT_EQ(handed, QStringList{s("z")});

    EXPECT_EQ(m1->RemoveByAction(s("X")), 0);
    EXPECT_EQ(m1->ItemCount(), 2);
    EXPECT_EQ(m1->RemoveByAction(s("nothing")), -1);
    m1->InsertItem(0, s("first"), QString(), s("f"));
    EXPECT_EQ(m1->ItemAt(0)->text(), s("first"));
    m1->ClearItems();
    EXPECT_EQ(m1->ItemCount(), 0);
    EXPECT_EQ(m1->RemoveByValue(s("v")), -1);
}

TEST_F(DispatchTest, HotKeysActOnlyOnTheirOwnPage)
{
    file("main.txt", "[form]\ntype=form\n[keys]\ntype=hot_key\nk=F5*test*main\n");
    file("show.txt", "[form]\ntype=form\n[keys]\ntype=hot_key\nk=F6*test*show\n");
    TSkStract &main = build("main.txt");
    TSkStract &show = build("show.txt");
    form->show();
    QTest::keyClick(form.get(), Qt::Key_F5); // page 1 shows: main's key stays quiet
    QTest::keyClick(form.get(), Qt::Key_F6);
    EXPECT_EQ(dialogs.texts(), QStringList{s("show*")});
    main.ActivateWindow();
    QTest::keyClick(form.get(), Qt::Key_F5);
    QTest::keyClick(form.get(), Qt::Key_F6);
    EXPECT_EQ(dialogs.texts(), (QStringList{s("show*"), s("main*")}));
    (void)show;
}

TEST_F(DispatchTest, OpenFileParameterAsksEvenForHandedCommands)
{
    file("s.txt", "[form]\ntype=form\n");
    TSkStract &e = buildRecording("s.txt");
    dialogs.fileAnswers << s("Z:\\tmp\\a.txt");
    e.RunAction(s("load_list*open_file(.txt|*.txt)"));
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(handed, QStringList{s("load_list*open_file(.txt|*.txt)")});
    e.RunAction(s("test*open_file(.txt)"));
    EXPECT_EQ(dialogs.texts(), QStringList{s("*")}); // cancelled: an empty parameter
}

TEST_F(DispatchTest, MaximizeButtonsSwapAroundTheToggle)
{
    file("s.txt", "[form]\ntype=form\nbut_max=restore*maxi\n"
                  "[restore]\ntype=sp_button\n[maxi]\ntype=sp_button\n");
    TSkStract &e = buildRecording("s.txt");
    form->show();
    e.ActivateWindow();
    TSkSpeedButton *restore = e.Get<TSkSpeedButton>(s("restore"));
    TSkSpeedButton *maxi = e.Get<TSkSpeedButton>(s("maxi"));
    EXPECT_TRUE(restore->isHidden());
    EXPECT_FALSE(maxi->isHidden());
    e.RunAction(s("form_maxi"));
    EXPECT_FALSE(restore->isHidden());
    EXPECT_TRUE(maxi->isHidden());
    e.RunAction(s("form_maxi"));
    EXPECT_TRUE(restore->isHidden());
    EXPECT_FALSE(maxi->isHidden());
    EXPECT_TRUE(dialogs.messages.isEmpty()); // the quiet lookups report nothing
}

TEST_F(DispatchTest, PanelPercentagesSurviveANarrowParent)
{
    file("s.txt", "[form]\ntype=form\n[holder]\ntype=panel\nwidth=80\nheight=300\n"
                  "[pp]\ntype=parent_panel\nmaster=holder\nwidth=40\nheight=150\n");
    TSkStract &e = buildRecording("s.txt");
    TParentPanel *pp = e.Get<TParentPanel>(s("pp"));
    pp->WidthPercent = 50;
    pp->HeightPercent = 50;
    e.StorePanelPercents(); // 80 pixels wide: no division by zero, the share stays
    EXPECT_EQ(pp->WidthPercent, 50);
    EXPECT_EQ(pp->HeightPercent, 50);
    e.RealignPanels();
    EXPECT_EQ(pp->width(), 40);
    EXPECT_EQ(pp->height(), 150);
}

TEST_F(DispatchTest, ListBoxShowsTheWholeTextOfANarrowItem)
{
    file("items.txt", "Снятие и установка генератора на двигателе#;#a.htm\nКороткий#;#b.htm\n");
    file("s.txt", "[form]\ntype=form\n[list]\ntype=list_box\nwidth=120\nheight=100\nload=items."
                  "txt\naction=open*x\n");
    TSkStract &e = buildRecording("s.txt");
    TSkListBox *list = e.Get<TSkListBox>(s("list"));
    list->setToolTip(s("own hint"));
    form->show();
    auto tipAt = [&](int row) {
        QToolTip::hideText();
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), s("Снятие и установка генератора на двигателе"));
    EXPECT_NE(tipAt(1), s("Короткий")); // fits: the box's own hint
    list->setCurrentRow(0);
    emit list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(handed, QStringList{s("open*x*a.htm")}); // append mode
}
