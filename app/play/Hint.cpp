#include "Hint.h"

#include <QMetaObject>

#include <atomic>
#include <string>

#include "ChessBrd.h"
#include "GameLine.h"
#include "LadderPlayer.h"
#include "Thread.h"

namespace {

// The position and the side to move, as asked about.
std::string AskedOf(const TChessBrd& board) {
    return board.Position() + (board.WhiteToMove() ? 'w' : 'b');
}

} // namespace

// One search for one hint: it runs once and hands its move to the window thread through a
// synchronized call, which THint's own queue runs.
class THint::TSearch : public TThread {
  public:
    TSearch(THint& hint, const TGameLine& in, std::string asked,
            const strong::TSearchLimits& limits)
        : Asked(std::move(asked)), FHint(hint), FIn(in), FLimits(limits) {
        SetPostFunction([&hint](std::function<void()> call) {
            QMetaObject::invokeMethod(&hint, std::move(call), Qt::QueuedConnection);
        });
    }
    ~TSearch() override {
        FPlayer.Stop();
        TerminateAndWait();
    }

    const std::string Asked;
    std::atomic<bool> Finished = false; // the body has returned
    bool Answered = false;              // window thread: its answer has arrived

  protected:
    void Execute() override {
        const int strongest = static_cast<int>(strong::Ladder().size()) - 1;
        const TComputerMove m = ChooseAtLevel(FPlayer, FIn, strongest, FLimits);
        if (m.From != None && !Terminated())
            Synchronize([this, m] { FHint.Deliver(m.From, m.To); });
        Finished = true;
    }

  private:
    THint& FHint;
    TGameLine FIn;
    strong::TSearchLimits FLimits;
    strong::TTranspositionTable FTable{8};
    strong::TLevelPlayer FPlayer{FTable};
};

THint::THint(TChessBrd* board, QObject* parent) : QObject(parent), FBoard(board) {}

THint::~THint() = default;

bool THint::Busy() const {
    return FSearch && !FSearch->Answered && !FSearch->Finished;
}

bool THint::Request() {
    if (FBoard == nullptr || Busy() || FBoard->GameEnded() || !FBoard->HasLegalMove()) return false;
    strong::TSearchLimits limits;
    limits.MoveTime = ThinkMs;
    if (ClockLimits && ClockLimits(limits)) limits.MoveTime = 0;
    FSearch = std::make_unique<TSearch>(*this, GameLineOf(*FBoard), AskedOf(*FBoard), limits);
    FSearch->Resume();
    return true;
}

void THint::Deliver(int from, int to) {
    if (!FSearch) return;
    FSearch->Answered = true;
    if (FBoard == nullptr) return;
    // The game went on meanwhile: the answer is for another position.
    if (AskedOf(*FBoard) != FSearch->Asked) return;
    if (!FBoard->IsLegalMove(Square(from), Square(to))) return;
    FBoard->ShowSuggestion(Square(from), Square(to), ShowMs);
}
