#include "engine/SkinnedWindow.h"

#include "../support/TempDir.h"
#include "engine/GenericWindow.h"
#include "engine/SkinCache.h"
#include "platform/FileSystem.h"
#include "platform/Notebook.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/SkinFrame.h"
#include "platform/ThemeLink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

using platform::SkinFrame;

void pressKey(QWidget *receiver, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(receiver, &press);
}

void mouse(QWidget *receiver, QEvent::Type type, Qt::MouseButton button, QPoint at = {5, 5})
{
    QMouseEvent event(type, QPointF(at), QPointF(receiver->mapToGlobal(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(receiver, &event);
}

// A shown generic window with a notebook page and an edit box on it, and a
// record of every action the window hands on.
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.CreateNotebook();
        edit = new QLineEdit(form.Notebook()->currentPage());
        form.OnWindowAction = [this](RHelpAction &action) {
            actions.append(action);
        };
        form.show();
    }

    TfrmFORM form;
    QLineEdit *edit = nullptr;
    QList<RHelpAction> actions;
};

TEST_F(WindowTest, GenericWindowHasItsDesignSizeAndAFramedClientArea)
{
    EXPECT_EQ(form.size(), QSize(783, 540));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    const QRect client = form.ClientArea()->geometry();
    EXPECT_GT(client.top(), 0); // below the caption bar
    EXPECT_EQ(form.Notebook()->size(), client.size());
    EXPECT_EQ(form.SkinFrame()->buttons(), SkinFrame::CloseButton | SkinFrame::SystemMenuButton |
                                               SkinFrame::MinimizeButton |
                                               SkinFrame::MaximizeButton);
    form.SkinFrame()->setBorderStyle(SkinFrame::BorderStyle::None); // hide_caption
    EXPECT_EQ(form.ClientArea()->geometry(), form.rect());
    EXPECT_FALSE(form.SkinFrame()->captionBar()->isVisibleTo(&form));
}

TEST_F(WindowTest, SystemMenuButtonOpensTheWindowsMenu)
{
    form.SystemMenu()->addAction(QStringLiteral("Избранное"));
    form.SkinFrame()->button(SkinFrame::SystemMenuButton)->click();
    EXPECT_TRUE(form.SystemMenu()->isVisible());
    form.SystemMenu()->hide();
}

TEST_F(WindowTest, EscClosesOnlyWithEscCloseOrInDialogMode)
{
    struct Case
    {
        const char *name;
        std::function<void(TSkForm &)> setUp;
        bool closes;
    };
    const Case cases[] = {
        {"plain window", [](TSkForm &) {}, false},
        {"esc_close", [](TSkForm &f) { f.EscClose = true; }, true},
        {"dialog", [](TSkForm &f) { f.SetDialog(true); }, true},
        {"dialog switched off",
         [](TSkForm &f) {
             f.SetDialog(true);
             f.SetDialog(false);
         },
         false},
    };
    for (const Case &c : cases) {
        TfrmFORM window;
        c.setUp(window);
        auto *box = new QLineEdit(window.ClientArea());
        window.show();
        pressKey(box, Qt::Key_Escape); // the window sees the key before the edit box
        EXPECT_EQ(!window.isVisible(), c.closes) << c.name;
    }
}

TEST_F(WindowTest, DialogThenResizableGivesBackResizingAndMaximizeOnly)
{
    SkinFrame *frame = form.SkinFrame();
    form.SetDialog(true);
    EXPECT_FALSE(frame->isResizable());
    EXPECT_FALSE(frame->buttons() & SkinFrame::MaximizeButton);
    EXPECT_FALSE(frame->buttons() & SkinFrame::MinimizeButton);
    EXPECT_TRUE(form.EscClose);
    EXPECT_TRUE(form.DialogMode());

    form.SetResizable(true);
    EXPECT_TRUE(frame->isResizable());
    EXPECT_TRUE(frame->buttons() & SkinFrame::MaximizeButton);
    EXPECT_FALSE(frame->buttons() & SkinFrame::MinimizeButton);
    EXPECT_TRUE(frame->button(SkinFrame::MaximizeButton)->isVisibleTo(&form));
    EXPECT_FALSE(frame->button(SkinFrame::MinimizeButton)->isVisibleTo(&form));
    EXPECT_TRUE(form.Resizable());
}

TEST_F(WindowTest, HotKeysActOnlyOnTheirPageAndTheFirstOfEqualShortcutsFires)
{
    form.AddHotKey(QStringLiteral("F5*on_page0"));
    form.AddHotKey(QStringLiteral("F6*only_page0"));
    QWidget *page1 = form.Notebook()->addPage(QStringLiteral("p1"));
    form.AddHotKey(QStringLiteral("F5*first_on_page1"));
    form.AddHotKey(QStringLiteral("F5*second_on_page1"));
    auto *edit1 = new QLineEdit(page1);
    edit1->show();

    pressKey(edit1, Qt::Key_F6);
    EXPECT_TRUE(actions.isEmpty());
    pressKey(edit1, Qt::Key_F5);
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0].Action, QStringLiteral("first_on_page1"));
    EXPECT_EQ(actions[0].Height, 0);
    EXPECT_EQ(actions[0].X, 0);

    form.Notebook()->setCurrentIndex(0);
    pressKey(edit, Qt::Key_F5);
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[1].Action, QStringLiteral("on_page0"));
}

