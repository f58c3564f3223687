#include "controls/ContentsTree.h"

#include "../support/TempDir.h"
#include "../support/TestArchive.h"
#include "controls/PageView.h"
#include "core/ResourceArchive.h"
#include "engine/PageTreeLinks.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Jpeg.h"

#include <QBuffer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray pictureBytes(const char *format)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    if (QByteArrayView(format) == "JPG")
        return platform::encodeJpeg(image, 90);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A tree of chapters and pages in an archive; every test gets a fresh tree.
class Tree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setAppFolderOverride(dir.folder());
        TestArchive archive;
        // "Двигатель" / "Поршни" / "Система охлаждения" in Windows-1251.
        archive.add("tree.txt", "\xC4\xE2\xE8\xE3\xE0\xF2\xE5\xEB\xFC;engine.htm;Book.BMP\r\n"
                                "\t\xCF\xEE\xF0\xF8\xED\xE8 ;  pistons.htm ;book.bmp\r\n"
                                "\t\tRings;rings.htm;ring.jpg\r\n"
                                "\tValves;valves.htm;gone.bmp\r\n"
                                "Chapter without link\r\n"
                                "\tCooling;cooling.htm;gone.bmp\r\n"
                                "\t\t\xD1\xE8\xF1\xF2\xE5\xEC\xE0 "
                                "\xEE\xF5\xEB\xE0\xE6\xE4\xE5\xED\xE8\xFF;Pump.htm;dot.png\r\n"
                                "\tDuplicate;ENGINE.htm\r\n");
        archive.add("flat.txt", flatTree(30));
        archive.add("other.txt", "Other;other.htm;book.bmp\r\n");
        archive.add("linked.txt", "Start;pages\\start.htm\r\n\tPage;pages\\p.htm\r\n");
        archive.add("pages\\p.htm", "<html><body>p</body></html>");
        archive.add("book.bmp", pictureBytes("BMP"));
        archive.add("ring.jpg", pictureBytes("JPG"));
        archive.add("dot.png", pictureBytes("PNG"));
        dir.write(s("interface.dat"), archive.bytes());
        ASSERT_TRUE(OpenArchive(dir.folder() + s("interface.dat")));
        tree.ActionText = s("html_load*html_see*insert");
        tree.resize(300, 400);
    }
    void TearDown() override
    {
        CloseArchive();
        platform::setAppFolderOverride(QString());
    }

    static QByteArray flatTree(int count)
    {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += "Page " + QByteArray::number(i) + ";p" + QByteArray::number(i) + ".htm\r\n";
        return text;
    }

    QTreeWidgetItem *node(const char *link) { return tree.FindNodeByLink(s(link)); }
    void select(QTreeWidgetItem *n) { tree.setCurrentItem(n); }

    TempDir dir;
    platform::ScopedRecordingDialogs dialogs;
    TSkTree tree;
};

} // namespace

TEST_F(Tree, LoadBuildsTheHierarchy)
{
    tree.LoadTree(s("tree.txt"));
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    ASSERT_EQ(tree.Links().size(), 8);
    QTreeWidgetItem *engine = tree.topLevelItem(0);
    EXPECT_EQ(engine->text(0), s("Двигатель"));
    ASSERT_EQ(engine->childCount(), 2);
    EXPECT_EQ(engine->child(0)->text(0), s("Поршни ")); // caption as written
    EXPECT_EQ(tree.LinkOf(engine->child(0)), s("pistons.htm"));
    EXPECT_EQ(engine->child(0)->child(0)->text(0), s("Rings"));
    QTreeWidgetItem *chapter = tree.topLevelItem(1);
    EXPECT_EQ(chapter->text(0), s("Chapter without link"));
    EXPECT_EQ(tree.LinkOf(chapter), s(""));
    EXPECT_TRUE(chapter->icon(0).isNull());
    EXPECT_EQ(chapter->child(0)->child(0)->text(0), s("Система охлаждения"));
    // Records are in file order and point back at their nodes.
    for (const TSkTree::TData &record : tree.Links())
        EXPECT_EQ(tree.LinkOf(record.Node), record.Link);
    EXPECT_TRUE(tree.SelectedNode() == nullptr);
}

