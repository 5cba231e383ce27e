// Readable on every skin: the side panel's button pictures, enabled and disabled, and the glow
// of a king in check stand out from the skin behind them, measured on the pixels shown.

#include <gtest/gtest.h>

#include <QIcon>
#include <QToolButton>

#include <cmath>

#include "MainWindowSupport.h"
#include "SkinTable.h"

namespace {

// The distance of two colours in RGB, 0 to 441.
double Distance(QRgb a, QRgb b) {
    return std::hypot(qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b));
}

// How far a button's picture lies from the skin behind it: the mean colour distance between
// each pixel of the picture and the skin's pixel at the same place, as the window shows them.
double GlyphContrast(QToolButton* button, QIcon::Mode mode) {
    const QImage glyph = button->icon().pixmap(button->iconSize(), mode).toImage().convertToFormat(
        QImage::Format_ARGB32);
    const QIcon icon = button->icon();
    button->setIcon(QIcon());
    QWidget* window = button->window();
    const QImage skin =
        window->grab(QRect(button->mapTo(window, QPoint()), button->size())).toImage();
    button->setIcon(icon);
    const QPoint at((button->width() - glyph.width()) / 2, (button->height() - glyph.height()) / 2);
    double sum = 0;
    int count = 0;
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x) {
            if (qAlpha(glyph.pixel(x, y)) == 0) continue;
            sum += Distance(glyph.pixel(x, y), skin.pixel(at + QPoint(x, y)));
            ++count;
        }
    return count ? sum / count : 0;
}

} // namespace

TEST(Contrast, SidePanelButtonsStandOutOnEverySkin) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    TForm1 form(&sound);
    form.show();
    for (int skin = 0; skin < int(SkinTable.size()); ++skin) {
        form.AplicaSkin(skin);
        for (QToolButton* button : Controls(form).Panel4->findChildren<QToolButton*>()) {
            if (button->icon().isNull()) continue;
            for (const bool enabled : {true, false}) {
                Controls(form).Panel4->setEnabled(enabled);
                const double contrast =
                    GlyphContrast(button, enabled ? QIcon::Normal : QIcon::Disabled);
                EXPECT_GE(contrast, 90) << SkinTable[size_t(skin)].Name << " "
                                        << button->toolTip().toStdString()
                                        << (enabled ? "" : " (disabled)") << ": " << contrast;
            }
        }
    }
}

// How far the glow under a king in check changes its square: the mean colour distance, over
// the square's pixels that the glow changes and the king does not cover, between the board
// with the glow and without it.
double GlowContrast(TChessBrd* board, Square king) {
    board->SetHighlightCheck(false);
    const QImage plain = board->grab().toImage();
    board->SetHighlightCheck(true);
    const QImage glowing = board->grab().toImage();
    double sum = 0;
    int count = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            if (board->SquareAtPoint(x, y) != king || plain.pixel(x, y) == glowing.pixel(x, y))
                continue;
            sum += Distance(plain.pixel(x, y), glowing.pixel(x, y));
            ++count;
        }
    return count ? sum / count : 0;
}

TEST(Contrast, AKingInCheckGlowsOnEverySkinAndSquare) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    TForm1 form(&sound);
    form.show();
    TChessBrd* board = form.Board();
    for (int skin = 0; skin < int(SkinTable.size()); ++skin) {
        form.AplicaSkin(skin);
        // The king on a dark square (d8), then on a light one (e8), a rook giving check.
        for (const auto& [position, king] :
             {std::pair{Board({"   k", "", "", "", "", "", "", "   RK"}), D8},
              std::pair{Board({"    k", "", "", "", "", "", "", "    R K"}), E8}}) {
            board->SetPositionText(position);
            board->SetWhiteToMove(false);
            const double contrast = GlowContrast(board, king);
            // A red glow on the brown of the wood skin reads at about 50; on the red skin's
            // red squares it was a faint 38.
            EXPECT_GE(contrast, 45) << SkinTable[size_t(skin)].Name << " " << int(king) << ": "
                                    << contrast;
        }
    }
}
