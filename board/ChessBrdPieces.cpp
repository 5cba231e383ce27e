// The piece set of the board control and the twelve piece images cut from it. On a screen
// with 1.5 or more device pixels per logical pixel the images come from a set drawn at twice
// the size, when there is one, and carry a device pixel ratio of 2: they still measure
// PieceSize logical pixels, but every screen pixel is a pixel of the picture.

#include <string_view>

#include "ChessBrd.h"

namespace {

constexpr std::string_view kPieceLetters = "PNBRQKpnbrqk";

// From this device pixel ratio on a 2x set is sharper than the 1x set enlarged.
constexpr qreal kSharpRatio = 1.5;

// Pixels are drawn where the mask is anything but exact white.
QImage MaskedImage(const QImage& picture, const QImage& mask) {
    QImage out(picture.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        const auto* pic = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* msk = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            dst[x] = (msk[x] & 0xFFFFFFu) == 0xFFFFFFu ? 0u : (pic[x] | 0xFF000000u);
    }
    return out;
}

} // namespace

bool TChessBrd::HasPicture(const QImage& b) {
    return !b.isNull() && b.width() > 0 && b.height() > 0;
}

bool TChessBrd::IsValidPieceSet(const QImage& b) {
    return HasPicture(b) && b.width() * 2 == b.height() * 3;
}

void TChessBrd::LoadDefaultPieceSet() {
    FDefaultPieceSet = QImage(":/SETKOVIRA40.bmp");
    FDefaultPieceSet2x = QImage(":/SETKOVIRA40@2x.bmp");
}

void TChessBrd::SetCustomPieceSet2x(const QImage& v) {
    FCustomPieceSet2x = v;
    // While loading, EndLoading brings it into use together with the custom set.
    if (FLoading) return;
    BuildPieceImages();
    PaintBoard();
}

bool TChessBrd::WantsSharpPieces() const {
    return devicePixelRatioF() >= kSharpRatio;
}

bool TChessBrd::PieceImagesOutdated() const {
    return FPiecesForHighRatio != WantsSharpPieces();
}

void TChessBrd::BuildPieceImages() {
    // 1. The custom set only when it is a valid piece set.
    const bool custom = IsValidPieceSet(FCustomPieceSet);
    const QImage& source = custom ? FCustomPieceSet : FDefaultPieceSet;
    // 2. Measured in the 1x set, whichever set the pictures come from.
    FPieceSize = source.height() / 4;
    // The 2x set of the set in use, when the screen asks for it and it is exactly twice
    // as large.
    FPiecesForHighRatio = WantsSharpPieces();
    const QImage& sharp = custom ? FCustomPieceSet2x : FDefaultPieceSet2x;
    const bool useSharp =
        FPiecesForHighRatio && HasPicture(source) && sharp.size() == source.size() * 2;
    const int scale = useSharp ? 2 : 1;
    // 3.
    FPieceImages.clear();
    for (auto& colour : FPieceIndex)
        colour.fill(-1);
    const int p = FPieceSize * scale;
    if (p <= 0) return;
    const QImage cells = (useSharp ? sharp : source).convertToFormat(QImage::Format_RGB32);
    // 4-5. Picture row 2c, mask row 2c + 1, one column per kind.
    for (int c = 0; c < 2; ++c) {
        for (int k = 0; k < 6; ++k) {
            const QImage picture = cells.copy(k * p, 2 * c * p, p, p);
            const QImage mask = cells.copy(k * p, 2 * c * p + p, p, p);
            QImage image = MaskedImage(picture, mask);
            if (useSharp) image.setDevicePixelRatio(scale);
            FPieceImages.push_back(std::move(image));
            FPieceIndex[c][k] = int(FPieceImages.size()) - 1;
        }
    }
}

int TChessBrd::PieceImageIndex(char piece) const {
    const auto pos = kPieceLetters.find(piece);
    if (pos == std::string_view::npos) return -1;
    return FPieceIndex[pos / 6][pos % 6];
}

QImage TChessBrd::PieceImage(char piece) const {
    const int index = PieceImageIndex(piece);
    if (index < 0 || index >= int(FPieceImages.size())) return QImage();
    return FPieceImages[std::size_t(index)];
}
