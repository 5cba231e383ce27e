#pragma once
// TPosition is the strong search's board: a bitboard per piece type and colour, a mailbox,
// the Zobrist key, and a stack of the states every played move left behind, so that a move
// is taken back exactly and a repeated position is found by comparing keys. The material
// and piece-square sums of the evaluation are kept up to date as pieces move.

#include <string>
#include <string_view>
#include <vector>

#include "StrongAttacks.h"

namespace strong {

// What a move changes besides the pieces, kept so that it can be taken back.
struct TState {
    Key Hash = 0;
    int Castling = 0;
    int EnPassant = -1; // the square a pawn passed, -1 when none
    int Rule50 = 0;     // half-moves since the last capture or pawn move
    int Captured = NoPiece;
    Move Played = NoMove;
    int MovedPiece = NoPiece;
};

class TPosition {
  public:
    TPosition();

    // Sets up a position from FEN text; false (and the start position) when it does not
    // describe a position with one king each and the side not to move out of check.
    bool SetFen(std::string_view fen);
    std::string Fen() const;
    void SetStart();

    // Makes a move from the generators (pseudo-legal); the caller tests legality afterwards
    // with LeftInCheck. TakeBack undoes the last DoMove.
    void DoMove(Move m);
    void TakeBack();
    void DoNull();
    void TakeBackNull();

    // The side that just moved left its own king attacked.
    bool LeftInCheck() const { return Attacked(KingSq(Side ^ 1), Side); }
    bool InCheck() const { return Attacked(KingSq(Side), Side ^ 1); }
    bool Attacked(int sq, int by) const;
    Bitboard AttackersTo(int sq, Bitboard occ) const;
    // Whether a move from the generators checks the enemy king, directly or by uncovering a
    // slider (castling and en passant are judged by the king's or pawn's own move only).
    bool GivesCheck(Move m) const;
    // A move from the generators that does not leave the mover's king attacked.
    bool IsLegal(Move m);

    // Draw by the fifty-move rule, a repetition of an earlier position since the last
    // irreversible move, or material with which no mate is possible.
    bool IsRepetition() const;
    bool IsFiftyMoves() const { return State().Rule50 >= 100; }
    bool InsufficientMaterial() const;
    // Pieces other than pawns and kings of one side.
    bool HasPieces(int colour) const {
        return (ByColour[colour] & ~(ByType[Pawn] | ByType[King])) != 0;
    }

    // A position always holds both kings; the mask keeps an index into the tables even if not.
    int KingSq(int colour) const { return Lsb(ByType[King] & ByColour[colour]) & 63; }
    Bitboard Pieces(int colour, int type) const { return ByType[type] & ByColour[colour]; }
    Bitboard Occupied() const { return ByColour[White] | ByColour[Black]; }
    const TState& State() const { return States.back(); }
    // The state the move `back` plies before the last one left (0: the last), nullptr
    // before the first.
    const TState* EarlierState(int back) const {
        return back < static_cast<int>(States.size()) ? &States[States.size() - 1 - back] : nullptr;
    }
    Key Hash() const { return State().Hash; }
    int GamePly() const { return static_cast<int>(States.size()) - 1; }

    // Long algebraic notation ("e2e4", "e7e8q"), and the legal move it names (NoMove if
    // none).
    static std::string MoveText(Move m);
    static std::string SquareName(int sq);
    Move ParseMove(std::string_view text);

    int Board[64];
    Bitboard ByType[6];
    Bitboard ByColour[2];
    int Side = White;
    // Material and piece-square sums from White's point of view, middle game and end game,
    // of each evaluation weight set, and the game phase (24 with all pieces on the board).
    int PsqMg[2] = {0, 0}, PsqEg[2] = {0, 0}, Phase = 0;

  private:
    void Clear();
    void Put(int sq, int piece);
    void Remove(int sq);
    void Shift(int from, int to);
    bool Consistent() const;

    std::vector<TState> States;
};

} // namespace strong
