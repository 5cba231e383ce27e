// The board as assistive technology sees it: 64 named cells in screen order, the focus
// square and the piece held, and the events of a move and of the focus.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "ChessBrdAccessible.h"
#include "render_support.h"

namespace {

std::vector<std::pair<QAccessible::Event, QString>> Heard;

void Record(QAccessibleEvent* e) {
    QAccessibleInterface* i = e->accessibleInterface();
    Heard.emplace_back(e->type(), i != nullptr ? i->text(QAccessible::Name) : QString());
}

class AccessibleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        TChessBrdAccessible::Listener = &Record;
        host = std::make_unique<QWidget>();
        b = new TChessBrd(host.get());
        b->SetAnimateMoves(false);
        host->show();
        table = QAccessible::queryAccessibleInterface(b);
        Heard.clear();
    }
    void TearDown() override {
        host.reset();
        TChessBrdAccessible::Listener = nullptr;
    }
    QString Cell(int row, int column) const {
        return table->tableInterface()->cellAt(row, column)->text(QAccessible::Name);
    }
    bool HeardEvent(QAccessible::Event type, const QString& name) const {
        for (const auto& [t, n] : Heard)
            if (t == type && n == name) return true;
        return false;
    }

    std::unique_ptr<QWidget> host;
    TChessBrd* b = nullptr;
    QAccessibleInterface* table = nullptr;
};

} // namespace

TEST_F(AccessibleTest, ATableOfNamedSquaresInScreenOrder) {
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->childCount(), 64);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(Cell(0, 0), "a8, black rook");
    EXPECT_EQ(Cell(6, 4), "e2, white pawn");
    EXPECT_EQ(Cell(4, 4), "e4, empty");
    EXPECT_EQ(table->child(63)->role(), QAccessible::Cell);
    // The same cell object every time, found again by its index.
    EXPECT_EQ(table->child(12), table->tableInterface()->cellAt(1, 4));
    EXPECT_EQ(table->indexOfChild(table->child(12)), 12);
    const QRect e2 = table->child(52)->rect();
    EXPECT_EQ(table->childAt(e2.center().x(), e2.center().y()), table->child(52));

    b->SetWhiteOnTop(true);
    EXPECT_EQ(Cell(0, 0), "h1, white rook");
    EXPECT_EQ(Cell(1, 3), "e2, white pawn");
    EXPECT_EQ(table->tableInterface()->columnDescription(0), "h");
    EXPECT_EQ(table->tableInterface()->rowDescription(0), "1");
}

TEST_F(AccessibleTest, MovesAreToldInWords) {
    ASSERT_TRUE(b->MakeMove(E2, E4));
    EXPECT_EQ(b->LastMoveInWords(), "White pawn e2 to e4");
    EXPECT_EQ(table->text(QAccessible::Description), "White pawn e2 to e4");
    EXPECT_TRUE(HeardEvent(QAccessible::NameChanged, "e4, white pawn"));
    EXPECT_TRUE(HeardEvent(QAccessible::NameChanged, "e2, empty"));
    EXPECT_FALSE(HeardEvent(QAccessible::NameChanged, "d2, white pawn"));
    bool described = false;
    for (const auto& [t, n] : Heard)
        described |= t == QAccessible::DescriptionChanged;
    EXPECT_TRUE(described);

    for (auto [from, to] : {std::pair{F7, F6}, {D1, H5}})
        ASSERT_TRUE(b->MakeMove(from, to));
    EXPECT_EQ(b->LastMoveInWords(), "White queen d1 to h5, check");
    ASSERT_TRUE(b->MakeMove(G7, G6));
    ASSERT_TRUE(b->MakeMove(H5, G6));
    EXPECT_EQ(b->LastMoveInWords(), "White queen h5 takes g6, check");
    ASSERT_TRUE(b->MakeMove(H7, G6));
    EXPECT_EQ(b->LastMoveInWords(), "Black pawn h7 takes g6");
}

// A check that repeats the position a third time leaves the checked side no move, yet it
// is not mated: the repetition ends the game.
TEST_F(AccessibleTest, APerpetualCheckIsToldAsACheck) {
    std::string p(64, ' ');
    p[H8 - 1] = 'k', p[A7 - 1] = 'p', p[A1 - 1] = 'K', p[D1 - 1] = 'Q';
    b->SetPositionText(QString::fromStdString(p));
    b->SetCastlingAllowedBits(0);
    for (auto [from, to] :
         {std::pair{D1, D8}, {H8, H7}, {D8, D3}, {H7, H8}, {D3, D8}, {H8, H7}, {D8, D3}, {H7, H8}})
        ASSERT_TRUE(b->MakeMove(from, to));
    ASSERT_TRUE(b->MakeMove(D3, D8));
    ASSERT_FALSE(b->HasLegalMove());
    EXPECT_EQ(b->LastMoveInWords(), "White queen d3 to d8, check");
}

TEST_F(AccessibleTest, PromotionsNameThePieceTheyMake) {
    std::string p(64, ' ');
    p[H1 - 1] = 'K', p[B7 - 1] = 'P', p[H5 - 1] = 'k', p[A8 - 1] = 'r';
    b->SetPositionText(QString::fromStdString(p));
    b->OnPromotion = [](TChessGame*, Square, Square, char& piece) { piece = 'n'; };
    ASSERT_TRUE(b->MakeMove(B7, A8));
    EXPECT_EQ(b->LastMoveInWords(), "White pawn b7 takes a8 promotes to knight");
}

TEST_F(AccessibleTest, FocusSquareAndPickedPieceAreTheFocusedAndSelectedCells) {
    b->SetKeyboardPlay(true);
    host->activateWindow();
    b->setFocus();
    QCoreApplication::processEvents();
    if (!b->hasFocus()) GTEST_SKIP() << "the platform gives no keyboard focus";
    ASSERT_NE(table->focusChild(), nullptr);
    EXPECT_EQ(table->focusChild()->text(QAccessible::Name), "e2, white pawn");
    EXPECT_TRUE(table->focusChild()->state().focused);
    Heard.clear();
    QTest::keyClick(b, Qt::Key_Up);
    EXPECT_TRUE(HeardEvent(QAccessible::Focus, "e3, empty"));
    QTest::keyClick(b, Qt::Key_Down);
    QTest::keyClick(b, Qt::Key_Space);
    ASSERT_EQ(table->tableInterface()->selectedCellCount(), 1);
    EXPECT_EQ(table->tableInterface()->selectedCells().front()->text(QAccessible::Name),
              "e2, white pawn");
    EXPECT_TRUE(table->tableInterface()->selectedCells().front()->state().selected);
}
