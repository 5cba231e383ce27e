#include "Lettering.h"

#include <QList>
#include <QRawFont>

namespace artwork {

namespace {

QString FontFile(Typeface face) {
    const QString folder = QStringLiteral("/usr/share/fonts/truetype/liberation2/");
    switch (face) {
    case Typeface::SerifBold:
        return folder + "LiberationSerif-Bold.ttf";
    case Typeface::SerifItalic:
        return folder + "LiberationSerif-Italic.ttf";
    case Typeface::SansBold:
        return folder + "LiberationSans-Bold.ttf";
    case Typeface::SansItalic:
        return folder + "LiberationSans-Italic.ttf";
    }
    return {};
}

QRawFont LoadFont(Typeface face, qreal pixelSize) {
    return QRawFont(FontFile(face), pixelSize, QFont::PreferNoHinting);
}

} // namespace

QPainterPath TextOutline(Typeface face, qreal pixelSize, const QString& text) {
    const QRawFont font = LoadFont(face, pixelSize);
    QPainterPath outline;
    if (!font.isValid()) return outline;
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
    QPointF pen(0, 0);
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        outline.addPath(font.pathForGlyph(glyphs[i]).translated(pen));
        pen += advances[i];
    }
    return outline;
}

bool TypefacesAvailable() {
    for (Typeface face :
         {Typeface::SerifBold, Typeface::SerifItalic, Typeface::SansBold, Typeface::SansItalic})
        if (!LoadFont(face, 12).isValid()) return false;
    return true;
}

} // namespace artwork
