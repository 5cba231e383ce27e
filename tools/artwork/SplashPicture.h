#pragma once

#include <QImage>

// The splash window's picture: 484 x 81 in 8-bit colour. The window keeps exactly the pixels
// that differ from the top-left one, so the banner lies on pure magenta that appears nowhere
// in the banner itself, and its edge pixels are the banner's own colours.

namespace artwork {

inline constexpr QSize kSplashSize(484, 81);

// The banner in full colour on the key colour (Format_RGB32).
QImage SplashDrawing();

// The banner reduced to a 256-colour palette, the key colour kept exactly.
QImage SplashPicture();

} // namespace artwork
