#pragma once
// The transposition table: what earlier searches learned about a position, found by its
// Zobrist key. Each bucket holds two entries: one kept for its depth, one always replaced.
// Mate scores are stored relative to the position, not the root, and adjusted on the way in
// and out.
//
// Several searching threads may share one table. Each entry is a 64-bit word of data and a
// 32-bit check, the key's upper half folded with the data, each read and written whole:
// an entry half written by one thread while another reads it fails the check and is a miss.

#include <atomic>
#include <cstddef>
#include <memory>

#include "StrongTypes.h"

namespace strong {

enum TBound : std::uint8_t { BoundNone = 0, BoundUpper = 1, BoundLower = 2, BoundExact = 3 };

struct TTEntry {
    std::uint32_t Check = 0; // the key's upper half
    Move Best = NoMove;
    std::int16_t Score = 0;
    std::int16_t Eval = 0;
    std::int8_t Depth = 0;
    std::uint8_t Bound = BoundNone; // low two bits the bound, the rest the search's age
    // The score is as good as the search's own against the window: exact, a lower bound at or
    // above beta, or an upper bound at or below alpha.
    bool Settles(int alpha, int beta) const {
        const int bound = Bound & 3;
        return bound == BoundExact || (bound == BoundLower && Score >= beta) ||
               (bound == BoundUpper && Score <= alpha);
    }
};

class TTranspositionTable {
  public:
    explicit TTranspositionTable(std::size_t megabytes = 16) { Resize(megabytes); }
    TTranspositionTable(const TTranspositionTable&) = delete;
    TTranspositionTable& operator=(const TTranspositionTable&) = delete;
    void Resize(std::size_t megabytes);
    void Clear();
    // A new search begins: older entries give way first.
    void NewSearch() { Age = static_cast<std::uint8_t>((Age + 4) & 0xFC); }

    // Copies the entry of the key into out; false when there is none. The score comes back
    // relative to the root.
    bool Probe(Key key, int ply, TTEntry& out) const;
    void Store(Key key, int ply, int depth, int bound, int score, int eval, Move best);
    // Asks the processor to fetch the key's bucket, ahead of the Probe that will follow.
    void Prefetch(Key key) const { __builtin_prefetch(&Buckets[Index(key)]); }
    // Permille of the first thousand buckets' entries written by this search.
    int Hashfull() const;

    static int ScoreToTable(int score, int ply);
    static int ScoreFromTable(int score, int ply);

  private:
    enum { Deep = 0, Recent = 1 };
    struct TBucket {
        std::atomic<std::uint64_t> Data[2];
        std::atomic<std::uint32_t> Check[2];
    };
    static std::uint64_t Pack(const TTEntry& e);
    TTEntry Load(const TBucket& b, int slot) const;
    void Put(TBucket& b, int slot, const TTEntry& e);

    std::unique_ptr<TBucket[]> Buckets;
    std::size_t Count = 0; // a power of two
    std::uint8_t Age = 0;
    std::size_t Index(Key key) const { return static_cast<std::size_t>(key) & (Count - 1); }
};

} // namespace strong