TEST_F(Tree, IconsAreReadOncePerName)
{
    tree.LoadTree(s("tree.txt"));
    // Book.BMP and book.bmp are one picture; gone.bmp is missing and is
    // reported once though two nodes name it.
    EXPECT_EQ(tree.IconCount(), 3);
    EXPECT_EQ(tree.IconIndex().size(), 4);
    EXPECT_EQ(tree.IconIndex().value(s("book.bmp")), 0);
    EXPECT_EQ(tree.IconIndex().value(s("gone.bmp")), -1);
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_FALSE(node("engine.htm")->icon(0).isNull());
    EXPECT_FALSE(node("rings.htm")->icon(0).isNull()); // JPEG
    EXPECT_FALSE(node("pump.htm")->icon(0).isNull());  // PNG
    EXPECT_TRUE(node("valves.htm")->icon(0).isNull()); // missing: no picture

    // The cache outlives a reload.
    tree.LoadTree(s("other.txt"));
    EXPECT_EQ(tree.IconCount(), 3);
    EXPECT_EQ(tree.AddIcon(s("  BOOK.bmp ")), 0);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(Tree, DenseScreensDrawIconsFromTheirDoubleSizedPictures)
{
    // book.bmp is 8x8 blue; its variant for dense screens lies on disk.
    QImage big(16, 16, QImage::Format_RGB32);
    big.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    big.save(&buffer, "BMP");
    dir.write(s("book@2x.bmp"), bytes);

    tree.LoadTree(s("tree.txt"));
    const QIcon book = node("engine.htm")->icon(0);
    const QImage normal = book.pixmap(QSize(8, 8), 1.0).toImage();
    const QImage dense = book.pixmap(QSize(8, 8), 2.0).toImage();
    EXPECT_EQ(normal.size(), QSize(8, 8));
    EXPECT_EQ(normal.pixelColor(4, 4), QColor(Qt::blue));
    EXPECT_EQ(dense.size(), QSize(16, 16));
    EXPECT_EQ(dense.pixelColor(8, 8), QColor(Qt::red));
    // Without a variant the one picture serves both.
    EXPECT_EQ(node("rings.htm")->icon(0).availableSizes().size(), 1);
    EXPECT_EQ(dialogs.messages.size(), 1); // only gone.bmp, as before
}

TEST_F(Tree, FindByLinkActionAndTitle)
{
    tree.LoadTree(s("tree.txt"));
    // First match in file order, Latin case ignored.
    EXPECT_EQ(node("ENGINE.HTM"), tree.topLevelItem(0));
    EXPECT_EQ(node("engine.htm"), tree.topLevelItem(0));
    EXPECT_TRUE(node("") == nullptr);
    EXPECT_TRUE(node("nowhere.htm") == nullptr);

    EXPECT_EQ(tree.FindNodeByAction(s("HTML_LOAD*html_see*Pistons.htm")), node("pistons.htm"));
    EXPECT_TRUE(tree.FindNodeByAction(s("html_load*html_see*nowhere.htm")) == nullptr);
    // A new template is used for the next search.
    tree.ActionText = s("html_load*view");
    EXPECT_EQ(tree.FindNodeByAction(s("html_load*view*rings.htm")), node("rings.htm"));

    QStringList titles;
    tree.FindTitles(s("СИСТЕМА"), titles);
    tree.FindTitles(s("ings"), titles);
    EXPECT_EQ(titles, (QStringList{s("Система охлаждения=Pump.htm"), s("Rings=rings.htm")}));

    TSkTree empty;
    EXPECT_TRUE(empty.FindNodeByLink(s("a.htm")) == nullptr);
    EXPECT_TRUE(empty.FindNodeByAction(s("a")) == nullptr);
    titles.clear();
    empty.FindTitles(s(""), titles);
    EXPECT_TRUE(titles.isEmpty());
}

TEST_F(Tree, SelectedLinkAndAction)
{
    tree.LoadTree(s("tree.txt"));
    EXPECT_EQ(tree.SelectedLink(), s(""));
    EXPECT_EQ(tree.SelectedAction(), s(""));
    select(node("rings.htm"));
    EXPECT_EQ(tree.SelectedLink(), s("rings.htm"));
    EXPECT_EQ(tree.SelectedAction(), s("html_load*html_see*rings.htm"));
    // A template without "insert" gets the link as its last parameter, as
    // the click does: the history can tell the nodes apart.
    tree.ActionText = s("html_load*html_see");
    EXPECT_EQ(tree.SelectedAction(), s("html_load*html_see*rings.htm"));
    select(tree.topLevelItem(1));
    EXPECT_EQ(tree.SelectedAction(), s(""));
}

TEST_F(Tree, HistoryKeepsTwentyNewestFirst)
{
    tree.LoadTree(s("flat.txt"));
    for (int i = 0; i < 25; ++i)
        select(tree.topLevelItem(i));
    ASSERT_EQ(tree.HistoryCount(), 20);
    ASSERT_EQ(tree.HistoryCaptions().size(), 20);
    EXPECT_EQ(tree.HistoryPos(), 0);
    EXPECT_EQ(tree.HistoryItem(0), s("html_load*html_see*p24.htm"));
    EXPECT_EQ(tree.HistoryCaptions().first(), s("Page 24"));
    EXPECT_EQ(tree.HistoryItem(19), s("html_load*html_see*p5.htm")); // p0..p4 are gone
    EXPECT_EQ(tree.HistoryCaptions().last(), s("Page 5"));
    EXPECT_EQ(tree.HistoryItem(20), s(""));
    EXPECT_EQ(tree.HistoryItem(-1), s(""));
}

TEST_F(Tree, HistoryMovesAndTheirEnds)
{
    tree.LoadTree(s("flat.txt"));
    QSignalSpy clicks(&tree, &TSkTree::nodeClicked);
    for (int i = 0; i < 20; ++i)
        select(tree.topLevelItem(i));

    tree.GoHistory(tree.HistoryPos() - 1); // forward at 0
    tree.GoHistory(20);                    // beyond the oldest
    EXPECT_EQ(clicks.size(), 0);
    EXPECT_EQ(tree.HistoryPos(), 0);

    tree.GoHistory(19);
    EXPECT_EQ(tree.HistoryPos(), 19);
    EXPECT_EQ(tree.SelectedLink(), s("p0.htm"));
    EXPECT_EQ(clicks.size(), 1);
    EXPECT_EQ(tree.HistoryCount(), 20);    // the move is not recorded
    tree.GoHistory(tree.HistoryPos() + 1); // back at the old end
    EXPECT_EQ(tree.HistoryPos(), 19);
    EXPECT_EQ(clicks.size(), 1);
}

TEST_F(Tree, ChoosingAfterGoingBackAddsTheNewest)
{
    tree.LoadTree(s("flat.txt"));
    for (int i = 0; i < 10; ++i)
        select(tree.topLevelItem(i));
    for (int i = 0; i < 3; ++i)
        tree.GoHistory(tree.HistoryPos() + 1);
    EXPECT_EQ(tree.HistoryPos(), 3);
    const QString atThree = tree.HistoryItem(3);
    EXPECT_EQ(tree.SelectedLink(), s("p6.htm"));

    select(tree.topLevelItem(20));
    EXPECT_EQ(tree.HistoryPos(), 0);
    EXPECT_EQ(tree.HistoryCount(), 11); // nothing cut off
    EXPECT_EQ(tree.HistoryItem(0), s("html_load*html_see*p20.htm"));
    EXPECT_EQ(tree.HistoryItem(4), atThree);
}

TEST_F(Tree, GoHistoryToANodeNoLongerLoaded)
{
    tree.LoadTree(s("flat.txt"));
    select(tree.topLevelItem(0));
    select(tree.topLevelItem(1));
    tree.LoadTree(s("other.txt")); // the history stays
    EXPECT_EQ(tree.HistoryCount(), 2);
    QSignalSpy clicks(&tree, &TSkTree::nodeClicked);
    tree.GoHistory(1);
    EXPECT_EQ(tree.HistoryPos(), 1);
    EXPECT_TRUE(tree.SelectedNode() == nullptr);
    EXPECT_EQ(clicks.size(), 0);

    TSkTree empty;
    empty.GoHistory(0); // no nodes, no history
    EXPECT_EQ(empty.HistoryPos(), 0);
}

TEST_F(Tree, NodesWithoutLinkRecordNothing)
{
    tree.LoadTree(s("tree.txt"));
    select(node("engine.htm"));
    select(tree.topLevelItem(1)); // "Chapter without link"
    EXPECT_EQ(tree.HistoryCount(), 1);
    EXPECT_EQ(tree.HistoryCaptions(), QStringList{s("Двигатель")});
}

TEST_F(Tree, NextAndPreviousRaiseTheClick)
{
    tree.LoadTree(s("tree.txt"));
    QSignalSpy clicks(&tree, &TSkTree::nodeClicked);
    tree.SelectNext(); // no selection: nothing
    EXPECT_EQ(clicks.size(), 0);

    select(node("engine.htm"));
    tree.SelectNext(); // the next visible node: the branch is closed
    EXPECT_EQ(tree.SelectedNode(), tree.topLevelItem(1));
    tree.ExpandAllNodes();
    select(node("engine.htm"));
    tree.SelectNext();
    EXPECT_EQ(tree.SelectedLink(), s("pistons.htm"));
    tree.SelectNext();
    EXPECT_EQ(tree.SelectedLink(), s("rings.htm"));
    tree.SelectPrev();
    EXPECT_EQ(tree.SelectedLink(), s("pistons.htm"));
    EXPECT_EQ(clicks.size(), 4);

    node("pistons.htm")->setExpanded(false);
    tree.SelectNext();
    EXPECT_EQ(tree.SelectedLink(), s("valves.htm"));

    select(tree.topLevelItem(0));
    tree.SelectPrev(); // first node: nothing
    EXPECT_EQ(tree.SelectedLink(), s("engine.htm"));
    EXPECT_EQ(clicks.size(), 5);
}

TEST_F(Tree, NavButtonsFollowThePosition)
{
    tree.LoadTree(s("flat.txt"));
    QToolButton next, prev;
    tree.SetNextButton(&next);
    tree.SetPrevButton(&prev);
    EXPECT_TRUE(next.isEnabled()); // nothing selected: unchanged
    struct Case
    {
        int row;
        bool next, prev;
    } const cases[] = {{0, true, false}, {15, true, true}, {29, false, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        select(tree.topLevelItem(c.row));
        EXPECT_EQ(next.isEnabled(), c.next);
        EXPECT_EQ(prev.isEnabled(), c.prev);
    }
}

TEST_F(Tree, KeyReleaseRaisesTheClick)
{
    tree.LoadTree(s("flat.txt"));
    tree.show();
    tree.setFocus();
    select(tree.topLevelItem(0));
    QSignalSpy clicks(&tree, &TSkTree::nodeClicked);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(tree.SelectedLink(), s("p1.htm"));
    EXPECT_EQ(clicks.size(), 1);
    // Releases of a held key repeat; only the last one opens the page.
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&tree, &repeated);
    EXPECT_EQ(clicks.size(), 1);
}

TEST_F(Tree, MouseClickRaisesTheClick)
{
    tree.LoadTree(s("flat.txt"));
    tree.show();
    QSignalSpy clicks(&tree, &TSkTree::nodeClicked);
    const QRect row = tree.visualItemRect(tree.topLevelItem(2));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(tree.SelectedLink(), s("p2.htm"));
    EXPECT_EQ(clicks.size(), 1);
}

TEST_F(Tree, OpenBlockAndTheDoubleClick)
{
    tree.SetOpenBlock(true);
    tree.LoadTree(s("tree.txt"));
    tree.show();
    for (const TSkTree::TData &record : tree.Links()) {
        if (record.Node->childCount() > 0) {
            EXPECT_TRUE(record.Node->isExpanded()) << record.Node->text(0).toStdString();
        }
    }
    EXPECT_FALSE(tree.rootIsDecorated());
    EXPECT_FALSE(tree.itemsExpandable());

    QTreeWidgetItem *engine = tree.topLevelItem(0);
    select(engine);
    QSignalSpy doubleClicks(&tree, &QTreeWidget::itemDoubleClicked);
    const QPoint at = tree.visualItemRect(engine).center();
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(engine->isExpanded());
    EXPECT_TRUE(node("pistons.htm")->isExpanded()); // one level only
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(engine->isExpanded());
    EXPECT_EQ(doubleClicks.size(), 0);

    tree.SetOpenBlock(false);
    EXPECT_TRUE(tree.rootIsDecorated());
}

TEST_F(Tree, DoubleClickTogglesWithoutOpenBlock)
{
    tree.LoadTree(s("tree.txt"));
    tree.show();
    QTreeWidgetItem *engine = tree.topLevelItem(0);
    EXPECT_FALSE(engine->isExpanded());
    select(engine);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(engine).center());
    EXPECT_TRUE(engine->isExpanded());
}

