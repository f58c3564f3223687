#include "windows/MainWindow.h"

#include "../support/TempDir.h"
#include "../support/TestArchive.h"
#include "controls/Button.h"
#include "controls/PageView.h"
#include "core/ManualLocation.h"
#include "core/ResourceArchive.h"
#include "core/ViewerOptions.h"
#include "engine/StructureEngine.h"
#include "platform/Companion.h"
#include "platform/CompanionLink.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Notebook.h"
#include "platform/Printers.h"
#include "platform/SkinFrame.h"
#include "platform/Text.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray cp(const char *utf8)
{
    return platform::encode1251(s(utf8).replace(s("\n"), s("\r\n")));
}

// An application folder holding a two-page manual, and a runtime folder of
// its own for the companion sockets.
class ViewerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_RUNTIME_DIR", runtime.native().toLocal8Bit());
        platform::setAppFolderOverride(app.folder());
        app.write(s("struct_main.txt"), cp("[form]\ntype=form\ncaption=Ремонт\n"
                                           "[chapter]\ntype=button\ncaption=Двигатель\n"
                                           "action=go_main//html_load*html_see*pages\\a.htm\n"));
        app.write(s("struct_show.txt"), cp("[form]\ntype=form\n"
                                           "[tree]\ntype=panel\n"
                                           "[but_tree_open]\ntype=sp_button\n"
                                           "[but_tree_hide]\ntype=sp_button\n"
                                           "[html_see]\ntype=html\nalign=client\n"));
        app.write(s("pages/a.htm"),
                  cp("<html><head><title>Страница А</title></head><body>А</body></html>"));
        app.write(s("pages/b.htm"),
                  cp("<html><head><title>Страница Б</title></head><body>Б</body></html>"));
    }
    void TearDown() override
    {
        CloseArchive();
        platform::setAppFolderOverride(QString());
        qunsetenv("XDG_RUNTIME_DIR");
    }

    TSkHtml *view(TfrmMain &main) { return main.ShowEngine()->Get<TSkHtml>(s("html_see")); }

    TempDir app;
    TempDir runtime;
    platform::ScopedRecordingDialogs dialogs;
};

} // namespace

TEST_F(ViewerTest, StartsOnTheMainMenuAndGoMainShowsThePageView)
{
    TfrmMain main; // no interface.dat: everything comes from disk
    EXPECT_EQ(main.windowTitle(), s("Ремонт"));
    EXPECT_EQ(main.Notebook()->count(), 2);
    EXPECT_EQ(main.Notebook()->currentIndex(), 0);
    ASSERT_NE(view(main), nullptr);

    main.MainEngine()->ControlClick(main.MainEngine()->GetControl(s("chapter")));
    EXPECT_EQ(main.Notebook()->currentIndex(), 1);
    EXPECT_TRUE(view(main)->CurrentFile().endsWith(s("pages\\a.htm")))
        << view(main)->CurrentFile().toStdString();

    main.ShowEngine()->RunAction(s("go_main_menu"));
    EXPECT_EQ(main.Notebook()->currentIndex(), 0);
    main.MainEngine()->RunAction(s("unknown*1"));
    EXPECT_EQ(dialogs.texts(), QStringList{s("unknown*1")});
}

TEST_F(ViewerTest, BuildsFromTheArchiveWhenThereIsOne)
{
    app.write(s("interface.dat"),
              TestArchive()
                  .addScrambled("struct_main.txt",
                                cp("[form]\ntype=form\ncaption=Из архива\n[b]\ntype=button\n"))
                  .bytes());
    TfrmMain main;
    EXPECT_EQ(main.windowTitle(), s("Из архива"));
    EXPECT_NE(main.MainEngine()->Get<TSkButton>(s("b")), nullptr);
    EXPECT_NE(view(main), nullptr); // struct_show.txt still comes from disk
}

TEST_F(ViewerTest, VisibleButTreeRemembersTheButtons)
{
    TfrmMain main;
    TSkStract &show = *main.ShowEngine();
    QWidget *tree = qobject_cast<QWidget *>(show.GetControl(s("tree")));
    QWidget *open = show.FindQuietly(s("but_tree_open"), s("sp_button"));
    QWidget *hide = show.FindQuietly(s("but_tree_hide"), s("sp_button"));
    // Never hidden before and visible: both saved flags are false.
    show.RunAction(s("visible_but_tree"));
    EXPECT_TRUE(open->isHidden());
    EXPECT_TRUE(hide->isHidden());

    hide->show();
    tree->hide();
    show.RunAction(s("visible_but_tree")); // hidden: remembers open hidden, hide shown
    EXPECT_TRUE(open->isHidden());
    EXPECT_TRUE(hide->isHidden());
    EXPECT_FALSE(main.TreeOpenWasVisible);
    EXPECT_TRUE(main.TreeHideWasVisible);
    tree->show();
    show.RunAction(s("visible_but_tree"));
    EXPECT_TRUE(open->isHidden());
    EXPECT_FALSE(hide->isHidden());
}