TEST_F(WindowTest, AKeyTravellingUpToParentsFiresItsHotKeyOnce)
{
    form.AddHotKey(QStringLiteral("Ctrl+F2*once"));
    QWidget *page = form.Notebook()->currentPage();
    pressKey(page, Qt::Key_F2, Qt::ControlModifier); // a page ignores keys: they reach the window
    EXPECT_EQ(actions.size(), 1);
}

TEST_F(WindowTest, HelpButtonHandsOnItsActionWithTheMousePosition)
{
    form.HelpAction = QStringLiteral("help*engine.htm");
    EXPECT_EQ(form.SysCommand(TSkForm::SC_CONTEXTHELP), 1); // no help button yet: not handled
    EXPECT_TRUE(actions.isEmpty());

    form.SetHelpButton(true);
    EXPECT_TRUE(form.SkinFrame()->buttons() & SkinFrame::HelpButton);
    QCursor::setPos(123, 45);
    form.SkinFrame()->button(SkinFrame::HelpButton)->click();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0].Action, QStringLiteral("help*engine.htm"));
    EXPECT_EQ(actions[0].Height, 0);
    EXPECT_EQ(actions[0].X, 123);
    EXPECT_EQ(actions[0].Y, 45);
}

TEST_F(WindowTest, MaximizeEventComesBeforeTheToggle)
{
    SkinFrame *frame = form.SkinFrame();
    QList<SkinFrame::State> seen;
    QObject::connect(frame, &SkinFrame::maximizing, [&] { seen.append(frame->state()); });
    QList<QSize> clientSizes;
    form.OnWindowResize = [&](int w, int h) {
        clientSizes.append(QSize(w, h));
    };

    mouse(frame->captionBar(), QEvent::MouseButtonDblClick, Qt::LeftButton, {200, 10});
    QApplication::processEvents();
    EXPECT_EQ(seen, QList<SkinFrame::State>{SkinFrame::State::Normal});
    EXPECT_EQ(frame->state(), SkinFrame::State::Maximized);
    EXPECT_TRUE(form.isMaximized());
    ASSERT_FALSE(clientSizes.isEmpty());
    EXPECT_EQ(clientSizes.last(), form.ClientArea()->size());

    frame->button(SkinFrame::MaximizeButton)->click();
    QApplication::processEvents();
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(seen.last(), SkinFrame::State::Maximized);
    EXPECT_EQ(frame->state(), SkinFrame::State::Normal);

    // A dialog has no maximize button: the caption's double click does nothing.
    form.SetDialog(true);
    mouse(frame->captionBar(), QEvent::MouseButtonDblClick, Qt::LeftButton, {200, 10});
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(frame->state(), SkinFrame::State::Normal);
}

TEST_F(WindowTest, RolledUpWindowShowsOnlyItsCaptionAndComesBack)
{
    SkinFrame *frame = form.SkinFrame();
    frame->setMinHeight(300);
    const QSize before = form.size();
    const QSize clientBefore = form.ClientArea()->size();
    frame->setState(SkinFrame::State::RolledUp);
    EXPECT_EQ(form.height(), 2 * frame->borderWidth() + frame->captionHeight());
    EXPECT_EQ(form.ClientArea()->size(), clientBefore); // nothing on it is squeezed
    frame->setState(SkinFrame::State::Normal);
    EXPECT_EQ(form.size(), before);
    EXPECT_EQ(frame->minHeight(), 300);
}

