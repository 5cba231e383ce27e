#pragma once
// TChessBrd is the reusable chess-board widget. It holds one game (it is a TChessGame),
// owns one computer player on a thread of its own, draws the board into its own surface,
// turns mouse drags into moves, animates moves and can be resized with the mouse. All its
// settings are published properties; everything it reports is an optional callback whose
// first argument is the sender.
//
// The implementation is split by concern: ChessBrd.cpp (construction, properties),
// ChessBrdThread.cpp (the computer-player hand-off), ChessBrdPaint.cpp (drawing),
// ChessBrdPieces.cpp (the piece set and its images), ChessBrdMouse.cpp (mouse, drag and
// resize), ChessBrdAnimate.cpp (move animation), ChessBrdArrow.cpp (an arrow over the board).

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "BoardQuestions.h"
#include "ChessGame.h"
#include "ComputerPlayer.h"
#include "ThreadPriority.h"

class TEnginePlayer;
class TChessBrd;
class TDragImage;

// Colours are 0x00BBGGRR.
using TColor = std::uint32_t;

// Sides of the board that show coordinates; bit n for value n.
enum TCoordSide : std::uint8_t { West = 0, North = 1, East = 2, South = 3 };
struct CoordSet {
    std::uint8_t Bits = 0;
    constexpr bool Contains(TCoordSide s) const { return (Bits >> s) & 1u; }
    constexpr void Include(TCoordSide s) { Bits = static_cast<std::uint8_t>(Bits | (1u << s)); }
    constexpr void Exclude(TCoordSide s) { Bits = static_cast<std::uint8_t>(Bits & ~(1u << s)); }
    friend constexpr bool operator==(CoordSet a, CoordSet b) { return a.Bits == b.Bits; }
};

enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };

