#include "Preview.h"

#include "PieceShapes.h"

#include <algorithm>
#include <iterator>

namespace pieceset {

namespace {

constexpr int kSquare = 48; // the board's usual square; a 40-pixel piece sits 4 pixels in

struct SquareLook {
    QRgb colour;
    int grain; // the height of a mottled texture's ripples, 0 for a flat colour
};

// Grey, navy and silver squares, then light and dark wood, red and blue marble.
constexpr SquareLook kSquares[] = {
    {qRgb(0x80, 0x80, 0x80), 0}, {qRgb(0x00, 0x00, 0x80), 0}, {qRgb(0xC0, 0xC0, 0xC0), 0},
    {qRgb(222, 184, 135), 14},   {qRgb(140, 86, 44), 14},     {qRgb(200, 150, 150), 18},
    {qRgb(150, 40, 40), 18},     {qRgb(160, 175, 215), 18},   {qRgb(35, 55, 140), 18}};

// A repeatable mottle standing in for a skin's texture.
QRgb Mottled(const SquareLook& look, int x, int y) {
    if (look.grain == 0) return look.colour;
    const int ripple = int((x * 7 + y * 13 + ((x * y) % 17) * 5) % 23) - 11;
    const auto shift = [&](int channel) {
        return qBound(0, channel + ripple * look.grain / 11, 255);
    };
    return qRgb(shift(qRed(look.colour)), shift(qGreen(look.colour)), shift(qBlue(look.colour)));
}

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
    // A sheet drawn at a larger scale stands on squares as many times larger.
    const int square = kSquare * std::max(1, size / kCellSize);
    const int rows = int(std::size(kSquares));
    QImage board(12 * square, rows * square, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y)
        for (int x = 0; x < board.width(); ++x)
            board.setPixel(x, y, Mottled(kSquares[y / square], x, y));
    const int inset = (square - size) / 2;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < 12; ++column)
            DrawMasked(board, sheet, column / 6, column % 6, column * square + inset,
                       row * square + inset);
    return board.scaled(board.size() * magnification, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}

} // namespace pieceset
