// The animation of moves the user did not drop: the piece slides on the drag overlay from
// its square to the target, one pixel per step.

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>

#include "ChessBrd.h"
#include "DragImage.h"

namespace {

// The millisecond tick counter; differences are taken modulo 2^32.
std::uint32_t TickCount() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

// --- Animation ---------------------------------------------------------------------------------

void TChessBrd::AnimateMove(Square from, Square to, int delay) {
    TDragImage* overlay = Overlay();
    // 1. A user drag owns the overlay: nothing is animated, and its next drag-over starts
    // the overlay again.
    if (!overlay->Active()) {
        const char piece = PieceAt(from);
        // 2.
        overlay->SetImage(PieceImage(piece));
        // 3. Placed by the squares' top-left corners, in the parent's coordinates.
        const QPoint p1 = SquareTopLeft(from) + OverlayOrigin();
        const QPoint p2 = SquareTopLeft(to) + OverlayOrigin();
        // 4.
        overlay->BeginDrag(p1);
        overlay->DragShow(true);
        // 5. A knight goes along its start row, then along its target column.
        if (piece == 'N' || piece == 'n') {
            SlideAlongRow(p1.x(), p2.x(), p1.y(), delay);
            SlideAlongColumn(p1.y(), p2.y(), p2.x(), delay);
        } else {
            SlideStraight(p1.x(), p1.y(), p2.x(), p2.y(), delay);
        }
    }
    // 6.
    overlay->EndDrag();
}

// One step: the overlay is painted at once, since no events are processed until the
// animation is over; a positive delay is waited out in full.
void TChessBrd::AnimationStep(int x, int y, int delay) {
    const std::uint32_t t0 = TickCount();
    FDragImage->DragMove(QPoint(x, y), true);
    FDragImage->DragShow(true);
    if (AnimationStepHook) {
        const QPoint origin = OverlayOrigin();
        AnimationStepHook(x - origin.x(), y - origin.y());
    }
    if (delay <= 0) return;
    while (std::uint32_t(TickCount() - t0) <= std::uint32_t(delay))
        std::this_thread::yield();
}

void TChessBrd::SlideAlongRow(int xa, int xb, int y, int delay) {
    const int dir = xb >= xa ? 1 : -1;
    for (int x = xa;; x += dir) {
        AnimationStep(x, y, delay);
        if (x == xb) break;
    }
}

void TChessBrd::SlideAlongColumn(int ya, int yb, int x, int delay) {
    const int dir = yb >= ya ? 1 : -1;
    for (int y = ya;; y += dir) {
        AnimationStep(x, y, delay);
        if (y == yb) break;
    }
}

void TChessBrd::SlideStraight(int x1, int y1, int x2, int y2, int delay) {
    // 1.
    if (x1 == x2 && y1 == y2) return;
    // 2.
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    // 3-4. One pixel per step along the longer axis; the other follows in real arithmetic,
    // truncated toward zero.
    if (dy > dx) {
        const double step = double(x2 - x1) / dy;
        const int dir = y2 > y1 ? 1 : -1;
        double x = x1;
        for (int y = y1;; y += dir) {
            AnimationStep(static_cast<int>(x), y, delay);
            x += step;
            if (y == y2) break;
        }
    } else {
        const double step = double(y2 - y1) / dx;
        const int dir = x2 > x1 ? 1 : -1;
        double y = y1;
        for (int x = x1;; x += dir) {
            AnimationStep(x, static_cast<int>(y), delay);
            y += step;
            if (x == x2) break;
        }
    }
}
