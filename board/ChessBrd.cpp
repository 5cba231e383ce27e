// Construction, properties and the computer-player hand-off of the board control.

#include "ChessBrd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "ChessThread.h"
#include "DescriptionLoading.h"

namespace {

// Tells the window thread that the search thread has queued calls for it. The search thread
// only writes to an event descriptor and shares no memory with the toolkit's event queue, so
// the calls and everything they carry are ordered by the call queue's own mutex alone.
class TWakeNotifier : public QSocketNotifier {
  public:
    TWakeNotifier(int fd, QObject* parent) : QSocketNotifier(fd, Read, parent), FFd(fd) {}
    ~TWakeNotifier() override {
        setEnabled(false);
        ::close(FFd);
    }
    // Any thread.
    static void Wake(int fd) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(fd, &one, sizeof one);
    }
    // Window thread: takes the pending wake-ups.
    void Drain() {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto n = ::read(FFd, &count, sizeof count);
    }

  private:
    int FFd;
};

} // namespace

// --- Construction and destruction -----------------------------------------------------------

TChessBrd::TChessBrd(QWidget* parent) : QWidget(parent) {
    // 2. The owned objects; the pictures start empty, the timer belongs to the widget.
    FPollTimer = new QTimer(this);
    FPollTimer->setInterval(500);
    connect(FPollTimer, &QTimer::timeout, this, [this] { CheckHostEngine(); });
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
    FPollTimer->stop();
    if (FThread) {
        FThread->AbortSearch = true;
        FThread.reset();
    }
    FCalls.reset();
}

void TChessBrd::CreateThread() {
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0) return; // no way to hear from a thread: the board plays without one
    auto* notifier = new TWakeNotifier(fd, this);
    FCalls = std::make_unique<TCallQueue>([fd] { TWakeNotifier::Wake(fd); });
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
        notifier->Drain();
        if (FCalls) FCalls->RunPending();
    });
    FThread = std::make_unique<TChessThread>();
    FThread->SetPostFunction(FCalls->Poster());
    FThread->ReadBoard = [this](TBoardSnapshot& s) { ReadBoard(s); };
    FThread->MoveCallback = [this](int from, int to) {
        // StopThinking leaves the built-in search alone once the host plays; a move it
        // finishes after the switch is dropped, the host is asked instead (ThinkingDone).
        if (FCustomEngine) return false;
        const bool ok = MakeMove(Square(from), Square(to));
        FComputerMoveRefused = !ok;
        return ok;
    };
    FThread->CycleEndCallback = [this] { ThinkingDone(); };
    FThread->SetPriority(FThinkingPriority);
}

void TChessBrd::ReadBoard(TBoardSnapshot& s) const {
    for (int k = 1; k <= 64; ++k)
        s.Input.Board[k - 1] = FBoard[k];
    s.Input.WhiteToMove = FWhiteToMove;
    s.Input.CastlingAllowed = FCastlingAllowed.Bits;
    s.Input.EnPassant = FEnPassant;
    s.Input.SearchDepth = FSearchDepth;
    s.ComputerPlaysWhite = FComputerPlaysWhite;
    s.ComputerPlaysBlack = FComputerPlaysBlack;
    s.Priority = FThinkingPriority;
}

void TChessBrd::EndLoading() {
    FLoading = false;
    // Pictures loaded while loading went straight into the widget's objects; bring a
    // custom piece set into use now.
    BuildPieceImages();
    update();
}

// --- The computer player ----------------------------------------------------------------------

bool TChessBrd::ComputersTurn() const {
    return (FComputerPlaysWhite && FWhiteToMove) || (FComputerPlaysBlack && !FWhiteToMove);
}

bool TChessBrd::Thinking() const {
    return FThread && FThread->ThinkingFlag;
}

void TChessBrd::StartComputerMove() {
    // 1. Nothing while loading.
    if (FLoading) return;
    // 2. The built-in engine.
    if (!FCustomEngine) {
        if (!FThread) return;
        FThread->AbortSearch = false;
        FComputerMoveRefused = false;
        WakeThread();
        return;
    }
    // 3. The host engine.
    AskHostEngine();
}

