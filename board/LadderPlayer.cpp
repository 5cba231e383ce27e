#include "LadderPlayer.h"

#include <QMetaObject>

#include <atomic>

#include "ChessBrd.h"
#include "GameLine.h"
#include "StrongMoveGen.h"
#include "StrongPosition.h"
#include "Thread.h"


TComputerMove ChooseAtLevel(strong::TLevelPlayer& player, const TGameLine& game, int level,
                            const strong::TSearchLimits& limits) {
    strong::TPosition pos;
    if (!PositionOf(game, pos)) return {};
    const strong::Move m = player.Choose(pos, level, limits);
    if (m == strong::NoMove) return {};
    // The strong search numbers squares from a1, the board from a8 (1).
    TComputerMove move;
    move.From = static_cast<Square>((strong::FromSq(m) ^ 56) + 1);
    move.To = static_cast<Square>((strong::ToSq(m) ^ 56) + 1);
    if (strong::KindOf(m) == strong::KindPromotion)
        move.Promotion = "pnbrqk"[strong::PromoType(m)];
    return move;
}

// One search for one question: it runs once and hands its move to the window thread.
class TLadderPlayer::TSearch : public TThread {
  public:
    TSearch(TLadderPlayer& owner, const TGameLine& in, int level,
            const strong::TSearchLimits& limits)
        : FOwner(owner), FIn(in), FLevel(level), FLimits(limits) {
        SetPostFunction([&owner](std::function<void()> call) {
            QMetaObject::invokeMethod(&owner, std::move(call), Qt::QueuedConnection);
        });
    }
    ~TSearch() override {
        FOwner.FPlayer.Stop();
        TerminateAndWait();
    }
    std::atomic<bool> Running = true;

  protected:
    void Execute() override {
        const TComputerMove m = ChooseAtLevel(FOwner.FPlayer, FIn, FLevel, FLimits);
        Running = false;
        if (!Terminated()) Synchronize([this, m] { FOwner.Arrived(this, m); });
    }

  private:
    TLadderPlayer& FOwner;
    TGameLine FIn;
    int FLevel;
    strong::TSearchLimits FLimits;
};

TLadderPlayer::TLadderPlayer(TChessBrd& board) : FBoard(board) {
    FBudget.setSingleShot(true);
    // The time is up: the search plays what it has found so far.
    connect(&FBudget, &QTimer::timeout, this, [this] { FPlayer.Stop(); });
}

TLadderPlayer::~TLadderPlayer() {
    FSearch.reset();
}

void TLadderPlayer::SetLevel(int level) {
    FLevel = std::clamp(level, 0, static_cast<int>(strong::Ladder().size()) - 1);
}

bool TLadderPlayer::Thinking() const {
    return FSearch && FSearch->Running;
}

void TLadderPlayer::Think(TChessBrd& board, unsigned request) {
    if (!board.ComputersTurn()) return;
    const TGameLine in = GameLineOf(board);
    const std::string asked = FenOf(in.Now);
    FRequest = request;
    // Already at work on this position: the answer goes to the newer question.
    if (FSearch && asked == FAsked) return;
    Finish();
    FPlayer.ResetStop();
    strong::TSearchLimits limits;
    limits.MoveTime = MoveMs;
    limits.MoveTimeMax = MaxMoveMs;
    int budget = std::max(MoveMs, MaxMoveMs);
    if (ClockLimits && ClockLimits(limits)) {
        // The search plans on the clock; the timer only guards the most it may take.
        const int side = in.Now.WhiteToMove ? strong::White : strong::Black;
        limits.MoveTime = limits.MoveTimeMax = 0;
        budget = std::max(1, limits.Time[side] / 3 + limits.Inc[side]);
    }
    limits.Nodes = Nodes;
    FAsked = asked;
    FSearch = std::make_unique<TSearch>(*this, in, FLevel, limits);
    FBudget.start(budget);
    FSearch->Resume();
}

void TLadderPlayer::Halt() {
    Finish();
}

void TLadderPlayer::Finish() {
    FBudget.stop();
    // Stops the search and waits for its thread; a move it has posted is dropped.
    FSearch.reset();
    FAsked.clear();
}

void TLadderPlayer::Arrived(const TSearch* search, TComputerMove move) {
    if (search != FSearch.get()) return;
    // The board's answer may halt this player (a new game from a handler): it is handed
    // over once the worker has let go of this call, under the newest question about the
    // position.
    QMetaObject::invokeMethod(
        this,
        [this, search, move] {
            if (search != FSearch.get()) return;
            Finish();
            if (move.From != None) FBoard.ComputerMoveReady(*this, FRequest, move);
        },
        Qt::QueuedConnection);
}
