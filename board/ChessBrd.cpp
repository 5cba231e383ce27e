// Construction and properties of the board control.

#include "ChessBrd.h"

#include <QAccessible>

#include <algorithm>

#include "ChessBrdAccessible.h"
#include "DescriptionLoading.h"
#include "DragImage.h"
#include "EnginePlayer.h"

// --- Construction and destruction -----------------------------------------------------------

TChessBrd::TChessBrd(QWidget* parent) : QWidget(parent) {
    // Assistive technology sees the board as a table of squares.
    static const bool accessible =
        (QAccessible::installFactory(&TChessBrdAccessible::Factory), true);
    (void)accessible;
    // 2. The owned objects; the pictures start empty.
    FLineStyle = QPen(QColor(0, 0, 0), 1, Qt::SolidLine);
    // 3. Sizes for resizing, animation, promotion.
    FResizeMinSize = 100;
    FResizeMaxSize = 1000;
    FAnimateMoves = true;
    FAnimationDelay = 0;
    FPromotionPiece = 'q';
    // 4. The default piece set and the piece images cut from it.
    LoadDefaultPieceSet();
    BuildPieceImages();
    // 5. The coordinate font.
    FCoordFontColor = 0xFFFFFF;
    FCoordFont = QFont(QStringLiteral("Arial"));
    FCoordFont.setPointSize(7);
    // 6. Geometry and colours.
    FSizeOfSquare = 40;
    FSizeOfBorder = 24;
    FBorderColor = 0;
    FSquareColorDark = 0x808080;
    FSquareColorLight = 0xC0C0C0;
    // 7. The players.
    FComputerPlaysWhite = false;
    FComputerPlaysBlack = false;
    FSearchDepth = 1;
    FThinkingPriority = tpNormal;
    // 8. The size, set while the widget is hidden: no resize notification, no paint.
    resize(8 * FSizeOfSquare + 2 * FSizeOfBorder, 8 * FSizeOfSquare + 2 * FSizeOfBorder);
    // 9. A new game; its StopThinking leaves EngineHalted set.
    ResetGame();
    // 10. The computer player.
    CreateThread();
    // A board built from a window description loads its stored properties first.
    TDescriptionLoading::Adopt(this);
}

TChessBrd::~TChessBrd() {
    // The thread is ended and joined before anything it could reach goes away; calls it
    // posted but that never ran are dropped.
    DestroyThread();
    // The drag overlay tells the board when it goes; let it go while the board is still
    // whole (a board without a parent carries the overlay as its own child).
    delete FDragImage;
}

void TChessBrd::EndLoading() {
    FLoading = false;
    // Pictures loaded while loading went straight into the widget's objects; bring a
    // custom piece set into use now.
    BuildPieceImages();
    update();
}

// --- A move played ------------------------------------------------------------------------------

// The rules have raised all of the move's events; the board shows the move on its markers
// and to assistive technology before the report goes out, so that a listener finds both
// up to date.
void TChessBrd::ReportMove(const TMoveReport& report) {
    UpdateMarks();
    // The move drew its squares anew, under an arrow too.
    if (FArrowFrom != None) RedrawUnderArrow(FArrowFrom, FArrowTo);
    AnnounceMove(report);
    TChessGame::ReportMove(report);
}

// --- Game state as properties ---------------------------------------------------------------

QString TChessBrd::EnPassantName() const {
    return QString::fromLatin1(SquareName(EnPassant()));
}

void TChessBrd::SetEnPassantName(const QString& v) {
    Square sq = None;
    const QByteArray name = v.trimmed().toLatin1();
    bool isNumber = false;
    const int n = v.toInt(&isNumber);
    if (SquareFromName(name.constData(), sq))
        SetEnPassant(sq);
    else if (isNumber)
        SetEnPassant(n);
}

QString TChessBrd::PositionText() const {
    const std::string p = Position();
    return QString::fromLatin1(p.data(), qsizetype(p.size()));
}

void TChessBrd::SetPositionText(const QString& v) {
    const QByteArray bytes = v.toLatin1();
    SetPosition(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

// --- Appearance -------------------------------------------------------------------------------

void TChessBrd::SetBoardLines(bool v) {
    FBoardLines = v;
    PaintBoard();
}

void TChessBrd::SetBorderBitmap(const QImage& v) {
    FBorderBitmap = v;
    PaintBoard();
}

void TChessBrd::SetBorderColor(TColor v) {
    FBorderColor = v;
    PaintBoard();
}

void TChessBrd::SetCoordFont(const QFont& v) {
    FCoordFont = v;
    PaintBoard();
}

void TChessBrd::SetCoordFontColor(TColor v) {
    FCoordFontColor = v;
    PaintBoard();
}

void TChessBrd::SetCustomPieceSet(const QImage& v) {
    if (FLoading) {
        // Straight into the widget's own picture; EndLoading brings it into use.
        FCustomPieceSet = v;
        return;
    }
    if (v.isNull())
        FCustomPieceSet = QImage();
    else if (IsValidPieceSet(v))
        FCustomPieceSet = v;
    else
        return;
    BuildPieceImages();
    PaintBoard();
}

void TChessBrd::SetDisplayCoords(CoordSet v) {
    FDisplayCoords = v;
    PaintBoard();
}

void TChessBrd::SetLineStyle(const QPen& v) {
    FLineStyle = v;
    PaintBoard();
}

void TChessBrd::SetSquareColorDark(TColor v) {
    FSquareColorDark = v;
    PaintBoard();
}

void TChessBrd::SetSquareColorLight(TColor v) {
    FSquareColorLight = v;
    PaintBoard();
}

void TChessBrd::SetSquareDark(const QImage& v) {
    FSquareDark = v;
    PaintBoard();
}

void TChessBrd::SetSquareLight(const QImage& v) {
    FSquareLight = v;
    PaintBoard();
}

void TChessBrd::SetWhiteOnTop(bool v) {
    FWhiteOnTop = v;
    PaintBoard();
}

// --- Size ---------------------------------------------------------------------------------

void TChessBrd::SetResizeMinSize(int v) {
    FResizeMinSize = std::min(v, FResizeMaxSize);
}

void TChessBrd::SetResizeMaxSize(int v) {
    FResizeMaxSize = std::max(v, FResizeMinSize);
}

// Only the width changes; the next full paint averages it with the height (the size rule).
void TChessBrd::SetSizeOfBorder(int v) {
    FSizeOfBorder = v;
    SetWidth(8 * FSizeOfSquare + 2 * FSizeOfBorder);
}

void TChessBrd::SetSizeOfSquare(int v) {
    FSizeOfSquare = v;
    SetWidth(8 * FSizeOfSquare + 2 * FSizeOfBorder);
}

void TChessBrd::SetWidth(int w) {
    resize(w, height());
}

void TChessBrd::SetHeight(int h) {
    resize(width(), h);
}
