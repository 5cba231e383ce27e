// The board's report of a move, through every way a move reaches the board: the person's
// drag and click, the computer's search thread, the host engine and the board's own
// operations. Each move is reported once, after its events and with the board's markers and
// accessible description already showing it; stepping and setting up report nothing.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "BoardTestSupport.h"
#include "ChessBrdAccessible.h"
#include "render_support.h"

namespace {

class MoveReportTest : public BoardInWindowTest {
  protected:
    void SetUp() override {
        MakeBoard();
        b->SetAnimateMoves(false);
        b->SetHighlightLastMove(true);
        b->OnLegalMove = [this](TChessGame*, Square x, Square y) {
            log.push_back("legal " + Name(x) + Name(y));
        };
        b->OnPaint = [this](TChessGame*) { log.push_back("paint"); };
        b->OnMoveReport = [this](TChessGame* sender, const TMoveReport& r) {
            EXPECT_EQ(sender, b);
            log.push_back("report " + Name(r.From) + Name(r.To));
            reports.push_back(r);
            // What the board shows of the move is already there for a listener.
            described.push_back(b->LastMoveInWords().toStdString());
            marked.push_back((b->MarksAt(r.To) & TChessBrd::mkLastMove) != 0);
        };
        host->show();
        b->PaintBoard();
    }
    static std::string Name(Square q) { return SquareName(q); }
    // The lines logged since the last call, with the full repaints left out.
    std::vector<std::string> Moves() {
        std::vector<std::string> out;
        for (const auto& l : log)
            if (l != "paint") out.push_back(l);
        log.clear();
        return out;
    }
    void Drag(Square from, Square to) {
        const QPoint a = Centre(*b, from), z = Centre(*b, to);
        SendMouse(b, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
        SendMouse(b, QEvent::MouseMove, (a + z) / 2, Qt::NoButton, Qt::LeftButton);
        SendMouse(b, QEvent::MouseMove, z, Qt::NoButton, Qt::LeftButton);
        SendMouse(b, QEvent::MouseButtonRelease, z, Qt::LeftButton, {});
    }

    std::vector<std::string> log;
    std::vector<TMoveReport> reports;
    std::vector<std::string> described;
    std::vector<bool> marked;
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(MoveReportTest, APersonsMovesByDragAndByClickAreReportedOnceAfterTheirEvents) {
    Drag(E2, E4);
    ASSERT_EQ(b->PieceAt(E4), 'P');
    // The move's own paint comes before its report, and nothing after it.
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(Lines(log.end() - 3, log.end()), (Lines{"legal E2E4", "paint", "report E2E4"}));
    log.clear();
    b->SetClickToMove(true);
    b->ActivateSquare(E7);
    b->ActivateSquare(E5);
    EXPECT_EQ(Moves(), (Lines{"legal E7E5", "report E7E5"}));
    // A refused drop reports nothing.
    Drag(E4, E6);
    EXPECT_EQ(Moves(), Lines{});

    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[0].White);
    EXPECT_EQ(reports[0].Piece, 'P');
    EXPECT_FALSE(reports[1].White);
    EXPECT_EQ(described, (Lines{"White pawn e2 to e4", "Black pawn e7 to e5"}));
    EXPECT_EQ(marked, (std::vector<bool>{true, true}));
}

TEST_F(MoveReportTest, TheBoardsOperationsReportEachMoveTheyMake) {
    ASSERT_TRUE(b->MakeMove(G1, F3));
    ASSERT_TRUE(b->PlayerMove(G8, F6));
    EXPECT_FALSE(b->MakeMove(F3, F3));
    EXPECT_FALSE(b->PlayerMove(A1, A5));
    EXPECT_EQ(Moves(), (Lines{"legal G1F3", "report G1F3", "legal G8F6", "report G8F6"}));

    // Stepping through the history, a new position, a new game: no move, no report.
    ASSERT_TRUE(b->StepBack());
    ASSERT_TRUE(b->StepBack());
    ASSERT_TRUE(b->StepForward());
    ASSERT_TRUE(b->GotoHalfMove(2, true));
    b->SetPositionText(QStringLiteral("k") + QString(62, ' ') + QStringLiteral("K"));
    b->AnnouncePosition();
    b->NewGame();
    EXPECT_EQ(Moves(), Lines{});
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(MoveReportTest, TheComputersMovesAreReportedOnceEach) {
    b->SetSearchDepth(1);
    b->SetComputerPlaysBlack(true);
    ASSERT_TRUE(b->PlayerMove(D2, D4));
    ASSERT_TRUE(PumpUntil([&] { return reports.size() == 2; }));
    PumpFor(100);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(reports[1].White);
    EXPECT_EQ(b->PieceColor(reports[1].To), 0);
    const Lines moves = Moves();
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_EQ(moves[2].substr(6), moves[3].substr(7)) << "the report follows its own move";
    EXPECT_EQ(marked.back(), true);

    // The host engine's move, asked for inside the person's move.
    b->SetComputerPlaysBlack(false);
    b->SetCustomEngine(true);
    b->OnCalculateMove = [this](TChessBrd*, Square& from, Square& to) {
        std::tie(from, to) = LegalMoves(*b).front();
    };
    b->SetComputerPlaysBlack(true);
    ASSERT_TRUE(b->PlayerMove(G1, F3));
    b->SetComputerPlaysBlack(false);
    ASSERT_EQ(reports.size(), 4u);
    const Lines host = Moves();
    ASSERT_EQ(host.size(), 4u);
    EXPECT_EQ(host[1], "report G1F3");
    EXPECT_EQ(host[2].substr(6), host[3].substr(7));
    EXPECT_FALSE(reports[3].White);
}

TEST_F(MoveReportTest, TheCellsAMoveChangedAreRenamed) {
    std::vector<QString> renamed;
    TChessBrdAccessible::Listener = [&renamed](QAccessibleEvent* e) {
        if (e->type() == QAccessible::NameChanged && e->accessibleInterface() != nullptr)
            renamed.push_back(e->accessibleInterface()->text(QAccessible::Name));
    };
    std::string p(64, ' ');
    p[E1 - 1] = 'K', p[H1 - 1] = 'R', p[E8 - 1] = 'k', p[D7 - 1] = 'p', p[E5 - 1] = 'P';
    b->SetPositionText(QString::fromStdString(p));
    ASSERT_TRUE(b->MakeMove(E1, G1));
    EXPECT_EQ(renamed,
              (std::vector<QString>{"e1, empty", "g1, white king", "h1, empty", "f1, white rook"}));
    renamed.clear();
    ASSERT_TRUE(b->MakeMove(D7, D5));
    ASSERT_TRUE(b->MakeMove(E5, D6));
    EXPECT_EQ(renamed, (std::vector<QString>{"d7, empty", "d5, black pawn", "e5, empty",
                                             "d6, white pawn", "d5, empty"}));
    EXPECT_EQ(b->LastMoveInWords(), "White pawn e5 takes d6");
    TChessBrdAccessible::Listener = nullptr;
}
