#include "controls/PageView.h"

#include "../support/TempDir.h"
#include "../support/TestArchive.h"
#include "controls/Label.h"
#include "core/ResourceArchive.h"
#include "engine/PageTreeLinks.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Jpeg.h"
#include "platform/Printers.h"
#include "platform/Shell.h"
#include "platform/Text.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextFrame>

#include <gtest/gtest.h>
#include <memory>
#include <ostream>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QByteArray cp1251(const QString &text)
{
    return platform::encode1251(text);
}

QByteArray page(const QString &title, const QString &body, const QString &head = {})
{
    return cp1251(QStringLiteral("<html><head><title>") + title + QStringLiteral("</title>") +
                  head + QStringLiteral("</head><body>") + body + QStringLiteral("</body></html>"));
}

QByteArray jpeg(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return platform::encodeJpeg(image, 95);
}

// A tall page: numbered paragraphs, one of them with a word found nowhere else.
QByteArray tallPage(const QString &title, int paragraphs)
{
    QString body;
    for (int i = 0; i < paragraphs; ++i)
        body += QStringLiteral("<p>Абзац %1 текста</p>").arg(i);
    body += QStringLiteral("<p><a name=\"end\">Последний</a> КАРДАН</p>");
    return page(title, body);
}

// Records the names a page view hands to the tree it is linked to.
class FakeTree : public QObject
{
    Q_OBJECT

public slots:
    void SyncToPage(const QString &fileName) { pages.append(fileName); }

public:
    QStringList pages;
};

using FakeTreeEx = FakeTree;

// A manual in a temporary application folder, packed into "interface.dat".
class HtmlViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setAppFolderOverride(dir.folder());
        TestArchive archive;
        archive
            .add("index.htm", page(QStringLiteral("Оглавление"), QStringLiteral("<p>Начало</p>")))
            .add(
                "a\\page1.htm",
                page(QStringLiteral("Страница 1"),
                     QStringLiteral("<p class=\"mark\">Колесо</p><img src=\"pics/wheel.jpg\">"),
                     QStringLiteral("<link rel=\"stylesheet\" href=\"style.css\">"
                                    "<link rel=\"alternate\" type=\"text/css\" href=\"alt.css\">")))
            .add("a\\page2.htm", page(QStringLiteral("Страница 2"), QStringLiteral("<p>Два</p>")))
            .add(
                "a\\links.htm",
                page(QStringLiteral("Ссылки"),
                     QStringLiteral("<p><a href=\"page2.htm\">два</a> <a href=\"#x\">якорь</a> "
                                    "<a href=\"page1.htm\" style=\"color: #00ff00\">один</a></p>")))
            .add("a\\style.css", "p.mark { background-color: #ff0000; }")
            .add("a\\alt.css", "p.mark { background-color: #00ff00; }")
            .add("a\\pics\\wheel.jpg", jpeg(40, 30, Qt::blue))
            .add("a\\pics\\wheel.jpeg", jpeg(40, 30, Qt::blue))
            .add("a\\missing_pics.htm",
                 page(QStringLiteral("Без картинок"),
                      QStringLiteral("<img src=\"none.jpg\"><img src=\"none.gif\">")))
            .add("tall.htm", tallPage(QStringLiteral("Длинная"), 200))
            .add("wide.htm", page(QStringLiteral("Широкая"),
                                  QStringLiteral("<img src=\"a/pics/wheel.jpg\" width=\"3000\" "
                                                 "height=\"3000\">")));
        for (int i = 1; i <= 22; ++i)
            archive.add(QStringLiteral("h%1.htm").arg(i).toLatin1(),
                        page(QStringLiteral("Стр %1").arg(i), QStringLiteral("<p>x</p>")));
        dir.write(QStringLiteral("interface.dat"), archive.bytes());
        ASSERT_TRUE(OpenArchive(dir.folder() + QStringLiteral("interface.dat")));

        view = std::make_unique<TSkHtml>();
        view->resize(400, 300);
        view->show();
        label = std::make_unique<TSkLabel>();
        view->SetTitleLabel(label.get());
        view->OnCommand = [this](RHelpAction &record) {
            commands.append(record.Action);
        };
    }

    void TearDown() override
    {
        view.reset();
        CloseArchive();
        platform::setAppFolderOverride(QString());
    }

    QString full(const QString &relative) const { return dir.folder() + relative; }

    TempDir dir;
    platform::ScopedRecordingDialogs dialogs;
    platform::ScopedRecordingShell shell;
    std::unique_ptr<TSkHtml> view;
    std::unique_ptr<TSkLabel> label;
    QStringList commands;
};

} // namespace

