#include "platform/FormLayout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QResizeEvent>
#include <QVarLengthArray>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr Anchors defaultAnchors = AnchorLeft | AnchorTop;

struct ControlState
{
    TAlign align = TAlign::None;
    Anchors anchors = defaultAnchors;
    bool measured = false;
    QSize parentSize; // container's client size when measured
    QRect bounds;     // control's bounds in client coordinates when measured
};

bool isAligned(TAlign align)
{
    return align != TAlign::None && align != TAlign::Custom;
}

QHash<const QObject *, ControlState> &states()
{
    static QHash<const QObject *, ControlState> instance;
    return instance;
}

const ControlState *stateOf(const QWidget *control)
{
    const auto it = states().constFind(control);
    return it == states().cend() ? nullptr : &*it;
}

ControlState &ensureState(QWidget *control)
{
    auto it = states().find(control);
    if (it == states().end()) {
        QObject::connect(control, &QObject::destroyed, [](QObject *gone) {
            const auto it = states().constFind(gone);
            const bool aligned = it != states().cend() && isAligned(it->align);
            states().remove(gone);
            // The container may be going too: re-align it once events run.
            if (!aligned || !gone->parent() || !gone->parent()->isWidgetType())
                return;
            if (FormLayout *layout = FormLayout::find(static_cast<QWidget *>(gone->parent())))
                QMetaObject::invokeMethod(
                    layout, [layout] { layout->realign(); }, Qt::QueuedConnection);
        });
        it = states().insert(control, ControlState{});
    }
    return *it;
}

QSize bounded(const QWidget *control, QSize size)
{
    return size.expandedTo(control->minimumSize())
        .boundedTo(control->maximumSize())
        .expandedTo(QSize(0, 0));
}

void measure(QWidget *control)
{
    ControlState &state = ensureState(control);
    const QWidget *parent = control->parentWidget();
    if (!parent || control->isWindow()) {
        state.measured = false;
        return;
    }
    const QRect client = parent->contentsRect();
    state.parentSize = client.size();
    state.bounds = control->geometry().translated(-client.topLeft());
    state.measured = true;
}

// One axis of the anchor rule: the new start and extent along it.
void follow(bool near, bool far, int start0, int extent0, int parent0, int parentNow, int &start,
            int &extent)
{
    start = start0;
    extent = extent0;
    if (near && far) {
        extent = extent0 + (parentNow - parent0);
    } else if (far) {
        start = start0 + (parentNow - parent0);
    } else if (!near && parent0 > 0) {
        const double centre = (start0 + extent0 / 2.0) * parentNow / parent0;
        start = int(std::lround(centre - extent0 / 2.0));
    }
    extent = std::max(extent, 0);
}

} // namespace

FormLayout::FormLayout(QWidget *container)
    : QObject(container)
    , m_container(container)
{
    setObjectName(QStringLiteral("FormLayout"));
    container->installEventFilter(this);
    for (QObject *child : container->children()) {
        if (child->isWidgetType())
            watch(static_cast<QWidget *>(child));
    }
}

FormLayout *FormLayout::of(QWidget *container)
{
    if (!container)
        return nullptr;
    if (FormLayout *existing = find(container))
        return existing;
    return new FormLayout(container);
}

FormLayout *FormLayout::find(const QWidget *container)
{
    if (!container)
        return nullptr;
    for (QObject *child : container->children()) {
        if (auto *layout = qobject_cast<FormLayout *>(child))
            return layout;
    }
    return nullptr;
}

TAlign FormLayout::align(const QWidget *control)
{
    const ControlState *state = stateOf(control);
    return state ? state->align : TAlign::None;
}

void FormLayout::setAlign(QWidget *control, TAlign align)
{
    if (!control)
        return;
    ensureState(control).align = align;
    if (QWidget *parent = control->parentWidget(); parent && !control->isWindow())
        of(parent)->realign(control);
    if (!isAligned(align))
        measure(control);
}

Anchors FormLayout::anchors(const QWidget *control)
{
    const ControlState *state = stateOf(control);
    return state ? state->anchors : defaultAnchors;
}

void FormLayout::setAnchors(QWidget *control, Anchors anchors)
{
    if (!control)
        return;
    ensureState(control).anchors = anchors;
    if (QWidget *parent = control->parentWidget()) {
        flush(parent);
        of(parent);
    }
    measure(control);
}

