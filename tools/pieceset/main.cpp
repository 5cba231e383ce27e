// zel_make_pieceset: draws the default piece set and writes it as an 8-bit palette BMP.
//
//   zel_make_pieceset OUTPUT.bmp [--preview PREVIEW.png]

#include "Palette.h"
#include "PieceSetPainter.h"
#include "Preview.h"

#include <QString>

#include <cstdio>

namespace {

constexpr int kPreviewMagnification = 3;
constexpr int kDotsPerMetre = 2835; // 72 dots per inch, fixed so every run writes equal bytes

int Usage() {
    std::fprintf(stderr, "usage: zel_make_pieceset OUTPUT.bmp [--preview PREVIEW.png]\n");
    return 2;
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

    using namespace pieceset;
    QImage sheet = ToIndexed8(RenderSheet(), {kMaskOpaque, kMaskClear, kPictureBackground});
    sheet.setDotsPerMeterX(kDotsPerMetre);
    sheet.setDotsPerMeterY(kDotsPerMetre);
    if (!sheet.save(output, "BMP")) {
        std::fprintf(stderr, "zel_make_pieceset: cannot write %s\n", qPrintable(output));
        return 1;
    }
    if (!preview.isEmpty() && !ComposePreview(sheet, kPreviewMagnification).save(preview, "PNG")) {
        std::fprintf(stderr, "zel_make_pieceset: cannot write %s\n", qPrintable(preview));
        return 1;
    }
    return 0;
}
