#pragma once
// The one way the program's windows take their place on the screen: centred (over their
// owner, or on the screen) and kept inside the screen's available area (the desktop less
// its panels): a window larger than that area shrinks to it, and one that would reach past
// an edge moves in.

#include <QRect>

#include <functional>

class QWidget;

// The place for a window of the given frame size: centred on centre, then moved (and, when
// larger, shrunk) so that it lies inside available.
QRect FitInto(const QRect& available, QSize frame, QPoint centre);

// Sizes and places window (not yet shown, or shown) over owner's centre, or the screen's
// when there is no owner, inside the available area of the owner's screen. The frame a
// window manager adds around a framed window is allowed for.
void FitOnScreen(QWidget* window, const QWidget* owner = nullptr);

// As FitOnScreen without an owner, with the window's top-left corner chosen by place from
// the screen's full size and the window's size (relative to the screen's corner) instead of
// centred; the place is then kept inside the available area as above.
using TScreenPlace = std::function<QPoint(QSize screen, QSize window)>;
void FitOnScreen(QWidget* window, const TScreenPlace& place);
