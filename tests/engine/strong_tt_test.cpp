// The transposition table: what is stored is found again, a mate score keeps its distance
// from the position where it was found, and deep entries survive shallow ones.

#include <gtest/gtest.h>

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
