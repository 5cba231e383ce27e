// SAN written and read against the rules: round trips over random games, the signs, and
// disambiguation by file, rank and square exactly where needed.

#include <gtest/gtest.h>

#include <set>

#include "NotationTestSupport.h"
#include "San.h"

namespace {

FenPosition Fen(const std::string& text) {
    FenPosition p;
    std::string error;
    EXPECT_TRUE(ReadFen(text, p, error)) << text << ": " << error;
    return p;
}

std::string San(const std::string& fen, const std::string& from, const std::string& to,
                char promotion = 0) {
    TReplayGame game(Fen(fen));
    return WriteSan(game, {SquareFromText(from), SquareFromText(to), promotion});
}

std::string ReadError(const std::string& fen, const std::string& san) {
    TReplayGame game(Fen(fen));
    GameMove m;
    std::string error;
    EXPECT_FALSE(ReadSan(game, san, m, error)) << san;
    return error;
}

} // namespace

TEST(San, RandomGamesReadBackToTheSameMovesAndEverySanIsUnique) {
    int plies = 0;
    for (unsigned seed = 1; seed <= 1500; ++seed) {
        const GameRecord record = RandomGame(seed);
        TReplayGame game(record.Start);
        for (const GameMove& m : record.Moves) {
            std::set<std::string> seen;
            for (const GameMove& other : seed <= 150 ? game.LegalMoves() : std::vector<GameMove>{})
                ASSERT_TRUE(seen.insert(WriteSan(game, other)).second)
                    << "seed " << seed << ": two moves written " << WriteSan(game, other);
            const std::string san = WriteSan(game, m);
            GameMove back;
            std::string error;
            ASSERT_TRUE(ReadSan(game, san, back, error))
                << "seed " << seed << " " << san << ": " << error;
            ASSERT_EQ(back, m) << "seed " << seed << " " << san;
            ASSERT_TRUE(game.Play(m));
            ++plies;
        }
    }
    EXPECT_GT(plies, 100000);
}

TEST(San, PiecesPawnsCastlingPromotionAndSigns) {
    const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    EXPECT_EQ(San(start, "e2", "e4"), "e4");
    EXPECT_EQ(San(start, "g1", "f3"), "Nf3");
    EXPECT_EQ(San("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1", "e4", "d5"), "exd5");
    EXPECT_EQ(San("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5", "d6"), "exd6");
    EXPECT_EQ(San("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", "g1"), "O-O");
    EXPECT_EQ(San("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "c8"), "O-O-O");
    EXPECT_EQ(San("r3k3/8/8/8/8/8/8/3K4 b q - 0 1", "e8", "c8"), "O-O-O+");
    EXPECT_EQ(San("1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "b8", 'q'), "axb8=Q+");
    EXPECT_EQ(San("4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "a8", 'n'), "a8=N");
    EXPECT_EQ(San("rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2", "d8", "h4"),
              "Qh4#");
    EXPECT_EQ(San("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1", "a8"), "Ra8#");
}

TEST(San, DisambiguationByFileRankOrSquareOnlyWhereNeeded) {
    // Two knights on the same rank: the file; on the same file: the rank.
    EXPECT_EQ(San("4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1", "b1", "d2"), "Nbd2");
    EXPECT_EQ(San("4k3/8/8/8/8/8/8/R4RK1 w - - 0 1", "f1", "d1"), "Rfd1");
    EXPECT_EQ(San("4k3/8/8/8/R7/8/8/R3K3 w - - 0 1", "a1", "a3"), "R1a3");
    // Three queens: one shares a file, another a rank, so the whole square.
    EXPECT_EQ(San("2k5/8/8/8/4Q2Q/8/K7/7Q w - - 0 1", "h4", "e1"), "Qh4e1");
    EXPECT_EQ(San("2k5/8/8/8/4Q2Q/8/K7/7Q w - - 0 1", "e4", "e1"), "Qee1");
    EXPECT_EQ(San("2k5/8/8/8/4Q2Q/8/K7/7Q w - - 0 1", "h1", "e1"), "Q1e1");
    // A pinned rival cannot reach the square and needs no mention.
    EXPECT_EQ(San("4k3/8/8/8/8/8/3n4/r1N1KN2 w - - 0 1", "f1", "d2"), "Nxd2");
    // Pawn captures always carry their file, and nothing more.
    EXPECT_EQ(San("4k3/8/8/3p4/2P1P3/8/8/4K3 w - - 0 1", "c4", "d5"), "cxd5");
}

TEST(San, ReadingAcceptsCommonSlack) {
    TReplayGame game(Fen("r3k2r/1P6/8/8/8/8/8/R3K2R w KQkq - 0 1"));
    GameMove m;
    std::string error;
    EXPECT_TRUE(ReadSan(game, "0-0-0", m, error));
    EXPECT_EQ(m, (GameMove{E1, C1, 0}));
    EXPECT_TRUE(ReadSan(game, "O-O!?", m, error));
    EXPECT_EQ(m, (GameMove{E1, G1, 0}));
    EXPECT_TRUE(ReadSan(game, "bxa8Q+", m, error));
    EXPECT_EQ(m, (GameMove{B7, A8, 'q'}));
    EXPECT_TRUE(ReadSan(game, "b8=R", m, error));
    EXPECT_EQ(m, (GameMove{B7, B8, 'r'}));
    EXPECT_TRUE(ReadSan(game, "Ra1a6", m, error));
    EXPECT_EQ(m, (GameMove{A1, A6, 0}));
}

TEST(San, RefusalsSayWhy) {
    const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    EXPECT_EQ(ReadError(start, "Nxe5"), "no knight can reach e5");
    EXPECT_EQ(ReadError(start, "e5"), "no pawn can reach e5");
    EXPECT_EQ(ReadError(start, "Ndd2"), "no knight on the d-file can reach d2");
    EXPECT_EQ(ReadError(start, "O-O"), "White cannot castle king side here");
    EXPECT_EQ(ReadError(start, "Zf3"), "\"Zf3\" is not a move");
    EXPECT_EQ(ReadError(start, "e4=Q"), "a pawn reaching e4 does not promote");
    EXPECT_EQ(ReadError("4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1", "Nd2"), "two knights can reach d2");
    EXPECT_EQ(ReadError("4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a8"),
              "the pawn reaching a8 needs a promotion piece");
}