TEST_F(HtmlViewTest, LoadPageShowsThePageAndRecordsIt)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\page1.htm")));
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\page1.htm")));
    EXPECT_EQ(view->CurrentTitle(), QStringLiteral("Страница 1"));
    EXPECT_EQ(view->HistoryFiles(), QStringList{full(QStringLiteral("a\\page1.htm"))});
    EXPECT_EQ(view->HistoryIndex(), 0);
    EXPECT_EQ(label->text(), QStringLiteral("Страница 1"));
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Колесо")));

    // A name relative to the folder of the page shown before wins over the
    // application folder.
    ASSERT_TRUE(view->LoadPage(QStringLiteral("page2.htm")) == false);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Не найден файл: page2.htm")});
    dialogs.clear();
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\page2.htm#top")));
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\page2.htm")));
    EXPECT_EQ(label->text(), QStringLiteral("Страница 2"));
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(HtmlViewTest, MissingPageKeepsPageHistoryAndPosition)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("tall.htm")));
    view->verticalScrollBar()->setValue(200);
    const QStringList history = view->HistoryFiles();

    EXPECT_FALSE(view->LoadPage(QStringLiteral("nowhere.htm")));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Не найден файл: nowhere.htm")});
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("tall.htm")));
    EXPECT_EQ(view->HistoryFiles(), history);
    EXPECT_EQ(view->verticalScrollBar()->value(), 200);
    EXPECT_EQ(label->text(), QStringLiteral("Длинная"));
    // Ignored requests say nothing.
    EXPECT_FALSE(view->LoadPage(QString()));
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(HtmlViewTest, SamePageAgainAddsNoEntryAndKeepsTheTitleLabel)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("index.htm")));
    label->SetCaption(QStringLiteral("changed elsewhere"));
    int changes = 0;
    QObject::connect(view.get(), &THtmlEx::historyChanged, [&] { ++changes; });
    ASSERT_TRUE(view->LoadPage(QStringLiteral("INDEX.htm")));
    EXPECT_EQ(view->History().size(), 1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(label->text(), QStringLiteral("changed elsewhere"));
}

TEST_F(HtmlViewTest, HistoryKeepsTwentyAndDropsNewerEntriesAfterGoingBack)
{
    for (int i = 1; i <= 21; ++i)
        ASSERT_TRUE(view->LoadPage(QStringLiteral("h%1.htm").arg(i)));
    ASSERT_EQ(view->History().size(), 20);
    EXPECT_EQ(view->HistoryFiles().first(), full(QStringLiteral("h21.htm")));
    EXPECT_EQ(view->HistoryFiles().last(), full(QStringLiteral("h2.htm"))); // h1 dropped
    EXPECT_EQ(view->HistoryTitles().first(), QStringLiteral("Стр 21"));

    view->GoBack();
    view->GoBack();
    view->GoBack();
    EXPECT_EQ(view->HistoryIndex(), 3);
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("h18.htm")));
    EXPECT_EQ(label->text(), QStringLiteral("Стр 18"));

    ASSERT_TRUE(view->LoadPage(QStringLiteral("index.htm")));
    EXPECT_EQ(view->History().size(), 18);
    EXPECT_EQ(view->HistoryIndex(), 0);
    EXPECT_EQ(view->HistoryFiles().mid(0, 3),
              (QStringList{full(QStringLiteral("index.htm")), full(QStringLiteral("h18.htm")),
                           full(QStringLiteral("h17.htm"))}));
}

