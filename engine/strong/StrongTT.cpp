#include "StrongTT.h"

#include <algorithm>
#include <bit>

namespace strong {

void TTranspositionTable::Resize(std::size_t megabytes) {
    const std::size_t wanted = std::max<std::size_t>(megabytes, 1) * 1024 * 1024 / sizeof(TBucket);
    Buckets.assign(std::bit_floor(wanted), TBucket{});
}

void TTranspositionTable::Clear() {
    std::fill(Buckets.begin(), Buckets.end(), TBucket{});
}

int TTranspositionTable::ScoreToTable(int score, int ply) {
    if (score >= MateBound) return score + ply;
    if (score <= -MateBound) return score - ply;
    return score;
}

int TTranspositionTable::ScoreFromTable(int score, int ply) {
    if (score >= MateBound) return score - ply;
    if (score <= -MateBound) return score + ply;
    return score;
}

bool TTranspositionTable::Probe(Key key, int ply, TTEntry& out) const {
    const TBucket& b = Buckets[Index(key)];
    const auto check = static_cast<std::uint32_t>(key >> 32);
    for (const TTEntry* e : {&b.Deep, &b.Recent}) {
        if (e->Check == check && (e->Bound & 3) != BoundNone) {
            out = *e;
            out.Score = static_cast<std::int16_t>(ScoreFromTable(e->Score, ply));
            return true;
        }
    }
    return false;
}

void TTranspositionTable::Store(Key key, int ply, int depth, int bound, int score, int eval,
                                Move best) {
    TBucket& b = Buckets[Index(key)];
    const auto check = static_cast<std::uint32_t>(key >> 32);
    TTEntry e;
    e.Check = check;
    e.Score = static_cast<std::int16_t>(ScoreToTable(score, ply));
    e.Eval = static_cast<std::int16_t>(eval);
    e.Depth = static_cast<std::int8_t>(std::clamp(depth, -100, 127));
    e.Bound = static_cast<std::uint8_t>(Age | bound);
    // Keep the best move known for the position when this search found none.
    const TTEntry* same = b.Deep.Check == check ? &b.Deep : b.Recent.Check == check ? &b.Recent : nullptr;
    if (best == NoMove && same) e.Best = same->Best;
    else e.Best = best;
    // The deep slot takes what is at least as deep, or anything when its entry is from an
    // earlier search; the same position's entry is only overwritten by a near-equal depth.
    const bool deepIsOld = (b.Deep.Bound & 0xFC) != Age || (b.Deep.Bound & 3) == BoundNone;
    if (b.Deep.Check == check) {
        if (bound == BoundExact || depth + 3 >= b.Deep.Depth || deepIsOld) b.Deep = e;
    } else if (deepIsOld || depth >= b.Deep.Depth) {
        if (b.Recent.Check != check) b.Recent = b.Deep;
        b.Deep = e;
    } else {
        b.Recent = e;
    }
}

int TTranspositionTable::Hashfull() const {
    int used = 0;
    const std::size_t n = std::min<std::size_t>(500, Buckets.size());
    for (std::size_t i = 0; i < n; ++i) {
        for (const TTEntry* e : {&Buckets[i].Deep, &Buckets[i].Recent})
            if ((e->Bound & 3) != BoundNone && (e->Bound & 0xFC) == Age) ++used;
    }
    return static_cast<int>(used * 1000 / (2 * n));
}

} // namespace strong
