#pragma once
// Keeps a window inside the screen's available area (the desktop less its panels): a window
// larger than that area shrinks to it, and one that would reach past an edge moves in.

#include <QRect>

class QWidget;

// The place for a window of the given frame size: centred on centre, then moved (and, when
// larger, shrunk) so that it lies inside available.
QRect FitInto(const QRect& available, QSize frame, QPoint centre);

// Sizes and places window (not yet shown, or shown) over owner's centre, or the screen's
// when there is no owner, inside the available area of the owner's screen. The frame a
// window manager adds around a framed window is allowed for.
void FitOnScreen(QWidget* window, const QWidget* owner = nullptr);
