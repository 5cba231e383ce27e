#pragma once

#include <QImage>
#include <QString>

// A picture for judging the skins as the program will show them: for each skin a mock main
// window (background stretched to 633 x 457, the shadowed title, the black board panel, the
// board with its squares tiled from the control's corner and a few pieces, the side panel
// with its move list) and, beside it, the Play panel with its black labels.

namespace skins {

// Reads the pictures from `directory`, the pieces from `pieceSheet` (the piece-set layout
// with masks below the pictures); needs a running QGuiApplication for the text.
QImage ComposePreview(const QString& directory, const QImage& pieceSheet);

} // namespace skins
