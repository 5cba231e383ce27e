// The position text, the game-state setters and square names.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"
#include "Text.h"

namespace {

const std::string kStart = "rnbqkbnrpppppppp" + std::string(32, ' ') + "PPPPPPPPRNBQKBNR";
const std::string kEmptyBoard(64, ' ');

// Logs the hook calls of the setters.
struct HookLog : TChessGame {
    Lines Calls;
    void StopThinking() override {
        Calls.emplace_back("Stop");
        TChessGame::StopThinking();
    }
    void PaintBoard() override { Calls.push_back("Paint " + Position().substr(0, 2)); }
};

TEST(Position, WritingFiltersLettersStopsAtNulAndIgnoresTheRest) {
    TChessGame game;
    EXPECT_EQ(game.Position(), kStart);
    const struct {
        std::string Value, Expected;
    } cases[] = {
        {"", kEmptyBoard},
        {"rnbqxbnr", "rnbq bnr" + std::string(56, ' ')}, // x is no piece letter
        {std::string("rnbqkbnrp\0pp", 12), "rnbqkbnrp" + std::string(55, ' ')},
        {kEmptyBoard + "KKK", kEmptyBoard},
        {std::string(63, ' ') + "KQ", std::string(63, ' ') + "K"},
        {"INIT", kStart},
        {"NewGame", kStart},
        {"init" + std::string(66, ' '), " n" + std::string(62, ' ')}, // the whole value counts
        {std::string("init\0", 5), " n" + std::string(62, ' ')},
    };
    for (const auto& c : cases) {
        game.SetPosition(c.Value);
        EXPECT_EQ(game.Position(), c.Expected) << '"' << c.Value << '"';
    }
}

TEST(Position, WritingHaltsFirstRepaintsLastAndKeepsTheGameState) {
    HookLog game;
    game.SetEnPassant(20);
    game.SetWhiteToMove(false);
    CastleSet rights;
    rights.Include(BlackKingSide);
    game.SetCastlingAllowed(rights);
    game.Calls.clear();
    game.SetPosition("KQ");
    game.SetPosition("newgame");
    EXPECT_EQ(game.Calls, (Lines{"Stop", "Paint KQ", "Stop", "Paint rn"}));
    EXPECT_FALSE(game.WhiteToMove());
    EXPECT_EQ(game.EnPassant(), D6);
    EXPECT_EQ(game.CastlingAllowed(), rights);
    EXPECT_EQ(game.CurrentMove(), 1);
}

TEST(Position, SettersStoreOrIgnore) {
    HookLog game;
    game.Calls.clear();
    for (int value : {0, 16, 25, 30, 40, 49, 300})
        game.SetEnPassant(value);
    EXPECT_EQ(game.EnPassant(), None);
    EXPECT_TRUE(game.Calls.empty()) << "an ignored value does not halt the computer";
    game.SetEnPassant(20);
    game.SetEnPassant(None);
    EXPECT_EQ(game.EnPassant(), D6);
    game.SetEnPassant(48);
    EXPECT_EQ(game.EnPassant(), H3);
    game.SetCurrentMove(7);
    EXPECT_EQ(game.CurrentMove(), 1);
    game.SetWhiteToMove(false);
    EXPECT_EQ(game.Calls, (Lines{"Stop", "Stop", "Stop"}));
}

TEST(Position, PieceColorCoversWholeLetterRanges) {
    TChessGame game;
    game.SetPosition("PNBRQKpnbrqk ");
    for (int sq = 1; sq <= 13; ++sq)
        EXPECT_EQ(game.PieceColor(sq), sq <= 6 ? 1 : sq <= 12 ? 0 : -1);
    EXPECT_EQ(game.PieceColor(0), -1);
    EXPECT_EQ(game.PieceColor(65), -1);
    // Letters with no piece of their own still have a colour (a promotion can place them).
    game.SetPromotionPiece('c');
    game.ApplyPromotion(A8);
    game.ApplyPromotion(H1);
    EXPECT_EQ(game.PieceColor(A8), 1);
    EXPECT_EQ(game.PieceColor(H1), 0);
    game.SetPromotionPiece('s');
    game.ApplyPromotion(A8);
    EXPECT_EQ(game.PieceColor(A8), -1);
}

TEST(SquareNames, RoundTripIgnoringCase) {
    EXPECT_STREQ(SquareName(None), "None");
    EXPECT_STREQ(SquareName(H1), "H1");
    EXPECT_STREQ(SquareName(static_cast<Square>(200)), "");
    for (int i = 0; i <= 64; ++i) {
        Square back = static_cast<Square>(99);
        ASSERT_TRUE(SquareFromName(SquareName(static_cast<Square>(i)), back));
        EXPECT_EQ(back, i);
    }
    Square sq = None;
    EXPECT_TRUE(SquareFromName("e4", sq) && sq == E4);
    EXPECT_TRUE(SquareFromName("none", sq) && sq == None);
    for (const char* bad : {"E9", "E44", "", "I1"})
        EXPECT_FALSE(SquareFromName(bad, sq)) << bad;
    EXPECT_FALSE(SquareFromName(nullptr, sq));
}

TEST(SquareNames, TextIsLowerCaseWithADashOutsideTheBoard) {
    EXPECT_EQ(SquareText(A8), "a8");
    EXPECT_EQ(SquareText(E2), "e2");
    EXPECT_EQ(SquareText(H1), "h1");
    for (int outside : {0, -1, 65, 255})
        EXPECT_EQ(SquareText(outside), "-") << outside;
    for (int sq = A8; sq <= H1; ++sq)
        EXPECT_EQ(SquareFromText(SquareText(sq)), sq);
    for (const char* bad : {"E4", "e9", "i1", "e", "e44", "-", ""})
        EXPECT_EQ(SquareFromText(bad), None) << bad;
    EXPECT_TRUE(EqualIgnoringCase("NewGame", "newgame"));
    EXPECT_FALSE(EqualIgnoringCase("newgame", "newgam"));
    EXPECT_FALSE(EqualIgnoringCase("init", "inot"));
    // Only ASCII letters fold: bytes of other scripts must match exactly, whatever the locale.
    EXPECT_FALSE(EqualIgnoringCase("\xC9", "\xE9"));
}

} // namespace
