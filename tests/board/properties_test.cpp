// The board's published properties: values after construction, the setters' store, clamp
// and ignore effects, writes by name as a stored window description makes them, the size
// rule and the loading state.

#include <gtest/gtest.h>

#include <QMetaProperty>

#include "BoardTestSupport.h"

namespace {

const char* const kStart = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

struct Properties : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }
    TChessBrd Board;
};

QImage Picture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

} // namespace

TEST_F(Properties, NewBoardHasTheDocumentedValues) {
    EXPECT_EQ(Board.Width(), 368);
    EXPECT_EQ(Board.Height(), 368);
    EXPECT_EQ(Board.SizeOfSquare(), 40);
    EXPECT_EQ(Board.SizeOfBorder(), 24);
    EXPECT_EQ(Board.BoardLeft(), 24);
    EXPECT_EQ(Board.BoardTop(), 24);
    EXPECT_EQ(Board.PieceSize(), 40);
    EXPECT_EQ(Board.BorderColor(), 0u);
    EXPECT_EQ(Board.SquareColorDark(), 0x808080u);
    EXPECT_EQ(Board.SquareColorLight(), 0xC0C0C0u);
    EXPECT_EQ(Board.DisplayCoords(), CoordSet{});
    EXPECT_FALSE(Board.BoardLines());
    EXPECT_FALSE(Board.WhiteOnTop());
    EXPECT_TRUE(Board.WhiteToMove());
    EXPECT_TRUE(Board.AnimateMoves());
    EXPECT_EQ(Board.AnimationDelay(), 0);
    EXPECT_EQ(Board.CastlingAllowedBits(), 0x0F);
    EXPECT_FALSE(Board.ComputerPlaysWhite());
    EXPECT_FALSE(Board.ComputerPlaysBlack());
    EXPECT_FALSE(Board.Thinking());
    EXPECT_FALSE(Board.CustomEngine());
    EXPECT_EQ(Board.CoordFont().family(), "Arial");
    EXPECT_EQ(Board.CoordFont().pointSize(), 7);
    EXPECT_EQ(Board.CoordFontColor(), 0xFFFFFFu);
    EXPECT_EQ(Board.CurrentMove(), 1);
    EXPECT_TRUE(Board.CustomPieceSet().isNull());
    EXPECT_TRUE(Board.CustomPieceSet2x().isNull());
    EXPECT_EQ(Board.EnPassantName(), "None");
    EXPECT_EQ(Board.LineStyle().color(), QColor(Qt::black));
    EXPECT_EQ(Board.LineStyle().width(), 1);
    EXPECT_EQ(Board.LineStyle().style(), Qt::SolidLine);
    EXPECT_EQ(Board.PositionText(), kStart);
    EXPECT_FALSE(Board.Resizable());
    EXPECT_EQ(Board.ResizeMinSize(), 100);
    EXPECT_EQ(Board.ResizeMaxSize(), 1000);
    EXPECT_EQ(Board.SearchDepth(), 1);
    EXPECT_EQ(Board.ThinkingPriority(), tpNormal);
    EXPECT_TRUE(Board.Version().isEmpty());
    EXPECT_EQ(Board.DragModeValue(), dmManual);
    EXPECT_TRUE(Board.isEnabled());
    EXPECT_EQ(Board.DragFrom(), None);
    EXPECT_EQ(Board.DropTo(), None);
    EXPECT_EQ(Board.PromotionPiece(), 'q');
    // The constructor's new game halts the (not yet running) computer.
    EXPECT_TRUE(Board.EngineHalted());
}

TEST_F(Properties, SettersClampOrIgnoreOutOfRangeValues) {
    Board.SetResizeMinSize(2000);
    EXPECT_EQ(Board.ResizeMinSize(), 1000);
    Board.SetResizeMinSize(100);
    Board.SetResizeMaxSize(50);
    EXPECT_EQ(Board.ResizeMaxSize(), 100);

    for (auto [in, out] : {std::pair{0, 1}, {-7, 1}, {1, 1}, {5, 5}, {8, 8}, {9, 8}, {20, 8}}) {
        Board.SetSearchDepth(in);
        EXPECT_EQ(Board.SearchDepth(), out) << in;
    }

    Board.SetThinkingPriorityValue(tpHighest);
    Board.SetThinkingPriorityValue(7);
    Board.SetThinkingPriorityValue(-1);
    EXPECT_EQ(Board.ThinkingPriority(), tpHighest);

    // En passant: only the third and sixth ranks; by name as a stored description writes it.
    Board.SetEnPassantName("D6");
    EXPECT_EQ(Board.EnPassant(), D6);
    for (const char* ignored : {"None", "E4", "H1", "nonsense", "", "30"}) {
        Board.SetEnPassantName(ignored);
        EXPECT_EQ(Board.EnPassant(), D6) << ignored;
    }
    Board.SetEnPassantName("e3");
    EXPECT_EQ(Board.EnPassant(), E3);

    Board.SetCurrentMove(7);
    Board.SetThinking(true);
    Board.SetVersion("1.0");
    EXPECT_EQ(Board.CurrentMove(), 1);
    EXPECT_FALSE(Board.Thinking());
    EXPECT_TRUE(Board.Version().isEmpty());

    Board.SetDragModeValue(dmAutomatic);
    EXPECT_EQ(Board.DragModeValue(), dmAutomatic);
    Board.SetDragModeValue(42);
    EXPECT_EQ(Board.DragModeValue(), dmManual);
}

