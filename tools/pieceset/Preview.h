#pragma once

#include <QImage>

// A picture for looking at a piece set the way the board shows it: each of the twelve pieces
// cut out through its mask (exact white transparent) onto rows of grey, navy, silver, wood and
// marble squares, then magnified without smoothing so single pixels can be judged.

namespace pieceset {

QImage ComposePreview(const QImage& sheet, int magnification);

} // namespace pieceset
