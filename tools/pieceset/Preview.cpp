#include "Preview.h"

#include <QPainter>

#include <iterator>

namespace pieceset {

namespace {

constexpr int kSquare = 48; // the board's usual square; a 40-pixel piece sits 4 pixels in
constexpr QRgb kSquareColours[] = {qRgb(0x80, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
                                   qRgb(222, 184, 135), qRgb(160, 110, 66)};

// Draws the piece in column `kind` of colour `colour` (0 white, 1 black) with its top-left
// corner at (left, top), leaving the pixels its mask marks as clear untouched.
void DrawMasked(QImage& target, const QImage& sheet, int colour, int kind, int left, int top) {
    const int size = sheet.height() / 4;
    const int pictureTop = 2 * colour * size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb mask = sheet.pixel(kind * size + x, pictureTop + size + y);
            if ((mask & 0xffffff) == 0xffffff) continue;
            target.setPixel(left + x, top + y, sheet.pixel(kind * size + x, pictureTop + y));
        }
    }
}

} // namespace

QImage ComposePreview(const QImage& sheet, int magnification) {
    const int size = sheet.height() / 4;
    const int rows = int(std::size(kSquareColours));
    QImage board(12 * kSquare, rows * kSquare, QImage::Format_RGB32);
    QPainter painter(&board);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 12; ++column) {
            const int left = column * kSquare;
            const int top = row * kSquare;
            painter.fillRect(left, top, kSquare, kSquare, QColor(kSquareColours[row]));
        }
    }
    painter.end();
    const int inset = (kSquare - size) / 2;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < 12; ++column)
            DrawMasked(board, sheet, column / 6, column % 6, column * kSquare + inset,
                       row * kSquare + inset);
    return board.scaled(board.size() * magnification, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}

} // namespace pieceset
