// The board with a computer player that answers when the test says: late, never, or after
// the game has moved on. The board must not wait for it, must drop an answer it no longer
// waits for, and must make a promotion the piece that came with the move; only a person's
// promotion asks the chooser. The built-in engine's promotion takes the same path.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <string>
#include <vector>

#include "BoardTestSupport.h"

namespace {

// A host player that remembers the question and answers only when told to.
struct TScriptedPlayer : TComputerPlayer {
    TChessBrd* Board = nullptr;
    unsigned Request = 0;
    int Asked = 0;
    bool Open = false;

    void Think(TChessBrd& board, unsigned request) override {
        if (!board.ComputersTurn()) return;
        ++Asked;
        Board = &board;
        Request = request;
        Open = true;
    }
    void Halt() override {}
    bool Thinking() const override { return Open; }
    bool Engaged() const override { return Open; }
    bool Answer(Square from, Square to, char promotion = 0) {
        Open = false;
        return Board->ComputerMoveReady(*this, Request, {from, to, promotion});
    }
};

struct ComputerPlayer : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }

    TScriptedPlayer Player;
    TCountingBoard Board; // destroyed before the player
    std::vector<std::string> Events;
    int Chooser = 0;

    void SetUp() override {
        Board.SetAnimateMoves(false);
        Board.PaintBoard();
        Board.SetHostPlayer(&Player);
        Board.SetCustomEngine(true);
    }

    // Records the rules events of every move, the promotion with the piece it heard; the
    // handler tries to make every promotion a knight.
    void RecordEvents() {
        Board.OnLegalMove = [this](TChessGame*, Square, Square) { Events.push_back("legal"); };
        Board.OnCapture = [this](TChessGame*, Square, Square, char c) {
            Events.push_back(std::string("capture ") + c);
        };
        Board.OnPromotion = [this](TChessGame*, Square, Square, char& piece) {
            Events.push_back(std::string("promotion ") + piece);
            piece = 'n';
        };
        Board.OnCheck = [this](TChessGame*, Square, Square) { Events.push_back("check"); };
        Board.OnPaint = [this](TChessGame*) { Events.push_back("paint"); };
    }

    // A person's promotion asks here and gets a bishop.
    void CountChooser() {
        Board.PromotionChooser = [this](TChessBrd* b, Square, Square to) {
            EXPECT_EQ(b, &Board);
            EXPECT_TRUE(b->PieceAt(to) == 'P' || b->PieceAt(to) == 'p'); // already arrived
            ++Chooser;
            return 'b';
        };
    }
};

} // namespace

TEST_F(ComputerPlayer, ALateAnswerIsMadeAndOneThatNeverComesHoldsNothingUp) {
    Board.SetComputerPlaysBlack(true);
    ASSERT_TRUE(Board.PlayerMove(E2, E4));
    EXPECT_EQ(Player.Asked, 1);
    EXPECT_TRUE(Board.ComputerThinking());
    PumpFor(100);
    EXPECT_FALSE(Board.WhiteToMove()); // nothing moves by itself meanwhile
    ASSERT_TRUE(Player.Answer(E7, E5));
    EXPECT_EQ(Board.PieceAt(E5), 'p');
    EXPECT_FALSE(Board.ComputerThinking());

    // Asked again and never answering: halting and taking the side back are instant.
    ASSERT_TRUE(Board.PlayerMove(G1, F3));
    EXPECT_EQ(Player.Asked, 2);
    QElapsedTimer clock;
    clock.start();
    Board.SetComputerPlaysBlack(false);
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_FALSE(Board.ComputerThinking());
    EXPECT_TRUE(Board.PlayerMove(B8, C6)); // the person plays Black now
}

TEST_F(ComputerPlayer, AnAnswerTheGameHasLeftBehindIsDropped) {
    Board.SetComputerPlaysBlack(true);
    ASSERT_TRUE(Board.PlayerMove(E2, E4));
    const unsigned asked = Player.Request;

    // A new game while it thinks: the old answer does not land in the new game.
    Board.NewGame();
    EXPECT_FALSE(Board.ComputerMoveReady(Player, asked, {E7, E5, 0}));
    ASSERT_TRUE(Board.PlayerMove(D2, D4));
    EXPECT_FALSE(Board.ComputerMoveReady(Player, asked, {E7, E5, 0}));
    EXPECT_EQ(Board.PieceAt(E7), 'p');
    EXPECT_NE(Player.Request, asked);
    ASSERT_TRUE(Player.Answer(D7, D5));

    // Halted and let go on in the same position (as by New game and Cancel): only the
    // newer question's answer counts.
    ASSERT_TRUE(Board.PlayerMove(C2, C4));
    const unsigned before = Player.Request;
    Board.StopThinking();
    Board.StartComputerMove();
    EXPECT_FALSE(Board.ComputerMoveReady(Player, before, {E7, E6, 0}));
    EXPECT_TRUE(Player.Answer(E7, E5));

    // From a player that no longer plays the computer's side.
    ASSERT_TRUE(Board.PlayerMove(G1, F3));
    Board.StopThinking();
    Board.SetCustomEngine(false);
    EXPECT_FALSE(Board.ComputerMoveReady(Player, Player.Request, {B8, C6, 0}));
    EXPECT_EQ(Board.PieceAt(B8), 'n');
}