TEST_F(Tree, GoLinkAndSyncToPage)
{
    tree.LoadTree(s("tree.txt"));
    QSignalSpy clicks(&tree, &TSkTree::nodeClicked);
    tree.GoLink(s("RINGS.htm"));
    EXPECT_EQ(tree.SelectedLink(), s("rings.htm"));
    EXPECT_TRUE(node("pistons.htm")->isExpanded()); // made visible
    tree.GoLink(s("nowhere.htm"));
    EXPECT_TRUE(tree.SelectedNode() == nullptr);

    tree.SyncToPage(s("valves.htm"));
    EXPECT_EQ(tree.SelectedLink(), s("valves.htm"));
    const int recorded = tree.HistoryCount();
    tree.SyncToPage(s("VALVES.HTM")); // the same page: nothing moves
    EXPECT_EQ(tree.HistoryCount(), recorded);
    tree.SyncToPage(s("pump.htm"));
    EXPECT_EQ(tree.SelectedLink(), s("Pump.htm"));
    tree.SyncToPage(s("nowhere.htm"));
    EXPECT_TRUE(tree.SelectedNode() == nullptr);
    // Following the page view never runs the tree's action.
    EXPECT_EQ(clicks.size(), 0);
}

TEST_F(Tree, SyncToPageIgnoresCyrillicCase)
{
    TestArchive archive;
    // "Глава;Двигатель.htm"
    archive.add("cyr.txt", "\xC3\xEB\xE0\xE2\xE0;\xC4\xE2\xE8\xE3\xE0\xF2\xE5\xEB\xFC.htm\r\n");
    dir.write(s("interface.dat"), archive.bytes());
    ASSERT_TRUE(OpenArchive(dir.folder() + s("interface.dat")));
    tree.LoadTree(s("cyr.txt"));
    tree.SyncToPage(s("двигатель.htm"));
    EXPECT_EQ(tree.SelectedLink(), s("Двигатель.htm"));
}

