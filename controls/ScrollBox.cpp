#include "controls/ScrollBox.h"

#include <QChildEvent>
#include <QEvent>

TSkScrollBox::TSkScrollBox(QWidget *parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setWidget(m_content);
    m_content->installEventFilter(this);
}

bool TSkScrollBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content && event->type() == QEvent::ChildAdded) {
        if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
            child->installEventFilter(this);
    } else if (watched != m_content &&
               (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        fitContent();
    }
    return QScrollArea::eventFilter(watched, event);
}

void TSkScrollBox::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    fitContent();
}

void TSkScrollBox::fitContent()
{
    const QRect used = m_content->childrenRect();
    const QSize size(qMax(viewport()->width(), used.right() + 1),
                     qMax(viewport()->height(), used.bottom() + 1));
    if (m_content->size() != size)
        m_content->resize(size);
}
