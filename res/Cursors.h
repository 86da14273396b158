#pragma once

#include <QCursor>

// The zoom modes' cursors with their hot spots: the magnifying glass's lens centre (9, 8) and the
// centre dot (16, 16) of the window cursor, both in the pictures' 32 x 32 grid.
QCursor ZoomCursor();
QCursor WindowCursor();
