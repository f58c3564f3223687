#pragma once

#include <QCursor>

// The cursor table: the form framework's numbered cursors (0, -2 ... -22) map
// to Qt's shapes, and 140 to 144 are the engine's own magnifier and hand
// cursors, drawn here.
namespace platform {

enum EngineCursor
{
    CursorZoom = 140,
    CursorZoomIn = 141,
    CursorZoomOut = 142,
    CursorHandOpened = 143,
    CursorHandClosed = 144,
};

// Makes the engine's cursors 140-144 available (idempotent).
void registerEngineCursors();
// The cursor of a number; an unknown number gives the arrow.
QCursor cursorFor(int number);
// The number registered for the cursor, or 0 (for tests and author tools).
int cursorNumber(const QCursor &cursor);

} // namespace platform
