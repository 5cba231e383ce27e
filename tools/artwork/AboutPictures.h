#pragma once

#include <QImage>

// The three pictures on the about window's scrolling credits, all on the credits' white.

namespace artwork {

inline constexpr QSize kLogoSize(150, 52);
inline constexpr QSize kProgramIconSize(32, 32);
inline constexpr QSize kCreditsSize(174, 35);

// The "Chess Zel" logotype beside a navy king, over a strip of board squares.
QImage LogoPicture();

// The program's emblem at 32 x 32.
QImage ProgramIconPicture();

// A rank of the board with the pieces in their starting order, over the line
// "play · learn · enjoy".
QImage CreditsPicture();

} // namespace artwork
