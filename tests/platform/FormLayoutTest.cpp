#include "platform/FormLayout.h"

#include "platform/Notebook.h"
#include "platform/Splitter.h"

#include <QApplication>
#include <QMap>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

void PrintTo(const QRect &r, std::ostream *os)
{
    *os << "(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace {

using namespace platform;
using std::nullopt;

// Events share their point's state with the device: make each one just
// before it is sent.
void sendMouse(QWidget *receiver, QEvent::Type type, QPointF at, Qt::MouseButton button)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, at, at, button, held, Qt::NoModifier);
    QApplication::sendEvent(receiver, &event);
}

QWidget *control(QWidget *parent, const char *name, QRect geometry)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    w->show(); // a child made after its parent was shown starts hidden
    return w;
}

// A container filling a top-level window (so that a resize travels through
// two layouts), 400 x 300 at first.
struct Stage
{
    explicit Stage(bool shown)
        : window(std::make_unique<QWidget>())
        , shown(shown)
    {
        window->resize(400, 300);
        parent = new QWidget(window.get());
        FormLayout::setAlign(parent, TAlign::Client);
        if (shown)
            window->show();
    }

    void growTo(int width, int height)
    {
        window->resize(width, height);
        if (!shown) // a window not shown hears of its size when something asks
            FormLayout::flush(parent);
    }

    QRect at(const char *name) const
    {
        auto *w = parent->findChild<QWidget *>(QString::fromLatin1(name));
        return w ? w->geometry() : QRect();
    }

    std::unique_ptr<QWidget> window;
    QWidget *parent = nullptr;
    bool shown;
};

struct LayoutCase
{
    const char *name;
    std::function<void(QWidget *parent)> build;
    QMap<QString, QRect> at400; // parent 400 x 300
    QMap<QString, QRect> at600; // after the window grows to 600 x 500
};

const LayoutCase layoutCases[] = {
    {"alignments in mixed order",
     [](QWidget *p) {
         FormLayout::setAlign(control(p, "T", {0, 0, 10, 30}), TAlign::Top);
         FormLayout::setAlign(control(p, "B", {0, 0, 10, 40}), TAlign::Bottom);
         FormLayout::setAlign(control(p, "L", {0, 0, 60, 10}), TAlign::Left);
         FormLayout::setAlign(control(p, "R", {0, 0, 70, 10}), TAlign::Right);
         FormLayout::setAlign(control(p, "C", {0, 0, 10, 10}), TAlign::Client);
         FormLayout::setAlign(control(p, "T2", {0, 100, 10, 20}), TAlign::Top); // below T
         QWidget *hidden = control(p, "H", {0, 0, 10, 25});
         hidden->hide();
         FormLayout::setAlign(hidden, TAlign::Top);
         FormLayout::setAlign(control(p, "N", {150, 120, 30, 30}), TAlign::None);
         FormLayout::setAlign(control(p, "U", {160, 130, 30, 30}), TAlign::Custom);
     },
     {{"T", {0, 0, 400, 30}},
      {"T2", {0, 30, 400, 20}},
      {"B", {0, 260, 400, 40}},
      {"L", {0, 50, 60, 210}},
      {"R", {330, 50, 70, 210}},
      {"C", {60, 50, 270, 210}},
      {"N", {150, 120, 30, 30}},
      {"U", {160, 130, 30, 30}}},
     {{"T", {0, 0, 600, 30}},
      {"T2", {0, 30, 600, 20}},
      {"B", {0, 460, 600, 40}},
      {"L", {0, 50, 60, 410}},
      {"R", {530, 50, 70, 410}},
      {"C", {60, 50, 470, 410}},
      {"N", {150, 120, 30, 30}},
      {"U", {160, 130, 30, 30}}}},
    {"anchors on all sides",
     [](QWidget *p) {
         FormLayout::placeAnchored(control(p, "all", {0, 0, 50, 50}), {10, 10, 10, 10});
         QWidget *rb = control(p, "rb", {0, 0, 80, 25});
         FormLayout::setAnchors(rb, {}); // as the structure engine does before the keys
         FormLayout::placeAnchored(rb, {nullopt, nullopt, 0, 0});
         control(p, "lt", {5, 5, 50, 20});
         FormLayout::setAnchors(control(p, "rt", {300, 40, 50, 20}), AnchorRight | AnchorTop);
         FormLayout::setAnchors(control(p, "none", {175, 140, 50, 20}), {});
         FormLayout::setAnchors(control(p, "lrb", {20, 250, 360, 30}),
                                AnchorLeft | AnchorRight | AnchorBottom);
     },
     {{"all", {10, 10, 380, 280}},
      {"rb", {320, 275, 80, 25}},
      {"lt", {5, 5, 50, 20}},
      {"rt", {300, 40, 50, 20}},
      {"none", {175, 140, 50, 20}},
      {"lrb", {20, 250, 360, 30}}},
     {{"all", {10, 10, 580, 480}},
      {"rb", {520, 475, 80, 25}},
      {"lt", {5, 5, 50, 20}},
      {"rt", {500, 40, 50, 20}},
      {"none", {275, 240, 50, 20}}, // the centre keeps its share
      {"lrb", {20, 450, 560, 30}}}},
    {"size constraints",
     [](QWidget *p) {
         QWidget *bottom = control(p, "bottom", {0, 0, 10, 30});
         FormLayout::setConstraints(bottom, {0, 0, 150, 0});
         FormLayout::setAlign(bottom, TAlign::Bottom);
         QWidget *client = control(p, "client", {0, 0, 10, 10});
         FormLayout::setConstraints(client, {0, 0, 200, 100});
         FormLayout::setAlign(client, TAlign::Client);
         QWidget *small = control(p, "small", {300, 10, 10, 10});
         FormLayout::setConstraints(small, {40, 40, 0, 0});
         FormLayout::setBounds(small, {300, 10, 5, 5});
         QWidget *wide = control(p, "wide", {10, 200, 10, 20});
         FormLayout::setConstraints(wide, {0, 0, 450, 0});
         FormLayout::placeAnchored(wide, {10, nullopt, 10, nullopt});
     },
     {{"bottom", {0, 270, 150, 30}},
      {"client", {0, 0, 200, 100}},
      {"small", {300, 10, 40, 40}},
      {"wide", {10, 200, 380, 20}}},
     {{"bottom", {0, 470, 150, 30}},
      {"client", {0, 0, 200, 100}},
      {"small", {300, 10, 40, 40}},
      {"wide", {10, 200, 450, 20}}}},
};