SizeConstraints FormLayout::constraints(const QWidget *control)
{
    SizeConstraints c;
    if (!control)
        return c;
    c.minWidth = control->minimumWidth();
    c.minHeight = control->minimumHeight();
    c.maxWidth = control->maximumWidth() >= QWIDGETSIZE_MAX ? 0 : control->maximumWidth();
    c.maxHeight = control->maximumHeight() >= QWIDGETSIZE_MAX ? 0 : control->maximumHeight();
    return c;
}

void FormLayout::setConstraints(QWidget *control, const SizeConstraints &c)
{
    if (!control)
        return;
    if (QWidget *parent = control->parentWidget())
        flush(parent);
    const QRect before = control->geometry();
    control->setMinimumSize(std::max(c.minWidth, 0), std::max(c.minHeight, 0));
    control->setMaximumSize(c.maxWidth > 0 ? c.maxWidth : QWIDGETSIZE_MAX,
                            c.maxHeight > 0 ? c.maxHeight : QWIDGETSIZE_MAX);
    if (control->geometry() != before || control->testAttribute(Qt::WA_PendingResizeEvent))
        applyGeometry(control, control->geometry());
    if (!stateOf(control))
        return;
    if (isAligned(align(control)) && control->parentWidget())
        of(control->parentWidget())->realign(control);
    else
        measure(control);
}

void FormLayout::setBounds(QWidget *control, const QRect &bounds)
{
    if (!control)
        return;
    QWidget *parent = control->isWindow() ? nullptr : control->parentWidget();
    if (parent)
        flush(parent);
    applyGeometry(control, bounds);
    if (!stateOf(control) || !parent)
        return;
    if (isAligned(align(control)))
        of(parent)->realign(control);
    else
        measure(control);
}

Qt::Orientations FormLayout::placeAnchored(QWidget *control, const AnchorEdges &edges)
{
    Qt::Orientations free;
    if (!control)
        return free;
    QWidget *parent = control->isWindow() ? nullptr : control->parentWidget();
    const QSize client = parent ? clientSize(parent) : QSize(0, 0);
    const QPoint origin = parent ? parent->contentsRect().topLeft() : QPoint();
    const QRect now = control->geometry().translated(-origin);

    int left = now.x();
    int right = now.x() + now.width();
    Anchors added;
    if (edges.left && edges.right) {
        left = *edges.left;
        right = client.width() - *edges.right;
        added |= AnchorLeft | AnchorRight;
    } else if (edges.left) {
        left = *edges.left;
        right = left + now.width();
        added |= AnchorLeft;
    } else if (edges.right) {
        right = client.width() - *edges.right;
        left = right - now.width();
        added |= AnchorRight;
    } else {
        free |= Qt::Horizontal;
    }

    int top = now.y();
    int bottom = now.y() + now.height();
    if (edges.top && edges.bottom) {
        top = *edges.top;
        bottom = client.height() - *edges.bottom;
        added |= AnchorTop | AnchorBottom;
    } else if (edges.top) {
        top = *edges.top;
        bottom = top + now.height();
        added |= AnchorTop;
    } else if (edges.bottom) {
        bottom = client.height() - *edges.bottom;
        top = bottom - now.height();
        added |= AnchorBottom;
    } else {
        free |= Qt::Vertical;
    }

    setBounds(control, QRect(origin.x() + left, origin.y() + top, std::max(right - left, 0),
                             std::max(bottom - top, 0)));
    setAnchors(control, anchors(control) | added);
    return free;
}

QSize FormLayout::clientSize(QWidget *container)
{
    if (!container)
        return QSize();
    flush(container);
    return container->contentsRect().size();
}

void FormLayout::flush(QWidget *widget)
{
    QVarLengthArray<QWidget *, 16> chain;
    for (QWidget *w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget())
        chain.append(w);
    for (qsizetype i = chain.size() - 1; i >= 0; --i) {
        QWidget *w = chain[i];
        if (w->testAttribute(Qt::WA_PendingResizeEvent)) {
            w->setAttribute(Qt::WA_PendingResizeEvent, false);
            QResizeEvent event(w->size(), QSize());
            QCoreApplication::sendEvent(w, &event);
        }
    }
}

void FormLayout::applyGeometry(QWidget *widget, const QRect &geometry)
{
    if (!widget)
        return;
    widget->setGeometry(geometry);
    if (widget->testAttribute(Qt::WA_PendingResizeEvent)) {
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent event(widget->size(), QSize());
        QCoreApplication::sendEvent(widget, &event);
    }
}

void FormLayout::realign(QWidget *trigger)
{
    flush(m_container);
    arrange(trigger);
}

void FormLayout::watch(QWidget *child)
{
    if (!child->isWindow())
        child->installEventFilter(this);
}