void TChessBrd::AskHostEngine() {
    if (!ComputersTurn() || !OnCalculateMove || FEngineHalted) return;
    // The re-trigger check runs after every event; while the host is asked and its move is
    // made, events sent to the widget must not ask it again from inside.
    FAskingHost = true;
    // 3.1 The handler fills the squares.
    Square from = None, to = None;
    OnCalculateMove(this, from, to);
    // 3.2 Play them unless the game was halted meanwhile.
    if (!FEngineHalted && !MakeMove(from, to) && OnCalculationFailed)
        OnCalculationFailed(this, from, to);
    FAskingHost = false;
}

void TChessBrd::WakeThread() {
    // A thread that is not suspended decides at the end of its cycle (ThinkingDone) whether
    // it goes on; resuming it now would have no effect.
    if (!FThread->Suspended()) return;
    // The thread would only pass through ThinkingDone again while the computer is not to
    // move, so it sleeps until that changes instead.
    FIdleParked = !ComputersTurn();
    if (!FIdleParked) FThread->Resume();
}

void TChessBrd::ThinkingDone() {
    // 1. The search is over.
    FThread->ThinkingFlag = false;
    // 2. Park the thread.
    FThread->Suspend();
    // 3. Go on unless the search was aborted. A refused move is not searched again until
    //    the game changes: the same position would give the same move.
    if (FThread->AbortSearch) return;
    if (FCustomEngine) {
        StartComputerMove();
    } else if (FComputerMoveRefused) {
        FIdleParked = true;
    } else {
        WakeThread();
    }
}

void TChessBrd::StopThinking() {
    // 1. Halt the built-in engine.
    if (!FCustomEngine && FThread) {
        if (FThread->InSynchronizedCall()) {
            // Called from a handler of the computer's own move: the thread waits for this
            // call, so it cannot be waited for. After a mate or a draw the thread goes on
            // (the handler may start a new game); otherwise it parks at the end of the cycle.
            if (!FGameEnded) FThread->AbortSearch = true;
        } else {
            FThread->AbortSearch = true;
            FIdleParked = false;
            // User input stays queued: only the thread's calls and timers run here.
            while (!FThread->Suspended())
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                                QEventLoop::WaitForMoreEvents);
        }
    }
    // 2.
    FEngineHalted = true;
}

bool TChessBrd::MakeMove(Square oldSq, Square newSq) {
    const bool ok = TChessGame::MakeMove(oldSq, newSq);
    if (ok) {
        FComputerMoveRefused = false;
        // A move made by code while the thread sleeps is one the cycling thread would have
        // noticed on its next cycle.
        if (FIdleParked && !FCustomEngine && FThread && !FThread->AbortSearch) WakeThread();
    }
    return ok;
}

void TChessBrd::CheckHostEngine() {
    if (FAskingHost || FLoading) return;
    if (!FEngineHalted && FCustomEngine && ComputersTurn()) StartComputerMove();
}

bool TChessBrd::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    CheckHostEngine();
    return handled;
}

// --- Players and search -------------------------------------------------------------------------

bool TChessBrd::ComputerPlaysBlack() const {
    return FComputerPlaysBlack;
}

void TChessBrd::SetComputerPlaysBlack(bool v) {
    StopThinking();
    FComputerPlaysBlack = v;
    StartComputerMove();
}

bool TChessBrd::ComputerPlaysWhite() const {
    return FComputerPlaysWhite;
}

void TChessBrd::SetComputerPlaysWhite(bool v) {
    StopThinking();
    FComputerPlaysWhite = v;
    StartComputerMove();
}

int TChessBrd::SearchDepth() const {
    return FSearchDepth;
}

void TChessBrd::SetSearchDepth(int v) {
    FSearchDepth = std::clamp(v, 1, 8);
}

TThreadPriority TChessBrd::ThinkingPriority() const {
    return FThinkingPriority;
}

void TChessBrd::SetThinkingPriority(TThreadPriority v) {
    FThinkingPriority = v;
    if (FThread) FThread->SetPriority(v);
}

void TChessBrd::SetThinkingPriorityValue(int v) {
    if (v >= tpIdle && v <= tpTimeCritical) SetThinkingPriority(TThreadPriority(v));
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
