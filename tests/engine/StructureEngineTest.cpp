#include "engine/StructureEngine.h"

#include "../support/LogCapture.h"
#include "EngineFixture.h"
#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/EditBox.h"
#include "controls/Label.h"
#include "controls/PageView.h"
#include "controls/Panel.h"
#include "controls/PopupMenu.h"
#include "controls/SpeedButton.h"
#include "controls/SpinEdit.h"
#include "core/ResourceArchive.h"
#include "engine/GenericWindow.h"
#include "platform/Cursors.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/FormLayout.h"
#include "platform/Notebook.h"
#include "platform/SkinFrame.h"
#include "platform/Text.h"

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList names(const QList<QObject *> &objects)
{
    QStringList out;
    for (QObject *o : objects)
        out << o->objectName();
    return out;
}

} // namespace

TEST_F(EngineTest, BuildOrderContainersBeforeTheirChildren)
{
    file("s.txt", "[form]\ntype=form\ncaption=Ремонт\n"
                  "[child]\ntype=button\nmaster=inner\n"
                  "[inner]\ntype=panel\nmaster=outer\n"
                  "[outer]\ntype=PANEL\n"
                  "[menu1]\ntype=pop_menu\nmaster=outer\ncaption=a\nglob_action=nil\n"
                  "[last]\ntype=Button\n");
    TSkStract &e = build("s.txt");
    EXPECT_EQ(names(e.Controls()), (QStringList{"menu1", "outer", "inner", "child", "last"}));
    EXPECT_EQ(form->windowTitle(), s("Ремонт"));
    EXPECT_EQ(e.Get<TSkButton>(s("child"))->parentWidget(), e.Get<TSkPanel>(s("inner")));
    EXPECT_EQ(e.Get<TSkPanel>(s("inner"))->parentWidget(), e.Get<TSkPanel>(s("outer")));
    EXPECT_EQ(e.Get<TSkPanel>(s("outer"))->parentWidget(), e.Page());
    EXPECT_EQ(e.Get<TSkPopMenu>(s("menu1"))->parent(),
              form.get()); // owned by the window whatever its master
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(EngineTest, UnplaceableSectionsAreReportedOnceAndBuildingEnds)
{
    file("s.txt", "[form]\ntype=form\n"
                  "[b1]\ntype=button\n"
                  "[onButton]\ntype=label\nmaster=b1\n"
                  "[a]\ntype=panel\nmaster=b\n"
                  "[b]\ntype=panel\nmaster=a\n"
                  "[frame1]\ntype=frame\n"
                  "[after]\ntype=label\n");
    TSkStract &e = build("s.txt");
    EXPECT_EQ(names(e.Controls()), (QStringList{"b1", "after"}));
    const QStringList texts = dialogs.texts();
    ASSERT_EQ(texts.size(), 4) << texts.join(u'|').toStdString();
    EXPECT_EQ(texts[0], s("MakeObject. Объект frame1 имеет неизвестный тип frame"));
    EXPECT_TRUE(texts[1].contains(s("onButton")) && texts[1].contains(s("b1")));
    EXPECT_TRUE(texts[2].contains(s("Объект a ")));
    EXPECT_TRUE(texts[3].contains(s("Объект b ")));
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].title, s("s.txt"));
}

