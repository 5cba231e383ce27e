#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include "Shading.h"

// The ten skin pictures the program ships in resources/skins/: for each its file name, its
// size and the routine that draws it, and the four skins that combine them.

namespace skins {

struct SkinPicture {
    QString fileName; // "Sk1.bmp"
    int width;
    int height;
    Shader (*shader)(int width, int height);
    bool tiles; // a square texture, which the board repeats
};

// The pictures in the order they are written.
const QList<SkinPicture>& Pictures();

const SkinPicture* FindPicture(const QString& fileName);

struct Skin {
    QString name; // as the skin lists show it
    QString background;
    QString lightSquares;
    QString darkSquares;
};

const QList<Skin>& Skins();

// The picture in full colour.
QImage Draw(const SkinPicture& picture);

// The picture as shipped: reduced to 256 colours, with a fixed resolution.
QImage RenderShipped(const SkinPicture& picture);

// The bytes of the BMP file that holds an 8-bit picture.
QByteArray EncodeBmp(const QImage& picture);

} // namespace skins
