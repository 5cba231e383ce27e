// What the board answers a player who cannot see it: the answers on known positions, and
// the keys that ask them, heard as announcements while the keyboard focus stays put.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include <sstream>

#include "Announcer.h"
#include "BoardQuestions.h"
#include "ChessBrdAccessible.h"
#include "QuestionKeys.h"
#include "Text.h"
#include "render_support.h"

namespace {

Square Sq(const char* name) {
    return SquareFromText(name);
}

// "Ke1 Rh1 ke8": a letter and a square per piece, everything else empty.
void Place(TChessGame& g, const std::string& pieces, bool whiteToMove = true) {
    std::string text(64, ' ');
    std::istringstream in(pieces);
    for (std::string p; in >> p;)
        text[std::size_t(SquareFromText(p.substr(1)) - 1)] = p[0];
    g.SetPosition(text);
    g.SetWhiteToMove(whiteToMove);
}

bool Play(TChessGame& g, std::initializer_list<const char*> moves) {
    for (std::string m : moves)
        if (!g.MakeMove(SquareFromText(m.substr(0, 2)), SquareFromText(m.substr(2, 2))))
            return false;
    return true;
}

} // namespace

TEST(BoardQuestions, WherePiecesStandOnRanksAndFiles) {
    TChessGame g;
    g.NewGame();
    EXPECT_EQ(PiecesAnswer(g, 'N'), "white knights: b1, g1");
    EXPECT_EQ(PiecesAnswer(g, 'q'), "black queen: d8");
    EXPECT_EQ(PiecesAnswer(g, 'p'), "black pawns: a7, b7, c7, d7, e7, f7, g7, h7");
    EXPECT_EQ(RankAnswer(g, 4), "rank 4: empty");
    EXPECT_EQ(FileAnswer(g, 5),
              "file e: e1 white king, e2 white pawn, e7 black pawn, e8 black king");
    Place(g, "Ke1 ke8 Qa1");
    EXPECT_EQ(PiecesAnswer(g, 'R'), "white rooks: none");
    EXPECT_EQ(RankAnswer(g, 1), "rank 1: a1 white queen, e1 white king");
    EXPECT_EQ(RankAnswer(g, 0), "");
    EXPECT_EQ(FileAnswer(g, 9), "");
}

// Blocked lines, the direction pawns take, defenders beside attackers.
TEST(BoardQuestions, AttackersAndDefenders) {
    TChessGame g;
    Place(g, "Kh1 Qe1 Pd3 Pe4 Pf5 kh8 ra4 pd5 pe5 nf6 bh7");
    EXPECT_EQ(AttackersAnswer(g, Sq("e4")),
              "e4, white pawn, attacked by black rook a4, black pawn d5, black knight f6, "
              "defended by white queen e1, white pawn d3");
    // The bishop on h7 is stopped by the pawn on f5, the pawn on e5 only pushes.
    EXPECT_FALSE(Reaches(g, Sq("h7"), Sq("e4")));
    EXPECT_FALSE(Reaches(g, Sq("e5"), Sq("e4")));
    // A pawn takes forward only: the black pawn on d5 does not reach e6.
    EXPECT_FALSE(Reaches(g, Sq("d5"), Sq("e6")));
    EXPECT_TRUE(Reaches(g, Sq("f5"), Sq("e6")));
    EXPECT_EQ(AttackersAnswer(g, Sq("e6")),
              "e6, empty, reached by white: white pawn f5, by black: none");
    EXPECT_EQ(AttackersAnswer(g, Sq("a1")), "a1, empty, reached by white: white queen e1, "
                                            "by black: black rook a4");
    EXPECT_EQ(AttackersAnswer(g, Sq("h8")), "h8, black king, attacked by none, defended by none");
}

