#include "Hint.h"

#include <QMetaObject>

#include "ChessBrd.h"
#include "ChessEngine.h"
#include "GameInput.h"

THint::THint(TChessBrd* board, QObject* parent) : QObject(parent), FBoard(board) {}

THint::~THint() {
    if (FEngine) FEngine->AbortSearch = true;
    Join();
}

void THint::Join() {
    if (FThread.joinable()) FThread.join();
}

bool THint::Request() {
    if (FBoard == nullptr || Busy() || FBoard->GameEnded() || !FBoard->HasLegalMove()) return false;
    Join();
    const TEngineInput in = EngineInputOf(*FBoard, FBoard->SearchDepth());
    const std::string position = FBoard->Position();
    const std::string asked = position + (in.WhiteToMove ? 'w' : 'b');
    FDone = false;
    FEngine = std::make_shared<TChessEngine>();
    FThread = std::thread([this, in, asked, engine = FEngine] {
        engine->Think(in);
        const TEngineMove m = engine->BestMove();
        if (!engine->AbortSearch) {
            QMetaObject::invokeMethod(
                this, [this, m, asked] { Deliver(m.From + 1, m.To + 1, asked); },
                Qt::QueuedConnection);
        }
        FDone = true;
    });
    return true;
}

void THint::Deliver(int from, int to, const std::string& position) {
    Join();
    if (FBoard == nullptr) return;
    // The game went on meanwhile: the answer is for another position.
    if (FBoard->Position() + (FBoard->WhiteToMove() ? 'w' : 'b') != position) return;
    if (!FBoard->IsLegalMove(Square(from), Square(to))) return;
    FBoard->ShowSuggestion(Square(from), Square(to), ShowMs);
    if (OnHint) OnHint(Square(from), Square(to));
}