TEST_F(Properties, CustomPieceSetIsValidatedAndSwitchesTheImages) {
    Board.SetCustomPieceSet(Picture(300, 100)); // 600 != 300
    EXPECT_TRUE(Board.CustomPieceSet().isNull());
    EXPECT_EQ(Board.PieceSize(), 40);
    Board.SetCustomPieceSet(QImage()); // nothing to clear
    EXPECT_EQ(Board.PieceSize(), 40);

    Board.SetCustomPieceSet(Picture(360, 240));
    EXPECT_EQ(Board.CustomPieceSet().size(), QSize(360, 240));
    EXPECT_EQ(Board.PieceSize(), 60);
    Board.SetCustomPieceSet(Picture(300, 201)); // refused: the 360 x 240 set stays
    EXPECT_EQ(Board.PieceSize(), 60);

    Board.SetCustomPieceSet(QImage());
    EXPECT_TRUE(Board.CustomPieceSet().isNull());
    EXPECT_EQ(Board.PieceSize(), 40);
}

// At one device pixel per logical pixel a 2x set is only kept: the pieces are cut from the
// custom set as before, and the board draws the same pixels with or without it.
TEST_F(Properties, CustomPieceSet2xIsKeptButNotUsedAtRatioOne) {
    ASSERT_LT(Board.devicePixelRatioF(), 1.5);
    QImage set = Picture(240, 160);
    set.fill(Qt::black); // opaque masks, black pictures
    Board.SetCustomPieceSet(set);
    Board.SetPositionText(kStart);
    Board.PaintBoard();
    const QImage before = Board.Surface();

    QImage twice = Picture(480, 320);
    twice.fill(Qt::red);
    Board.SetCustomPieceSet2x(twice);
    EXPECT_EQ(Board.CustomPieceSet2x().size(), QSize(480, 320));
    EXPECT_EQ(Board.PieceSize(), 40);
    EXPECT_EQ(Board.PieceImage('K').size(), QSize(40, 40));
    EXPECT_EQ(Board.PieceImage('K').devicePixelRatio(), 1.0);
    EXPECT_EQ(Board.Surface(), before);

    Board.setProperty("CustomPieceSet2x", QImage());
    EXPECT_TRUE(Board.CustomPieceSet2x().isNull());
    EXPECT_EQ(Board.Surface(), before);
}