TEST(BoardQuestions, TurnCheckAndTheEndOfTheGame) {
    TChessGame g;
    g.NewGame();
    EXPECT_EQ(TurnAnswer(g), "White to move, move 1");
    ASSERT_TRUE(Play(g, {"e2e4", "f7f6", "d2d4"}));
    EXPECT_EQ(TurnAnswer(g), "Black to move, move 2");
    ASSERT_TRUE(Play(g, {"g7g5", "d1h5"}));
    EXPECT_EQ(TurnAnswer(g), "Checkmate, White has won");
    TChessGame check;
    Place(check, "Ke1 ke8 Ra8", false);
    EXPECT_EQ(TurnAnswer(check), "Black to move, move 1, in check");
    TChessGame stalemate;
    Place(stalemate, "Kf7 Qg6 kh8", false);
    EXPECT_EQ(TurnAnswer(stalemate), "Stalemate, the game is a draw");
}

// The last move is the one that led to the position shown, also after stepping back.
TEST(BoardQuestions, TheLastMoveInWords) {
    TChessGame g;
    g.NewGame();
    EXPECT_EQ(LastMoveAnswer(g), "No move yet");
    ASSERT_TRUE(Play(g, {"e2e4", "d7d5"}));
    EXPECT_EQ(LastMoveAnswer(g), "Black pawn d7 to d5");
    ASSERT_TRUE(Play(g, {"e4d5", "d8d5", "b1c3"}));
    EXPECT_EQ(LastMoveAnswer(g), "White knight b1 to c3");
    ASSERT_TRUE(g.StepBack());
    EXPECT_EQ(LastMoveAnswer(g), "Black queen d8 takes d5");
    ASSERT_TRUE(g.StepBack());
    EXPECT_EQ(LastMoveAnswer(g), "White pawn e4 takes d5");
    g.NewGame();
    ASSERT_TRUE(Play(g, {"e2e4", "a7a6", "e4e5", "d7d5", "e5d6"}));
    EXPECT_EQ(LastMoveAnswer(g), "White pawn e5 takes d6");
    ASSERT_TRUE(Play(g, {"e7d6", "g1f3", "d8e7", "f1e2", "e7e2"}));
    EXPECT_EQ(LastMoveAnswer(g), "Black queen e7 takes e2, check");
    g.NewGame();
    ASSERT_TRUE(Play(g, {"e2e4", "f7f6", "d2d4", "g7g5", "d1h5"}));
    EXPECT_EQ(LastMoveAnswer(g), "White queen d1 to h5, checkmate");
    Place(g, "Ke1 Rh1 ke8");
    g.SetCastlingAllowed(CastleSet::All());
    ASSERT_TRUE(Play(g, {"e1g1"}));
    EXPECT_EQ(LastMoveAnswer(g), "White castles king side");
    Place(g, "Ke1 Pb7 kh8");
    ASSERT_TRUE(Play(g, {"b7b8"}));
    EXPECT_EQ(LastMoveAnswer(g), "White pawn b7 to b8, promotes to queen, check");
}

TEST(BoardQuestions, LegalMovesOfAPiece) {
    TChessGame g;
    g.NewGame();
    EXPECT_EQ(MovesAnswer(g, Sq("g1")), "white knight g1: f3, h3");
    EXPECT_EQ(MovesAnswer(g, Sq("c1")), "white bishop c1 has no legal move");
    EXPECT_EQ(MovesAnswer(g, Sq("e7")), "black pawn e7, not black's turn");
    EXPECT_EQ(MovesAnswer(g, Sq("e4")), "e4, empty");
    // A pinned knight cannot move; the king castles; a pawn takes en passant.
    Place(g, "Ke1 Rh1 Ne2 Pd5 ke8 re7 pc5");
    g.SetCastlingAllowed(CastleSet::All());
    g.SetEnPassant(Sq("c6"));
    EXPECT_EQ(MovesAnswer(g, Sq("e2")), "white knight e2 has no legal move");
    EXPECT_EQ(MovesAnswer(g, Sq("e1")), "white king e1: d1, f1, g1 castles, d2, f2");
    EXPECT_EQ(MovesAnswer(g, Sq("d5")), "white pawn d5: c6 takes en passant, d6");
    Place(g, "Ke1 Nd4 ke8 pc6 pe6");
    EXPECT_EQ(MovesAnswer(g, Sq("d4")), "white knight d4: c2, e2, b3, f3, b5, f5, "
                                        "c6 takes black pawn, e6 takes black pawn");
}