// Widget events; the sender is the board.
using TThinkEvent = std::function<void(TChessBrd* Sender, Square& oldsq, Square& newsq)>;
using TBoardMoveEvent = std::function<void(TChessBrd* Sender, Square oldSq, Square newSq)>;
using TBoardNotifyEvent = std::function<void(TChessBrd* Sender)>;
using TMouseEvent = std::function<void(TChessBrd* Sender, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent =
    std::function<void(TChessBrd* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TStartDragEvent = std::function<void(TChessBrd* Sender)>;
using TDragOverEvent = std::function<void(TChessBrd* Sender, QObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TChessBrd* Sender, QObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TChessBrd* Sender, QObject* Target, int X, int Y)>;

class TChessBrd : public QWidget, public TChessGame {
    Q_OBJECT
    Q_PROPERTY(bool AnimateMoves READ AnimateMoves WRITE SetAnimateMoves)
    Q_PROPERTY(int AnimationDelay READ AnimationDelay WRITE SetAnimationDelay)
    Q_PROPERTY(bool BoardLines READ BoardLines WRITE SetBoardLines)
    Q_PROPERTY(QImage BorderBitmap READ BorderBitmap WRITE SetBorderBitmap)
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(int CastlingAllowed READ CastlingAllowedBits WRITE SetCastlingAllowedBits)
    Q_PROPERTY(bool ComputerPlaysBlack READ ComputerPlaysBlack WRITE SetComputerPlaysBlack)
    Q_PROPERTY(bool ComputerPlaysWhite READ ComputerPlaysWhite WRITE SetComputerPlaysWhite)
    Q_PROPERTY(bool Thinking READ Thinking WRITE SetThinking)
    Q_PROPERTY(QFont CoordFont READ CoordFont WRITE SetCoordFont)
    Q_PROPERTY(uint CoordFontColor READ CoordFontColor WRITE SetCoordFontColor)
    Q_PROPERTY(int CurrentMove READ CurrentMove WRITE SetCurrentMove)
    Q_PROPERTY(QImage CustomPieceSet READ CustomPieceSet WRITE SetCustomPieceSet)
    Q_PROPERTY(int DisplayCoords READ DisplayCoordsBits WRITE SetDisplayCoordsBits)
    Q_PROPERTY(bool CustomEngine READ CustomEngine WRITE SetCustomEngine)
    Q_PROPERTY(QString EnPassant READ EnPassantName WRITE SetEnPassantName)
    Q_PROPERTY(QPen LineStyle READ LineStyle WRITE SetLineStyle)
    Q_PROPERTY(QString Position READ PositionText WRITE SetPositionText)
    Q_PROPERTY(bool Resizable READ Resizable WRITE SetResizable)
    Q_PROPERTY(int ResizeMinSize READ ResizeMinSize WRITE SetResizeMinSize)
    Q_PROPERTY(int ResizeMaxSize READ ResizeMaxSize WRITE SetResizeMaxSize)
    Q_PROPERTY(int SearchDepth READ SearchDepth WRITE SetSearchDepth)
    Q_PROPERTY(int SizeOfBorder READ SizeOfBorder WRITE SetSizeOfBorder)
    Q_PROPERTY(int SizeOfSquare READ SizeOfSquare WRITE SetSizeOfSquare)
    Q_PROPERTY(uint SquareColorDark READ SquareColorDark WRITE SetSquareColorDark)
    Q_PROPERTY(uint SquareColorLight READ SquareColorLight WRITE SetSquareColorLight)
    Q_PROPERTY(QImage SquareDark READ SquareDark WRITE SetSquareDark)
    Q_PROPERTY(QImage SquareLight READ SquareLight WRITE SetSquareLight)
    Q_PROPERTY(bool WhiteOnTop READ WhiteOnTop WRITE SetWhiteOnTop)
    Q_PROPERTY(bool WhiteToMove READ WhiteToMove WRITE SetWhiteToMove)
    Q_PROPERTY(int ThinkingPriority READ ThinkingPriorityValue WRITE SetThinkingPriorityValue)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)
    Q_PROPERTY(QCursor DragCursor READ DragCursor WRITE SetDragCursor)
    Q_PROPERTY(int DragMode READ DragModeValue WRITE SetDragModeValue)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(bool Visible READ isVisible WRITE setVisible)
    Q_PROPERTY(bool ClickToMove READ ClickToMove WRITE SetClickToMove)
    Q_PROPERTY(bool ShowLegalMoves READ ShowLegalMoves WRITE SetShowLegalMoves)
    Q_PROPERTY(bool HighlightLastMove READ HighlightLastMove WRITE SetHighlightLastMove)
    Q_PROPERTY(bool HighlightCheck READ HighlightCheck WRITE SetHighlightCheck)
    Q_PROPERTY(bool KeyboardPlay READ KeyboardPlay WRITE SetKeyboardPlay)
    Q_PROPERTY(QImage CustomPieceSet2x READ CustomPieceSet2x WRITE SetCustomPieceSet2x)

  public:
    explicit TChessBrd(QWidget* parent = nullptr);
    ~TChessBrd() override;

    // --- Properties (typed accessors; the Q_PROPERTY forms above wrap some of them) ---------

    bool AnimateMoves() const override { return FAnimateMoves; }
    void SetAnimateMoves(bool v) { FAnimateMoves = v; }
    int AnimationDelay() const override { return FAnimationDelay; }
    void SetAnimationDelay(int v) { FAnimationDelay = v; }
    bool BoardLines() const { return FBoardLines; }
    void SetBoardLines(bool v);
    QImage BorderBitmap() const { return FBorderBitmap; }
    void SetBorderBitmap(const QImage& v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    int CastlingAllowedBits() const { return CastlingAllowed().Bits; }
    void SetCastlingAllowedBits(int v) { SetCastlingAllowed(CastleSet{std::uint8_t(v & 0x0F)}); }
    bool ComputerPlaysBlack() const;
    void SetComputerPlaysBlack(bool v);
    bool ComputerPlaysWhite() const;
    void SetComputerPlaysWhite(bool v);
    bool Thinking() const;
    void SetThinking(bool) {}
    QFont CoordFont() const { return FCoordFont; }
    void SetCoordFont(const QFont& v);
    TColor CoordFontColor() const { return FCoordFontColor; }
    void SetCoordFontColor(TColor v);
    QImage CustomPieceSet() const { return FCustomPieceSet; }
    void SetCustomPieceSet(const QImage& v);
    // The custom set drawn at twice its size, for screens of 1.5 or more device pixels per
    // logical pixel (ChessBrdPieces.cpp). Any picture is kept; it is used only while the
    // custom set is in use and it is exactly twice that set's width and height. Empty after
    // construction.
    QImage CustomPieceSet2x() const { return FCustomPieceSet2x; }
    void SetCustomPieceSet2x(const QImage& v);
    CoordSet DisplayCoords() const { return FDisplayCoords; }
    void SetDisplayCoords(CoordSet v);
    int DisplayCoordsBits() const { return FDisplayCoords.Bits; }
    void SetDisplayCoordsBits(int v) { SetDisplayCoords(CoordSet{std::uint8_t(v & 0x0F)}); }
    bool CustomEngine() const { return FCustomEngine; }
    void SetCustomEngine(bool v) { FCustomEngine = v; }
    QString EnPassantName() const;
    void SetEnPassantName(const QString& v);
    QPen LineStyle() const { return FLineStyle; }
    void SetLineStyle(const QPen& v);
    QString PositionText() const;
    void SetPositionText(const QString& v);
    bool Resizable() const { return FResizable; }
    void SetResizable(bool v) { FResizable = v; }
    int ResizeMinSize() const { return FResizeMinSize; }
    void SetResizeMinSize(int v);
    int ResizeMaxSize() const { return FResizeMaxSize; }
    void SetResizeMaxSize(int v);
    int SearchDepth() const;
    void SetSearchDepth(int v);
    int SizeOfBorder() const { return FSizeOfBorder; }
    void SetSizeOfBorder(int v);
    int SizeOfSquare() const { return FSizeOfSquare; }
    void SetSizeOfSquare(int v);
    TColor SquareColorDark() const { return FSquareColorDark; }
    void SetSquareColorDark(TColor v);
    TColor SquareColorLight() const { return FSquareColorLight; }
    void SetSquareColorLight(TColor v);
    QImage SquareDark() const { return FSquareDark; }
    void SetSquareDark(const QImage& v);
    QImage SquareLight() const { return FSquareLight; }
    void SetSquareLight(const QImage& v);
    bool WhiteOnTop() const { return FWhiteOnTop; }
    void SetWhiteOnTop(bool v);
    TThreadPriority ThinkingPriority() const;
    void SetThinkingPriority(TThreadPriority v);
    int ThinkingPriorityValue() const { return int(ThinkingPriority()); }
    void SetThinkingPriorityValue(int v);
    QString Version() const { return QString(); }
    void SetVersion(const QString&) {}
    QCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(const QCursor& v) { FDragCursor = v; }
    int DragModeValue() const { return FDragMode; }
    void SetDragModeValue(int v) { FDragMode = v == dmAutomatic ? dmAutomatic : dmManual; }

    // Play without dragging: a click on a piece of the side to move picks it up, a click on
    // a target plays it (ChessBrdPick.cpp). Off after construction.
    bool ClickToMove() const { return FClickToMove; }
    void SetClickToMove(bool v);
    // The arrow keys move a focus square, Enter or Space picks up and drops, Escape puts
    // the piece down; the board takes the keyboard focus. Off after construction.
    bool KeyboardPlay() const { return FKeyboardPlay; }
    void SetKeyboardPlay(bool v);
    // Markers on the squares (ChessBrdMarkers.cpp), all off after construction: the legal
    // targets of the piece held, the two squares of the last move, the king in check.
    bool ShowLegalMoves() const { return FShowLegalMoves; }
    void SetShowLegalMoves(bool v);
    bool HighlightLastMove() const { return FHighlightLastMove; }
    void SetHighlightLastMove(bool v);
    bool HighlightCheck() const { return FHighlightCheck; }
    void SetHighlightCheck(bool v);

    // The piece picked up by a click or a key, None when none is.
    Square PickedSquare() const { return FPicked; }
    // The keyboard's focus square.
    Square FocusSquare() const { return FFocusSquare; }
    void SetFocusSquare(Square q);
    // What a click or Enter on a square does: picks up, puts down, picks another piece or
    // plays the piece held to it.
    void ActivateSquare(Square q);
    // The squares of the half-move that led to the position shown; None when there is none.
    std::pair<Square, Square> LastMoveSquares() const;
    // The king of the side to move when it is in check, None otherwise.
    Square CheckedKing() const;
    // Marker bits per square as drawn now (ChessBrdMarkers.cpp).
    enum TMark : std::uint8_t {
        mkLastMove = 1,
        mkCheck = 2,
        mkPicked = 4,
        mkTarget = 8,
        mkCapture = 16,
        mkFocus = 32,
        mkSuggest = 64
    };
    std::uint8_t MarksAt(Square q) const { return q >= A8 && q <= H1 ? FMarks[q] : 0; }
    // Shows two squares marked for a while (a suggested move); None, None takes them away.
    void ShowSuggestion(Square from, Square to, int ms);
    // An arrow from one square to another drawn over the pieces (ChessBrdArrow.cpp), until
    // it is taken away with None, None; none after construction. It stays while the game
    // changes under it.
    void SetArrow(Square from, Square to);
    std::pair<Square, Square> Arrow() const { return {FArrowFrom, FArrowTo}; }
    // The last move made on the board, in words ("White knight g1 to f3, check"); the
    // board's accessible description (ChessBrdAccessible.cpp). It is already up to date
    // when OnMoveReport tells of the move.
    QString LastMoveInWords() const { return FLastMoveWords; }

    // --- Questions and announcements (ChessBrdQuestions.cpp) ---------------------------------

    // The answer to a question about the game shown (BoardQuestions.h). arg is the piece
    // letter, rank or file asked about; Attackers and Moves ask about the focus square.
    QString Answer(TBoardQuestion question, int arg = 0) const;
    // Answers a question by announcing it. The keys of QuestionKeys.h ask while the board
    // has the keyboard focus.
    void Ask(TBoardQuestion question, int arg = 0);
    // Says text to assistive technology without moving the keyboard focus (TAnnouncer),
    // and hands it to OnAnnounce.
    void Announce(const QString& text);
    std::function<void(TChessBrd* Sender, const QString& text)> OnAnnounce;
    // The game's time in words, for the Clock question; without it the board has no clock.
    std::function<QString(TChessBrd* Sender)> OnAskClock;

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetWidth(int w);
    void SetHeight(int h);

    // The widget's own surface; paintEvent only copies it to the screen.
    const QImage& Surface() const { return FSurface; }

    // Loading state: while a stored window description is being applied nothing paints and
    // pictures go straight into the board's own objects; the first paint afterwards
    // rebuilds the piece images.
    void BeginLoading() { FLoading = true; }
    void EndLoading();
    bool Loading() const { return FLoading; }
    // False until the first full paint has run (it starts the computer player).
    bool FirstPaintDone() const { return FFirstPaintDone; }

    // --- Computer player -------------------------------------------------------------------

    // Halts the computer's player; an answer it gives afterwards to an earlier question is
    // dropped.
    void StopThinking() override;
    // Lets the computer's player go on: it moves whenever ComputersTurn holds.
    void StartComputerMove() override;
    // The side to move is played by the computer and the game is not over. The one answer
    // to whose turn it is, for the board's players and for the program around it.
    bool ComputersTurn() const;
    // The computer is to move and its player is at it: the built-in search runs or is about
    // to, or a host has been asked and has not answered yet. Drags, clicks and keys of the
    // person do not move that side's pieces meanwhile.
    bool ComputerThinking() const;
    bool MakeMove(Square oldSq, Square newSq, char promotion = 0) override;

    // The player of the computer's sides: the built-in engine, or while CustomEngine is
    // set the host player given here (none: the host asked through OnCalculateMove). The
    // board does not own it; give nullptr before it goes.
    TComputerPlayer& ComputerPlayer() const;
    void SetHostPlayer(TComputerPlayer* player);
    TComputerPlayer* HostPlayer() const { return FHostPlayer; }
    // Where every player's answer arrives, on the window thread: the move is made through
    // MakeMove with its promotion piece when player still plays the computer's side, request
    // is the current one and it is the computer's turn; otherwise it is dropped. A host's
    // move the rules refuse raises OnCalculationFailed. True when the move was made.
    bool ComputerMoveReady(TComputerPlayer& player, unsigned request, const TComputerMove& move);
    // The built-in player, for tests.
    TEnginePlayer* EnginePlayer() const { return FEngine.get(); }

    // Asked for the piece of a person's promoting move (through PlayerMove), when the pawn
    // has reached the last rank and before OnPromotion: "qrbn" in either case, or 0 to
    // leave it to PromotionPiece. Unset, nobody is asked.
    std::function<char(TChessBrd* Sender, Square oldSq, Square newSq)> PromotionChooser;

    // --- Drawing (ChessBrdPaint.cpp) ---------------------------------------------------------

    void PaintBoard() override;
    QPoint SquareTopLeft(Square q) const;
    int PieceImageIndex(char piece) const;
    // A null image for a letter without one. From a 2x set it has twice PieceSize pixels
    // and a device pixel ratio of 2.
    QImage PieceImage(char piece) const;
    static bool IsValidPieceSet(const QImage& b);
    static bool HasPicture(const QImage& b);
    int PieceSize() const { return FPieceSize; }
    int BoardLeft() const { return FSizeOfBorder; }
    int BoardTop() const { return FSizeOfBorder; }

    // --- Mouse (ChessBrdMouse.cpp) -------------------------------------------------------------

    Square SquareAtPoint(int x, int y) const;
    Square DragFrom() const { return FDragFrom; }
    Square DropTo() const { return FDropTo; }
    // Called once per animation step with the overlay's top-left corner in the control's
    // own coordinates; lets tests and tools follow an animation.
    std::function<void(int x, int y)> AnimationStepHook;

    // --- Widget events ----------------------------------------------------------------------

    TThinkEvent OnCalculateMove;
    TBoardMoveEvent OnCalculationFailed;
    TBoardNotifyEvent OnClick;
    TBoardNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

  protected:
    // Drawing hooks of the rules (ChessBrdPaint.cpp).
    void RepaintSquare(Square q) override;
    void DrawPieceAt(Square q, char piece) override;
    void DrawGridLines() override;
    void RedrawChanged(const std::string& old) override;
    // Animation hook of the rules (ChessBrdAnimate.cpp).
    void AnimateMove(Square from, Square to, int delay) override;
    bool IsDroppedMove(Square from, Square to) const override {
        return from == FDragFrom && to == FDropTo;
    }
    // The move's markers and its accessible announcement, then OnMoveReport.
    void ReportMove(const TMoveReport& report) override;
    char ChoosePromotion(Square oldSq, Square newSq) override;

    // Qt plumbing.
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

  private:
    // --- ChessBrd.cpp ---
    bool FLoading = false;
    bool FFirstPaintDone = false;

    // --- ChessBrdThread.cpp ---
    class THostEvent;
    void CreateThread();
    void DestroyThread();

    std::unique_ptr<TEnginePlayer> FEngine;
    std::unique_ptr<TComputerPlayer> FHostEvent;
    TComputerPlayer* FHostPlayer = nullptr;
    // The number of the question to the computer's player; every halt ends it.
    unsigned FRequest = 0;
    bool FInComputerMove = false; // a player's answer is being made
    bool FCustomEngine = false;
    bool FComputerPlaysWhite = false;
    bool FComputerPlaysBlack = false;
    int FSearchDepth = 1;
    TThreadPriority FThinkingPriority = tpNormal;

    // --- ChessBrdPaint.cpp ---
    void DrawBorder();
    void DrawCoordinates(QPainter& p);
    void DrawSquares();
    void DrawPieces();
    void LoadDefaultPieceSet();
    void BuildPieceImages();
    bool WantsSharpPieces() const;    // the device pixel ratio asks for a 2x set
    bool PieceImagesOutdated() const; // built for the other side of that ratio
    void ApplySizeRule();
    void FillSquareArea(QPainter& p, bool light); // a square-colour fill of the current clip
    class TSurfacePainter;                        // the one painter of a drawing batch
    void EnsureSurface();
    QRect SquareRect(Square q) const;
    void showEvent(QShowEvent* e) override;

    QImage FSurface;
    QImage FDefaultPieceSet;
    QImage FDefaultPieceSet2x;
    QImage FCustomPieceSet;
    QImage FCustomPieceSet2x;
    QImage FBorderBitmap;
    QImage FSquareLight;
    QImage FSquareDark;
    QPen FLineStyle;
    QFont FCoordFont;
    TColor FCoordFontColor = 0xFFFFFF;
    std::vector<QImage> FPieceImages; // PieceImages: premultiplied ARGB, mask applied
    std::array<std::array<int, 6>, 2> FPieceIndex{};
    QPainter* FPainter = nullptr; // the painter of the drawing batch in progress, if any
    bool FInPaintBoard = false;
    int FPieceSize = 40;
    bool FPiecesForHighRatio = false; // the piece images were built for a ratio of 1.5 or more
    int FSizeOfSquare = 40;
    int FSizeOfBorder = 24;
    TColor FBorderColor = 0;
    TColor FSquareColorDark = 0x808080;
    TColor FSquareColorLight = 0xC0C0C0;
    bool FBoardLines = false;
    CoordSet FDisplayCoords;
    bool FWhiteOnTop = false;

    // --- ChessBrdMouse.cpp ---
    TDragImage* FDragImage = nullptr; // the floating overlay, a child of the parent window
    bool FResizable = false;
    int FResizeMinSize = 100;
    int FResizeMaxSize = 1000;
    bool FResizing = false;
    QCursor FSavedCursor;
    QCursor FDragCursor{Qt::DragMoveCursor};
    TDragMode FDragMode = dmManual;

    // The deferred drag: Pending from the press on a piece until the pointer has moved 5
    // pixels, then Active until the release, Escape or the loss of the mouse.
    enum class TDragPhase : std::uint8_t { Idle, Pending, Active };
    TDragPhase FDragPhase = TDragPhase::Idle;
    // The squares of the drag: where the piece was picked up and where it was dropped.
    Square FDragFrom = None;
    Square FDropTo = None;
    Qt::MouseButton FDragButton = Qt::NoButton;
    QPoint FPressPos;
    QPoint FLastDragPos;
    bool FDragOverBoard = false; // the active drag's pointer is over the control
    bool FClicked = false;       // a left press that may end in OnClick
    class TDragSession;          // Escape watch and drag cursor of the drag in progress
    TDragSession* FDragSession = nullptr;

    void changeEvent(QEvent* e) override;
    TDragImage* Overlay();
    QPoint OverlayOrigin() const;
    void StartDeferredDrag(QPoint pos, Qt::MouseButton button);
    void DragMouseMove(QMouseEvent* e);
    void DragTo(QPoint pos);
    bool DoDragOver(QPoint pos, TDragState state);
    void FinishDrag(bool accepted, QPoint pos, bool pickUp = false);
    void DragDrop(QPoint pos);
    void DragCanceled();
    void ResizeMouseMove(QMouseEvent* e);
    int SmallestResize() const;

    // --- ChessBrdMarkers.cpp ---
    bool FShowLegalMoves = false;
    bool FHighlightLastMove = false;
    bool FHighlightCheck = false;
    std::array<std::uint8_t, 65> FMarks{}; // as drawn on the surface
    Square FSuggestFrom = None;
    Square FSuggestTo = None;
    QTimer* FSuggestTimer = nullptr;
    std::array<std::uint8_t, 65> ComputeMarks() const;
    void UpdateMarks();
    void DrawMarks(QPainter& p, Square q);
    void DrawFocusFrame(QPainter& p, Square q);
    void RedrawSquare(Square q);

    // --- ChessBrdArrow.cpp ---
    Square FArrowFrom = None;
    Square FArrowTo = None;
    QRect ArrowBounds(Square from, Square to) const;
    void DrawArrow();
    void PaintArrow(QPainter& p);
    void RedrawUnderArrow(Square from, Square to);

    // --- ChessBrdPick.cpp ---
    bool FClickToMove = false;
    bool FKeyboardPlay = false;
    Square FPicked = None;
    Square FFocusSquare = None;
    Qt::FocusPolicy FPlainFocusPolicy = Qt::NoFocus;
    bool FFocusPolicySaved = false;
    void UpdateFocusPolicy();
    void PickUp(Square q);
    void PlayPickedTo(Square q, QPoint at);
    bool MoveFocus(int key);
    bool IsSideToMove(Square q) const;

    // --- ChessBrdAccessible.cpp ---
    QString FLastMoveWords;
    Square FToldFocus = None;
    void AnnounceMove(const TMoveReport& move);
    void AnnounceFocus();

    // --- ChessBrdQuestions.cpp ---
    bool AskByKey(QKeyEvent* e);

    // --- ChessBrdAnimate.cpp ---
    bool FAnimateMoves = true;
    int FAnimationDelay = 0;
    void AnimationStep(int x, int y, int delay);
    void SlideAlongRow(int xa, int xb, int y, int delay);
    void SlideAlongColumn(int ya, int yb, int x, int delay);
    void SlideStraight(int x1, int y1, int x2, int y2, int delay);
};
