// Drawing of the board control: the full repaint and the small updates a move, a drag or a
// step through the history needs. Everything is drawn into the control's own surface, which
// paintEvent only copies to the screen; each routine asks for an update of what it touched.

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QShowEvent>

#include <memory>
#include <string_view>

#include "ChessBrd.h"

namespace {

QColor ToQColor(TColor v) {
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

// Clip changes work on the painter's current region; an unclipped painter reaches the
// whole surface.
QRegion CurrentClip(const QPainter& p, const QRect& all) {
    return p.hasClipping() ? p.clipRegion() : QRegion(all);
}

void ExcludeClip(QPainter& p, const QRegion& r, const QRect& all) {
    p.setClipRegion(CurrentClip(p, all).subtracted(r));
}

void IntersectClip(QPainter& p, const QRect& r, const QRect& all) {
    p.setClipRegion(CurrentClip(p, all).intersected(r));
}

// Tiles a picture from the surface's origin. Only the tiles that meet the clip are drawn,
// which leaves the same pixels as tiling the whole surface.
void TileImage(QPainter& p, const QImage& img, const QRect& all) {
    const QRect area = p.hasClipping() ? p.clipBoundingRect().toAlignedRect() & all : all;
    if (area.isEmpty()) return;
    const int w = img.width();
    const int h = img.height();
    for (int j = area.top() / h; j <= area.bottom() / h; ++j)
        for (int i = area.left() / w; i <= area.right() / w; ++i)
            p.drawImage(i * w, j * h, img);
}

// Axis-parallel line that leaves out its end pixel, as the frame and grid geometry assume.
void LineWithoutEnd(QPainter& p, int x1, int y1, int x2, int y2) {
    const int sx = x2 > x1 ? 1 : (x2 < x1 ? -1 : 0);
    const int sy = y2 > y1 ? 1 : (y2 < y1 ? -1 : 0);
    if (sx == 0 && sy == 0) return;
    p.drawLine(x1, y1, x2 - sx, y2 - sy);
}

void DrawTextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(x, y + p.fontMetrics().ascent(), text);
}

} // namespace

// A QImage takes one painter at a time, while the drawing routines call one another (the
// squares draw the grid lines, a history step repaints squares and pieces). The outermost
// routine opens the painter; the nested ones share it, each inside its own save/restore.
class TChessBrd::TSurfacePainter {
  public:
    explicit TSurfacePainter(TChessBrd& board) : FBoard(board) {
        if (board.FPainter == nullptr) {
            board.EnsureSurface();
            FOwn = std::make_unique<QPainter>(&board.FSurface);
            board.FPainter = FOwn.get();
        }
    }
    ~TSurfacePainter() {
        if (FOwn) {
            FOwn->end();
            FBoard.FPainter = nullptr;
        }
    }
    TSurfacePainter(const TSurfacePainter&) = delete;
    TSurfacePainter& operator=(const TSurfacePainter&) = delete;
    QPainter& operator*() const { return *FBoard.FPainter; }

  private:
    TChessBrd& FBoard;
    std::unique_ptr<QPainter> FOwn;
};

// --- Surface and Qt plumbing -------------------------------------------------------------------

// The surface has the screen's pixels: on a screen scaled by a device pixel ratio it holds
// that many pixels per logical pixel, and everything is drawn in logical pixels onto it.
void TChessBrd::EnsureSurface() {
    const qreal ratio = devicePixelRatioF();
    const QSize want = size().expandedTo(QSize(1, 1)) * ratio;
    if (FPainter != nullptr || (FSurface.size() == want && FSurface.devicePixelRatio() == ratio))
        return;
    QImage next(want, QImage::Format_RGB32);
    next.setDevicePixelRatio(ratio);
    next.fill(Qt::black);
    // Keep what was drawn so far: small updates on a resized but not yet repainted
    // control must not wipe the rest of the board.
    if (!FSurface.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, FSurface);
    }
    FSurface = std::move(next);
}

void TChessBrd::paintEvent(QPaintEvent* e) {
    // Moved to a screen with another pixel ratio: the surface is drawn again for it, with
    // piece images for that ratio.
    if (FFirstPaintDone && !FLoading &&
        (FSurface.devicePixelRatio() != devicePixelRatioF() || PieceImagesOutdated()))
        PaintBoard();
    QPainter p(this);
    const qreal ratio = FSurface.devicePixelRatio();
    const QRect r = e->rect();
    p.drawImage(r, FSurface,
                QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
}

void TChessBrd::resizeEvent(QResizeEvent*) {
    EnsureSurface();
    // A resize made by the size rule itself is drawn by the repaint that made it.
    if (!FInPaintBoard) PaintBoard();
}

void TChessBrd::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // The corner-resize cursor has to follow the pointer without a button held.
    setMouseTracking(true);
    if (!FFirstPaintDone) PaintBoard();
}

// --- Geometry ----------------------------------------------------------------------------------