// The keys stay clear of the board's own keys and of the window's one-letter commands, and
// no two ask different questions.
TEST(BoardQuestions, KeysAreOneEachAndClearOfPlay) {
    QList<QKeyCombination> seen;
    for (const auto& q : QuestionKeys()) {
        const QKeyCombination k = q.Key[0];
        EXPECT_FALSE(seen.contains(k)) << q.Text.toStdString();
        seen << k;
        for (Qt::Key taken : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Return,
                              Qt::Key_Enter, Qt::Key_Space, Qt::Key_Escape, Qt::Key_H, Qt::Key_F})
            EXPECT_NE(k, QKeyCombination(taken)) << q.Text.toStdString();
        const auto back = QuestionOfKey(k.key(), k.keyboardModifiers());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->Text, q.Text);
    }
    EXPECT_EQ(QuestionOfKey(Qt::Key_3, Qt::KeypadModifier)->Arg, 3);
    EXPECT_FALSE(QuestionOfKey(Qt::Key_L, Qt::ControlModifier).has_value());
}

namespace {

std::vector<std::pair<QAccessible::Event, QString>> Heard;

void Record(QAccessibleEvent* e) {
    if (QAccessibleInterface* i = e->accessibleInterface())
        if (i->role() == QAccessible::Notification)
            Heard.emplace_back(e->type(), i->text(QAccessible::Name));
}

} // namespace

// A question asked by key while the board has the focus is heard from the window's notice,
// the focus stays on the board, and the key does not play.
TEST(BoardQuestions, AskedByKeyAndAnnounced) {
    TestApp();
    auto host = std::make_unique<QWidget>();
    auto* b = new TChessBrd(host.get());
    b->SetKeyboardPlay(true);
    QStringList said;
    b->OnAnnounce = [&said](TChessBrd*, const QString& text) { said << text; };
    host->show();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    b->setFocus();
    TChessBrdAccessible::Listener = &Record;
    Heard.clear();
    const std::string before = b->Position();

    QTest::keyClick(b, Qt::Key_N);
    QTest::keyClick(b, Qt::Key_K, Qt::ShiftModifier);
    QTest::keyClick(b, Qt::Key_2);
    QTest::keyClick(b, Qt::Key_A, Qt::AltModifier);
    b->SetFocusSquare(Sq("g1"));
    QTest::keyClick(b, Qt::Key_M);
    QTest::keyClick(b, Qt::Key_C);
    b->OnAskClock = [](TChessBrd*) { return QStringLiteral("Game time 00:01:02"); };
    QTest::keyClick(b, Qt::Key_C);
    TChessBrdAccessible::Listener = nullptr;

    const QStringList expected = {
        "white knights: b1, g1",
        "black king: e8",
        "rank 2: a2 white pawn, b2 white pawn, c2 white pawn, d2 white "
        "pawn, e2 white pawn, f2 white pawn, g2 white pawn, h2 white pawn",
        "file a: a1 white rook, a2 white pawn, a7 black pawn, a8 black rook",
        "white knight g1: f3, h3",
        "No clock",
        "Game time 00:01:02"};
    EXPECT_EQ(said, expected);
    QStringList named;
    for (const auto& [type, name] : Heard)
        if (type == QAccessible::NameChanged) named << name;
    EXPECT_EQ(named, expected);
    EXPECT_TRUE(b->hasFocus());
    EXPECT_EQ(b->Position(), before);
    EXPECT_EQ(b->PickedSquare(), None);
    // One notice for the window, whoever says something in it.
    EXPECT_EQ(host->findChildren<TAnnouncer*>().size(), 1);
    TAnnouncer::Say(host.get(), "again");
    EXPECT_EQ(host->findChildren<TAnnouncer*>().size(), 1);
    EXPECT_FALSE(host->findChild<TAnnouncer*>()->hasFocus());
}
