// zel_make_skins: draws the four skin backgrounds and the six square textures and writes
// them as 8-bit palette BMPs into a folder.
//
//   zel_make_skins OUTPUT_DIR [--preview PREVIEW.png]

#include "Preview.h"
#include "SkinSet.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <memory>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: zel_make_skins OUTPUT_DIR [--preview PREVIEW.png]\n");
    return 2;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[]) {
    QString output;
    QString preview;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == "--preview" && i + 1 < argc)
            preview = QString::fromLocal8Bit(argv[++i]);
        else if (output.isEmpty() && !arg.startsWith("-"))
            output = arg;
        else
            return Usage();
    }
    if (output.isEmpty()) return Usage();

    using namespace skins;
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "zel_make_skins: cannot create %s\n", qPrintable(output));
        return 1;
    }
    for (const SkinPicture& picture : Pictures()) {
        const QString path = output + "/" + picture.fileName;
        if (!WriteFile(path, EncodeBmp(RenderShipped(picture)))) {
            std::fprintf(stderr, "zel_make_skins: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    if (preview.isEmpty()) return 0;

    // Only the preview draws text, and text needs the application's font database.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QImage sheet = QImage(ZEL_PIECE_SET).convertToFormat(QImage::Format_RGB32);
    if (!ComposePreview(output, sheet).save(preview, "PNG")) {
        std::fprintf(stderr, "zel_make_skins: cannot write %s\n", qPrintable(preview));
        return 1;
    }
    return 0;
}
