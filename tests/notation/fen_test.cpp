// FEN written and read: round trips over random games, the counters, and every refusal of a
// text or of a position that real chess cannot reach.

#include <gtest/gtest.h>

#include "Fen.h"
#include "NotationTestSupport.h"

namespace {

std::string Refusal(const std::string& text) {
    FenPosition p;
    p.MoveNumber = 99;
    std::string error;
    EXPECT_FALSE(ReadFen(text, p, error)) << text;
    EXPECT_EQ(p.MoveNumber, 99) << "a refused text changed the position";
    return error;
}

} // namespace

TEST(Fen, StartPositionAndCountersAfterMoves) {
    EXPECT_EQ(WriteFen(StartFenPosition()),
              "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    TReplayGame game(StartFenPosition());
    for (const char* san : {"e4", "c5", "Nf3", "Nc6", "Bb5", "Qb6", "O-O", "Nd4"}) {
        GameMove m;
        std::string error;
        ASSERT_TRUE(ReadSan(game, san, m, error)) << san << ": " << error;
        ASSERT_TRUE(game.Play(m));
        if (std::string(san) == "e4") {
            EXPECT_EQ(WriteFen(game.Fen()),
                      "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
        }
    }
    EXPECT_EQ(WriteFen(game.Fen()),
              "r1b1kbnr/pp1ppppp/1q6/1Bp5/3nP3/5N2/PPPP1PPP/RNBQ1RK1 w kq - 6 5");
}

TEST(Fen, RandomGamePositionsReadBackUnchanged) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const GameRecord record = RandomGame(seed);
        TReplayGame game(record.Start);
        for (const GameMove& m : record.Moves) {
            ASSERT_TRUE(game.Play(m));
            const std::string text = WriteFen(game.Fen());
            FenPosition back;
            std::string error;
            ASSERT_TRUE(ReadFen(text, back, error)) << text << ": " << error;
            ASSERT_EQ(WriteFen(back), text);
            ASSERT_EQ(back.Board, game.Position());
        }
    }
}

TEST(Fen, WritesOnlyCastlingRightsWhoseKingAndRookAreAtHome) {
    // The rules keep a corner's right when its rook is captured there; FEN does not.
    FenPosition p = StartFenPosition();
    p.Board[H8 - 1] = ' ';
    p.Board[A1 - 1] = 'N';
    EXPECT_EQ(WriteFen(p), "rnbqkbn1/pppppppp/8/8/8/8/PPPPPPPP/NNBQKBNR w Kq - 0 1");
}

TEST(Fen, ReadingToleratesSpacingAndMissingCounters) {
    FenPosition p;
    std::string error;
    ASSERT_TRUE(ReadFen("  4k3/8/8/8/8/8/8/4K3   b  -  -\n", p, error)) << error;
    EXPECT_FALSE(p.WhiteToMove);
    EXPECT_EQ(p.HalfMoveClock, 0);
    EXPECT_EQ(p.MoveNumber, 1);
    ASSERT_TRUE(ReadFen("4k3/8/8/8/8/8/8/4K3 w - - 12 40", p, error)) << error;
    EXPECT_EQ(p.HalfMoveClock, 12);
    EXPECT_EQ(p.MoveNumber, 40);
    // Puzzle collections number their positions' move 0.
    ASSERT_TRUE(ReadFen("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 0", p, error)) << error;
    EXPECT_EQ(p.MoveNumber, 1);
}

TEST(Fen, MalformedTextsAreRefusedWithTheReason) {
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4K3"), "a FEN has 4 to 6 fields separated by spaces, not 1");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/4K3 w - -"), "the board has 7 ranks instead of 8");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/8/4K3 w - -"), "the board has more than 8 ranks");
    EXPECT_EQ(Refusal("4k3/9/8/8/8/8/8/4K3 w - -"), "'9' is not a piece letter");
    EXPECT_EQ(Refusal("4k3/44p/8/8/8/8/8/4K3 w - -"), "rank 7 has more than 8 squares");
    EXPECT_EQ(Refusal("4k3/7/8/8/8/8/8/4K3 w - -"), "rank 7 does not have 8 squares");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4X3 w - -"), "'X' is not a piece letter");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4K3 x - -"), "the side to move \"x\" is not w or b");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4K3 w KX -"),
              "the castling rights \"KX\" are not K, Q, k, q or -");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4K3 w - e9"),
              "the en-passant square \"e9\" is not a square");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4K3 w - - x 1"),
              "the half-move clock \"x\" is not a number");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4K3 w - - 0 -1"), "the move number -1 is out of range");
}

TEST(Fen, PositionsOutsideRealChessAreRefusedSayingWhich) {
    EXPECT_EQ(Refusal("8/8/8/8/8/8/8/4K3 w - -"), "Black has no king");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/3KK3 w - -"), "White has 2 kings");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/P3K3 w - -"), "a pawn stands on a1, on rank 1");
    EXPECT_EQ(Refusal("3pk3/8/8/8/8/8/8/4K3 w - -"), "a pawn stands on d8, on rank 8");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/NNNNNNNN/NNNNNNNN/N3K3 w - -"),
              "White has 18 men; no side has more than 16");
    EXPECT_EQ(Refusal("4k3/pppppppp/p7/8/8/8/8/4K3 w - -"),
              "Black has 9 pawns; no side has more than 8");
    EXPECT_EQ(Refusal("4k3/4R3/8/8/8/8/8/4K3 w - -"), "Black is in check but White is to move");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4K2R w KQ -"),
              "White's queen-side castling right needs the king on e1 and the rook on a1");
    EXPECT_EQ(Refusal("r3k3/8/8/8/8/8/8/4K3 w k -"),
              "Black's king-side castling right needs the king on e8 and the rook on h8");
    EXPECT_EQ(Refusal("4k3/8/8/8/4P3/8/8/4K3 w - e3"),
              "the en-passant square e3 is not on rank 6 with White to move");
    EXPECT_EQ(Refusal("4k3/8/8/8/8/8/8/4K3 b - e3 0 1"),
              "the en-passant square e3 does not follow a pawn's double step");
}
