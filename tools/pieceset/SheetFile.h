#pragma once

#include "PieceSetPainter.h"

#include <QByteArray>
#include <QImage>

// The finished picture of a set as it is stored: the default set reduced to a 256-colour
// palette, the main set in full colour, both at a fixed resolution so that every run of the
// generator writes the same bytes. Scale 2 gives the set for screens with twice the pixels.

namespace pieceset {

QImage MakeSheet(PieceStyle style, int scale = 1);

// The BMP file of the set: 8 bits per pixel for the default set, 24 for the main set.
QByteArray EncodeSheet(const QImage& sheet);

} // namespace pieceset
