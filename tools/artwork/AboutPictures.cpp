#include "AboutPictures.h"

#include "Emblem.h"
#include "Lettering.h"
#include "Pixels.h"

#include "PieceSetPainter.h"
#include "PieceShapes.h"

#include <QLinearGradient>
#include <QPainter>

namespace artwork {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
const QColor kNavy(26, 40, 104);
const QColor kNavyLight(64, 98, 190);
const QColor kSilver(214, 219, 230);
const QColor kRed(176, 26, 26);

// Fills text with a top-to-bottom ramp and a pale shadow below right of it.
void PaintLettering(QPainter& painter, const QPainterPath& text, QColor top, QColor bottom) {
    painter.fillPath(text.translated(1, 1), QColor(0, 0, 0, 50));
    const QRectF box = text.boundingRect();
    QLinearGradient ramp(box.topLeft(), box.bottomLeft());
    ramp.setColorAt(0, top);
    ramp.setColorAt(1, bottom);
    painter.fillPath(text, ramp);
}

void PaintChequer(QPainter& painter, QRect area, int square) {
    for (int y = area.top(), row = 0; y < area.bottom(); y += square, ++row)
        for (int x = area.left(), column = 0; x < area.right(); x += square, ++column)
            painter.fillRect(x, y, square, square, (row + column) % 2 ? kNavyLight : kSilver);
}

// One piece of the piece set's drawing, its 40-grid mapped by `place`.
void PaintPiece(QPainter& painter, pieceset::PieceKind kind, const pieceset::PieceColours& colours,
                const QTransform& place) {
    const pieceset::PieceShape shape = pieceset::MakePieceShape(kind);
    const QPainterPath silhouette = place.map(shape.silhouette);
    const QRectF box = silhouette.boundingRect();
    QLinearGradient light(box.topLeft(), box.topRight());
    light.setColorAt(0.3, QColor(colours.bodyLight));
    light.setColorAt(1.0, QColor(colours.bodyShade));
    painter.fillPath(silhouette, light);
    painter.save();
    painter.setClipPath(silhouette);
    painter.strokePath(place.map(shape.lines), QPen(QColor(colours.lines), 0.7 * place.m11()));
    painter.fillPath(place.map(shape.marks), QColor(colours.lines));
    painter.restore();
    painter.strokePath(silhouette, QPen(QColor(colours.outline), 1.0));
}

// The piece scaled into a square cell.
void PaintPiece(QPainter& painter, pieceset::PieceKind kind, bool white, QRectF cell) {
    const qreal scale = cell.width() / pieceset::kCellSize;
    PaintPiece(painter, kind, white ? pieceset::kWhiteColours : pieceset::kBlackColours,
               QTransform::fromTranslate(cell.left(), cell.top()).scale(scale, scale));
}

QImage WhiteCanvas(QSize size) {
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(kWhite);
    return canvas;
}

} // namespace

QImage LogoPicture() {
    QImage canvas = WhiteCanvas(kLogoSize);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);

    // A navy king, 48 pixels tall, at the left: the credits show the knight beside it in the
    // program's icon.
    const QRectF king =
        pieceset::MakePieceShape(pieceset::PieceKind::King).silhouette.boundingRect();
    const qreal scale = 48.0 / king.height();
    const QTransform place =
        QTransform::fromTranslate(3 - king.left() * scale, 2 - king.top() * scale)
            .scale(scale, scale);
    const pieceset::PieceColours navy{qRgb(12, 20, 56), qRgb(84, 118, 206), qRgb(20, 34, 100),
                                      qRgb(230, 236, 255)};
    painter.fillPath(place.map(pieceset::MakePieceShape(pieceset::PieceKind::King).silhouette)
                         .translated(1.5, 1.5),
                     QColor(0, 0, 0, 50));
    PaintPiece(painter, pieceset::PieceKind::King, navy, place);

    // "Chess" in navy and "Zel" in red, fitted into the room right of the knight.
    constexpr qreal kLeft = 36;
    constexpr qreal kRoom = 111;
    constexpr qreal kBaseline = 33;
    const QString chess = "Chess ";
    const QString zel = "Zel";
    const qreal probe = 100;
    const qreal probeWidth =
        TextOutline(Typeface::SerifBold, probe, chess + zel).boundingRect().width();
    const qreal size = qMin(30.0, probe * kRoom / probeWidth);
    const qreal zelOffset =
        TextOutline(Typeface::SerifBold, size, chess + zel).boundingRect().width() -
        TextOutline(Typeface::SerifBold, size, zel).boundingRect().width();
    const QPainterPath whole = TextOutline(Typeface::SerifBold, size, chess + zel);
    const qreal left =
        kLeft + (kRoom - whole.boundingRect().width()) / 2 - whole.boundingRect().left();
    PaintLettering(painter,
                   TextOutline(Typeface::SerifBold, size, chess).translated(left, kBaseline),
                   kNavyLight, kNavy);
    PaintLettering(
        painter,
        TextOutline(Typeface::SerifBold, size, zel).translated(left + zelOffset, kBaseline),
        QColor(230, 70, 60), kRed);

    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintChequer(painter, QRect(int(kLeft) + 3, 39, 108, 8), 4);
    painter.setPen(kNavy);
    painter.drawRect(QRect(int(kLeft) + 2, 38, 109, 9));
    return canvas;
}

QImage ProgramIconPicture() {
    return OnBackground(RenderEmblem(kProgramIconSize.width()), kWhite);
}

QImage CreditsPicture() {
    using pieceset::PieceKind;
    QImage canvas = WhiteCanvas(kCreditsSize);
    QPainter painter(&canvas);
    constexpr int kSquare = 21;
    constexpr int kLeft = (174 - 8 * kSquare) / 2;
    const PieceKind rank[] = {PieceKind::Rook,   PieceKind::Knight, PieceKind::Bishop,
                              PieceKind::Queen,  PieceKind::King,   PieceKind::Bishop,
                              PieceKind::Knight, PieceKind::Rook};
    for (int file = 0; file < 8; ++file) {
        const bool dark = file % 2 == 1;
        const QRect square(kLeft + file * kSquare, 1, kSquare, kSquare);
        painter.fillRect(square, dark ? kNavyLight : kSilver);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintPiece(painter, rank[file], dark, QRectF(square).adjusted(0, 0.5, 0, 0.5));
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.setPen(kNavy);
    painter.drawRect(QRect(kLeft - 1, 0, 8 * kSquare + 1, kSquare + 1));

    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath motto =
        TextOutline(Typeface::SerifItalic, 12, QString::fromUtf8("play \u00b7 learn \u00b7 enjoy"));
    const QRectF box = motto.boundingRect();
    painter.fillPath(motto.translated((174 - box.width()) / 2 - box.left(), 33), kNavy);
    return canvas;
}

} // namespace artwork
