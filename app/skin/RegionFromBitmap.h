#pragma once
// The shape of a window cut from a picture: every pixel whose colour differs from a key
// colour belongs to the region, every key-coloured pixel is left out. Used to give the
// splash window the outline of its picture.

#include <QImage>
#include <QRegion>
#include <QRgb>

#include <optional>

// Builds the region of the non-key pixels of bitmap. A pixel is left out when its red,
// green and blue all equal the key's (alpha is not looked at; no tolerance). Each row's
// runs of kept pixels become one rectangle each; every batchSize rectangles are made into a
// region and united with the result, so a picture with many runs never builds one huge
// rectangle list. Returns nullopt for a null picture or one that cannot be converted to
// 32-bit pixels; a picture of nothing but key pixels gives an empty region.
std::optional<QRegion> RegionFromBitmap(const QImage& bitmap, QRgb transparent,
                                        int batchSize = 2000);