class LayoutTable : public ::testing::TestWithParam<bool> // window shown or not
{};

TEST_P(LayoutTable, PlacesAndFollowsTheParent)
{
    for (const LayoutCase &c : layoutCases) {
        Stage stage(GetParam());
        c.build(stage.parent);
        for (auto it = c.at400.cbegin(); it != c.at400.cend(); ++it)
            EXPECT_EQ(stage.at(qPrintable(it.key())), it.value())
                << c.name << ": " << it.key().toStdString() << " in 400 x 300";
        stage.growTo(600, 500);
        for (auto it = c.at600.cbegin(); it != c.at600.cend(); ++it)
            EXPECT_EQ(stage.at(qPrintable(it.key())), it.value())
                << c.name << ": " << it.key().toStdString() << " in 600 x 500";
    }
}

INSTANTIATE_TEST_SUITE_P(FormLayout, LayoutTable, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "shown" : "hidden"; });

TEST(FormLayout, NewlyAlignedControlWinsATieAndHiddenOnesTakeNoRoom)
{
    Stage stage(false);
    QWidget *a = control(stage.parent, "A", {0, 0, 10, 30});
    FormLayout::setAlign(a, TAlign::Top);
    QWidget *b = control(stage.parent, "B", {0, 0, 10, 20});
    FormLayout::setAlign(b, TAlign::Top); // same top edge as A: B goes first
    EXPECT_EQ(b->geometry(), QRect(0, 0, 400, 20));
    EXPECT_EQ(a->geometry(), QRect(0, 20, 400, 30));

    QWidget *h = control(stage.parent, "H", {0, 0, 10, 25});
    h->hide();
    FormLayout::setAlign(h, TAlign::Top);
    EXPECT_EQ(b->y(), 0);
    h->show();
    EXPECT_EQ(h->geometry(), QRect(0, 0, 400, 25));
    EXPECT_EQ(b->y(), 25);
    EXPECT_EQ(a->y(), 45);
    h->hide();
    EXPECT_EQ(b->y(), 0);
    EXPECT_EQ(a->y(), 20);

    FormLayout::setBounds(b, {0, 0, 400, 50}); // a new height is kept, the rest moves down
    EXPECT_EQ(a->y(), 50);
}

