#pragma once
// Move ordering for the strong search: the transposition table's move first, then captures
// that do not lose material (most valuable victim, least valuable attacker), the two killer
// moves of the ply, the counter-move to the opponent's last move, the other quiet moves by
// their history, and captures that lose material last. In quiescence only captures and
// queen promotions that do not lose material are handed out.

#include <cstdint>
#include <vector>

#include "StrongMoveGen.h"

namespace strong {

// What the search has learned about quiet moves, kept between its iterations.
struct TOrderingTables {
    TOrderingTables() : FollowUp(12 * 64 * 12 * 64) {}
    Move Killers[MaxPly + 4][2];
    // By side to move, from and to square.
    int History[2][64][64];
    // The reply that refuted a move, by the moved piece and its to-square.
    Move Counter[12][64];
    // How well a quiet move (moved piece, to-square) did as the answer to the move one ply
    // before and as the sequel of the move two plies before, by that move's piece and
    // to-square: [earlier piece][earlier to][piece][to].
    std::vector<std::int16_t> FollowUp;
    // How well a capture did, by the moving piece, its to-square and the captured type; it
    // orders captures of equal victims only when UseCaptureHistory is set.
    std::int16_t Captures[12][64][6];
    bool UseCaptureHistory = false;
    void Clear();
    // Rewards (bonus > 0) or punishes a capture of the side to move in pos.
    void UpdateCapture(const TPosition& pos, Move m, int bonus);
    int CaptureScore(const TPosition& pos, Move m) const;
    // Where the follow-up entries of a quiet move in pos are found: the rows of the moves one
    // and two plies before (-1: none, at the start of the game or after a null move).
    struct TRows {
        int Row[2];
    };
    TRows FollowUpRows(const TPosition& pos) const;
    // The quiet move's history together with its two follow-up entries.
    int QuietScore(const TPosition& pos, Move m, const TRows& rows) const {
        const int index = pos.Board[FromSq(m)] * 64 + ToSq(m);
        int s = History[pos.Side][FromSq(m)][ToSq(m)];
        for (const int row : rows.Row)
            if (row >= 0) s += FollowUp[row + index];
        return s;
    }
    // Rewards (bonus > 0) or punishes a quiet move of the side to move in pos.
    void UpdateQuiet(const TPosition& pos, Move m, int bonus);

  private:
    int FollowUpRow(const TPosition& pos, int back) const;
};

class TMovePicker {
  public:
    // The main search's picker.
    TMovePicker(const TPosition& pos, Move ttMove, const TOrderingTables& tables, int ply);
    // The quiescence picker: noisy moves only, losing ones skipped (all evasions in check);
    // with checks, also the quiet moves that give check without losing the piece.
    TMovePicker(const TPosition& pos, Move ttMove, const TOrderingTables& tables, bool checks);
    // NoMove when the list is exhausted.
    Move Next();
    // The move last handed out was a killer or the counter-move.
    bool LastWasRefutation() const { return LastScore >= RefutationScore && LastScore < GoodCapture; }
    // The move last handed out was a capture or promotion that loses material.
    bool LastWasBadCapture() const { return LastScore < BadCapture / 2; }

  private:
    static constexpr int TTScore = 1 << 30, GoodCapture = 1 << 28, RefutationScore = 1 << 26,
                         BadCapture = -(1 << 28);
    void Score(const TPosition& pos, Move ttMove, const TOrderingTables& tables, int ply,
               bool quiescence);
    void AddQuietChecks(const TPosition& pos);
    TMoveList List;
    int Scores[256];
    int Index = 0;
    int LastScore = 0;
};

bool IsCapture(const TPosition& pos, Move m);
// A capture or a promotion: a move that changes the material.
inline bool IsNoisy(const TPosition& pos, Move m) {
    return IsCapture(pos, m) || KindOf(m) == KindPromotion;
}

} // namespace strong
