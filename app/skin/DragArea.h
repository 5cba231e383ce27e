#pragma once
// Dragging a borderless window by an area of its own: a press inside the area moves the
// window as if the area were a title bar. The move itself goes through the toolkit's system
// move, so it works on X11 and on Wayland.

#include <QPoint>
#include <QRect>

#include <cstdint>

class QWidget;

// True when the screen point (x, y) lies in the area placed on a window whose top-left
// corner is at windowTopLeft on the screen; both ends of each range are included, so
// x = left + width and y = top + height still hit. The coordinates are signed 16-bit, as
// the platform's hit-test query gives them.
bool DragAreaHitTest(QPoint windowTopLeft, QRect area, std::int16_t x, std::int16_t y);

// Makes a left press on window, inside area (window coordinates), start a system move of
// the window. Presses that a child widget handles itself (a list, a button that takes the
// press) never reach the window and do not drag.
void InstallDragArea(QWidget* window, QRect area);
