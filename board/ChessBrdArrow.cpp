// The arrow over the board: a line with a head from the centre of one square to the centre
// of another, drawn on the surface over the squares' fills, markers and pieces. Whatever is
// drawn under it later (a move, a step through the history, a marker) has the squares it
// crosses drawn again with the arrow over them, so it is never left in pieces.

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "ChessBrd.h"

namespace {

const QColor kArrowColour(20, 150, 70, 190);

bool OnBoard(Square q) {
    return q >= A8 && q <= H1;
}

} // namespace

void TChessBrd::SetArrow(Square from, Square to) {
    const bool valid = OnBoard(from) && OnBoard(to) && from != to;
    const Square oldFrom = FArrowFrom, oldTo = FArrowTo;
    FArrowFrom = valid ? from : None;
    FArrowTo = valid ? to : None;
    if (oldFrom == FArrowFrom && oldTo == FArrowTo) return;
    if (FLoading || !FFirstPaintDone) return;
    if (oldFrom != None) RedrawUnderArrow(oldFrom, oldTo);
    if (FArrowFrom != None) RedrawUnderArrow(FArrowFrom, FArrowTo);
}

// The rectangle an arrow between two squares may touch: the squares' own and all between.
QRect TChessBrd::ArrowBounds(Square from, Square to) const {
    return SquareRect(from).united(SquareRect(to));
}

// The arrow's shape on the surface; DrawArrow (ChessBrdPaint.cpp) gives it the painter.
void TChessBrd::PaintArrow(QPainter& p) {
    const QPointF a = QRectF(SquareRect(FArrowFrom)).center();
    const QPointF b = QRectF(SquareRect(FArrowTo)).center();
    const double s = FSizeOfSquare;
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    if (length < 1) return;
    // Along the arrow (ux, uy) and across it (-uy, ux); the head ends short of the centre.
    const double ux = (b.x() - a.x()) / length, uy = (b.y() - a.y()) / length;
    const double shaft = std::max(2.0, s * 0.16), headWidth = s * 0.45;
    const double headLength = std::min(s * 0.45, length * 0.6);
    const double tipBack = s * 0.1;
    const QPointF tip = b - QPointF(ux, uy) * tipBack;
    const QPointF base = tip - QPointF(ux, uy) * headLength;
    const QPointF across(-uy, ux);
    QPainterPath path;
    path.moveTo(a + across * (shaft / 2));
    path.lineTo(base + across * (shaft / 2));
    path.lineTo(base + across * (headWidth / 2));
    path.lineTo(tip);
    path.lineTo(base - across * (headWidth / 2));
    path.lineTo(base - across * (shaft / 2));
    path.lineTo(a - across * (shaft / 2));
    path.closeSubpath();
    p.save();
    p.setClipping(false);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(kArrowColour);
    p.drawPath(path);
    p.restore();
}
