// zel_make_artwork: draws the button pictures, the about window's pictures, the splash
// picture and the desktop icons, and writes them below the given resources folder.
//
//   zel_make_artwork RESOURCES_FOLDER

#include "Artwork.h"
#include "Lettering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    // The lettering needs the platform's font engines, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zel_make_artwork RESOURCES_FOLDER\n");
        return 2;
    }
    if (!artwork::TypefacesAvailable()) {
        std::fprintf(stderr, "zel_make_artwork: the Liberation fonts are missing\n");
        return 1;
    }
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    for (const artwork::ArtworkFile& file : artwork::RenderArtwork()) {
        const QString path = resources.filePath(file.path);
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size()) {
            std::fprintf(stderr, "zel_make_artwork: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