TEST_F(ComputerPlayer, TheComputersPromotionIsThePieceItHandsOverAndNobodyIsAsked) {
    CountChooser();
    Board.SetPromotionPiece('r');
    Board.SetPositionText(
        QString::fromStdString(Placement({{E8, 'k'}, {A2, 'p'}, {B1, 'N'}, {H1, 'K'}})));
    Board.SetWhiteToMove(false);
    RecordEvents();
    Board.SetComputerPlaysBlack(true);
    ASSERT_TRUE(Player.Answer(A2, B1, 'q'));
    EXPECT_EQ(Board.PieceAt(B1), 'q'); // not the handler's knight, not PromotionPiece
    EXPECT_EQ(Board.PromotionPiece(), 'r');
    EXPECT_EQ(Chooser, 0);
    EXPECT_EQ(Events,
              (std::vector<std::string>{"legal", "capture N", "promotion q", "check", "paint"}));
}

TEST_F(ComputerPlayer, APersonsPromotionAsksTheChooserWithTheSameEvents) {
    CountChooser();
    Board.SetCustomEngine(false);
    Board.SetPromotionPiece('r');
    Board.SetPositionText(
        QString::fromStdString(Placement({{E1, 'k'}, {A7, 'P'}, {B8, 'n'}, {H6, 'K'}})));
    RecordEvents();
    ASSERT_TRUE(Board.PlayerMove(A7, B8));
    EXPECT_EQ(Chooser, 1);
    EXPECT_EQ(Board.PieceAt(B8), 'B');
    EXPECT_EQ(Board.PromotionPiece(), 'r');
    EXPECT_EQ(Events, (std::vector<std::string>{"legal", "capture n", "promotion b", "paint"}));

    // A move made by code without a piece asks nobody: PromotionPiece, as the handler
    // leaves it, for this and later promotions.
    Board.SetPositionText(QString::fromStdString(Placement({{E1, 'k'}, {C7, 'P'}, {H6, 'K'}})));
    Board.SetWhiteToMove(true);
    Events.clear();
    ASSERT_TRUE(Board.MakeMove(C7, C8));
    EXPECT_EQ(Chooser, 1);
    EXPECT_EQ(Board.PieceAt(C8), 'N');
    EXPECT_EQ(Board.PromotionPiece(), 'n');
    EXPECT_EQ(Events, (std::vector<std::string>{"legal", "promotion r", "paint"}));
}

TEST_F(ComputerPlayer, ARecordedMoveTakesItsPieceQuietlyOrWithAllItsEvents) {
    CountChooser();
    Board.SetCustomEngine(false);
    Board.SetPositionText(QString::fromStdString(
        Placement({{E1, 'k'}, {A7, 'P'}, {B7, 'P'}, {B8, 'n'}, {H6, 'K'}, {H2, 'p'}})));
    RecordEvents();
    ASSERT_TRUE(Board.PlayRecordedMove(A7, B8, 'r', true));
    EXPECT_EQ(Board.PieceAt(B8), 'R');
    EXPECT_TRUE(Events.empty());
    ASSERT_TRUE(Board.PlayRecordedMove(H2, H1, 'n', false));
    EXPECT_EQ(Board.PieceAt(H1), 'n');
    EXPECT_EQ(Events, (std::vector<std::string>{"legal", "promotion n", "paint"}));
    EXPECT_EQ(Chooser, 0);
    // A refused one changes nothing.
    EXPECT_FALSE(Board.PlayRecordedMove(B7, B8, 'q', true));
    EXPECT_EQ(Board.PieceAt(B8), 'R');
}

TEST_F(ComputerPlayer, TheBuiltInEnginesPromotionComesWithItsPiece) {
    CountChooser();
    Board.SetCustomEngine(false);
    Board.SetPromotionPiece('n');
    Board.SetPositionText(QString::fromStdString(Placement({{H5, 'k'}, {B7, 'P'}, {E1, 'K'}})));
    Board.SetCastlingAllowedBits(0);
    Board.SetSearchDepth(1);
    Board.SetComputerPlaysWhite(true);
    ASSERT_TRUE(PumpUntil([&] { return !Board.WhiteToMove(); }, 10000));
    Board.SetComputerPlaysWhite(false);
    EXPECT_EQ(Board.PieceAt(B8), 'Q');
    EXPECT_EQ(Chooser, 0);
    EXPECT_EQ(Board.PromotionPiece(), 'n');
}