TEST_F(EngineTest, TwoEnginesOnOneWindow)
{
    file("main.txt", "[form]\ntype=form\n[b]\ntype=button\n");
    file("show.txt", "[form2]\ntype=form\n[b]\ntype=button\n[only2]\ntype=label\n");
    TSkStract &first = build("main.txt");
    TSkStract &second = build("show.txt");
    EXPECT_EQ(first.PageIndex, 0);
    EXPECT_EQ(second.PageIndex, 1);
    EXPECT_EQ(form->Notebook()->count(), 2);
    EXPECT_EQ(form->Notebook()->page(1)->objectName(), s("p1"));
    EXPECT_EQ(form->Notebook()->currentIndex(), 1);
    EXPECT_EQ(form->StructFile, s("show.txt"));
    // Each engine sees only its own objects.
    EXPECT_EQ(first.Get<TSkButton>(s("b"))->parentWidget(), form->Notebook()->page(0));
    EXPECT_EQ(second.Get<TSkButton>(s("b"))->parentWidget(), form->Notebook()->page(1));
    first.ShowErrors = false;
    EXPECT_EQ(first.GetControl(s("only2")), nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(EngineTest, MissingOrEmptyStructureFile)
{
    build("none.txt");
    EXPECT_EQ(dialogs.texts(), (QStringList{s("Не найден файл \r\nnone.txt"),
                                            s("Нету данных в none.txt. Это безусловно End...")}));
}

TEST_F(EngineTest, NumberThatDoesNotConvertStopsTheBuildWithAClearMessage)
{
    file("s.txt", "[form]\ntype=form\n[ok]\ntype=button\n[bad]\ntype=button\nwidth=12px\n[never]"
                  "\ntype=label\n");
    TSkStract &e = build("s.txt");
    ASSERT_EQ(dialogs.texts().size(), 1);
    const QString text = dialogs.texts()[0];
    EXPECT_TRUE(text.contains(s("bad")) && text.contains(s("width")) && text.contains(s("12px")))
        << text.toStdString();
    e.ShowErrors = false;
    EXPECT_NE(e.GetControl(s("ok")), nullptr);
    EXPECT_EQ(e.GetControl(s("never")), nullptr);
    EXPECT_TRUE(form->SkinFrame()->isPainting());
}

TEST_F(EngineTest, AnchorsAndCentring)
{
    file("s.txt", "[form]\ntype=form\n"
                  "[box]\ntype=panel\nleft=0\ntop=0\nwidth=400\nheight=300\n"
                  "[all]\ntype=label\nmaster=box\nanchor=10 10 10 10\n"
                  "[centred]\ntype=panel\nmaster=box\nwidth=100\nheight=50\nanchor=* 20 * *\n"
                  "[corner]\ntype=button\nmaster=box\nwidth=80\nheight=25\nanchor=* * 0 0\n"
                  "[plain]\ntype=button\nmaster=box\nleft=5\ntop=6\nwidth=20\nheight=20\n");
    TSkStract &e = build("s.txt");
    QWidget *all = qobject_cast<QWidget *>(e.GetControl(s("all")));
    TSkPanel *centred = e.Get<TSkPanel>(s("centred"));
    TSkButton *corner = e.Get<TSkButton>(s("corner"));
    EXPECT_EQ(all->geometry(), QRect(QPoint(10, 10), QPoint(389, 289)));
    EXPECT_EQ(platform::FormLayout::anchors(all), platform::AnchorLeft | platform::AnchorTop |
                                                      platform::AnchorRight |
                                                      platform::AnchorBottom);
    EXPECT_EQ(centred->geometry(), QRect(150, 20, 100, 50));
    EXPECT_EQ(corner->geometry(), QRect(320, 275, 80, 25));
    EXPECT_EQ(platform::FormLayout::anchors(corner),
              platform::AnchorRight | platform::AnchorBottom);
    EXPECT_EQ(platform::FormLayout::anchors(e.Get<TSkButton>(s("plain"))),
              platform::AnchorLeft | platform::AnchorTop);

    platform::FormLayout::setBounds(e.Get<TSkPanel>(s("box")), QRect(0, 0, 600, 500));
    centred->CenterInParent(); // what the engine does after every resize of the window
    EXPECT_EQ(all->geometry(), QRect(QPoint(10, 10), QPoint(589, 489)));
    EXPECT_EQ(centred->geometry(), QRect(250, 20, 100, 50));
    EXPECT_EQ(corner->geometry(), QRect(520, 475, 80, 25));
    EXPECT_EQ(e.Get<TSkButton>(s("plain"))->pos(), QPoint(5, 6));
}

TEST_F(EngineTest, CommonKeysApplyFromLastToFirst)
{
    file("s.txt", "[form]\ntype=form\n"
                  "[box]\ntype=panel\nwidth=400\nheight=300\n"
                  // align comes after width: aligned first, then the width wins
                  "[left]\ntype=panel\nmaster=box\nwidth=50\nalign=left\n"
                  // width comes after align: the width applies first, then the alignment fills
                  "[top]\ntype=panel\nmaster=box\nalign=TOP\nheight=40\nvisible=no\n"
                  "[gone]\ntype=button\nmaster=box\nenabled=0\nvisible=false\n");
    TSkStract &e = build("s.txt");
    TSkPanel *left = e.Get<TSkPanel>(s("left"));
    EXPECT_EQ(platform::FormLayout::align(left), TAlign::Left);
    EXPECT_EQ(left->width(), 50);
    EXPECT_EQ(left->height(), 260);                      // below the top-aligned panel
    EXPECT_FALSE(e.Get<TSkPanel>(s("top"))->isHidden()); // "no" is not a boolean: default true
    EXPECT_EQ(e.Get<TSkPanel>(s("top"))->height(), 40);
    EXPECT_FALSE(e.Get<TSkButton>(s("gone"))->isEnabled());
    EXPECT_TRUE(e.Get<TSkButton>(s("gone"))->isHidden());
}

TEST_F(EngineTest, FontsCursorsAndCaptions)
{
    file("s.txt", "[form]\ntype=form\n"
                  "[size]\ntype=label\nfont=*12\n"
                  "[full]\ntype=label\nfont=Tahoma*8*#FF0000*bu\n"
                  "[plainify]\ntype=label\nfont=Tahoma*8**x\n"
                  "[hand1]\ntype=button\ncursor=crHandPoint\n"
                  "[hand2]\ntype=button\ncursor=-21\n"
                  "[zoom]\ntype=button\ncursor=141\n"
                  "[Check1]\ntype=check_box\n"
                  "[Check2]\ntype=check_box\ncaption=Подсветка\n");
    TSkStract &e = build("s.txt");
    const QFont base = QApplication::font();
    TSkLabel *size = e.Get<TSkLabel>(s("size"));
    EXPECT_EQ(size->font().pointSize(), 12);
    EXPECT_EQ(size->font().family(), base.family());
    TSkLabel *full = e.Get<TSkLabel>(s("full"));
    EXPECT_EQ(full->font().family(), s("Tahoma"));
    EXPECT_EQ(full->font().pointSize(), 8);
    EXPECT_TRUE(full->font().bold());
    EXPECT_TRUE(full->font().underline());
    EXPECT_FALSE(full->font().italic());
    EXPECT_EQ(full->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(e.Get<TSkLabel>(s("plainify"))->font().bold());
    EXPECT_EQ(e.Get<TSkButton>(s("hand1"))->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(e.Get<TSkButton>(s("hand2"))->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(platform::cursorNumber(e.Get<TSkButton>(s("zoom"))->cursor()), 141);
    EXPECT_EQ(platform::cursorNumber(platform::cursorFor(144)), 144);
    EXPECT_EQ(qobject_cast<TSkCheckBox *>(e.GetControl(s("check1")))->text(), s("Check1"));
    EXPECT_EQ(qobject_cast<TSkCheckBox *>(e.GetControl(s("check2")))->text(), s("Подсветка"));
}

TEST_F(EngineTest, SimpleControlKeys)
{
    file("items.txt", "Первый;1\nВторой;2\n");
    file("s.txt", "[form]\ntype=form\n"
                  "[combo]\ntype=combo_box\nload=items.txt\nread_only=1\n"
                  "[from]\ntype=edit_box\nonly_number=true\n"
                  "[to]\ntype=edit_box\nonly_number=true\nmin_link=nosuch\n"
                  "[a]\ntype=edit_box\nonly_number=true\nmin_link=from\n"
                  "[spin]\ntype=spin_edit\n"
                  "[sp]\ntype=sp_button\ndown=1\ngroup=2\ncaption=Дерево\n"
                  "[p1]\ntype=panel\nvisible_ex=1\ncaption=never shown\n"
                  "[b]\ntype=button\nload=items.txt\ncaption=Выход\naction=form_close\n");
    TSkStract &e = build("s.txt");
    TSkComboBox *combo = e.Get<TSkComboBox>(s("combo"));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->currentText(), s("Первый"));
    EXPECT_EQ(combo->GetSelectedValue(), s("1"));
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(e.Get<TSkEditBox>(s("a"))->MinLink(), e.Get<TSkEditBox>(s("from")));
    EXPECT_EQ(e.Get<TSkEditBox>(s("to"))->MinLink(), nullptr);
    EXPECT_EQ(dialogs.texts(), QStringList{s("GetComponent. Не найден контрол: nosuch")});
    auto *spin = qobject_cast<TSkSpinEdit *>(e.GetControl(s("spin")));
    spin->setValue(-100);
    EXPECT_EQ(spin->value(), -1);
    spin->setValue(5000000);
    EXPECT_EQ(spin->value(), 1000000);
    TSkSpeedButton *sp = e.Get<TSkSpeedButton>(s("sp"));
    EXPECT_TRUE(sp->Down());
    EXPECT_TRUE(sp->DownState);
    EXPECT_EQ(sp->GroupIndex(), 2);
    EXPECT_TRUE(e.Get<TSkPanel>(s("p1"))->isHidden());
    EXPECT_EQ(e.Get<TSkButton>(s("b"))->Caption(), s("Выход"));
    EXPECT_EQ(e.Get<TSkButton>(s("b"))->ActionText, s("form_close"));
}

TEST_F(EngineTest, LookupsIgnoreOnlyLatinCase)
{
    file("s.txt", "[form]\ntype=form\n"
                  "[Button1]\ntype=button\n"
                  "[BUTTON1]\ntype=button\ncaption=second\n"
                  "[SpeedOne]\ntype=sp_button\naction=fit_page*2\n"
                  "[SpeedTwo]\ntype=sp_button\naction=FIT_PAGE\n"
                  "[Кнопка]\ntype=button\n"
                  "[zoomA]\ntype=combo_box\naction=zoomx*1\n"
                  "[zoomB]\ntype=combo_box\naction=zoom*insert\n");
    TSkStract &e = build("s.txt");
    TSkButton *first = e.Get<TSkButton>(s("bUtToN1"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Caption(), s("")); // the one created first
    EXPECT_NE(e.Get<TSkButton>(s("Кнопка")), nullptr);
    EXPECT_EQ(e.Get<TSkButton>(s("КНОПКА")), nullptr);
    EXPECT_EQ(e.Get<TSkButton>(s("speedone")), nullptr);
    EXPECT_NE(e.GetControl(s("speedone")), nullptr);
    EXPECT_EQ(e.Get<TSkButton>(s("")), nullptr);
    EXPECT_EQ(dialogs.texts(), (QStringList{s("GetComponent. Не найден контрол: КНОПКА"),
                                            s("GetComponent. Не найден контрол: speedone"),
                                            s("GetComponent. Не найден контрол: ")}));
    dialogs.clear();
    e.ShowErrors = false;
    EXPECT_EQ(e.GetControl(s("nothing")), nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    EXPECT_EQ(e.FindSpeedButtonByCommand(s("fit_page"), QString())->objectName(), s("SpeedOne"));
    EXPECT_EQ(e.FindSpeedButtonByCommand(s("fit_page"), s("2"))->objectName(), s("SpeedOne"));
    EXPECT_EQ(e.FindSpeedButtonByCommand(s("fit_page"), s("3")), nullptr);
    EXPECT_EQ(e.FindComboBoxByCommand(s("ZOOM"))->objectName(), s("zoomB"));
    EXPECT_EQ(e.FindComboBoxByCommand(s("zoo")), nullptr);

    // Destroyed objects leave the lists by themselves.
    delete e.GetControl(s("SpeedOne"));
    EXPECT_EQ(e.FindSpeedButtonByCommand(s("fit_page"), QString())->objectName(), s("SpeedTwo"));
    EXPECT_EQ(e.List(s("sp_button")).size(), 1);
}

TEST_F(EngineTest, HotKeysAndStartAction)
{
    file(
        "s.txt",
        "[form]\ntype=form\naction=go_main\n[keys]\ntype=hot_key\nk1=F5*refresh\nk2=Ctrl+B*bold\n");
    QStringList seen;
    form = std::make_unique<TfrmFORM>();
    auto engine = std::make_unique<TSkStract>(form.get(), s("s.txt"));
    engine->OnAction = [&](RHelpAction &r) {
        seen << r.Action;
    };
    engine->LoadStructure();
    EXPECT_EQ(seen, QStringList{s("go_main")});
    EXPECT_EQ(form->HotKeys().Count(), 2);
    EXPECT_EQ(form->HotKeys().ActionAt(1), s("bold"));
    EXPECT_EQ(form->HotKeys().PageAt(0), 0);
    engine.reset();
}

TEST_F(EngineTest, DestructorRemovesTheTemporaryFileAndTheObjects)
{
    file("s.txt", "[form]\ntype=form\n[b]\ntype=button\n");
    TSkStract &e = build("s.txt");
    const QString temp = e.TempStructFile;
    ASSERT_TRUE(platform::fileExists(temp));
    QPointer<QObject> button = e.GetControl(s("b"));
    engines.clear();
    EXPECT_FALSE(platform::fileExists(temp));
    EXPECT_TRUE(button.isNull());
    EXPECT_FALSE(form->OnWindowAction); // nothing calls back into a destroyed engine
}

// An author whose icon, picture, skin or key silently fails finds one line
// per miss under the area's category.
TEST_F(EngineTest, MissesInTheManualAreLoggedUnderTheirArea)
{
    file("toc.txt", "Двигатель;p.htm;nothere.bmp\nКлапаны;p.htm;nothere.bmp\n");
    file("p.htm", "<html><body><p>Текст</p><img src=\"gone.jpg\"></body></html>");
    file("s.txt", "[form]\ntype=form\n"
                  "[b]\ntype=button\ncolour=red\nskin=obj*skins\\missing.qss\n"
                  "[t]\ntype=tree\nload=toc.txt\n"
                  "[h]\ntype=html\nwidth=300\nheight=200\nload=p.htm\n");
    LogCapture log;
    TSkStract &e = build("s.txt");
    TSkHtml *view = e.Get<TSkHtml>(s("h"));
    form->show(); // a page is laid out, pictures and all, once it has a width
    view->document()->size();
    EXPECT_EQ(log.lines("remont.engine"),
              (QStringList{s("s.txt: [b] unknown key colour"),
                           s("skin file missing or unreadable: ") + dir.folder() +
                               s("skins\\missing.qss")}));
    EXPECT_EQ(log.lines("remont.tree"), QStringList{s("icon missing or unreadable: nothere.bmp")});
    ASSERT_EQ(log.lines("remont.page").size(), 1);
    EXPECT_TRUE(log.lines("remont.page")[0].startsWith(s("picture missing: ")));
}
