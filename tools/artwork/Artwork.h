#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Every picture the generator makes, as file bytes under their paths below resources/.

namespace artwork {

struct ArtworkFile {
    QString path; // relative to resources/, e.g. "buttons/Back.bmp"
    QByteArray bytes;
};

// The icon sizes installed for the desktop, in pixels.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QList<ArtworkFile> RenderArtwork();

} // namespace artwork