TEST_F(Properties, PicturesPensAndFontsAreCopied) {
    QImage texture = Picture(60, 60);
    QPen pen(Qt::red, 3);
    QFont font("Courier", 9);
    Board.SetSquareDark(texture);
    Board.SetLineStyle(pen);
    Board.SetCoordFont(font);
    texture.fill(Qt::black);
    pen.setWidth(9);
    font.setPointSize(20);
    EXPECT_EQ(Board.SquareDark().pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(Board.LineStyle().width(), 3);
    EXPECT_EQ(Board.CoordFont().pointSize(), 9);
}

TEST_F(Properties, RepaintingSettersPaintAndStoringOnesDoNot) {
    int paints = 0;
    Board.OnPaint = [&](TChessGame*) { ++paints; };
    Board.SetBoardLines(true);
    Board.SetBorderColor(0x0000FF);
    Board.SetSquareColorDark(0x102030);
    Board.SetSquareColorLight(0x405060);
    Board.SetWhiteOnTop(true);
    Board.SetDisplayCoords(CoordSet{0x0F});
    Board.SetBorderBitmap(Picture(10, 10));
    Board.SetSquareLight(Picture(10, 10));
    Board.SetSquareDark(Picture(10, 10));
    Board.SetLineStyle(QPen(Qt::blue));
    Board.SetCoordFont(QFont("Courier", 8));
    EXPECT_EQ(paints, 11);

    Board.SetAnimateMoves(false);
    Board.SetAnimationDelay(5);
    Board.SetResizable(true);
    Board.SetSearchDepth(3);
    Board.SetCustomEngine(true);
    Board.SetCastlingAllowedBits(0x03);
    Board.SetThinkingPriority(tpLower);
    EXPECT_EQ(paints, 11);
    EXPECT_EQ(Board.CastlingAllowedBits(), 0x03);
}

TEST_F(Properties, EveryPublishedPropertyCanBeWrittenByName) {
    const QMetaObject* mo = Board.metaObject();
    std::vector<std::string> names;
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        names.emplace_back(p.name());
        EXPECT_TRUE(Board.setProperty(p.name(), Board.property(p.name()))) << p.name();
    }
    EXPECT_EQ(names.front(), "AnimateMoves");
    EXPECT_EQ(names.back(), "CustomPieceSet2x"); // the newest, after all the others
    EXPECT_EQ(names.size(), 42u);

    // Values as a stored description gives them, read back through the typed accessors.
    Board.setProperty("SearchDepth", 20);
    Board.setProperty("Position", QString());
    Board.setProperty("CustomPieceSet", Picture(360, 240));
    Board.setProperty("EnPassant", QString("F3"));
    Board.setProperty("LineStyle", QPen(Qt::red, 2));
    Board.setProperty("CoordFont", QFont("Courier", 9));
    Board.setProperty("DisplayCoords", 0x05);
    Board.setProperty("CastlingAllowed", 0x0C);
    Board.setProperty("SquareColorDark", 0x123456u);
    Board.setProperty("DragCursor", QCursor(Qt::CrossCursor));
    Board.setProperty("ThinkingPriority", int(tpIdle));
    Board.setProperty("Version", QString("x"));
    Board.setProperty("WhiteToMove", false);
    EXPECT_EQ(Board.SearchDepth(), 8);
    EXPECT_EQ(Board.PositionText(), QString(64, ' '));
    EXPECT_EQ(Board.PieceSize(), 60);
    EXPECT_EQ(Board.EnPassant(), F3);
    EXPECT_EQ(Board.LineStyle().width(), 2);
    EXPECT_EQ(Board.CoordFont().family(), "Courier");
    EXPECT_TRUE(Board.DisplayCoords().Contains(West));
    EXPECT_TRUE(Board.DisplayCoords().Contains(East));
    EXPECT_FALSE(Board.DisplayCoords().Contains(North));
    EXPECT_EQ(Board.CastlingAllowedBits(), 0x0C);
    EXPECT_EQ(Board.SquareColorDark(), 0x123456u);
    EXPECT_EQ(Board.DragCursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(Board.ThinkingPriority(), tpIdle);
    EXPECT_EQ(Board.property("Version").toString(), QString());
    EXPECT_FALSE(Board.WhiteToMove());
}

TEST_F(Properties, SizeOfSquareChangesOnlyTheWidthAndThePaintSquaresTheBoard) {
    Board.SetSizeOfSquare(48);
    EXPECT_EQ(Board.Width(), 432);
    EXPECT_EQ(Board.Height(), 368);
    Board.PaintBoard();
    EXPECT_EQ(Board.SizeOfSquare(), 44);
    EXPECT_EQ(Board.Width(), 400);
    EXPECT_EQ(Board.Height(), 400);

    Board.SetSizeOfBorder(10);
    EXPECT_EQ(Board.Width(), 8 * 44 + 20);
    EXPECT_EQ(Board.BoardLeft(), 10);
    EXPECT_EQ(Board.BoardTop(), 10);
}

TEST_F(Properties, StoredValuesThatAgreeComeOutUnchanged) {
    // A description stores Width and Height before the border and square sizes.
    Board.BeginLoading();
    Board.SetWidth(432);
    Board.SetHeight(432);
    Board.SetSizeOfBorder(24);
    Board.SetSizeOfSquare(48);
    Board.EndLoading();
    Board.PaintBoard();
    EXPECT_EQ(Board.Width(), 432);
    EXPECT_EQ(Board.Height(), 432);
    EXPECT_EQ(Board.SizeOfSquare(), 48);
}

TEST_F(Properties, NothingPaintsWhileLoadingAndTheFirstPaintUsesTheStoredPieceSet) {
    int paints = 0;
    Board.OnPaint = [&](TChessGame*) { ++paints; };
    Board.BeginLoading();
    EXPECT_TRUE(Board.Loading());
    Board.setProperty("BoardLines", true);
    Board.setProperty("Position", QString("init"));
    Board.setProperty("CustomPieceSet", Picture(360, 240));
    EXPECT_EQ(paints, 0);
    EXPECT_EQ(Board.PieceSize(), 40); // stored, not yet cut into images
    Board.EndLoading();
    EXPECT_EQ(Board.PieceSize(), 60);
    Board.PaintBoard();
    EXPECT_EQ(paints, 1);
}

TEST_F(Properties, AnInvalidPieceSetLoadedFromADescriptionIsPassedOver) {
    Board.BeginLoading();
    Board.SetCustomPieceSet(Picture(300, 100));
    Board.EndLoading();
    EXPECT_EQ(Board.PieceSize(), 40);
}