QPoint TChessBrd::SquareTopLeft(Square q) const {
    if (q < A8 || q > H1) return QPoint(BoardLeft(), BoardTop());
    int column = (q - 1) % 8;
    int row = (q - 1) / 8;
    if (FWhiteOnTop) {
        column = 7 - column;
        row = 7 - row;
    }
    return QPoint(BoardLeft() + column * FSizeOfSquare, BoardTop() + row * FSizeOfSquare);
}

QRect TChessBrd::SquareRect(Square q) const {
    return QRect(SquareTopLeft(q), QSize(FSizeOfSquare, FSizeOfSquare));
}

void TChessBrd::ApplySizeRule() {
    const int b = FSizeOfBorder;
    // Bounds too small for a board still keep one pixel per square.
    FSizeOfSquare = std::max(1, ((width() + height()) / 2 - 2 * b) / 8);
    const int w = 8 * FSizeOfSquare + 2 * b;
    if (width() != w || height() != w) resize(w, w);
    EnsureSurface();
}

// --- The full repaint --------------------------------------------------------------------------

void TChessBrd::PaintBoard() {
    // 1. Nothing while a stored description is being applied.
    if (Loading()) return;
    const bool outer = !FInPaintBoard;
    FInPaintBoard = true;
    // 2.
    if (OnPaint) OnPaint(this);
    // 3. Brings a custom set loaded straight into the property into use, and piece images
    // made for another pixel ratio up to date.
    if (!FFirstPaintDone || PieceImagesOutdated()) BuildPieceImages();
    // 4.
    ApplySizeRule();
    // 5.
    {
        TSurfacePainter painter(*this);
        DrawBorder();
        DrawSquares();
        DrawPieces();
        DrawArrow();
    }
    update();
    if (outer) FInPaintBoard = false;
    // 6.
    if (!FFirstPaintDone) {
        FFirstPaintDone = true;
        StartComputerMove();
    }
}

void TChessBrd::DrawBorder() {
    TSurfacePainter painter(*this);
    QPainter& p = *painter;
    const int w = width(), h = height(), b = FSizeOfBorder;
    const QRect all = FSurface.rect();
    // 1.
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // 2. Only the ring is reached from here on.
    const QRegion inner(QRect(b, b, w - 2 * b, h - 2 * b));
    ExcludeClip(p, inner, all);
    // 3.
    if (HasPicture(FBorderBitmap))
        TileImage(p, FBorderBitmap, all);
    else
        p.fillRect(all, ToQColor(FBorderColor));
    // 4-7. Text over whatever the ring shows.
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (FDisplayCoords.Bits != 0) DrawCoordinates(p);
    // 8. The control is square, so w serves for both axes.
    p.setPen(FLineStyle);
    p.setBrush(Qt::NoBrush);
    const QPoint outerFrame[] = {{0, 0}, {w - 1, 0}, {w - 1, w - 1}, {0, w - 1}, {0, 0}};
    p.drawPolyline(outerFrame, 5);
    const QPoint innerFrame[] = {
        {b - 1, b - 1}, {w - b, b - 1}, {w - b, w - b}, {b - 1, w - b}, {b - 1, b - 1}};
    p.drawPolyline(innerFrame, 5);
    // 9.
    p.restore();
    update(QRegion(rect()).subtracted(inner));
}

// Steps 4 to 7 of the border: the labels of the sides in DisplayCoords.
void TChessBrd::DrawCoordinates(QPainter& p) {
    const int w = width(), h = height(), b = FSizeOfBorder, s = FSizeOfSquare;
    // 4.
    p.setFont(FCoordFont);
    p.setPen(ToQColor(FCoordFontColor));
    // 5.
    const QString letters = FWhiteOnTop ? QStringLiteral("HGFEDCBA") : QStringLiteral("ABCDEFGH");
    // 6. The point size doubles as a pixel count.
    const int z = FCoordFont.pointSize() > 0 ? FCoordFont.pointSize() : FCoordFont.pixelSize();
    const int t = (b - z) / 2 + 1;
    const int o = (s - z) / 2;
    const int q = p.fontMetrics().height() / 4;
    // 7.
    for (int i = 0; i < 8; ++i) {
        const QString rank = QString::number(FWhiteOnTop ? i + 1 : 8 - i);
        const QString file = letters.mid(i, 1);
        if (FDisplayCoords.Contains(West)) DrawTextAt(p, t, i * s + b + o, rank);
        if (FDisplayCoords.Contains(East)) DrawTextAt(p, w - b + t, i * s + b + o, rank);
        if (FDisplayCoords.Contains(North)) DrawTextAt(p, i * s + b + o, t - q, file);
        if (FDisplayCoords.Contains(South)) DrawTextAt(p, i * s + b + o, h - b + t - q, file);
    }
}