TEST_F(WindowTest, DraggingTheClientAreaMovesOnlyWhenAllowed)
{
    int moves = 0;
    QObject::connect(form.SkinFrame(), &SkinFrame::moveRequested, [&] { ++moves; });
    QWidget *page = form.Notebook()->currentPage();

    mouse(page, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(moves, 0); // Moving is off
    form.Moving = true;
    mouse(page, QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(moves, 0);
    mouse(page, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(moves, 1);
    form.SkinFrame()->setState(SkinFrame::State::Maximized);
    form.DragMouseDown(Qt::LeftButton, Qt::NoModifier, 5, 5);
    EXPECT_EQ(moves, 1);
}

TEST_F(WindowTest, CtrlAltQStartsTheProgramAgainAndEnds)
{
    platform::ScopedRecordingShell shell;
    platform::ScopedExitRecorder exits;
    pressKey(edit, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_TRUE(shell.requests.isEmpty());
    pressKey(edit, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(shell.requests.size(), 1);
    EXPECT_EQ(shell.requests[0].kind, platform::ShellRequest::Start);
    EXPECT_EQ(shell.requests[0].target,
              platform::toVirtual(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(exits.codes, QList<int>{0});
}

TEST_F(WindowTest, ShowAnimationPlaysOnlyForAKnownEffect)
{
    struct Case
    {
        const char *effect;
        bool plays;
    };
    for (const Case &c : {Case{"", false}, Case{"NoSuchEffect", false}, Case{"Zoom", true}}) {
        TfrmFORM window;
        window.Effect = QString::fromLatin1(c.effect);
        window.show();
        EXPECT_EQ(window.SkinFrame()->isAnimating(), c.plays) << c.effect;
    }
}

TEST_F(WindowTest, PaintingSwitchAndMinimumSize)
{
    SkinFrame *frame = form.SkinFrame();
    frame->setPainting(false);
    EXPECT_FALSE(frame->isPainting());
    frame->setPainting(true);
    EXPECT_TRUE(frame->isPainting());
    frame->setMinWidth(900);
    frame->setMinHeight(600);
    EXPECT_GE(form.width(), 900);
    EXPECT_GE(form.height(), 600);
}

class SkinCacheTest : public ::testing::Test
{
protected:
    TempDir dir;
    TSkForm window;
};

TEST_F(SkinCacheTest, SameFileNameInAnotherFolderAddsNothing)
{
    dir.write(QStringLiteral("a/Main.qss"), "#SkinCaptionText { color: #ff0000; }");
    dir.write(QStringLiteral("b/MAIN.QSS"), "#SkinCaptionText { color: #00ff00; }");
    TSkSkin cache(&window);
    EXPECT_FALSE(cache.AddSkin(QString()));
    EXPECT_TRUE(cache.AddSkin(dir.folder() + QStringLiteral("a\\Main.qss")));
    EXPECT_FALSE(cache.AddSkin(dir.folder() + QStringLiteral("b\\MAIN.QSS")));
    EXPECT_EQ(cache.Count(), 1);

    platform::ThemeLink *link = cache.FindLink(QStringLiteral("main.qss"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(cache.FindLink(QStringLiteral("Z:\\elsewhere\\MAIN.qss")), link);
    EXPECT_TRUE(link->isLoaded());
    EXPECT_TRUE(link->styleSheet().contains(QStringLiteral("#ff0000")));
    EXPECT_EQ(cache.FindLink(QStringLiteral("other.qss")), nullptr);
}

TEST_F(SkinCacheTest, UnloadableSkinKeepsTheDefaultLook)
{
    dir.write(QStringLiteral("broken.qss"), "QPushButton { color: red; ");
    TSkSkin cache(&window);
    for (const QString &name : {QStringLiteral("missing.qss"), QStringLiteral("broken.qss")}) {
        EXPECT_TRUE(cache.AddSkin(dir.folder() + name)) << name.toStdString();
        platform::ThemeLink *link = cache.FindLink(name);
        ASSERT_NE(link, nullptr);
        EXPECT_FALSE(link->isLoaded());
        window.SkinFrame()->setThemeLink(link);
        EXPECT_TRUE(window.styleSheet().isEmpty());
    }
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(SkinCacheTest, LinkedWindowIsDrawnWithTheSkinAndItsPictures)
{
    dir.write(QStringLiteral("skins/look.qss"),
              "#SkinFrame { qproperty-captionHeight: 40; }\n"
              "QComboBox::down-arrow { image: url(pics/arrow.png); }\n"
              "QComboBox::drop-down { image: url('http://example/x.png'); }");
    TSkSkin cache(&window);
    const QString file = dir.folder() + QStringLiteral("skins\\look.qss");
    ASSERT_TRUE(cache.AddSkin(file));
    window.SkinFrame()->setThemeLink(cache.FindLink(file));
    const QString sheet = window.styleSheet();
    EXPECT_TRUE(sheet.contains(QStringLiteral("url(\"") + dir.native() +
                               QStringLiteral("/skins/pics/arrow.png\")")))
        << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("url('http://example/x.png')")));
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.SkinFrame()->captionHeight(), 40);
    EXPECT_EQ(window.SkinFrame()->captionBar()->height(), 40);
}

TEST_F(SkinCacheTest, LinksSurviveTheirWindowGoingFirst)
{
    auto *owner = new TSkForm;
    TSkSkin cache(owner);
    EXPECT_TRUE(cache.AddSkin(QStringLiteral("Z:\\nowhere\\x.qss")));
    delete owner; // takes its links with it; the cache must not free them again
    EXPECT_EQ(cache.FindLink(QStringLiteral("x.qss")), nullptr);
}

} // namespace
