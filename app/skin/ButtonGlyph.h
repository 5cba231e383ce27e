#pragma once
// Button pictures in the two-state form of the side panel: a picture twice as wide as high,
// the left half for the enabled button and the right half for the disabled one, and the
// colour of the bottom-left pixel standing for "transparent" (exact match only).

#include <QIcon>
#include <QImage>

QIcon GlyphIcon(const QImage& glyph);
