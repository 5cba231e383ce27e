#include "StrongSearch.h"

#include <algorithm>
#include <cmath>

#include "StrongEval.h"
#include "StrongSee.h"
#include "StrongTables.h"

namespace strong {

namespace {

// Late-move reductions by depth and move number.
struct TReductions {
    int R[64][64];
    TReductions() {
        for (int d = 0; d < 64; ++d)
            for (int n = 0; n < 64; ++n)
                R[d][n] = d && n ? static_cast<int>(0.8 + std::log(d) * std::log(n) / 2.3) : 0;
    }
};

int Reduction(int depth, int moveNumber) {
    static const TReductions table;
    return table.R[std::min(depth, 63)][std::min(moveNumber, 63)];
}

bool IsMateScore(int s) {
    return s >= MateBound || s <= -MateBound;
}

} // namespace

int TStrongSearch::Corrected(int raw) const {
    if (!Options.Correction) return raw;
    return std::clamp(raw + Correction.Of(*Pos), -MateBound + 1, MateBound - 1);
}

void TStrongSearch::NewGame() {
    Tables.Clear();
    Correction.Clear();
    TT.Clear();
    for (auto& h : Helpers) {
        h->Tables.Clear();
        h->Correction.Clear();
    }
}

void TStrongSearch::UseEval(TEvalSet set) {
    if (set == Eval) return;
    Eval = set;
    TT.Clear();
}

std::int64_t TStrongSearch::Elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  Start)
        .count();
}

void TStrongSearch::PlanTime(const TSearchLimits& limits, int side) {
    SoftMillis = HardMillis = 0;
    if (limits.Infinite) return;
    constexpr int Overhead = 30; // time the front needs to read and answer
    if (limits.MoveTime > 0) {
        HardMillis = SoftMillis = std::max(1, limits.MoveTime - Overhead);
        if (limits.MoveTimeHasRoom()) {
            // Room above the move time: it is planned as on a clock (below), stretched while
            // the best move keeps changing and shrunk once it holds, so that most moves take
            // about the move time and a few up to the most. The plan starts a fifth above
            // the move time, as the moves whose plan shrinks bring most of them below it.
            SoftMillis = limits.MoveTime * 6 / 5;
            HardMillis = std::max(1, limits.MoveTimeMax - Overhead);
        }
        return;
    }
    const int time = limits.Time[side];
    if (time <= 0) return;
    const int inc = limits.Inc[side];
    const int togo = limits.MovesToGo > 0 ? std::min(limits.MovesToGo, 40) : 30;
    const std::int64_t budget = time / togo + inc * 3 / 4;
    const std::int64_t reserve = std::max<std::int64_t>(time - Overhead, 1);
    HardMillis = std::clamp<std::int64_t>(budget * 4, 1, std::min<std::int64_t>(reserve, time / 3 + inc));
    HardMillis = std::max<std::int64_t>(HardMillis, 1);
    SoftMillis = std::min(HardMillis, std::max<std::int64_t>(budget * 6 / 10, 1));
}

void TStrongSearch::AddRootEffort(Move m, std::int64_t nodes) {
    for (TRootEffort& e : RootEffort)
        if (e.Played == m) {
            e.Nodes += nodes;
            return;
        }
    RootEffort.push_back({m, nodes});
}

int TStrongSearch::RootEffortOf(Move m) const {
    for (const TRootEffort& e : RootEffort)
        if (e.Played == m) return static_cast<int>(e.Nodes * 1000 / std::max<std::int64_t>(Nodes, 1));
    return 0;
}

bool TStrongSearch::ShouldStop() {
    if (Stopped) return true;
    if (Stop.load(std::memory_order_relaxed) || (NodeLimit && Nodes >= NodeLimit) ||
        (HardMillis && (Nodes & 255) == 0 && Elapsed() >= HardMillis))
        Stopped = true;
    return Stopped;
}

void TStrongSearch::Report(int depth, int score) {
    if (!OnReport) return;
    TSearchReport r;
    r.Depth = depth;
    r.SelDepth = SelDepth;
    r.Score = score;
    r.Nodes = AllNodes();
    r.Millis = Elapsed();
    r.Hashfull = TT.Hashfull();
    r.Pv.assign(Pv[0], Pv[0] + PvLength[0]);
    OnReport(r);
}