TEST_F(HtmlViewTest, HistoryMovesRestorePositionAndIgnoreBadIndexes)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("tall.htm")));
    view->verticalScrollBar()->setValue(300);
    ASSERT_TRUE(view->LoadPage(QStringLiteral("index.htm")));
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);

    FakeTree tree;
    TPageTreeLinks::of(view.get()).SetTree(&tree);
    view->GoBack();
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("tall.htm")));
    EXPECT_EQ(view->verticalScrollBar()->value(), 300);
    EXPECT_EQ(tree.pages, QStringList{QStringLiteral("tall.htm")});

    // Outside the history, at the current index: nothing moves, but GoBack
    // still keeps the tree in step.
    EXPECT_FALSE(view->GoHistory(5));
    EXPECT_FALSE(view->GoHistory(-1));
    EXPECT_FALSE(view->GoHistory(1));
    view->GoBack();
    EXPECT_EQ(view->HistoryIndex(), 1);
    EXPECT_EQ(tree.pages.size(), 2);

    view->GoForward();
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("index.htm")));
    EXPECT_EQ(view->HistoryIndex(), 0);
    EXPECT_EQ(tree.pages.last(), QStringLiteral("index.htm"));
}

TEST_F(HtmlViewTest, BusyViewIgnoresLoadsAndHistoryMoves)
{
    // A message box inside a load runs a nested loop, where the reader may
    // click again: those requests are ignored.
    class Reentering : public platform::RecordingDialogs
    {
    public:
        void message(platform::MessageKind kind, const QString &title, const QString &text) override
        {
            RecordingDialogs::message(kind, title, text);
            nestedLoad = view->LoadPage(QStringLiteral("index.htm"));
            nestedMove = view->GoHistory(1);
            view->HotSpotClick(QStringLiteral("pics/wheel.jpg")); // shown as a page when idle
        }
        TSkHtml *view = nullptr;
        bool nestedLoad = true;
        bool nestedMove = true;
    } reentering;
    reentering.view = view.get();
    ASSERT_TRUE(view->LoadPage(QStringLiteral("h1.htm")));
    ASSERT_TRUE(view->LoadPage(QStringLiteral("h2.htm")));
    platform::setDialogs(&reentering);
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\missing_pics.htm"))); // the GIF is reported
    platform::setDialogs(&dialogs);
    ASSERT_EQ(reentering.messages.size(), 1);
    EXPECT_FALSE(reentering.nestedLoad);
    EXPECT_FALSE(reentering.nestedMove);
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\missing_pics.htm")));
}

TEST_F(HtmlViewTest, PicturesAndStyleSheetsComeFromTheArchive)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\page1.htm")));
    EXPECT_TRUE(dialogs.texts().isEmpty());
    const QImage shot = view->viewport()->grab().toImage();
    int red = 0, green = 0, blue = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60 && c.blue() < 60;
            green += c.green() > 200 && c.red() < 60 && c.blue() < 60;
            blue += c.blue() > 200 && c.red() < 60 && c.green() < 60;
        }
    }
    EXPECT_GT(red, 100);      // p.mark from the linked style sheet
    EXPECT_EQ(green, 0);      // the alternate sheet is not read
    EXPECT_GT(blue, 40 * 20); // the picture
}

TEST_F(HtmlViewTest, MissingPicturesStayEmptyAndOnlyTheGifIsReported)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\missing_pics.htm")));
    view->viewport()->grab();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Не найден файл \r\n") +
                                           full(QStringLiteral("a\\none.gif"))});
}

