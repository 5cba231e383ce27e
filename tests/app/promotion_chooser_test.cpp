// The promotion chooser under the mouse. A pawn dragged to the last rank opens it; a click
// on one of its pieces, delivered to the window as the display server delivers it, chooses
// that piece, with White at the bottom and at the top; a click elsewhere chooses the queen
// and reaches nothing else. CMake runs these tests a second time with two device pixels to
// the logical pixel.

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <functional>

#include "ChessBrd.h"
#include "MainWindowSupport.h"
#include "PlayOptions.h"
#include "PromotionChooser.h"

namespace {

struct TWindow {
    TTempHome Home;
    TRecordingSound Sound;
    TForm1 Form{&Sound};
    TChessBrd* B = Form.Board();
    QWindow* Win = nullptr;

    TWindow() {
        InstallPlayOptions(Form);
        B->SetAnimateMoves(false);
        Controls(Form).ComboBox1->setCurrentText("Player");
        Controls(Form).ComboBox2->setCurrentText("Player");
        Form.ComboBox1Change();
        Form.SpeedButton1Click();
        Form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Form));
        Win = Form.windowHandle();
        // A pawn of each side one step from promoting.
        B->SetPositionText(Board({"", "P", "    k", "", "", "", "       p", "    K"}));
        B->SetCastlingAllowedBits(0);
        B->SetWhiteToMove(true);
    }
    // The centre of a square, or of a widget, in the window's coordinates.
    QPoint At(Square q) const {
        const QPoint corner = B->SquareTopLeft(q);
        const int h = B->SizeOfSquare() / 2;
        return B->mapTo(&Form, corner + QPoint(h, h));
    }
    QPoint At(const QWidget* w) const { return w->mapTo(&Form, w->rect().center()); }

    // Drags from one square to the other with the left button; once the chooser is up,
    // click runs on it. A chooser still open after that is closed by its key Q.
    void DragAndChoose(Square from, Square to, std::function<void(TPromotionChooser*)> click) {
        auto* watch = new QTimer(&Form);
        QObject::connect(watch, &QTimer::timeout, &Form, [this, watch, click] {
            auto* chooser = Form.findChild<TPromotionChooser*>();
            if (chooser == nullptr || !chooser->isVisible()) return;
            watch->stop();
            click(chooser);
            // The chooser goes once its loop has ended.
            QTimer::singleShot(500, &Form, [chooser = QPointer<TPromotionChooser>(chooser)] {
                if (chooser == nullptr) return;
                ADD_FAILURE() << "the click left the chooser open";
                QTest::keyClick(chooser, Qt::Key_Q);
            });
        });
        watch->start(10);
        const QPoint a = At(from), b = At(to);
        QTest::mousePress(Win, Qt::LeftButton, {}, a);
        QTest::mouseMove(Win, (a + b) / 2);
        QTest::mouseMove(Win, b);
        QTest::mouseRelease(Win, Qt::LeftButton, {}, b);
        EXPECT_FALSE(watch->isActive()) << "no chooser came up";
        delete watch;
    }
};

} // namespace

TEST(PromotionChooser, AClickOnAPieceChoosesItInEitherOrientation) {
    EnsureApplication();
    for (const bool whiteOnTop : {false, true}) {
        SCOPED_TRACE(whiteOnTop ? "White on top" : "White at the bottom");
        TWindow w;
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
            EXPECT_EQ(w.Form.devicePixelRatio(), qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
        }
        w.B->SetWhiteOnTop(whiteOnTop);
        w.DragAndChoose(A7, A8, [&w](TPromotionChooser* c) {
            QTest::mouseClick(w.Win, Qt::LeftButton, {}, w.At(c->Button(3)));
        });
        EXPECT_EQ(w.B->PieceAt(A8), 'N');
        EXPECT_EQ(w.B->PieceAt(A7), ' ');
        w.DragAndChoose(H2, H1, [&w](TPromotionChooser* c) {
            QTest::mouseClick(w.Win, Qt::LeftButton, {}, w.At(c->Button(1)));
        });
        EXPECT_EQ(w.B->PieceAt(H1), 'r');
        EXPECT_EQ(w.Form.findChild<TPromotionChooser*>(), nullptr);
    }
}

TEST(PromotionChooser, AClickElsewhereChoosesTheQueenAndGoesNoFurther) {
    EnsureApplication();
    TWindow w;
    int clicks = 0;
    w.B->OnClick = [&clicks](TChessBrd*) { ++clicks; };
    w.DragAndChoose(A7, A8, [&w](TPromotionChooser*) {
        // An empty square of the board, which does not hear the click.
        QTest::mouseClick(w.Win, Qt::LeftButton, {}, w.At(D4));
    });
    EXPECT_EQ(w.B->PieceAt(A8), 'Q');
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(w.B->WhiteToMove());
    // The mouse works as before once the chooser has gone.
    w.DragAndChoose(H2, H1, [&w](TPromotionChooser* c) {
        QTest::mouseClick(w.Win, Qt::LeftButton, {}, w.At(c->Button(2)));
    });
    EXPECT_EQ(w.B->PieceAt(H1), 'b');
    QTest::mouseClick(w.Win, Qt::LeftButton, {}, w.At(D4));
    EXPECT_EQ(clicks, 1);
}