TEST(FormLayout, NotebookPagesFollowWhileHidden)
{
    Stage stage(false);
    auto *notebook = new Notebook(stage.parent);
    FormLayout::setAlign(notebook, TAlign::Client);
    QWidget *page0 = notebook->addPage(QStringLiteral("p0"));
    QWidget *page1 = notebook->addPage(QStringLiteral("p1"));
    EXPECT_EQ(notebook->currentIndex(), 1);
    EXPECT_TRUE(page0->isHidden());
    QWidget *button = control(page0, "button", {0, 0, 80, 25});
    FormLayout::setAnchors(button, {});
    FormLayout::placeAnchored(button, {nullopt, nullopt, 0, 0});
    EXPECT_EQ(button->geometry(), QRect(320, 275, 80, 25));
    stage.growTo(600, 500);
    EXPECT_EQ(page1->size(), QSize(600, 500));
    EXPECT_EQ(button->geometry(), QRect(520, 475, 80, 25));
}

struct DragCase
{
    TAlign side;
    int delta; // mouse movement along the splitter's axis
    SizeConstraints constraints;
    int extent; // of the panel next to the splitter afterwards
};

class SplitterDrag : public ::testing::TestWithParam<DragCase>
{};

TEST_P(SplitterDrag, ResizesTheControlNextToItWithinLimits)
{
    const DragCase &c = GetParam();
    Stage stage(false);
    QWidget *p = stage.parent;
    const bool across = c.side == TAlign::Top || c.side == TAlign::Bottom;
    QRect panelAt, splitAt;
    switch (c.side) {
    case TAlign::Left:
        panelAt = {0, 0, 100, 10}, splitAt = {100, 0, 5, 10};
        break;
    case TAlign::Right:
        panelAt = {300, 0, 100, 10}, splitAt = {295, 0, 5, 10};
        break;
    case TAlign::Top:
        panelAt = {0, 0, 10, 100}, splitAt = {0, 100, 10, 5};
        break;
    default:
        panelAt = {0, 200, 10, 100}, splitAt = {0, 195, 10, 5};
        break;
    }
    QWidget *panel = control(p, "panel", panelAt);
    FormLayout::setConstraints(panel, c.constraints);
    FormLayout::setAlign(panel, c.side);
    auto *splitter = new Splitter(p);
    splitter->setGeometry(splitAt);
    FormLayout::setAlign(splitter, c.side);
    FormLayout::setAlign(control(p, "rest", {0, 0, 10, 10}), TAlign::Client);
    ASSERT_EQ(splitter->resizedControl(), panel);

    const QPointF from(1, 1);
    const QPointF to = across ? QPointF(1, 1 + c.delta) : QPointF(1 + c.delta, 1);
    sendMouse(splitter, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(splitter, QEvent::MouseMove, to, Qt::NoButton);
    sendMouse(splitter, QEvent::MouseButtonRelease, to, Qt::LeftButton);

    EXPECT_EQ(across ? panel->height() : panel->width(), c.extent);
    // The splitter stays against the panel, and the client takes the rest.
    const QRect s = splitter->geometry();
    const QRect r = panel->geometry();
    switch (c.side) {
    case TAlign::Left:
        EXPECT_EQ(s.x(), r.x() + r.width());
        break;
    case TAlign::Right:
        EXPECT_EQ(s.x() + s.width(), r.x());
        break;
    case TAlign::Top:
        EXPECT_EQ(s.y(), r.y() + r.height());
        break;
    default:
        EXPECT_EQ(s.y() + s.height(), r.y());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FormLayout, SplitterDrag,
    ::testing::Values(DragCase{TAlign::Left, 50, {}, 150},
                      DragCase{TAlign::Left, -90, {}, 30},            // the splitter's minimum
                      DragCase{TAlign::Left, -90, {60, 0, 0, 0}, 60}, // the panel's minimum
                      DragCase{
                          TAlign::Left, 1000, {}, 365}, // 400 - 30 kept - 105 aligned + 100 own
                      DragCase{TAlign::Left, 1000, {0, 0, 200, 0}, 200},
                      DragCase{TAlign::Right, -50, {}, 150}, DragCase{TAlign::Top, 40, {}, 140},
                      DragCase{TAlign::Bottom, -40, {}, 140},
                      DragCase{TAlign::Bottom, 80, {}, 30}));

TEST(FormLayout, SplitterWithNothingNextToItDoesNothing)
{
    Stage stage(false);
    auto *splitter = new Splitter(stage.parent);
    EXPECT_EQ(splitter->resizedControl(), nullptr);
    sendMouse(splitter, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton);
    sendMouse(splitter, QEvent::MouseMove, {40, 1}, Qt::NoButton);
    EXPECT_EQ(splitter->x(), 0);
}

} // namespace
