// The transposition table: what is stored is found again, a mate score keeps its distance
// from the position where it was found, deep entries survive shallow ones, and threads that
// share the table never read an entry mixed from two stores.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <latch>
#include <thread>
#include <vector>

#include "StrongTT.h"

using namespace strong;

TEST(StrongTT, StoredEntryIsFoundAndOtherKeysAreNot) {
    TTranspositionTable tt(1);
    const Key key = 0x123456789ABCDEF0ULL;
    tt.Store(key, 3, 7, BoundExact, 42, 17, 1234);
    TTEntry e;
    ASSERT_TRUE(tt.Probe(key, 3, e));
    EXPECT_EQ(e.Score, 42);
    EXPECT_EQ(e.Eval, 17);
    EXPECT_EQ(e.Depth, 7);
    EXPECT_EQ(e.Best, 1234);
    EXPECT_EQ(e.Bound & 3, BoundExact);
    EXPECT_FALSE(tt.Probe(key ^ (Key{1} << 40), 3, e)) << "same bucket, other position";
    tt.Clear();
    EXPECT_FALSE(tt.Probe(key, 3, e));
}

TEST(StrongTT, MateScoresAreStoredRelativeToTheirPosition) {
    TTranspositionTable tt(1);
    // Mate in 3 plies found at ply 5: 8 plies from the root.
    tt.Store(99, 5, 4, BoundExact, Mate - 8, 0, 0);
    TTEntry e;
    ASSERT_TRUE(tt.Probe(99, 2, e));
    EXPECT_EQ(e.Score, Mate - 5) << "the same position reached at ply 2 mates at ply 5";
    tt.Store(100, 4, 4, BoundExact, -(Mate - 6), 0, 0);
    ASSERT_TRUE(tt.Probe(100, 10, e));
    EXPECT_EQ(e.Score, -(Mate - 12));
}

TEST(StrongTT, DeepEntryOutlivesShallowOnesOfOtherPositionsInItsBucket) {
    TTranspositionTable tt(1);
    const Key deep = 0x1111111100000005ULL, other = 0x2222222200000005ULL,
              third = 0x3333333300000005ULL;
    tt.Store(deep, 0, 12, BoundLower, 50, 0, 1);
    tt.Store(other, 0, 2, BoundUpper, -5, 0, 2);
    tt.Store(third, 0, 1, BoundUpper, -6, 0, 3);
    TTEntry e;
    ASSERT_TRUE(tt.Probe(deep, 0, e));
    EXPECT_EQ(e.Depth, 12);
    EXPECT_TRUE(tt.Probe(third, 0, e)) << "the newest shallow entry takes the other slot";
    // In a later search the old deep entry gives way, to the other slot.
    tt.NewSearch();
    tt.Store(other, 0, 2, BoundUpper, -5, 0, 2);
    EXPECT_TRUE(tt.Probe(other, 0, e));
    EXPECT_TRUE(tt.Probe(deep, 0, e));
    EXPECT_FALSE(tt.Probe(third, 0, e));
}

TEST(StrongTT, ShallowResultKeepsTheKnownBestMove) {
    TTranspositionTable tt(1);
    tt.Store(7, 0, 6, BoundLower, 30, 0, 555);
    tt.Store(7, 0, 6, BoundUpper, 10, 0, NoMove);
    TTEntry e;
    ASSERT_TRUE(tt.Probe(7, 0, e));
    EXPECT_EQ(e.Best, 555);
}

TEST(StrongTT, ThreadsStoringIntoTheSameBucketsNeverReadAMixedEntry) {
    // A table of 1 MB and keys spread over a few buckets: the threads overwrite one another's
    // entries all the time. Each key's entry is a function of the key, so a hit with other
    // fields than its key's was put together from two stores. The threads start together, and
    // every other probe asks for the thread's own last key, so there are hits even when the
    // machine runs the threads one after another.
    TTranspositionTable tt(1);
    const auto fields = [](Key key) {
        return std::array<int, 3>{static_cast<int>(key % 1999) - 999, static_cast<int>(key % 127),
                                  static_cast<int>(key % 65521) + 1};
    };
    const auto keyOf = [](int thread, int i) {
        return (Key{static_cast<std::uint64_t>(thread * 7919 + i)} << 32) | static_cast<Key>(i % 8);
    };
    std::atomic<int> mixed{0}, hits{0};
    std::vector<std::thread> threads;
    std::latch start(4);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            for (int round = 0; round < 20000; ++round) {
                const Key key = keyOf(t, round % 64);
                const Key other = round % 2 ? key : keyOf((t + 1) % 4, round % 64);
                const auto f = fields(key);
                tt.Store(key, 0, f[1], BoundExact, f[0], f[0], static_cast<Move>(f[2]));
                TTEntry e;
                if (!tt.Probe(other, 0, e)) continue;
                ++hits;
                const auto g = fields(other);
                if (e.Score != g[0] || e.Eval != g[0] || e.Depth != g[1] || e.Best != g[2]) ++mixed;
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_GT(hits, 0);
    EXPECT_EQ(mixed, 0);
}