TEST_F(ViewerTest, CompanionShowsAPageAndHearsTheClose)
{
    QLocalServer companion;
    const QString companionPath = platform::companionSocketPath(platform::companionTitle());
    QLocalServer::removeServer(companionPath);
    ASSERT_TRUE(companion.listen(companionPath));

    auto main = std::make_unique<TfrmMain>();
    QLocalSocket socket;
    socket.connectToServer(main->CompanionSocket());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(platform::encodeFrame(
        {platform::MsgCopyData, 0, 0,
         platform::encodeCompanionRecord(0, app.folder() + s("pages\\b.htm"))}));
    socket.flush();
    QByteArray reply;
    platform::CompanionFrame frame;
    bool bad = false;
    QTRY_VERIFY_WITH_TIMEOUT((reply += socket.readAll(), platform::takeFrame(reply, frame, &bad)),
                             5000);
    EXPECT_EQ(frame.message, quint32(platform::MsgShown));
    EXPECT_EQ(frame.wParam, quint32(main->winId()));
    EXPECT_EQ(main->Notebook()->currentIndex(), 1);
    EXPECT_EQ(view(*main)->CurrentTitle(), s("Страница Б"));

    // Another command is ignored; closing tells the companion.
    socket.write(platform::encodeFrame(
        {platform::MsgCopyData, 0, 0, platform::encodeCompanionRecord(7, s("x"))}));
    socket.flush();
    QTest::qWait(50);
    main->close();
    QTRY_VERIFY_WITH_TIMEOUT(
        companion.hasPendingConnections() || companion.waitForNewConnection(10), 5000);
    QLocalSocket *notice = companion.nextPendingConnection();
    ASSERT_NE(notice, nullptr);
    QByteArray closeBytes;
    QTRY_VERIFY_WITH_TIMEOUT(
        (closeBytes += notice->readAll(), platform::takeFrame(closeBytes, frame, &bad)), 5000);
    EXPECT_EQ(frame.message, quint32(platform::MsgClose));
}

TEST_F(ViewerTest, CompanionPrintRequestHidesAndShowsItsWindow)
{
    platform::FixedPrinters none;
    platform::setPrinters(&none);
    TfrmMain main;
    QLocalSocket socket;
    socket.connectToServer(main.CompanionSocket());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(platform::encodeFrame(
        {platform::MsgCopyData, 0, 0, platform::encodeCompanionRecord(1, s("pics\\scheme.jpg"))}));
    socket.flush();
    QByteArray reply;
    QList<platform::CompanionFrame> frames;
    QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                 reply += socket.readAll();
                                 platform::CompanionFrame frame;
                                 bool bad = false;
                                 while (platform::takeFrame(reply, frame, &bad))
                                     frames << frame;
                                 return frames.size() >= 2;
                             }()),
                             5000);
    EXPECT_EQ(frames[0].message, quint32(platform::MsgShowWindow));
    EXPECT_EQ(frames[0].wParam, 0u);
    EXPECT_EQ(frames[1].message, quint32(platform::MsgShowWindow));
    EXPECT_EQ(frames[1].wParam, 5u);
    EXPECT_EQ(dialogs.texts(), QStringList{s("Принтер не найден.")});
    platform::setPrinters(nullptr);
}

TEST_F(ViewerTest, SecondStartHandsOverItsManualAndPage)
{
    TfrmMain main;
    main.show();
    main.SkinFrame()->setState(platform::SkinFrame::State::Minimized);
    const auto handOver = [](const QString &manual, const QString &page) {
        return platform::CompanionLink::handOver(platform::viewerTitle(), {manual, page}, 2000);
    };

    // The same manual, named as the reader would: the page is shown at once.
    ASSERT_TRUE(handOver(app.native() + s("/pages/.."), s("pages\\b.htm")));
    QTRY_COMPARE_WITH_TIMEOUT(view(main)->CurrentTitle(), s("Страница Б"), 5000);
    EXPECT_EQ(main.Notebook()->currentIndex(), 1);
    EXPECT_FALSE(main.isMinimized());

    // No manual named: this one, at the page given.
    main.ShowEngine()->RunAction(s("go_main_menu"));
    ASSERT_TRUE(handOver(QString(), s("pages\\a.htm")));
    QTRY_COMPARE_WITH_TIMEOUT(view(main)->CurrentTitle(), s("Страница А"), 5000);
    EXPECT_EQ(main.Notebook()->currentIndex(), 1);

    // A manual that is gone by now is reported; the window stays.
    ASSERT_TRUE(handOver(app.native() + s("/gone"), QString()));
    QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 1, 5000);
    EXPECT_TRUE(dialogs.texts().first().startsWith(s("Руководство не найдено: ")));
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.RestartArguments().isEmpty());

    // Another manual: the window closes so that the program starts on it.
    TempDir other;
    other.write(s("lada.dat"), TestArchive().add("struct_main.txt", "[form]\r\n").bytes());
    ASSERT_TRUE(handOver(other.native() + s("/lada.dat"), s("pages\\c.htm")));
    QTRY_VERIFY_WITH_TIMEOUT(!main.isVisible(), 5000);
    EXPECT_EQ(main.RestartArguments(),
              ViewerArguments(other.native() + s("/lada.dat"), s("pages\\c.htm")));
    EXPECT_EQ(dialogs.messages.size(), 1);
}
