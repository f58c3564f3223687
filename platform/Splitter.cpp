#include "platform/Splitter.h"

#include "platform/FormLayout.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace platform {

Splitter::Splitter(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Splitter"));
    resize(3, 100);
    FormLayout::setAlign(this, TAlign::Left);
}

void Splitter::setMinSize(int pixels)
{
    m_minSize = std::max(pixels, 0);
}

bool Splitter::horizontalBar() const
{
    const TAlign a = FormLayout::align(this);
    return a == TAlign::Top || a == TAlign::Bottom;
}

int Splitter::extentOf(const QWidget *control) const
{
    return horizontalBar() ? control->height() : control->width();
}

QWidget *Splitter::resizedControl() const
{
    QWidget *parent = parentWidget();
    if (!parent)
        return nullptr;
    // A point just outside the edge on the splitter's own side.
    QPoint p = pos();
    switch (FormLayout::align(this)) {
    case TAlign::Left:
        p.rx() -= 1;
        break;
    case TAlign::Right:
        p.rx() += width();
        break;
    case TAlign::Top:
        p.ry() -= 1;
        break;
    case TAlign::Bottom:
        p.ry() += height();
        break;
    default:
        return nullptr;
    }
    for (QObject *child : parent->children()) {
        auto *control = qobject_cast<QWidget *>(child);
        if (!control || control == this || control->isWindow() || control->isHidden() ||
            !control->isEnabled())
            continue;
        QRect r = control->geometry();
        // A control squeezed to nothing still owns the line it stands on.
        if (r.width() == 0)
            r.setWidth(1);
        if (r.height() == 0)
            r.setHeight(1);
        if (r.contains(p))
            return control;
    }
    return nullptr;
}

void Splitter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // A few grip dots in the middle; a skin may paint over them.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Mid));
    const QPointF centre = QRectF(rect()).center();
    const bool across = horizontalBar();
    for (int i = -2; i <= 2; ++i) {
        const QPointF at = across ? centre + QPointF(i * 5.0, 0) : centre + QPointF(0, i * 5.0);
        painter.drawEllipse(at, 1.0, 1.0);
    }
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void Splitter::enterEvent(QEnterEvent *event)
{
    setCursor(horizontalBar() ? Qt::SplitVCursor : Qt::SplitHCursor);
    QWidget::enterEvent(event);
}

void Splitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_control = resizedControl();
    if (!m_control)
        return;
    m_downPos = event->globalPosition().toPoint();
    m_startExtent = extentOf(m_control);
    // The room the container has: what the other side-aligned controls leave,
    // keeping minSize for the rest.
    const bool vertical = horizontalBar();
    const QRect client = parentWidget()->contentsRect();
    m_maxExtent = (vertical ? client.height() : client.width()) - m_minSize;
    for (QObject *child : parentWidget()->children()) {
        auto *control = qobject_cast<QWidget *>(child);
        if (!control || control->isWindow() || control->isHidden())
            continue;
        const TAlign a = FormLayout::align(control);
        if (vertical ? (a == TAlign::Top || a == TAlign::Bottom)
                     : (a == TAlign::Left || a == TAlign::Right))
            m_maxExtent -= vertical ? control->height() : control->width();
    }
    m_maxExtent += m_startExtent;
}

void Splitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_control || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - m_downPos;
    const TAlign a = FormLayout::align(this);
    int extent = m_startExtent;
    switch (a) {
    case TAlign::Left:
        extent += delta.x();
        break;
    case TAlign::Right:
        extent -= delta.x();
        break;
    case TAlign::Top:
        extent += delta.y();
        break;
    case TAlign::Bottom:
        extent -= delta.y();
        break;
    default:
        return;
    }
    if (extent < m_minSize)
        extent = m_minSize;
    else if (extent > m_maxExtent)
        extent = m_maxExtent;
    // The control's own constraints have the last word.
    QRect r = m_control->geometry();
    if (horizontalBar()) {
        extent = std::clamp(extent, m_control->minimumHeight(), m_control->maximumHeight());
        if (a == TAlign::Bottom)
            r.setTop(r.bottom() + 1 - extent);
        else
            r.setHeight(extent);
    } else {
        extent = std::clamp(extent, m_control->minimumWidth(), m_control->maximumWidth());
        if (a == TAlign::Right)
            r.setLeft(r.right() + 1 - extent);
        else
            r.setWidth(extent);
    }
    if (r != m_control->geometry())
        FormLayout::setBounds(m_control, r);
}

void Splitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_control) {
        m_control = nullptr;
        emit moved();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace platform