TEST_F(HtmlViewTest, LinksAreRoutedByTheirTargets)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\page1.htm")));
    const QString pics = full(QStringLiteral("a\\pics\\wheel.jpg"));
    struct Case
    {
        const char *target;
        const char *prefix;
        bool handled;
        QStringList commands;
        QStringList shell;
    };
    const QString swf = QStringLiteral("swf*") + full(QStringLiteral("a\\film.swf"));
    const Case cases[] = {
        {"$go_find", "", true, {QStringLiteral("go_find")}, {}},
        {"$go_find", "tree_go*tree1", true, {QStringLiteral("tree_go*tree1*go_find")}, {}},
        {"film.swf", "", false, {swf}, {}},
        {"http://www.example.ru/", "", true, {}, {QStringLiteral("http://www.example.ru/")}},
        {"FTP://files/x.zip", "", true, {}, {QStringLiteral("FTP://files/x.zip")}},
        {"mailto:master@example.ru", "", false, {}, {QStringLiteral("mailto:master@example.ru")}},
        {"docs/manual.pdf", "", false, {}, {QStringLiteral("docs/manual.pdf")}},
        {"page2.htm#x", "", false, {}, {}},
        {"#top", "", false, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.target);
        commands.clear();
        shell.requests.clear();
        view->ActionPrefix = QString::fromUtf8(c.prefix);
        bool handled = false;
        view->RouteLink(QString::fromUtf8(c.target), handled);
        EXPECT_EQ(handled, c.handled);
        EXPECT_EQ(commands, c.commands);
        QStringList opened;
        for (const platform::ShellRequest &r : shell.requests) {
            opened.append(r.target);
            EXPECT_EQ(r.verb, QStringLiteral("open"));
            EXPECT_TRUE(r.parameters.isEmpty());
        }
        EXPECT_EQ(opened, c.shell);
    }
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\page1.htm"))); // routing loads nothing
}

TEST_F(HtmlViewTest, ClickedLinksAreFollowedUnlessHandled)
{
    FakeTree tree;
    TPageTreeLinks::of(view.get()).SetTree(&tree);
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\page1.htm")));

    // A page link: the tree moves to it (lower-cased), the viewer loads it
    // (the name as written).
    view->HotSpotClick(QStringLiteral("Page2.htm#x"));
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\Page2.htm")));
    EXPECT_EQ(tree.pages, QStringList{QStringLiteral("a\\page2.htm")});
    EXPECT_EQ(view->History().size(), 2);

    // A picture in capitals is a picture; until the picture window exists it
    // is shown as a picture page.
    view->HotSpotClick(QStringLiteral("pics/wheel.JPG"));
    EXPECT_EQ(view->CurrentType(), THtmlEx::TFileType::Picture);
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\pics\\wheel.JPG")));
    EXPECT_TRUE(shell.requests.isEmpty());
    view->GoBack();
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\Page2.htm")));

    // The four-letter extension goes to the desktop, and the viewer shows it too.
    view->HotSpotClick(QStringLiteral("pics/wheel.jpeg"));
    ASSERT_EQ(shell.requests.size(), 1);
    EXPECT_EQ(shell.requests[0].target, QStringLiteral("pics/wheel.jpeg"));
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\pics\\wheel.jpeg")));
    view->GoBack();

    // A secure address ending in .htm is taken for a page that is nowhere.
    view->HotSpotClick(QStringLiteral("https://example.ru/a.htm"));
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("Не найден файл: https://example.ru/a.htm")});
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\Page2.htm")));

    // A command naming a page is only a command.
    dialogs.clear();
    view->HotSpotClick(QStringLiteral("$html_load*html_see*x.htm"));
    EXPECT_EQ(commands, QStringList{QStringLiteral("html_load*html_see*x.htm")});
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(HtmlViewTest, FollowedLinksShowInTheVisitedColour)
{
    // The texts of the page's links drawn in the visited colour.
    const auto visitedLinks = [this] {
        QStringList out;
        for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.isAnchor() && f.foreground().color() == QColor(0x80, 0x00, 0x80))
                    out << it.fragment().text();
            }
        }
        return out;
    };
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\links.htm")));
    EXPECT_TRUE(visitedLinks().isEmpty());
    view->HotSpotClick(QStringLiteral("page2.htm"));
    view->HotSpotClick(QStringLiteral("page1.htm"));
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\links.htm")));
    // The page's own link colour stays.
    EXPECT_EQ(visitedLinks(), QStringList{QStringLiteral("два")});
}

