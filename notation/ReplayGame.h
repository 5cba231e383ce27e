#pragma once
// TReplayGame is a game of the rules used off the board: it takes any position, lists the
// legal moves, plays them (promotions included) and keeps the two FEN counters, which the
// rules themselves do not. Notation is read and written against it, so that every move the
// notation accepts is one the rules accept.

#include <vector>

#include "ChessGame.h"
#include "Fen.h"

// A half-move: its squares and, for a pawn reaching the last rank, the new piece in lower
// case ('q', 'r', 'b', 'n'); 0 otherwise.
struct GameMove {
    Square From = None;
    Square To = None;
    char Promotion = 0;
    friend bool operator==(const GameMove&, const GameMove&) = default;
};

// A recorded game goes on as its players played it: a threefold repetition is a draw only
// when claimed, so the replay plays on past one (IsThreefoldRepetition still tells).
class TReplayGame : public TChessGame {
  public:
    TReplayGame() { SetRepetitionEndsGame(false); }
    explicit TReplayGame(const FenPosition& position) : TReplayGame() { SetUp(position); }

    // Starts a fresh game from the position. The rules count moves from 1 whatever the
    // position's number; the replay adds its own offset.
    void SetUp(const FenPosition& position);
    // The position now on the board with the counters the moves since SetUp have kept.
    FenPosition Fen() const;

    // Every legal move of the side to move, promotions once per piece, in square order.
    std::vector<GameMove> LegalMoves() const;
    // Plays a move through the rules; false (and nothing changes) when they refuse it or
    // when the promotion piece is missing or not wanted.
    bool Play(const GameMove& move);

    // True when the king of the side to move is attacked.
    bool SideToMoveInCheck() const;
    // True when the side to move is in check and has no legal move.
    bool IsMate() const { return SideToMoveInCheck() && !HasLegalMove(); }

    // The number of the move now to be played, as the position's text counts it.
    int FullMoveNumber() const { return FMoveOffset + CurrentMove(); }
    int HalfMoveClock() const { return FHalfMoveClock; }

    // A pawn of the side to move whose step from->to reaches the last rank.
    bool IsPromotion(Square from, Square to) const;

  private:
    int FMoveOffset = 0;
    int FHalfMoveClock = 0;
};
