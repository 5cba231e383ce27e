// zel_make_pieceset: draws a piece set and writes it as a BMP: the default set in 8-bit
// palette colour, the main window's set in 24-bit colour; at scale 2 on 80-pixel cells.
//
//   zel_make_pieceset [--style default|main] [--scale 1|2] OUTPUT.bmp [--preview PREVIEW.png]

#include "Preview.h"
#include "SheetFile.h"

#include <QFile>
#include <QString>

#include <cstdio>

namespace {

constexpr int kPreviewMagnification = 3;

int Usage() {
    std::fprintf(stderr, "usage: zel_make_pieceset [--style default|main] [--scale 1|2] "
                         "OUTPUT.bmp [--preview PREVIEW.png]\n");
    return 2;
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace pieceset;
    QString output;
    QString preview;
    PieceStyle style = PieceStyle::Default;
    int scale = 1;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == "--preview" && i + 1 < argc) {
            preview = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == "--style" && i + 1 < argc) {
            const QString name = QString::fromLocal8Bit(argv[++i]);
            if (name == "main")
                style = PieceStyle::Main;
            else if (name != "default")
                return Usage();
        } else if (arg == "--scale" && i + 1 < argc) {
            const QString value = QString::fromLocal8Bit(argv[++i]);
            if (value != "1" && value != "2") return Usage();
            scale = value.toInt();
        } else if (output.isEmpty() && !arg.startsWith("-")) {
            output = arg;
        } else {
            return Usage();
        }
    }
    if (output.isEmpty()) return Usage();

    const QImage sheet = MakeSheet(style, scale);
    if (!Write(output, EncodeSheet(sheet))) {
        std::fprintf(stderr, "zel_make_pieceset: cannot write %s\n", qPrintable(output));
        return 1;
    }
    if (!preview.isEmpty() && !ComposePreview(sheet, kPreviewMagnification).save(preview, "PNG")) {
        std::fprintf(stderr, "zel_make_pieceset: cannot write %s\n", qPrintable(preview));
        return 1;
    }
    return 0;
}