TEST_F(Tree, ShowOrHideKeepsThePlace)
{
    QWidget parent;
    TSkTree child(&parent);
    child.move(12, 34);
    child.ShowOrHide();
    EXPECT_TRUE(child.isHidden());
    child.move(0, 0);
    child.ShowOrHide();
    EXPECT_FALSE(child.isHidden());
    EXPECT_EQ(child.pos(), QPoint(12, 34));
}

TEST_F(Tree, ExpandAndCollapseEveryNode)
{
    tree.LoadTree(s("tree.txt"));
    tree.ExpandAllNodes();
    EXPECT_TRUE(node("pistons.htm")->isExpanded());
    EXPECT_TRUE(tree.topLevelItem(1)->isExpanded());
    tree.CollapseAllNodes();
    EXPECT_FALSE(tree.topLevelItem(0)->isExpanded());
    EXPECT_FALSE(node("pistons.htm")->isExpanded());
}

TEST_F(Tree, LookOfSelectionAndHotNode)
{
    tree.SetSelectColor(QColor(10, 20, 30));
    EXPECT_EQ(tree.palette().color(QPalette::Inactive, QPalette::Highlight), QColor(10, 20, 30));
    EXPECT_EQ(tree.palette().color(QPalette::Active, QPalette::Highlight), QColor(10, 20, 30));
    EXPECT_TRUE(tree.HotFont().underline());
    EXPECT_EQ(tree.frameShape(), QFrame::NoFrame);
    tree.SetBorder(true);
    EXPECT_EQ(tree.frameShape(), QFrame::Box);
    EXPECT_EQ(tree.frameWidth(), 1);
    EXPECT_EQ(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(Tree, DestroyedWithSelectionAndButtons)
{
    QToolButton next;
    {
        TSkTree local;
        local.LoadTree(s("tree.txt"));
        local.SetNextButton(&next);
        local.setCurrentItem(local.topLevelItem(0));
    }
    auto button = std::make_unique<QToolButton>();
    tree.LoadTree(s("flat.txt"));
    tree.SetNextButton(button.get());
    button.reset(); // a destroyed button drops out
    select(tree.topLevelItem(1));
    EXPECT_TRUE(tree.NextButton() == nullptr);
}

TEST_F(Tree, FollowsTheLinkedPageView)
{
    tree.LoadTree(s("linked.txt"));
    TSkHtml view;
    TPageTreeLinks::of(&view).SetTree(&tree);
    QSignalSpy clicks(&tree, &TSkTree::nodeClicked);
    view.SyncTree(s("PAGES\\P.HTM"));
    EXPECT_EQ(tree.SelectedLink(), s("pages\\p.htm"));
    EXPECT_TRUE(tree.topLevelItem(0)->isExpanded());
    EXPECT_EQ(tree.HistoryCaptions(), QStringList{s("Page")});
    EXPECT_EQ(clicks.size(), 0);
}
