#pragma once

#include "platform/Align.h"

#include <QFlags>
#include <QObject>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

// The form framework's placement rules for the controls that structure files
// put on a container: alignment, anchors and size constraints, applied at
// once (not at the next event loop turn), so that a window being built reads
// the sizes it has just set even before it is shown.
namespace platform {

enum Anchor
{
    AnchorLeft = 0x1,
    AnchorTop = 0x2,
    AnchorRight = 0x4,
    AnchorBottom = 0x8
};
Q_DECLARE_FLAGS(Anchors, Anchor)
Q_DECLARE_OPERATORS_FOR_FLAGS(Anchors)

// 0 means no limit.
struct SizeConstraints
{
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};

// Edges of the anchor rule; an empty one is "not fixed".
struct AnchorEdges
{
    std::optional<int> left, top, right, bottom;
};

// Lays out the direct child widgets of one container:
// - aligned controls: top ones stacked from the top in the order of their top
//   edges, then bottom ones from the bottom, left, right, and client fills the
//   rest; a control whose change started the re-alignment wins a tie; hidden
//   controls take no room;
// - controls aligned none or custom keep their bounds, and follow the
//   container's size by their anchors: left and right stretch, right only
//   moves with the right edge, neither keeps the centre at the same share of
//   the width; the same vertically. Distances are measured when anchors or
//   bounds are set, and whenever a control is moved from outside the layout.
// Size constraints are the widgets' minimum and maximum sizes, which every
// geometry change honours.
class FormLayout : public QObject
{
    Q_OBJECT

public:
    // The layout of a container, made on first use.
    static FormLayout *of(QWidget *container);
    static FormLayout *find(const QWidget *container);

    static TAlign align(const QWidget *control);
    static void setAlign(QWidget *control, TAlign align);

    static Anchors anchors(const QWidget *control); // Left|Top unless set
    static void setAnchors(QWidget *control, Anchors anchors);

    static SizeConstraints constraints(const QWidget *control);
    static void setConstraints(QWidget *control, const SizeConstraints &constraints);

    // Moves and sizes a control in one step (constraints honoured), then lets
    // its container re-align and measures its anchors anew.
    static void setBounds(QWidget *control, const QRect &bounds);

    // The anchor rule of the structure files: each edge given is a distance
    // from the container's client edge on that side; with both edges of an
    // axis the control spans between them, with one it keeps its extent, with
    // neither it keeps its place. The bounds are set at once and the anchors
    // of the given edges added. Answers the axes along which neither edge was
    // given (callers centre panels along them).
    static Qt::Orientations placeAnchored(QWidget *control, const AnchorEdges &edges);

    // Size of the container's client area, with every size change still
    // waiting for the container or its ancestors applied first.
    static QSize clientSize(QWidget *container);

    // Delivers resize notices that Qt holds back for widgets not yet shown,
    // from the window down to the widget, so every layout on the way is current.
    static void flush(QWidget *widget);

    // Sets a widget's geometry and lets its own children follow at once.
    static void applyGeometry(QWidget *widget, const QRect &geometry);

    void realign(QWidget *trigger = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FormLayout(QWidget *container);
    void watch(QWidget *child);
    void arrange(QWidget *trigger);
    void applyAnchors(QWidget *control);

    QWidget *m_container;
    int m_arranging = 0;
};

} // namespace platform