TEST_F(HtmlViewTest, PictureLinksOpenTheWindowOrBecomeCommands)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\page1.htm")));
    QStringList shown;
    TSkHtml::SetShowPictureWindow(
        [&](TSkHtml &, const QString &base, const QString &target) { shown << base << target; });
    view->HotSpotClick(QStringLiteral("pics/wheel.jpg"));
    TSkHtml::SetShowPictureWindow({});
    EXPECT_EQ(shown, (QStringList{full(QStringLiteral("a\\page1.htm")),
                                  QStringLiteral("pics/wheel.jpg")}));

    view->ShowPicturesInWindow = false;
    view->ActionPrefix = QStringLiteral("img_show*strip");
    bool handled = false;
    view->RouteLink(QStringLiteral("pics/wheel.gif"), handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(commands, QStringList{QStringLiteral("img_show*strip*pics/wheel.gif")});
    EXPECT_EQ(view->CurrentFile(), full(QStringLiteral("a\\page1.htm")));
}

TEST_F(HtmlViewTest, AnchorsScrollAndJumpsWithinThePageAreHistorySteps)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("tall.htm#end")));
    const int end = view->verticalScrollBar()->value();
    EXPECT_GT(end, 1000);
    view->GoTop();
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);

    view->HotSpotClick(QStringLiteral("#end"));
    EXPECT_EQ(view->verticalScrollBar()->value(), end);
    EXPECT_EQ(view->History().size(), 2);
    view->GoBack();
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);

    // A text page in between has no history of its own; coming back to the
    // page is a new step.
    view->LoadHtmlText(QStringLiteral("<p>x</p>"));
    ASSERT_TRUE(view->LoadPage(QStringLiteral("tall.htm")));
    EXPECT_EQ(view->History().size(), 2);
    EXPECT_EQ(view->HistoryIndex(), 0);
}

TEST_F(HtmlViewTest, SyncTreePrefersTheCheckableTreeAndForgetsDestroyedTrees)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\page1.htm")));
    view->SyncTree(QStringLiteral("page2.htm")); // no tree: nothing happens

    auto tree = std::make_unique<FakeTree>();
    TPageTreeLinks::of(view.get()).SetTree(tree.get());
    // Not at the application folder: taken from the folder of the page shown.
    view->SyncTree(QStringLiteral("page2.htm"));
    view->SyncTree(full(QStringLiteral("index.htm")));
    EXPECT_EQ(tree->pages,
              (QStringList{QStringLiteral("a\\page2.htm"), QStringLiteral("index.htm")}));

    FakeTreeEx treeEx;
    TPageTreeLinks::of(view.get()).SetTreeEx(&treeEx);
    view->SyncTree(QStringLiteral("page2.htm"));
    EXPECT_EQ(treeEx.pages, QStringList{QStringLiteral("page2.htm")});
    EXPECT_EQ(tree->pages.size(), 2);

    TPageTreeLinks::of(view.get()).SetTreeEx(nullptr);
    tree.reset();
    EXPECT_EQ(TPageTreeLinks::of(view.get()).Tree(), nullptr);
    view->SyncTree(QStringLiteral("index.htm")); // must not touch the freed tree
}

TEST_F(HtmlViewTest, FindTextWrapsOnceAndKeepsTheSelectionWhenNotFound)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("tall.htm")));
    EXPECT_TRUE(view->FindText(QStringLiteral("кардан")));
    EXPECT_EQ(view->SelectedText(), QStringLiteral("КАРДАН"));
    // The match near the end of the page is brought to the middle.
    const QRect at = view->cursorRect();
    EXPECT_GT(at.top(), 0);
    EXPECT_LT(at.top(), view->viewport()->height() - 20);

    // Only above the caret now: found through the wrap to the top.
    EXPECT_TRUE(view->FindText(QStringLiteral("абзац 3 ")));
    EXPECT_EQ(view->SelectedText(), QStringLiteral("Абзац 3 "));
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);

    const int caret = view->textCursor().position();
    EXPECT_FALSE(view->FindText(QStringLiteral("шестерня")));
    EXPECT_FALSE(view->FindText(QString()));
    EXPECT_EQ(view->textCursor().position(), caret);
    EXPECT_EQ(view->SelectedText(), QStringLiteral("Абзац 3 "));
}

