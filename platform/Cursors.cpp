#include "platform/Cursors.h"

#include <QBitmap>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace platform {

namespace {

QHash<int, QCursor> &table()
{
    static QHash<int, QCursor> cursors;
    return cursors;
}

QPixmap canvas()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

// A lens with a handle; sign: 0 none, 1 plus, -1 minus.
QCursor magnifier(int sign)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(20, 20, 29, 29);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(20, 20, 29, 29);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(12, 12), 9, 9);
    if (sign != 0) {
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(8, 12, 16, 12);
        if (sign > 0)
            p.drawLine(12, 8, 12, 16);
    }
    p.end();
    return QCursor(pm, 12, 12);
}

// An open palm, or a fist when closed.
QCursor hand(bool closed)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    const int fingerTop = closed ? 12 : 4;
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(8 + i * 4.5, fingerTop + (i == 0 || i == 3 ? 2 : 0), 4, 14), 2, 2);
    p.drawRoundedRect(QRectF(8, 14, 18, 12), 4, 4);
    p.drawRoundedRect(QRectF(closed ? 5 : 2, closed ? 15 : 12, 7, 4), 2, 2); // thumb
    p.end();
    return QCursor(pm, 16, 16);
}

} // namespace

void registerEngineCursors()
{
    QHash<int, QCursor> &t = table();
    if (t.contains(CursorZoom))
        return;
    t.insert(CursorZoom, magnifier(0));
    t.insert(CursorZoomIn, magnifier(1));
    t.insert(CursorZoomOut, magnifier(-1));
    t.insert(CursorHandOpened, hand(false));
    t.insert(CursorHandClosed, hand(true));
}

QCursor cursorFor(int number)
{
    switch (number) {
    case 0:
    case -2:
        return Qt::ArrowCursor;
    case -1:
        return Qt::BlankCursor;
    case -3:
        return Qt::CrossCursor;
    case -4:
        return Qt::IBeamCursor;
    case -6:
        return Qt::SizeBDiagCursor;
    case -7:
        return Qt::SizeVerCursor;
    case -8:
        return Qt::SizeFDiagCursor;
    case -9:
        return Qt::SizeHorCursor;
    case -10:
        return Qt::UpArrowCursor;
    case -11:
        return Qt::WaitCursor;
    case -12:
    case -16:
        return Qt::DragCopyCursor;
    case -13:
    case -18:
        return Qt::ForbiddenCursor;
    case -14:
        return Qt::SplitHCursor;
    case -15:
        return Qt::SplitVCursor;
    case -17:
    case -19:
        return Qt::BusyCursor;
    case -20:
        return Qt::WhatsThisCursor;
    case -21:
        return Qt::PointingHandCursor;
    case -22:
        return Qt::SizeAllCursor;
    default:
        break;
    }
    const auto it = table().constFind(number);
    return it != table().cend() ? *it : QCursor(Qt::ArrowCursor);
}

int cursorNumber(const QCursor &cursor)
{
    if (cursor.shape() != Qt::BitmapCursor)
        return 0;
    const qint64 key = cursor.pixmap().cacheKey();
    for (auto it = table().cbegin(); it != table().cend(); ++it) {
        if (it->pixmap().cacheKey() == key)
            return it.key();
    }
    return 0;
}

} // namespace platform
