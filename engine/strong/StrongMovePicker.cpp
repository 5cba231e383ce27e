#include "StrongMovePicker.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "StrongSee.h"
#include "StrongTables.h"

namespace strong {

namespace {

// Moves a history value towards +-16384 by the bonus, less the nearer it is already.
template <typename T> void Age(T& h, int bonus) {
    h = static_cast<T>(h + bonus - h * std::abs(bonus) / 16384);
}

} // namespace

void TOrderingTables::Clear() {
    std::memset(Killers, 0, sizeof Killers);
    std::memset(History, 0, sizeof History);
    std::memset(Counter, 0, sizeof Counter);
    std::fill(FollowUp.begin(), FollowUp.end(), std::int16_t{0});
    std::memset(Captures, 0, sizeof Captures);
}

namespace {
// The captured type of a capture: a pawn for en passant, and for a promotion onto an empty
// square, which the capture history files with the pawns.
int VictimOf(const TPosition& pos, Move m) {
    const int piece = pos.Board[ToSq(m)];
    return piece == NoPiece ? Pawn : TypeOf(piece);
}
} // namespace

int TOrderingTables::CaptureScore(const TPosition& pos, Move m) const {
    return Captures[pos.Board[FromSq(m)]][ToSq(m)][VictimOf(pos, m)];
}

void TOrderingTables::UpdateCapture(const TPosition& pos, Move m, int bonus) {
    Age(Captures[pos.Board[FromSq(m)]][ToSq(m)][VictimOf(pos, m)], bonus);
}

int TOrderingTables::FollowUpRow(const TPosition& pos, int back) const {
    const TState* st = pos.EarlierState(back);
    if (!st || st->Played == NoMove || st->MovedPiece == NoPiece) return -1;
    return (st->MovedPiece * 64 + ToSq(st->Played)) * 768;
}

TOrderingTables::TRows TOrderingTables::FollowUpRows(const TPosition& pos) const {
    return {{FollowUpRow(pos, 0), FollowUpRow(pos, 1)}};
}

void TOrderingTables::UpdateQuiet(const TPosition& pos, Move m, int bonus) {
    Age(History[pos.Side][FromSq(m)][ToSq(m)], bonus);
    const int index = pos.Board[FromSq(m)] * 64 + ToSq(m);
    for (const int row : FollowUpRows(pos).Row)
        if (row >= 0) Age(FollowUp[row + index], bonus);
}

bool IsCapture(const TPosition& pos, Move m) {
    return pos.Board[ToSq(m)] != NoPiece || KindOf(m) == KindEnPassant;
}

TMovePicker::TMovePicker(const TPosition& pos, Move ttMove, const TOrderingTables& tables,
                         int ply) {
    GenerateAll(pos, List);
    Score(pos, ttMove, tables, ply, false);
}

TMovePicker::TMovePicker(const TPosition& pos, Move ttMove, const TOrderingTables& tables,
                         bool checks) {
    if (pos.InCheck()) {
        GenerateAll(pos, List);
        Score(pos, ttMove, tables, 0, false);
    } else {
        GenerateNoisy(pos, List);
        Score(pos, ttMove, tables, 0, true);
        if (checks) AddQuietChecks(pos);
    }
}

// Quiet checks go after the captures, and only those where the checking piece is safe.
// A move can check only by arriving where its piece attacks the king, or by leaving a ray
// from the king on which it stands first (castling aside); only such moves are asked.
void TMovePicker::AddQuietChecks(const TPosition& pos) {
    const int king = pos.KingSq(pos.Side ^ 1);
    const Bitboard occ = pos.Occupied();
    // The squares from which a piece of each type attacks the king.
    Bitboard reach[6] = {Attacks.Pawn[pos.Side ^ 1][king], Attacks.Knight[king],
                         BishopAttacks(king, occ), RookAttacks(king, occ), 0, 0};
    reach[Queen] = reach[Bishop] | reach[Rook];
    const Bitboard uncovering = (reach[Bishop] | reach[Rook]) & pos.ByColour[pos.Side];
    TMoveList quiet;
    GenerateQuiet(pos, quiet);
    for (const Move m : quiet) {
        if (KindOf(m) == KindPromotion) continue;
        const bool may = KindOf(m) == KindCastle ||
                         (reach[TypeOf(pos.Board[FromSq(m)])] & SqBit(ToSq(m))) ||
                         (uncovering & SqBit(FromSq(m)));
        if (!may || !pos.GivesCheck(m) || See(pos, m) < 0) continue;
        List.Moves[List.Size] = m;
        Scores[List.Size++] = 0;
    }
}

void TMovePicker::Score(const TPosition& pos, Move ttMove, const TOrderingTables& tables,
                        int ply, bool quiescence) {
    const TState& st = pos.State();
    const Move counter =
        st.Played != NoMove && st.MovedPiece != NoPiece ? tables.Counter[st.MovedPiece][ToSq(st.Played)] : NoMove;
    const TOrderingTables::TRows rows = tables.FollowUpRows(pos);
    int kept = 0;
    for (int i = 0; i < List.Size; ++i) {
        const Move m = List.Moves[i];
        int s;
        if (m == ttMove) {
            s = TTScore;
        } else if (IsNoisy(pos, m)) {
            const int victim = KindOf(m) == KindEnPassant ? Pawn : TypeOf(pos.Board[ToSq(m)]);
            const int attacker = TypeOf(pos.Board[FromSq(m)]);
            const int mvvLva = (victim == NoType ? 0 : SeeValue[victim] * 8) +
                               (KindOf(m) == KindPromotion ? SeeValue[PromoType(m)] * 8 : 0) - attacker;
            const bool good = KindOf(m) == KindPromotion && PromoType(m) != Queen
                                  ? false
                                  : TakesAtLeastItsWorth(pos, m) || See(pos, m) >= 0;
            if (quiescence && !good) continue;
            s = (good ? GoodCapture : BadCapture) + mvvLva;
            if (tables.UseCaptureHistory) s += tables.CaptureScore(pos, m) / 32;
        } else if (m == tables.Killers[ply][0]) {
            s = RefutationScore + 2;
        } else if (m == tables.Killers[ply][1]) {
            s = RefutationScore + 1;
        } else if (m == counter) {
            s = RefutationScore;
        } else {
            s = tables.QuietScore(pos, m, rows);
        }
        List.Moves[kept] = m;
        Scores[kept++] = s;
    }
    List.Size = kept;
}

Move TMovePicker::Next() {
    if (Index >= List.Size) return NoMove;
    int best = Index;
    for (int i = Index + 1; i < List.Size; ++i)
        if (Scores[i] > Scores[best]) best = i;
    std::swap(List.Moves[Index], List.Moves[best]);
    std::swap(Scores[Index], Scores[best]);
    LastScore = Scores[Index];
    return List.Moves[Index++];
}

} // namespace strong
