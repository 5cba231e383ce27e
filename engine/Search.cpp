// The search: iterative deepening over a fail-hard alpha-beta search with a check extension
// and a quiescence search, ordered by the previous principal variation, by victim and
// attacker, and by the history table.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

#include "ChessEngine.h"
#include "EngineTables.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Promotions and captures score from CaptureOrder up; the principal-variation move rises above
// everything.
constexpr std::int32_t PVBonus = 10000000;

// The index of the first entry with the highest score among n > 0. Longer lists are scanned
// four scores at a time with the SSE2 instructions every x86-64 processor has: first the
// highest score, then its first place.
int FirstBest(const TGenMove* g, int n) {
    int best = 0;
#ifdef __SSE2__
    static_assert(sizeof(TGenMove) == 8 && offsetof(TGenMove, Score) == 4);
    if (n >= 8) {
        auto scores = [g](int i) {
            const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(g + i));
            const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(g + i + 2));
            return _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
        };
        auto higher = [](__m128i x, __m128i y) {
            const __m128i gt = _mm_cmpgt_epi32(x, y);
            return _mm_or_si128(_mm_and_si128(gt, x), _mm_andnot_si128(gt, y));
        };
        __m128i top = scores(0);
        int i = 4;
        for (; i + 4 <= n; i += 4)
            top = higher(scores(i), top);
        top = higher(top, _mm_shuffle_epi32(top, _MM_SHUFFLE(1, 0, 3, 2)));
        top = higher(top, _mm_shuffle_epi32(top, _MM_SHUFFLE(2, 3, 0, 1)));
        std::int32_t high = _mm_cvtsi128_si32(top);
        for (; i < n; ++i)
            high = std::max(high, g[i].Score);
        const __m128i wanted = _mm_set1_epi32(high);
        for (i = 0; i + 4 <= n; i += 4) {
            const int hits = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(scores(i), wanted)));
            if (hits) return i + std::countr_zero(static_cast<unsigned>(hits));
        }
        for (; g[i].Score != high; ++i) {
        }
        return i;
    }
#endif
    std::int32_t bestScore = g[0].Score;
    for (int i = 1; i < n; ++i) {
        if (g[i].Score > bestScore) {
            bestScore = g[i].Score;
            best = i;
        }
    }
    return best;
}

} // namespace

TEngineMove TChessEngine::BestMove() const {
    return PV[0][0];
}

void TChessEngine::Think(const TEngineInput& in) {
    // 1. Load the position.
    LoadPosition(in);
    // 2. Fold the evaluation tables for this root.
    BuildPieceSquareTables();
    // 3. History lives for one search.
    std::memset(History, 0, sizeof History);
    // 4. Deepen one iteration at a time; each leaves its line in PV[0].
    const int depth = std::clamp(in.SearchDepth, 1, 8);
    for (int d = 1; d <= depth; ++d) {
        if (Aborted()) break;
        Nodes = 0;
        FollowPV = true;
        const std::int32_t score = Search(-Infinity, Infinity, d);
        if (Aborted()) break;
        LastScore = score;
        if (OnIteration) OnIteration(d, score, Nodes);
    }
}

// Copies the line below the current ply behind move m into this ply's row.
void TChessEngine::RecordLine(TEngineMove m) {
    PV[Ply][Ply] = m;
    const int end = PVLength[Ply + 1];
    for (int j = Ply + 1; j < end; ++j)
        PV[Ply][j] = PV[Ply + 1][j];
    PVLength[Ply] = end;
}

// At the last ply the per-ply arrays end, and a near-full move stack could not hold another
// list: the node is scored statically instead.
std::int32_t TChessEngine::LeafScore() {
    PVLength[Ply] = Ply;
    return Evaluate();
}

std::int32_t TChessEngine::Search(std::int32_t alpha, std::int32_t beta, int depth) {
    // 1. Abort.
    if (Aborted()) return 0;
    // 2. Horizon.
    if (depth <= 0) return Quiesce(alpha, beta);
    if (Ply >= MaxPly - 1 || FirstMove[Ply] > MoveStackSize - 256) return LeafScore();
    // 3. Empty line.
    PVLength[Ply] = Ply;
    // 4. Check extension.
    const bool inCheck = SideInCheck();
    if (inCheck) ++depth;
    // 5. Moves, the previous line's move first.
    GenerateMoves();
    if (FollowPV) MarkPVMove();
    // 6. Try each move.
    bool anyLegal = false;
    const int end = MoveEnd[Ply];
    for (int i = FirstMove[Ply]; i < end; ++i) {
        if (Aborted()) break;
        PickMove(i);
        const TEngineMove m = MoveStack[i].Move;
        if (!PlayMove(m)) continue;
        anyLegal = true;
        ++Nodes;
        const std::int32_t x = -Search(-beta, -alpha, depth - 1);
        UndoMove();
        if (x > alpha) {
            History[m.From][m.To] += depth;
            if (x >= beta) return beta;
            alpha = x;
            RecordLine(m);
        }
    }
    // 7. Mate or stalemate.
    if (!anyLegal) return inCheck ? Ply - Infinity : 0;
    // 8. The best score found, or alpha when none beat it.
    return alpha;
}

std::int32_t TChessEngine::Quiesce(std::int32_t alpha, std::int32_t beta) {
    if (Ply >= MaxPly - 1 || FirstMove[Ply] > MoveStackSize - 256) return LeafScore();
    // 1. Empty line.
    PVLength[Ply] = Ply;
    // 2. and 3. In check every evasion is tried; otherwise stand pat, then captures.
    const bool inCheck = SideInCheck();
    if (inCheck) {
        GenerateMoves();
    } else {
        const std::int32_t x = Evaluate();
        if (x >= beta) return beta;
        if (x > alpha) alpha = x;
        GenerateCaptures();
    }
    // 4. The previous line's move first.
    if (FollowPV) MarkPVMove();
    // 5. Try each move. An abort also ends the loop here: on a board crowded with queens a
    // capture sequence can run for minutes, and the caller waits for the search to stop.
    // An aborted iteration's result is never used.
    bool anyLegal = false;
    const int end = MoveEnd[Ply];
    for (int i = FirstMove[Ply]; i < end; ++i) {
        if (Aborted()) break;
        PickMove(i);
        const TEngineMove m = MoveStack[i].Move;
        if (!PlayMove(m)) continue;
        anyLegal = true;
        ++Nodes;
        const std::int32_t x = -Quiesce(-beta, -alpha);
        UndoMove();
        if (x > alpha) {
            if (x >= beta) return beta;
            alpha = x;
            RecordLine(m);
        }
    }
    // 6. Mated.
    if (inCheck && !anyLegal) return Ply - Infinity;
    return alpha;
}

void TChessEngine::MarkPVMove() {
    // 1. Off the line unless this ply's list holds its move.
    FollowPV = false;
    // 2. The first entry with the line's squares gets the bonus.
    const TEngineMove pv = PV[0][Ply];
    for (int i = FirstMove[Ply]; i < MoveEnd[Ply]; ++i) {
        TGenMove& g = MoveStack[i];
        if (g.Move.From == pv.From && g.Move.To == pv.To) {
            FollowPV = true;
            g.Score += PVBonus;
            return;
        }
    }
}

// Brings the first entry with the highest score to the front of the remaining list.
void TChessEngine::PickMove(int start) {
    const int best = start + FirstBest(MoveStack + start, MoveEnd[Ply] - start);
    if (best != start) std::swap(MoveStack[start], MoveStack[best]);
}
