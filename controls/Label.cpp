#include "controls/Label.h"

#include <QApplication>
#include <QMouseEvent>

TSkLabel::TSkLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void TSkLabel::SetUrlStyle(bool url)
{
    m_url = url;
    QFont f = font();
    QPalette p = palette();
    if (url) {
        f.setUnderline(true);
        p.setColor(QPalette::WindowText, QColor(0, 0, 255));
        setCursor(Qt::PointingHandCursor);
    } else {
        f.setUnderline(false);
        f.setItalic(false);
        f.setBold(false);
        f.setStrikeOut(false);
        p.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
        unsetCursor();
    }
    setFont(f);
    setPalette(p);
}

void TSkLabel::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (autoSize)
        adjustSize();
}

void TSkLabel::SetCaption(const QString &caption)
{
    setText(caption);
    if (m_autoSize)
        adjustSize();
}

void TSkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
