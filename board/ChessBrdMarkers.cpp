// Markers on the board's squares: the last move's two squares, the king in check, the piece
// held and its legal targets, the keyboard's focus square and a suggested move. They are
// drawn over the square's fill and under its piece. The markers as drawn are kept per
// square, so a change repaints only the squares whose markers changed.

#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "ChessBrd.h"
#include "DragImage.h"

namespace {

const QColor kLastMoveTint(255, 208, 64, 110);
const QColor kPickedTint(72, 190, 110, 140);
const QColor kSuggestTint(70, 150, 255, 120);
const QColor kTargetMark(24, 48, 24, 120);
const QColor kCheckCore(235, 30, 30, 230);
// The glow's colour where red would hardly show: on a square that is itself red.
const QColor kCheckCoreOnRed(255, 205, 40, 230);
// Below this distance in RGB from the square's mean colour, the red glow is faint.
constexpr double kFaintGlow = 110;

double Distance(const QColor& a, const QColor& b) {
    return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
}

// The mean colour of a square's fill: its texture's when it has one, else its plain colour.
QColor MeanColour(const QImage& texture, TColor plain) {
    if (texture.isNull() || texture.width() <= 1 || texture.height() <= 1)
        return QColor(int(plain & 0xFF), int((plain >> 8) & 0xFF), int((plain >> 16) & 0xFF));
    double r = 0, g = 0, b = 0;
    for (int y = 0; y < texture.height(); ++y)
        for (int x = 0; x < texture.width(); ++x) {
            const QRgb c = texture.pixel(x, y);
            r += qRed(c), g += qGreen(c), b += qBlue(c);
        }
    const double n = double(texture.width()) * texture.height();
    return QColor(int(r / n), int(g / n), int(b / n));
}
const QColor kFocusOuter(30, 110, 255);
const QColor kFocusInner(255, 255, 255);

} // namespace

std::pair<Square, Square> TChessBrd::LastMoveSquares() const {
    // The record of the half-move before the current one holds the move that led here.
    const MoveInfo& last =
        FWhiteToMove ? MoveHistory(FCurrentMove - 1, false) : MoveHistory(FCurrentMove, true);
    if (last.OldSq < A8 || last.OldSq > H1 || last.NewSq < A8 || last.NewSq > H1)
        return {None, None};
    // A record from before a position was set by hand does not belong to this position,
    // nor does one from before a side to move was set past the end of the history.
    if (PieceAt(last.NewSq) == ' ') return {None, None};
    const int shown = 2 * FCurrentMove + (FWhiteToMove ? 0 : 1);
    const int end = 2 * HistoryLastMove() + (HistoryLastWhite() ? 0 : 1);
    if (shown > end) return {None, None};
    return {last.OldSq, last.NewSq};
}

Square TChessBrd::CheckedKing() const {
    const char king = FWhiteToMove ? 'K' : 'k';
    const bool inCheck = FWhiteToMove ? WhiteKingInCheck(None, None) : BlackKingInCheck(None, None);
    if (!inCheck) return None;
    for (int q = A8; q <= H1; ++q)
        if (FBoard[q] == king) return Square(q);
    return None;
}

std::array<std::uint8_t, 65> TChessBrd::ComputeMarks() const {
    std::array<std::uint8_t, 65> m{};
    if (FHighlightLastMove) {
        const auto [from, to] = LastMoveSquares();
        if (from != None) {
            m[from] |= mkLastMove;
            m[to] |= mkLastMove;
        }
    }
    if (FHighlightCheck) {
        const Square k = CheckedKing();
        if (k != None) m[k] |= mkCheck;
    }
    // The piece held: picked up by a click or a key, or on its way in a drag.
    Square held = FPicked;
    if (FDragPhase != TDragPhase::Idle && FShowLegalMoves) held = FDragFrom;
    if (held >= A8 && held <= H1) {
        m[held] |= mkPicked;
        if (FShowLegalMoves) {
            for (int q = A8; q <= H1; ++q)
                if (IsLegalMove(held, Square(q))) m[q] |= FBoard[q] == ' ' ? mkTarget : mkCapture;
        }
    }
    if (FSuggestFrom != None) {
        m[FSuggestFrom] |= mkSuggest;
        m[FSuggestTo] |= mkSuggest;
    }
    if (FKeyboardPlay && hasFocus() && isEnabled() && FFocusSquare >= A8 && FFocusSquare <= H1)
        m[FFocusSquare] |= mkFocus;
    return m;
}

