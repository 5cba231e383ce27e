#pragma once

#include <QPainterPath>
#include <QString>

// Lettering as vector outlines, read from font files by path rather than looked up among
// the system's fonts, so the pictures don't change with the fonts a machine happens to
// have. Needs a QGuiApplication (the font engines belong to the platform layer).

namespace artwork {

enum class Typeface { SerifBold, SerifItalic, SansBold, SansItalic };

// The outline of `text` at `pixelSize`, unhinted, starting at x = 0 on the baseline y = 0.
// Empty when the font file can't be read.
QPainterPath TextOutline(Typeface face, qreal pixelSize, const QString& text);

// True when every typeface's font file can be read.
bool TypefacesAvailable();

} // namespace artwork
