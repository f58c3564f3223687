#pragma once

#include <QFont>
#include <QString>
#include <QVariant>
#include <Qt>

class QWidget;

// Small helpers the skin controls share.
namespace SkinControls {

// Sets a dynamic property that skins select on and re-polishes the control so
// the skin's rules for the new value apply.
void setSkinFlag(QWidget *control, const char *name, const QVariant &value);

QString alignmentName(Qt::Alignment alignment); // "left", "right" or "center"

// Breaks the text at blanks so that no line is wider than width pixels (a word
// longer than the width stands on its own line).
QString wrapText(const QString &text, const QFont &font, int width);

// Toggles visibility; a control that hides remembers its place and gets it
// back when it shows again.
void showOrHideKeepingPlace(QWidget *control, qint32 &savedLeft, qint32 &savedTop);
// Moves the control to the middle of its parent along the axes asked for.
void centreInParent(QWidget *control, bool horizontally, bool vertically);

// Integer centring: (outer - inner) div 2, truncating toward zero.
inline int centred(int outer, int inner)
{
    return (outer - inner) / 2;
}

} // namespace SkinControls
