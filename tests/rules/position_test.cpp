// The position text, the game-state properties and square names.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

const std::string kStart = "rnbqkbnrpppppppp" + std::string(32, ' ') + "PPPPPPPPRNBQKBNR";

// Counts the hook calls the setters make.
class CountingGame : public TChessGame {
  public:
    int Stops = 0;
    int Paints = 0;
    void StopThinking() override {
        ++Stops;
        TChessGame::StopThinking();
    }

  protected:
    void PaintBoard() override {
        ++Paints;
        TChessGame::PaintBoard();
    }
};

TEST(Position, NewControlHoldsTheStartOfAGame) {
    TChessGame game;
    EXPECT_EQ(game.Position(), kStart);
    EXPECT_TRUE(game.WhiteToMove());
    EXPECT_EQ(game.CurrentMove(), 1);
    EXPECT_EQ(game.CastlingAllowed(), CastleSet::All());
    EXPECT_EQ(game.EnPassant(), None);
    EXPECT_EQ(game.PromotionPiece(), 'q');
    EXPECT_EQ(game.HistoryFirstMove(), 1);
    EXPECT_TRUE(game.HistoryFirstWhite());
    EXPECT_EQ(game.HistoryLastMove(), 1);
    EXPECT_TRUE(game.HistoryLastWhite());
    EXPECT_TRUE(game.MoveHistory(1, true).Position.empty());
    EXPECT_EQ(game.MoveHistory(300, false).OldSq, None);
    EXPECT_EQ(game.MoveHistory(0, true).OldSq, None);
}

TEST(Position, WritingFiltersLettersStopsAtNulAndIgnoresTheRest) {
    TChessGame game;
    game.SetPosition("");
    EXPECT_EQ(game.Position(), std::string(64, ' '));

    // An x on e8 stays empty; the other letters are placed.
    game.SetPosition("rnbqxbnr");
    EXPECT_EQ(game.Position(), "rnbq bnr" + std::string(56, ' '));

    // A NUL as tenth character ends the reading.
    std::string withNul = "rnbqkbnrp";
    withNul += '\0';
    withNul += "ppppppp";
    game.SetPosition(withNul);
    EXPECT_EQ(game.Position(), "rnbqkbnrp" + std::string(55, ' '));

    // Characters past the 64th are ignored.
    game.SetPosition(std::string(64, ' ') + "KKKKKK");
    EXPECT_EQ(game.Position(), std::string(64, ' '));
    game.SetPosition(std::string(63, ' ') + "KQ");
    EXPECT_EQ(game.PieceAt(64), 'K');
}

TEST(Position, KeywordsSetTheStartButNothingElse) {
    CountingGame game;
    game.SetWhiteToMove(false);
    game.SetEnPassant(20);
    CastleSet rights;
    rights.Include(BlackKingSide);
    game.SetCastlingAllowed(rights);
    for (const char* word : {"INIT", "NewGame", "init", "nEwGaMe"}) {
        game.SetPosition("");
        game.SetPosition(word);
        EXPECT_EQ(game.Position(), kStart) << word;
    }
    EXPECT_FALSE(game.WhiteToMove());
    EXPECT_EQ(game.EnPassant(), Sq("d6"));
    EXPECT_EQ(game.CastlingAllowed(), rights);
    EXPECT_EQ(game.CurrentMove(), 1);

    // The comparison is on the whole value: a longer text is an ordinary position.
    game.SetPosition(std::string("init") + std::string(66, ' '));
    EXPECT_EQ(game.Position(), " n" + std::string(62, ' '));
    game.SetPosition(std::string("init\0", 5));
    EXPECT_EQ(game.Position(), " n" + std::string(62, ' '));
}

TEST(Position, WritingHaltsTheComputerFirstAndRepaintsLast) {
    CountingGame game;
    std::vector<std::string> order;
    game.OnPaint = [&](TChessGame* sender) {
        EXPECT_EQ(sender, &game);
        // By the time of the repaint the new letters are in place.
        order.push_back(game.Position().substr(0, 1));
    };
    const int stopsBefore = game.Stops;
    game.SetPosition("K");
    EXPECT_EQ(game.Stops, stopsBefore + 1);
    EXPECT_EQ(game.Paints, 1);
    EXPECT_EQ(order, std::vector<std::string>{"K"});
    EXPECT_TRUE(game.EngineHalted());
}

TEST(Position, PieceColorCoversWholeLetterRanges) {
    TChessGame game;
    game.SetPosition("PNBRQKpnbrqk");
    for (int sq = 1; sq <= 6; ++sq)
        EXPECT_EQ(game.PieceColor(sq), 1) << sq;
    for (int sq = 7; sq <= 12; ++sq)
        EXPECT_EQ(game.PieceColor(sq), 0) << sq;
    EXPECT_EQ(game.PieceColor(13), -1);
    EXPECT_EQ(game.PieceColor(0), -1);
    EXPECT_EQ(game.PieceColor(65), -1);
    EXPECT_EQ(game.PieceAt(-3), ' ');
}

TEST(Position, SettersStoreClampOrIgnore) {
    CountingGame game;
    int stops = game.Stops;
    game.SetEnPassant(0);
    game.SetEnPassant(30);
    game.SetEnPassant(16);
    game.SetEnPassant(49);
    EXPECT_EQ(game.EnPassant(), None);
    EXPECT_EQ(game.Stops, stops) << "ignored values do not halt the computer";
    game.SetEnPassant(20);
    EXPECT_EQ(game.EnPassant(), Sq("d6"));
    game.SetEnPassant(None);
    EXPECT_EQ(game.EnPassant(), Sq("d6"));
    game.SetEnPassant(41);
    EXPECT_EQ(game.EnPassant(), Sq("a3"));
    EXPECT_EQ(game.Stops, stops + 2);

    game.SetCurrentMove(7);
    EXPECT_EQ(game.CurrentMove(), 1);

    stops = game.Stops;
    game.SetWhiteToMove(false);
    EXPECT_FALSE(game.WhiteToMove());
    EXPECT_EQ(game.Stops, stops + 1);
}

TEST(SquareNames, RoundTripAndCase) {
    EXPECT_STREQ(SquareName(None), "None");
    EXPECT_STREQ(SquareName(A8), "A8");
    EXPECT_STREQ(SquareName(H1), "H1");
    EXPECT_STREQ(SquareName(static_cast<Square>(200)), "");
    for (int i = 0; i <= 64; ++i) {
        Square back = static_cast<Square>(99);
        ASSERT_TRUE(SquareFromName(SquareName(static_cast<Square>(i)), back));
        EXPECT_EQ(back, i);
    }
    Square sq = None;
    EXPECT_TRUE(SquareFromName("e4", sq));
    EXPECT_EQ(sq, E4);
    EXPECT_TRUE(SquareFromName("none", sq));
    EXPECT_EQ(sq, None);
    EXPECT_FALSE(SquareFromName("E9", sq));
    EXPECT_FALSE(SquareFromName("E44", sq));
    EXPECT_FALSE(SquareFromName("", sq));
    EXPECT_FALSE(SquareFromName(nullptr, sq));
}

} // namespace