TEST_F(HtmlViewTest, ScrollBarsOnlyWhenTheDocumentIsLarger)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("index.htm")));
    EXPECT_FALSE(view->HorzBarVisible());
    EXPECT_FALSE(view->VertBarVisible());

    ASSERT_TRUE(view->LoadPage(QStringLiteral("tall.htm")));
    EXPECT_TRUE(view->VertBarVisible());
    EXPECT_FALSE(view->HorzBarVisible());
    view->SetVertBarAllowed(false);
    EXPECT_FALSE(view->VertBarVisible());
    EXPECT_EQ(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    view->SetVertBarAllowed(true);
    EXPECT_TRUE(view->VertBarVisible());

    ASSERT_TRUE(view->LoadPage(QStringLiteral("wide.htm")));
    EXPECT_TRUE(view->HorzBarVisible());
    view->SetHorzBarAllowed(false);
    EXPECT_FALSE(view->HorzBarVisible());

    // A short page after a long one gives the width back.
    ASSERT_TRUE(view->LoadPage(QStringLiteral("index.htm")));
    EXPECT_FALSE(view->VertBarVisible());
    EXPECT_EQ(view->viewport()->width(), view->width());

    // The bars follow the view's size.
    view->SetHorzBarAllowed(true);
    view->LoadHtmlLines({QStringLiteral("<p>1</p><p>2</p><p>3</p><p>4</p>")});
    EXPECT_FALSE(view->VertBarVisible());
    view->resize(400, 40);
    QApplication::processEvents();
    EXPECT_TRUE(view->VertBarVisible());
    view->resize(400, 300);
    QApplication::processEvents();
    EXPECT_FALSE(view->VertBarVisible());
}

