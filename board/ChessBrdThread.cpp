// The computer-player side of the board control: whose turn it is, asking the player that
// plays the computer's side now, taking its answers on the window thread, and halting it.
// The built-in player is TEnginePlayer; the host asked through OnCalculateMove is
// THostEvent below; an outside player comes through SetHostPlayer.

#include <QTimer>

#include <algorithm>

#include "ChessBrd.h"
#include "ChessThread.h"
#include "EnginePlayer.h"

// The host engine asked through OnCalculateMove: it answers at once, inside the question.
class TChessBrd::THostEvent : public TComputerPlayer {
  public:
    void Think(TChessBrd& board, unsigned request) override {
        if (!board.ComputersTurn() || !board.OnCalculateMove || board.EngineHalted() || FAsking)
            return;
        // The handler's own calls on the board must not ask it again from inside.
        FAsking = true;
        // 3.1 The handler fills the squares.
        Square from = None, to = None;
        board.OnCalculateMove(&board, from, to);
        // 3.2 Play them unless the game was halted meanwhile.
        if (!board.EngineHalted()) board.ComputerMoveReady(*this, request, {from, to, 0});
        FAsking = false;
    }
    void Halt() override {}
    bool Thinking() const override { return false; }
    // Asked whenever the board lets the computer go on, until it answers.
    bool Engaged() const override { return true; }

  private:
    bool FAsking = false;
};

void TChessBrd::CreateThread() {
    FEngine = std::make_unique<TEnginePlayer>(*this);
    FHostEvent = std::make_unique<THostEvent>();
}

void TChessBrd::DestroyThread() {
    FEngine.reset();
}

// --- Whose turn, and who plays it -------------------------------------------------------------

// The one test of whether the computer, built-in or host, is to move: its side is to move
// and the game is not over.
bool TChessBrd::ComputersTurn() const {
    const bool itsSide =
        (FComputerPlaysWhite && FWhiteToMove) || (FComputerPlaysBlack && !FWhiteToMove);
    return itsSide && GameOver() == TGameOver::None;
}

TComputerPlayer& TChessBrd::ComputerPlayer() const {
    if (!FCustomEngine) return *FEngine;
    return FHostPlayer ? *FHostPlayer : *FHostEvent;
}

void TChessBrd::SetHostPlayer(TComputerPlayer* player) {
    if (FHostPlayer == player) return;
    // The old host's question ends with it.
    if (FCustomEngine && FHostPlayer) FHostPlayer->Halt();
    ++FRequest;
    FHostPlayer = player;
}

bool TChessBrd::Thinking() const {
    return FEngine && FEngine->Thinking();
}

bool TChessBrd::ComputerThinking() const {
    if (!FEngine) return false;
    // The built-in search, until it has handed its move over.
    if (Thinking()) return true;
    if (!ComputersTurn() || FGameEnded) return false;
    if (FCustomEngine && !FHostPlayer) return OnCalculateMove && !FEngineHalted;
    return ComputerPlayer().Engaged();
}

// --- Asking and halting -------------------------------------------------------------------------

void TChessBrd::StartComputerMove() {
    // 1. Nothing while loading.
    if (FLoading || !FEngine) return;
    // 2., 3. The player looks at whose turn it is (ComputersTurn) and works when it is its.
    ComputerPlayer().Think(*this, FRequest);
}

void TChessBrd::StopThinking() {
    // A handler of the computer's own move that ended the game may start a new game from
    // inside: the computer goes on, and its next answer still counts.
    if (!(FInComputerMove && FGameEnded)) ++FRequest;
    // 1. Halt the player, and the built-in engine should it still be on its way out.
    if (FEngine) {
        ComputerPlayer().Halt();
        if (&ComputerPlayer() != FEngine.get()) FEngine->Halt();
    }
    // 2.
    FEngineHalted = true;
}

bool TChessBrd::ComputerMoveReady(TComputerPlayer& player, unsigned request,
                                  const TComputerMove& move) {
    // An answer from a player that no longer plays, to a question the game has left behind,
    // or for a side that is not the computer's, is dropped.
    if (!FEngine || &player != &ComputerPlayer() || request != FRequest || !ComputersTurn())
        return false;
    FInComputerMove = true;
    const bool made = MakeMove(move.From, move.To, move.Promotion);
    FInComputerMove = false;
    if (!FCustomEngine) return made;
    if (!made) {
        if (OnCalculationFailed) OnCalculationFailed(this, move.From, move.To);
        return false;
    }
    // The built-in engine cycles by itself; a host is asked again, once this move and its
    // events are done, in case the computer also plays the other side.
    QTimer::singleShot(0, this, [this, request] {
        if (request == FRequest && ComputersTurn()) StartComputerMove();
    });
    return true;
}

bool TChessBrd::MakeMove(Square oldSq, Square newSq, char promotion) {
    const bool ok = TChessGame::MakeMove(oldSq, newSq, promotion);
    if (ok && FEngine) ComputerPlayer().MoveMade();
    return ok;
}

char TChessBrd::ChoosePromotion(Square oldSq, Square newSq) {
    return PromotionChooser ? PromotionChooser(this, oldSq, newSq) : 0;
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
    if (FEngine) FEngine->SetPriority(v);
}

void TChessBrd::SetThinkingPriorityValue(int v) {
    if (v >= tpIdle && v <= tpTimeCritical) SetThinkingPriority(TThreadPriority(v));
}