void TChessBrd::UpdateMarks() {
    if (FLoading || !FFirstPaintDone) return;
    // A piece picked up belongs to the side to move; a changed game lets it go.
    if (FPicked != None && !IsSideToMove(FPicked)) FPicked = None;
    const auto next = ComputeMarks();
    if (next == FMarks) return;
    const auto before = FMarks;
    FMarks = next;
    bool any = false;
    for (int q = A8; q <= H1; ++q) {
        if (before[q] == next[q]) continue;
        RedrawSquare(Square(q));
        any = true;
    }
    if (any) DrawGridLines();
    if (any && FArrowFrom != None) RedrawUnderArrow(FArrowFrom, FArrowTo);
    AnnounceFocus();
}

// The square's fill, its markers and its piece, unless the piece is out on the drag overlay.
void TChessBrd::RedrawSquare(Square q) {
    RepaintSquare(q);
    const bool lifted = q == FDragFrom && FDragImage != nullptr && FDragImage->Active();
    if (FBoard[q] != ' ' && !lifted) DrawPieceAt(q, FBoard[q]);
}

void TChessBrd::DrawMarks(QPainter& p, Square q) {
    const std::uint8_t m = FMarks[q];
    if (m == 0) return;
    const QRect r = SquareRect(q);
    const int s = FSizeOfSquare;
    p.save();
    p.setClipRect(r);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    if (m & mkLastMove) p.fillRect(r, kLastMoveTint);
    if (m & mkSuggest) p.fillRect(r, kSuggestTint);
    if (m & mkPicked) p.fillRect(r, kPickedTint);
    if (m & mkCheck) {
        // Red, unless the square is too red itself for a red glow to show.
        const bool light = IsLightSquare(q);
        const QColor under = MeanColour(light ? FSquareLight : FSquareDark,
                                        light ? FSquareColorLight : FSquareColorDark);
        const QColor core = Distance(kCheckCore, under) < kFaintGlow ? kCheckCoreOnRed : kCheckCore;
        QRadialGradient glow(QRectF(r).center(), s * 0.62);
        glow.setColorAt(0.0, core);
        glow.setColorAt(0.55, QColor(core.red(), core.green(), core.blue(), 150));
        glow.setColorAt(1.0, QColor(core.red(), core.green(), core.blue(), 0));
        p.fillRect(r, glow);
    }
    if (m & mkTarget) {
        const double d = s * 0.3;
        p.setBrush(kTargetMark);
        p.drawEllipse(QRectF(r).center(), d / 2, d / 2);
    }
    if (m & mkCapture) {
        const double w = std::max(2.0, s * 0.09);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kTargetMark, w));
        p.drawEllipse(QRectF(r).adjusted(w / 2, w / 2, -w / 2, -w / 2));
    }
    p.restore();
    DrawFocusFrame(p, q);
}

// An opaque frame in two colours, so it shows on every square texture; drawn again over the
// piece by DrawPieceAt.
void TChessBrd::DrawFocusFrame(QPainter& p, Square q) {
    if (!(FMarks[q] & mkFocus)) return;
    const QRect r = SquareRect(q);
    const int w = std::max(2, FSizeOfSquare / 16);
    const QRect in = r.adjusted(w, w, -w, -w);
    p.save();
    p.setClipping(false);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& band : QRegion(r).subtracted(QRegion(in)))
        p.fillRect(band, kFocusOuter);
    for (const QRect& line : QRegion(in).subtracted(QRegion(in.adjusted(1, 1, -1, -1))))
        p.fillRect(line, kFocusInner);
    p.restore();
}

void TChessBrd::ShowSuggestion(Square from, Square to, int ms) {
    const bool valid = from >= A8 && from <= H1 && to >= A8 && to <= H1;
    FSuggestFrom = valid ? from : None;
    FSuggestTo = valid ? to : None;
    if (FSuggestTimer == nullptr) {
        FSuggestTimer = new QTimer(this);
        FSuggestTimer->setSingleShot(true);
        connect(FSuggestTimer, &QTimer::timeout, this, [this] { ShowSuggestion(None, None, 0); });
    }
    FSuggestTimer->stop();
    if (valid && ms > 0) FSuggestTimer->start(ms);
    UpdateMarks();
}

void TChessBrd::SetShowLegalMoves(bool v) {
    FShowLegalMoves = v;
    UpdateMarks();
}

void TChessBrd::SetHighlightLastMove(bool v) {
    FHighlightLastMove = v;
    UpdateMarks();
}

void TChessBrd::SetHighlightCheck(bool v) {
    FHighlightCheck = v;
    UpdateMarks();
}