void TStrongSearch::Begin(TPosition& pos, const TSearchLimits& limits) {
    Start = std::chrono::steady_clock::now();
    Pos = &pos;
    Nodes = 0;
    Stopped = false;
    NodeLimit = limits.Infinite ? 0 : limits.Nodes;
    PlanTime(limits, pos.Side);
    Tables.UseCaptureHistory = Options.CaptureHistory;
    if (!IsHelper) TT.NewSearch();
}

Move TStrongSearch::Go(TPosition& pos, const TSearchLimits& limits) {
    // 1. The clock, the limits and the root's legal moves.
    Begin(pos, limits);
    TMoveList legal;
    GenerateLegal(pos, legal);
    if (legal.Size == 0) {
        LastScore = pos.InCheck() ? -Mate : 0;
        return NoMove;
    }
    RootEffort.clear();
    StartHelpers(pos);
    struct TJoin {
        TStrongSearch* Search;
        ~TJoin() { Search->StopHelpers(); }
    } join{this};
    Move best = legal.Moves[0];
    const int maxDepth = limits.Depth > 0 && !limits.Infinite ? std::min(limits.Depth, MaxPly - 4) : MaxPly - 4;
    CompletedDepth = 0;
    int score = 0;
    // On a game clock, or a move time with room above it, the time planned for the move
    // stretches while the best move keeps changing or the score falls, and shrinks once the
    // same move has held for a while.
    const bool clock = (limits.MoveTime <= 0 || limits.MoveTimeHasRoom()) && SoftMillis > 0;
    int stableIterations = 0;
    // 2. Deepen, each iteration inside a window around the last score.
    for (int depth = 1 + DepthSkew; depth <= maxDepth; ++depth) {
        SelDepth = 0;
        RootDepth = depth;
        int delta = 20;
        int alpha = -Infinite, beta = Infinite;
        if (depth >= 5) {
            alpha = std::max(score - delta, -Infinite);
            beta = std::min(score + delta, Infinite);
        }
        int result = 0;
        while (true) {
            result = Negamax(alpha, beta, depth, 0, false);
            if (Stopped) break;
            if (result <= alpha) {
                beta = (alpha + beta) / 2;
                alpha = std::max(result - delta, -Infinite);
            } else if (result >= beta) {
                beta = std::min(result + delta, Infinite);
            } else {
                break;
            }
            delta += delta / 2 + 10;
        }
        // 3. A stopped iteration's move counts when it already raised the root's score.
        if (Stopped) {
            if (PvLength[0] > 0 && depth > 1) best = Pv[0][0];
            break;
        }
        const Move previous = best;
        const int previousScore = score;
        score = result;
        best = PvLength[0] > 0 ? Pv[0][0] : best;
        stableIterations = best == previous ? stableIterations + 1 : 0;
        CompletedDepth = depth;
        LastScore = score;
        Report(depth, score);
        // 4. No new iteration when it could not finish, nor after a forced mate was found.
        // Where the best move took nine tenths of the search's nodes, the others were
        // refuted quickly: the plan shrinks to seven tenths.
        std::int64_t soft = SoftMillis;
        if (clock && depth >= 5) {
            int percent = stableIterations == 0 ? 160 : stableIterations >= 4 ? 60 : 100;
            if (score < previousScore - 30) percent += 40;
            if (RootEffortOf(best) >= 900) percent = percent * 7 / 10;
            soft = std::min(HardMillis, SoftMillis * percent / 100);
        }
        if (soft && Elapsed() >= soft) break;
        if (IsMateScore(score) && depth >= 2 * (Mate - std::abs(score)) + 4 && !limits.Infinite) break;
        if (legal.Size == 1 && (SoftMillis || HardMillis) && depth >= 4) break;
    }
    return DeepestHelpersMove(best);
}

std::vector<TRootScore> TStrongSearch::ScoreRootMoves(TPosition& pos, int depth) {
    Begin(pos, TSearchLimits{}); // no limit but the depth
    TMoveList legal;
    GenerateLegal(pos, legal);
    std::vector<TRootScore> out;
    NullAt[0] = false;
    StaticEvals[0] = StaticEvals[1] = -Infinite;
    for (int d = 1; d <= std::max(depth, 1); ++d) {
        out.clear();
        for (const Move m : legal) {
            pos.DoMove(m);
            ++Nodes;
            const int s = -Negamax(-Infinite, Infinite, d - 1, 1, false);
            pos.TakeBack();
            out.push_back({m, s});
        }
        if (Stopped) break;
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const TRootScore& a, const TRootScore& b) { return a.Score > b.Score; });
    return out;
}