void FormLayout::arrange(QWidget *trigger)
{
    QPointer<FormLayout> alive(this);
    ++m_arranging;
    const QRect client = m_container->contentsRect();
    int left = client.left();
    int top = client.top();
    int right = client.left() + client.width();
    int bottom = client.top() + client.height();

    QList<QWidget *> controls;
    for (QObject *child : m_container->children()) {
        if (child->isWidgetType() && !static_cast<QWidget *>(child)->isWindow())
            controls.append(static_cast<QWidget *>(child));
    }

    // The framework's order: a control goes before another only when it
    // stands strictly earlier along the side; the trigger goes first of all.
    auto before = [](TAlign a, const QWidget *c1, const QWidget *c2) {
        const QRect r1 = c1->geometry();
        const QRect r2 = c2->geometry();
        switch (a) {
        case TAlign::Top:
            return r1.y() < r2.y();
        case TAlign::Bottom:
            return r1.y() + r1.height() > r2.y() + r2.height();
        case TAlign::Left:
            return r1.x() < r2.x();
        case TAlign::Right:
            return r1.x() + r1.width() > r2.x() + r2.width();
        default:
            return false;
        }
    };

    for (TAlign a : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
        QList<QWidget *> list;
        if (trigger && controls.contains(trigger) && align(trigger) == a && !trigger->isHidden())
            list.append(trigger);
        for (QWidget *c : std::as_const(controls)) {
            if (c == trigger || c->isHidden() || align(c) != a)
                continue;
            qsizetype j = 0;
            while (j < list.size() && !before(a, c, list[j]))
                ++j;
            list.insert(j, c);
        }
        for (QWidget *c : std::as_const(list)) {
            const int width = std::max(right - left, 0);
            const int height = std::max(bottom - top, 0);
            QSize size;
            QRect r;
            switch (a) {
            case TAlign::Top:
                size = bounded(c, QSize(width, c->height()));
                r = QRect(QPoint(left, top), size);
                top += size.height();
                break;
            case TAlign::Bottom:
                size = bounded(c, QSize(width, c->height()));
                r = QRect(QPoint(left, bottom - size.height()), size);
                bottom -= size.height();
                break;
            case TAlign::Left:
                size = bounded(c, QSize(c->width(), height));
                r = QRect(QPoint(left, top), size);
                left += size.width();
                break;
            case TAlign::Right:
                size = bounded(c, QSize(c->width(), height));
                r = QRect(QPoint(right - size.width(), top), size);
                right -= size.width();
                break;
            default:
                size = bounded(c, QSize(width, height));
                r = QRect(QPoint(left, top), size);
                break;
            }
            applyGeometry(c, r);
            if (!alive)
                return;
        }
    }

    for (QWidget *c : std::as_const(controls)) {
        if (!isAligned(align(c)))
            applyAnchors(c);
        if (!alive)
            return;
    }
    --m_arranging;
}

void FormLayout::applyAnchors(QWidget *control)
{
    const ControlState *state = stateOf(control);
    if (!state || !state->measured || state->anchors == defaultAnchors)
        return;
    const QRect client = m_container->contentsRect();
    const Anchors a = state->anchors;
    int x, width, y, height;
    follow(a & AnchorLeft, a & AnchorRight, state->bounds.x(), state->bounds.width(),
           state->parentSize.width(), client.width(), x, width);
    follow(a & AnchorTop, a & AnchorBottom, state->bounds.y(), state->bounds.height(),
           state->parentSize.height(), client.height(), y, height);
    applyGeometry(control, QRect(client.x() + x, client.y() + y, width, height));
}

bool FormLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_container) {
        switch (event->type()) {
        case QEvent::Resize:
            arrange(nullptr);
            break;
        case QEvent::ChildAdded:
            if (QObject *child = static_cast<QChildEvent *>(event)->child(); child->isWidgetType())
                watch(static_cast<QWidget *>(child));
            break;
        case QEvent::ChildRemoved:
            if (QObject *child = static_cast<QChildEvent *>(event)->child()) {
                child->removeEventFilter(this);
                if (child->isWidgetType() && isAligned(align(static_cast<QWidget *>(child))))
                    arrange(nullptr);
            }
            break;
        default:
            break;
        }
        return false;
    }
    if (m_arranging || !watched->isWidgetType())
        return false;
    auto *control = static_cast<QWidget *>(watched);
    if (control->parentWidget() != m_container || !stateOf(control))
        return false;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (isAligned(align(control)))
            realign(control);
        else
            measure(control);
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (isAligned(align(control)))
            realign(control);
        break;
    default:
        break;
    }
    return false;
}

} // namespace platform
