#pragma once

#include "PieceShapes.h"
#include "ShadedPainter.h"

#include <QImage>

// Paints a piece-set sheet: 6 columns (pawn, knight, bishop, rook, queen, king) by 4 rows
// (white pictures, white masks, black pictures, black masks) of 40 x 40 cells. The mask and
// the picture of a piece come from the same silhouette, so every opaque mask pixel covers a
// pixel painted in a piece colour and no background colour shows at the edge.
//
// A sheet can also be drawn at a whole-number scale for screens with more pixels per point:
// the same shapes on cells of 40 x scale pixels, every line and the outline as many pixels
// wider, so the design grid's pixel edges and pixel centres still fall on the larger grid.

namespace pieceset {

// The two sets this tool draws: the board's default set and the main window's own set.
enum class PieceStyle { Default, Main };

struct PieceColours {
    QRgb outline;   // the silhouette's edge
    QRgb bodyLight; // the body's lit left side...
    QRgb bodyShade; // ...shading to this on the right
    QRgb lines;     // the inner lines and marks
};

inline constexpr PieceColours kWhiteColours{qRgb(28, 22, 18), qRgb(255, 252, 240),
                                            qRgb(220, 203, 168), qRgb(28, 22, 18)};
inline constexpr PieceColours kBlackColours{qRgb(6, 6, 6), qRgb(92, 86, 82), qRgb(30, 28, 28),
                                            qRgb(218, 212, 200)};

// The main set: cream pieces with a golden-brown edge, and ebony ones with warm lights.
inline constexpr ShadedColours kMainWhiteColours{qRgb(92, 58, 22),    qRgb(240, 220, 170),
                                                 qRgb(255, 250, 232), qRgb(196, 158, 96),
                                                 qRgb(255, 255, 245), qRgb(140, 96, 40)};
inline constexpr ShadedColours kMainBlackColours{qRgb(14, 8, 6),     qRgb(62, 32, 22),
                                                 qRgb(150, 88, 58),  qRgb(24, 13, 10),
                                                 qRgb(190, 130, 84), qRgb(176, 116, 74)};

inline constexpr QRgb kPictureBackground = qRgb(139, 90, 43); // brown
inline constexpr QRgb kMaskOpaque = qRgb(0, 0, 0);
inline constexpr QRgb kMaskClear = qRgb(255, 255, 255);

inline constexpr int kSheetWidth = kPieceKinds * kCellSize;
inline constexpr int kSheetHeight = 4 * kCellSize;

// A blank cell of 40 x scale pixels whose painters draw in design-grid units.
QImage BlankCell(QImage::Format format, QRgb fill, int scale);

// Which pixels of a cell the piece covers: 255 inside, 0 outside (Format_Grayscale8).
QImage SilhouetteCoverage(const PieceShape& shape, int scale = 1);

// The piece painted over its outline colour; only the pixels inside the silhouette count.
QImage PaintPicture(const PieceShape& shape, const PieceColours& colours, int scale = 1);

// The whole sheet of a set in full colour (Format_RGB32), 240 x 160 pixels times the scale.
QImage RenderSheet(PieceStyle style = PieceStyle::Default, int scale = 1);

} // namespace pieceset
