#include "controls/ControlUtils.h"

#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

namespace SkinControls {

void setSkinFlag(QWidget *control, const char *name, const QVariant &value)
{
    if (control->property(name) == value)
        return;
    control->setProperty(name, value);
    control->style()->unpolish(control);
    control->style()->polish(control);
    control->update();
}

QString alignmentName(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignLeft)
        return QStringLiteral("left");
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("center");
}

QString wrapText(const QString &text, const QFont &font, int width)
{
    if (width <= 0)
        return text;
    const QFontMetrics fm(font);
    QStringList lines;
    QString line;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines.join(u'\n');
}

void showOrHideKeepingPlace(QWidget *control, qint32 &savedLeft, qint32 &savedTop)
{
    if (!control->isHidden()) {
        savedLeft = control->x();
        savedTop = control->y();
    }
    control->setVisible(control->isHidden());
    if (!control->isHidden())
        control->move(savedLeft, savedTop);
}

void centreInParent(QWidget *control, bool horizontally, bool vertically)
{
    const QWidget *parent = control->parentWidget();
    if (!parent)
        return;
    control->move(horizontally ? centred(parent->width(), control->width()) : control->x(),
                  vertically ? centred(parent->height(), control->height()) : control->y());
}

} // namespace SkinControls
