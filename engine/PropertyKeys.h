#pragma once

#include "core/ValueSyntax.h"

#include <QFont>
#include <QString>

class QColor;
class QObject;
class QWidget;
class TSkStract;

// One key of a section being applied: the engine that builds, the object the
// section made, and the key (lower-cased) with its value as written.
struct TKeyContext
{
    TSkStract &Engine;
    QObject *Control;
    const QString &Section;
    const QString &Key;
    const QString &Value;

    bool is(const char *name) const { return Key == QLatin1String(name); }
    // The value as a strict integer; a value that is not one ends the build.
    int integer() const { return StrictInteger(Value, Section, Key); }
    bool boolean(bool defaultValue) const { return ParseBool(Value, defaultValue); }
    QWidget *widget() const;
};

// Key helpers the control types share. Each apply function answers whether
// the key was one of its own, so the engine can name the keys nobody knows.

// Keys every placed control has: top, left, width, height, enabled, cursor,
// visible, align.
bool applyCommonKey(TKeyContext &k);
// Keys of the form section, applied to the window and the engine.
bool applyFormKey(TKeyContext &k);
// anchor: distances to the parent's edges; a panel centres on a free axis.
void applyAnchor(TKeyContext &k);
// font = typeface*size*colour*style on the control.
void applyFont(TKeyContext &k);
// skin = object*file: the skin object, and with useFile the control is drawn
// with that skin file.
void applySkinPair(TKeyContext &k, bool useFile);
// A window that moves by its panels and labels (form key moving) hands their
// left-button presses to its drag handler.
void giveDragHandler(TSkStract &engine, QWidget *control);

// Changes only the parts the font value gives; a style part replaces the style.
void changeFont(QFont &font, const TFontSpec &parsed);
QColor toQColor(TColor color);