int TStrongSearch::Negamax(int alpha, int beta, int depth, int ply, bool cutNode) {
    TPosition& pos = *Pos;
    const bool pvNode = beta - alpha > 1;
    const bool root = ply == 0;
    PvLength[ply] = ply;
    // 1. The horizon, the stop, draws and the distance to mate.
    const bool inCheck = pos.InCheck();
    if (inCheck) ++depth; // check extension
    if (depth <= 0) return Quiesce(alpha, beta, ply, true);
    if (ShouldStop()) return 0;
    SelDepth = std::max(SelDepth, ply);
    if (!root) {
        if (pos.IsFiftyMoves() || pos.IsRepetition() || pos.InsufficientMaterial()) return 0;
        if (ply >= MaxPly) return inCheck ? 0 : Evaluate(pos, Eval);
        alpha = std::max(alpha, ply - Mate);
        beta = std::min(beta, Mate - ply - 1);
        if (alpha >= beta) return alpha;
    }
    // 2. The transposition table: a deep enough entry with a fitting bound decides.
    const Move excluded = Excluded[ply];
    TTEntry entry;
    const bool hit = !excluded && TT.Probe(pos.Hash(), ply, entry);
    const Move ttMove = hit ? entry.Best : NoMove;
    if (hit && !pvNode && entry.Depth >= depth && entry.Settles(alpha, beta)) return entry.Score;
    // 3. The static evaluation and the pruning it allows.
    int eval = -Infinite, rawEval = -Infinite;
    if (!inCheck && excluded) {
        eval = StaticEvals[ply];
    } else if (!inCheck) {
        rawEval = hit ? entry.Eval : Evaluate(pos, Eval);
        eval = Corrected(rawEval);
    }
    StaticEvals[ply] = eval;
    // A table score that bounds the value beyond the evaluation is the better guess of it.
    if (Options.EvalFromTable && hit && !inCheck && !excluded && std::abs(entry.Score) < MateBound &&
        entry.Settles(eval, eval))
        eval = entry.Score;
    const bool improving = !inCheck && ply >= 2 && eval > StaticEvals[ply - 2];
    NullAt[ply] = false;
    bool mateThreat = false;
    if (!pvNode && !inCheck && !excluded) {
        if (depth <= 7 && eval - (80 - 20 * improving) * depth >= beta && std::abs(beta) < MateBound)
            return eval;
        if (depth <= 3 && eval + 200 + 250 * depth * depth < alpha) {
            const int q = Quiesce(alpha, alpha + 1, ply, true);
            if (q <= alpha) return q;
        }
        if (depth >= 3 && eval >= beta && pos.HasPieces(pos.Side) && !(ply > 0 && NullAt[ply - 1])) {
            const int r = 3 + depth / 4 + std::min(3, (eval - beta) / 200);
            pos.DoNull();
            NullAt[ply] = true;
            const int s = -Negamax(-beta, -beta + 1, depth - 1 - r, ply + 1, !cutNode);
            pos.TakeBackNull();
            NullAt[ply] = false;
            if (Stopped) return 0;
            if (s >= beta) return s >= MateBound ? beta : s;
            mateThreat = Options.MateThreats && s <= -MateBound;
        }
    }
    if (!ttMove && depth >= 4 && (pvNode || cutNode)) --depth;
    // 4. The table's move is singular when every other move fails well below its score: it
    // is searched a ply deeper. When even without it the score holds beta, the node is cut.
    int singular = 0;
    if (!root && !excluded && depth >= 7 && hit && ttMove && entry.Depth >= depth - 3 &&
        (entry.Bound & 3) != BoundUpper && std::abs(entry.Score) < MateBound && ply < 2 * RootDepth) {
        const int singularBeta = entry.Score - 2 * depth;
        Excluded[ply] = ttMove;
        const int s = Negamax(singularBeta - 1, singularBeta, (depth - 1) / 2, ply, cutNode);
        Excluded[ply] = NoMove;
        PvLength[ply] = ply;
        if (Stopped) return 0;
        if (s < singularBeta) singular = 1;
        else if (singularBeta >= beta) return singularBeta;
    }
    // 5. The moves, best first.
    TMovePicker picker(pos, ttMove, Tables, ply);
    const TOrderingTables::TRows rows = Tables.FollowUpRows(pos);
    Move quiets[64], captures[32];
    int quietCount = 0, captureCount = 0, legalCount = 0;
    int best = -Infinite;
    Move bestMove = NoMove;
    const int oldAlpha = alpha;
    bool skipQuiets = false;
    for (Move m = picker.Next(); m != NoMove; m = picker.Next()) {
        if (m == excluded) continue;
        const bool quiet = !IsNoisy(pos, m);
        // Whether the move gives check is asked only where a move could be pruned.
        int checks = -1;
        const auto checking = [&] {
            if (checks < 0) checks = pos.GivesCheck(m);
            return checks == 1;
        };
        if (quiet && skipQuiets && !checking()) continue;
        const bool refutation = picker.LastWasRefutation();
        const bool badCapture = picker.LastWasBadCapture();
        const int history = quiet ? Tables.QuietScore(pos, m, rows) : 0;
        // 6. Pruning of late quiet moves and losing captures near the leaves; checks stay.
        if (!root && best > -MateBound && pos.HasPieces(pos.Side) && !mateThreat) {
            if (quiet) {
                if (!pvNode && depth <= 6 && quietCount >= (3 + depth * depth) / (2 - improving) &&
                    !checking()) {
                    skipQuiets = true;
                    continue;
                }
                if (!inCheck && depth <= 6 && eval + 120 + 120 * depth <= alpha && !checking()) {
                    skipQuiets = true;
                    continue;
                }
                if (depth <= 3 && !refutation && history < -3000 * depth && !checking()) continue;
                if (depth <= 8 && See(pos, m) < -25 * depth * depth && !checking()) continue;
            } else if (depth <= 6 && !TakesAtLeastItsWorth(pos, m) && See(pos, m) < -90 * depth &&
                       !checking()) {
                continue;
            }
        }
        if (!EnterMove(m)) continue;
        ++legalCount;
        const std::int64_t nodesBefore = Nodes;
        const bool givesCheck = pos.InCheck();
        const int newDepth = depth - 1 + (m == ttMove ? singular : 0);
        int s = 0;
        // 7. Late moves first with a reduced null window, then as needed in full.
        if (depth >= 3 && legalCount > 1 + pvNode && !givesCheck &&
            (quiet || (badCapture && !Options.FullDepthSacrifices)) && !mateThreat) {
            int r = Reduction(depth, legalCount);
            r += cutNode;
            r -= pvNode;
            r -= refutation;
            if (quiet) r -= std::clamp(history / 8000, -2, 2);
            r = std::clamp(r, 0, newDepth - 1);
            s = -Negamax(-alpha - 1, -alpha, newDepth - r, ply + 1, true);
            if (s > alpha && r > 0) s = -Negamax(-alpha - 1, -alpha, newDepth, ply + 1, !cutNode);
        } else if (!pvNode || legalCount > 1) {
            s = -Negamax(-alpha - 1, -alpha, newDepth, ply + 1, !cutNode);
        }
        if (pvNode && (legalCount == 1 || (s > alpha && s < beta)))
            s = -Negamax(-beta, -alpha, newDepth, ply + 1, false);
        pos.TakeBack();
        if (root) AddRootEffort(m, Nodes - nodesBefore);
        if (Stopped) return 0;
        if (quiet && quietCount < 64) quiets[quietCount++] = m;
        else if (!quiet && captureCount < 32) captures[captureCount++] = m;
        if (s <= best) continue;
        best = s;
        if (s <= alpha) continue;
        bestMove = m;
        alpha = s;
        Pv[ply][ply] = m;
        for (int j = ply + 1; j < PvLength[ply + 1]; ++j)
            Pv[ply][j] = Pv[ply + 1][j];
        PvLength[ply] = std::max(PvLength[ply + 1], ply + 1);
        if (s < beta) continue;
        // 8. A cut: the move that caused it is remembered, the captures tried before it
        // count as failures.
        const int bonus = std::min(depth * depth * 16, 1600);
        if (Options.CaptureHistory) {
            if (!quiet) Tables.UpdateCapture(pos, m, bonus);
            for (int i = 0; i < captureCount; ++i)
                if (captures[i] != m) Tables.UpdateCapture(pos, captures[i], -bonus);
        }
        if (quiet) {
            if (Tables.Killers[ply][0] != m) {
                Tables.Killers[ply][1] = Tables.Killers[ply][0];
                Tables.Killers[ply][0] = m;
            }
            for (int i = 0; i < quietCount; ++i)
                Tables.UpdateQuiet(pos, quiets[i], quiets[i] == m ? bonus : -bonus);
            const TState& st = pos.State();
            if (st.Played != NoMove && st.MovedPiece != NoPiece)
                Tables.Counter[st.MovedPiece][ToSq(st.Played)] = m;
        }
        break;
    }
    // 9. Mate or stalemate; the result is stored.
    if (legalCount == 0) return excluded ? alpha : inCheck ? ply - Mate : 0;
    if (excluded) return best;
    const int bound = best >= beta ? BoundLower : best > oldAlpha ? BoundExact : BoundUpper;
    // The evaluation learns from a score the search found beyond it, unless a capture or
    // promotion made the difference or the bound says nothing about the direction.
    if (Options.Correction && !inCheck && std::abs(best) < MateBound &&
        (bestMove == NoMove || !IsNoisy(pos, bestMove)) &&
        !(bound == BoundLower && best <= eval) && !(bound == BoundUpper && best >= eval))
        Correction.Learn(pos, best, rawEval, depth);
    TT.Store(pos.Hash(), ply, depth, bound, best, inCheck ? 0 : rawEval, bestMove);
    return best;
}

