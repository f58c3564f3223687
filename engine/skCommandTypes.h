#pragma once

#include <QString>
#include <QtGlobal>

// The record every action travels in, from the control (or hot key, or help
// button) that fired it to the dispatcher and on to the owner window.
struct RHelpAction
{
    QString Action;    // the action text
    qint32 Height = 0; // height of the control that fired it, or 0
    qint32 X = 0;      // screen x of that control's client origin (or of the mouse), or 0
    qint32 Y = 0;      // screen y, or 0
};