void TChessBrd::DrawSquares() {
    TSurfacePainter painter(*this);
    QPainter& p = *painter;
    const QRect all = FSurface.rect();
    const int s = FSizeOfSquare, b = FSizeOfBorder;
    const QRect area(b, b, width() - 2 * b, height() - 2 * b);
    // 1.
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // 2.
    IntersectClip(p, area, all);
    // 3. Pass 0 leaves the dark squares (column + row odd), pass 1 the light ones.
    for (int k = 0; k < 2; ++k) {
        p.save();
        QRegion others;
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 8; ++i)
                others += QRect(b + (2 * j + ((i & 1) ^ k)) * s, b + i * s, s, s);
        ExcludeClip(p, others, all);
        FillSquareArea(p, k == 1);
        p.restore();
    }
    // The markers of the squares that have any.
    FMarks = ComputeMarks();
    for (int q = A8; q <= H1; ++q)
        if (FMarks[q] != 0) DrawMarks(p, Square(q));
    // 4. Still clipped to the square area.
    DrawGridLines();
    // 5.
    p.restore();
    update(area);
}

void TChessBrd::FillSquareArea(QPainter& p, bool light) {
    const QImage& texture = light ? FSquareLight : FSquareDark;
    const TColor colour = light ? FSquareColorLight : FSquareColorDark;
    // The texture runs on from the control's origin, so it is continuous across squares.
    if (HasPicture(texture))
        TileImage(p, texture, FSurface.rect());
    else
        p.fillRect(FSurface.rect(), ToQColor(colour));
}

void TChessBrd::DrawGridLines() {
    if (!FBoardLines) return;
    TSurfacePainter painter(*this);
    QPainter& p = *painter;
    const int s = FSizeOfSquare, l = BoardLeft(), t = BoardTop();
    const int w = width(), h = height();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(FLineStyle);
    for (int i = 1; i <= 7; ++i) {
        LineWithoutEnd(p, l + i * s, t, l + i * s, h - t);
        LineWithoutEnd(p, l, t + i * s, w - l, t + i * s);
    }
    p.restore();
    update(QRect(l, t, w - 2 * l, h - 2 * t));
}

void TChessBrd::DrawPieces() {
    TSurfacePainter painter(*this);
    for (int q = A8; q <= H1; ++q)
        if (FBoard[q] != ' ') DrawPieceAt(Square(q), FBoard[q]);
}

// --- Small updates -----------------------------------------------------------------------------

void TChessBrd::DrawPieceAt(Square q, char piece) {
    const QImage image = PieceImage(piece);
    if (q < A8 || q > H1 || image.isNull()) return;
    // Never scaled: centred on larger squares, overlapping the neighbours on smaller ones.
    // An image of a 2x set covers the same logical pixels as its 1x image.
    const int d = (FSizeOfSquare - FPieceSize) / 2;
    const QPoint at = SquareTopLeft(q) + QPoint(d, d);
    TSurfacePainter painter(*this);
    QPainter& p = *painter;
    p.save();
    p.setClipping(false);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // A 2x image on a surface of another ratio (1.5, 3) is resampled rather than picked.
    if (image.devicePixelRatio() > 1 && image.devicePixelRatio() != FSurface.devicePixelRatio())
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(at, image);
    p.restore();
    DrawFocusFrame(p, q);
    update(QRect(at, image.deviceIndependentSize().toSize()));
}

void TChessBrd::RepaintSquare(Square q) {
    if (q < A8 || q > H1) return;
    TSurfacePainter painter(*this);
    QPainter& p = *painter;
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    IntersectClip(p, SquareRect(q), FSurface.rect());
    FillSquareArea(p, IsLightSquare(q));
    p.restore();
    DrawMarks(p, q);
    update(SquareRect(q));
}

void TChessBrd::RedrawChanged(const std::string& old) {
    TSurfacePainter painter(*this);
    for (int q = A8; q <= H1; ++q) {
        const char before = std::size_t(q - 1) < old.size() ? old[std::size_t(q - 1)] : ' ';
        if (before == FBoard[q]) continue;
        RepaintSquare(Square(q));
        if (FBoard[q] != ' ') DrawPieceAt(Square(q), FBoard[q]);
    }
    DrawGridLines();
    // A step through the history or a new position puts down the piece held.
    FPicked = None;
    UpdateMarks();
    if (FArrowFrom != None) RedrawUnderArrow(FArrowFrom, FArrowTo);
}

// --- The arrow (its shape in ChessBrdArrow.cpp) --------------------------------------------------

void TChessBrd::DrawArrow() {
    if (FArrowFrom == None) return;
    TSurfacePainter painter(*this);
    PaintArrow(*painter);
    update(ArrowBounds(FArrowFrom, FArrowTo));
}

// Draws the squares the arrow from..to covers again, then the current arrow, if any, over
// whatever they hold.
void TChessBrd::RedrawUnderArrow(Square from, Square to) {
    if (FLoading || !FFirstPaintDone) return;
    TSurfacePainter painter(*this);
    const QRect bounds = ArrowBounds(from, to);
    for (int q = A8; q <= H1; ++q)
        if (SquareRect(Square(q)).intersects(bounds)) RedrawSquare(Square(q));
    DrawGridLines();
    DrawArrow();
}
