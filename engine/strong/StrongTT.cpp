#include "StrongTT.h"

#include <algorithm>
#include <bit>

namespace strong {

namespace {

std::uint32_t Fold(std::uint64_t data) {
    return static_cast<std::uint32_t>(data) ^ static_cast<std::uint32_t>(data >> 32);
}

} // namespace

static_assert(sizeof(std::atomic<std::uint64_t>) == 8 && sizeof(std::atomic<std::uint32_t>) == 4);

void TTranspositionTable::Resize(std::size_t megabytes) {
    const std::size_t wanted = std::max<std::size_t>(megabytes, 1) * 1024 * 1024 / sizeof(TBucket);
    Count = std::bit_floor(wanted);
    Buckets = std::make_unique<TBucket[]>(Count); // value-initialised: every entry empty
}

void TTranspositionTable::Clear() {
    for (std::size_t i = 0; i < Count; ++i)
        for (int slot : {Deep, Recent}) {
            Buckets[i].Data[slot].store(0, std::memory_order_relaxed);
            Buckets[i].Check[slot].store(0, std::memory_order_relaxed);
        }
}

std::uint64_t TTranspositionTable::Pack(const TTEntry& e) {
    return static_cast<std::uint64_t>(e.Best) |
           static_cast<std::uint64_t>(static_cast<std::uint16_t>(e.Score)) << 16 |
           static_cast<std::uint64_t>(static_cast<std::uint16_t>(e.Eval)) << 32 |
           static_cast<std::uint64_t>(static_cast<std::uint8_t>(e.Depth)) << 48 |
           static_cast<std::uint64_t>(e.Bound) << 56;
}

TTEntry TTranspositionTable::Load(const TBucket& b, int slot) const {
    const std::uint64_t data = b.Data[slot].load(std::memory_order_relaxed);
    TTEntry e;
    e.Check = b.Check[slot].load(std::memory_order_relaxed) ^ Fold(data);
    e.Best = static_cast<Move>(data);
    e.Score = static_cast<std::int16_t>(data >> 16);
    e.Eval = static_cast<std::int16_t>(data >> 32);
    e.Depth = static_cast<std::int8_t>(data >> 48);
    e.Bound = static_cast<std::uint8_t>(data >> 56);
    return e;
}

void TTranspositionTable::Put(TBucket& b, int slot, const TTEntry& e) {
    const std::uint64_t data = Pack(e);
    b.Data[slot].store(data, std::memory_order_relaxed);
    b.Check[slot].store(e.Check ^ Fold(data), std::memory_order_relaxed);
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
    for (int slot : {Deep, Recent}) {
        const TTEntry e = Load(b, slot);
        if (e.Check == check && (e.Bound & 3) != BoundNone) {
            out = e;
            out.Score = static_cast<std::int16_t>(ScoreFromTable(e.Score, ply));
            return true;
        }
    }
    return false;
}

void TTranspositionTable::Store(Key key, int ply, int depth, int bound, int score, int eval,
                                Move best) {
    TBucket& b = Buckets[Index(key)];
    const auto check = static_cast<std::uint32_t>(key >> 32);
    const TTEntry deep = Load(b, Deep), recent = Load(b, Recent);
    TTEntry e;
    e.Check = check;
    e.Score = static_cast<std::int16_t>(ScoreToTable(score, ply));
    e.Eval = static_cast<std::int16_t>(eval);
    e.Depth = static_cast<std::int8_t>(std::clamp(depth, -100, 127));
    e.Bound = static_cast<std::uint8_t>(Age | bound);
    // Keep the best move known for the position when this search found none.
    const TTEntry* same = deep.Check == check ? &deep : recent.Check == check ? &recent : nullptr;
    if (best == NoMove && same)
        e.Best = same->Best;
    else
        e.Best = best;
    // The deep slot takes what is at least as deep, or anything when its entry is from an
    // earlier search; the same position's entry is only overwritten by a near-equal depth.
    const bool deepIsOld = (deep.Bound & 0xFC) != Age || (deep.Bound & 3) == BoundNone;
    if (deep.Check == check) {
        if (bound == BoundExact || depth + 3 >= deep.Depth || deepIsOld) Put(b, Deep, e);
    } else if (deepIsOld || depth >= deep.Depth) {
        if (recent.Check != check) Put(b, Recent, deep);
        Put(b, Deep, e);
    } else {
        Put(b, Recent, e);
    }
}

int TTranspositionTable::Hashfull() const {
    int used = 0;
    const std::size_t n = std::min<std::size_t>(500, Count);
    for (std::size_t i = 0; i < n; ++i) {
        for (int slot : {Deep, Recent}) {
            const TTEntry e = Load(Buckets[i], slot);
            if ((e.Bound & 3) != BoundNone && (e.Bound & 0xFC) == Age) ++used;
        }
    }
    return static_cast<int>(used * 1000 / (2 * n));
}

} // namespace strong