bool TStrongSearch::EnterMove(Move m) {
    TPosition& pos = *Pos;
    pos.DoMove(m);
    TT.Prefetch(pos.Hash());
    if (pos.LeftInCheck()) {
        pos.TakeBack();
        return false;
    }
    ++Nodes;
    if (IsHelper && (Nodes & 1023) == 0) PublishedNodes.store(Nodes, std::memory_order_relaxed);
    return true;
}

int TStrongSearch::Quiesce(int alpha, int beta, int ply, bool checks) {
    TPosition& pos = *Pos;
    PvLength[ply] = ply;
    if (ShouldStop()) return 0;
    SelDepth = std::max(SelDepth, ply);
    if (pos.IsFiftyMoves() || pos.IsRepetition() || pos.InsufficientMaterial()) return 0;
    const bool inCheck = pos.InCheck();
    if (ply >= MaxPly) return inCheck ? 0 : Evaluate(pos, Eval);
    TTEntry entry;
    const bool hit = TT.Probe(pos.Hash(), ply, entry);
    if (hit && beta - alpha == 1 && entry.Settles(alpha, beta)) return entry.Score;
    int best = -Infinite;
    int eval = 0, standPat = 0;
    if (!inCheck) {
        eval = hit ? entry.Eval : Evaluate(pos, Eval);
        standPat = best = Corrected(eval);
        if (best >= beta) return best;
        alpha = std::max(alpha, best);
    }
    TMovePicker picker(pos, hit ? entry.Best : NoMove, Tables, checks);
    int legalCount = 0;
    Move bestMove = NoMove;
    const int oldAlpha = alpha;
    for (Move m = picker.Next(); m != NoMove; m = picker.Next()) {
        // Delta pruning: a capture that cannot lift the score to alpha is skipped.
        if (!inCheck && KindOf(m) != KindPromotion && pos.Board[ToSq(m)] != NoPiece &&
            standPat + SeeValue[TypeOf(pos.Board[ToSq(m)])] + 150 <= alpha)
            continue;
        if (!EnterMove(m)) continue;
        ++legalCount;
        const int s = -Quiesce(-beta, -alpha, ply + 1, false);
        pos.TakeBack();
        if (Stopped) return 0;
        if (s <= best) continue;
        best = s;
        if (s <= alpha) continue;
        alpha = s;
        bestMove = m;
        Pv[ply][ply] = m;
        for (int j = ply + 1; j < PvLength[ply + 1]; ++j)
            Pv[ply][j] = Pv[ply + 1][j];
        PvLength[ply] = std::max(PvLength[ply + 1], ply + 1);
        if (s >= beta) break;
    }
    if (inCheck && legalCount == 0) return ply - Mate;
    const int bound = best >= beta ? BoundLower : best > oldAlpha ? BoundExact : BoundUpper;
    TT.Store(pos.Hash(), ply, 0, bound, best, inCheck ? 0 : eval, bestMove);
    return best;
}

} // namespace strong