TEST_F(HtmlViewTest, ViewerDefaultsThePagesRelyOn)
{
    EXPECT_EQ(view->DefFontName(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(view->document()->defaultFont().pointSize(), 12);
    view->LoadHtmlLines({QStringLiteral("<p>a</p><pre>b</pre>")});
    const QTextBlock pre = view->document()->begin().next();
    EXPECT_EQ(pre.begin().fragment().charFormat().font().families().value(0),
              QStringLiteral("Courier New"));
    const QTextFrameFormat root = view->document()->rootFrame()->frameFormat();
    EXPECT_EQ(root.leftMargin(), 10);
    EXPECT_EQ(root.rightMargin(), 10);
    EXPECT_EQ(root.topMargin(), 5);
    EXPECT_EQ(root.bottomMargin(), 5);
    EXPECT_EQ(view->palette().color(QPalette::Base), view->palette().color(QPalette::Button));
    EXPECT_EQ(view->palette().color(QPalette::Link), QColor(Qt::blue));

    view->SetDefaultFont(QStringLiteral("Arial"), 14);
    EXPECT_EQ(view->document()->defaultFont().family(), QStringLiteral("Arial"));
    EXPECT_EQ(view->document()->defaultFont().pointSize(), 14);
}

TEST_F(HtmlViewTest, DragToScrollMovesATenthOfTheDistancePerMove)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("wide.htm")));
    view->SetMoveCursor(true);
    EXPECT_TRUE(view->NoSelect());
    QWidget *port = view->viewport();
    const QPoint press(200, 100);
    QMouseEvent down(QEvent::MouseButtonPress, press, port->mapToGlobal(press), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port, &down);
    const QPoint held(100, 100); // 100 pixels left of the press point
    const int limit = view->horizontalScrollBar()->maximum();
    ASSERT_GT(limit, 100);
    for (int i = 1; i <= 3; ++i) {
        QMouseEvent move(QEvent::MouseMove, held, port->mapToGlobal(held), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(port, &move);
        EXPECT_EQ(view->GetHorzPos(), 10 * i);
    }
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    view->SetHorzPos(limit - 5);
    QMouseEvent move(QEvent::MouseMove, held, port->mapToGlobal(held), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(port, &move);
    EXPECT_EQ(view->GetHorzPos(), limit); // the viewer's limit

    QMouseEvent up(QEvent::MouseButtonRelease, held, port->mapToGlobal(held), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(port, &up);
    view->SetHorzPos(0);
    QApplication::sendEvent(port, &move);
    EXPECT_EQ(view->GetHorzPos(), 0); // released: no more scrolling
}

TEST_F(HtmlViewTest, PagesFromMemory)
{
    // Text pages keep the vertical position while the base folder stays.
    view->LoadHtmlText(QString::fromUtf8(tallPage(QStringLiteral("t"), 200)));
    view->verticalScrollBar()->setValue(250);
    view->LoadHtmlText(QString::fromUtf8(tallPage(QStringLiteral("t"), 200)));
    EXPECT_EQ(view->verticalScrollBar()->value(), 250);
    EXPECT_TRUE(view->History().isEmpty());
    view->LoadHtmlLines({QString::fromUtf8(tallPage(QStringLiteral("t"), 200))});
    EXPECT_EQ(view->verticalScrollBar()->value(), 0); // no base folder now

    // Relative names of text pages are the application folder's.
    view->LoadHtmlText(QStringLiteral("<img src=\"a/pics/wheel.jpg\">"));
    EXPECT_GT(view->document()->size().width(), 40);

    EXPECT_EQ(
        view->ShowPicture(full(QStringLiteral("a\\page1.htm")), QStringLiteral("pics\\wheel.jpg")),
        full(QStringLiteral("a\\pics\\wheel.jpg")));
    EXPECT_GE(view->document()->size().height(), 30);
    EXPECT_TRUE(view->CurrentFile().isEmpty());
    EXPECT_TRUE(dialogs.texts().isEmpty());

    view->ShowCentered(QStringLiteral("<b>Нет данных</b>"), QString());
    EXPECT_TRUE(view->toHtml().contains(QStringLiteral("Нет данных")));
    EXPECT_EQ(view->toPlainText().trimmed(), QStringLiteral("Нет данных"));
}

TEST_F(HtmlViewTest, CopyAndSelectAll)
{
    ASSERT_TRUE(view->LoadPage(QStringLiteral("a\\page2.htm")));
    view->SelectAllText();
    EXPECT_EQ(view->SelectedText(), QStringLiteral("Два"));
    view->CopySelection();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Два"));
    view->GoTop();

    view->SetMoveCursor(true);
    view->setTextCursor(QTextCursor(view->document()));
    view->SelectAllText();
    EXPECT_TRUE(view->SelectedText().isEmpty());
}

TEST_F(HtmlViewTest, PrintPageOffersThePageRangeAndPrintsTheChoice)
{
    platform::FixedPrinters printers(QStringLiteral("Test printer"));
    platform::setPrinters(&printers);
    ASSERT_TRUE(view->LoadPage(QStringLiteral("tall.htm")));

    view->PrintPage(); // cancelled
    ASSERT_EQ(dialogs.printRequests.size(), 1);
    const platform::PrintDialogRequest request = dialogs.printRequests[0];
    EXPECT_EQ(request.minPage, 1);
    EXPECT_EQ(request.fromPage, 1);
    EXPECT_GT(request.maxPage, 1);
    EXPECT_EQ(request.toPage, request.maxPage);

    platform::PrintDialogAnswer answer;
    answer.accepted = true;
    answer.allPages = false;
    answer.fromPage = 2;
    answer.toPage = 2;
    answer.outputFile = dir.folder() + QStringLiteral("out.pdf");
    dialogs.printAnswers.append(answer);
    view->PrintPage();
    const QByteArray pdf = dir.read(QStringLiteral("out.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
    platform::setPrinters(nullptr);
}

#include "PageViewTest.moc"
