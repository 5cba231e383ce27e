// The generated artwork as the program loads it from its resources: sizes and formats the
// windows rely on, key colours that mask exactly the background, and a generator that still
// reproduces every committed file.

#include "Artwork.h"
#include "ButtonPicture.h"
#include "Lettering.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstdlib>
#include <queue>

namespace {

constexpr QRgb kMagenta = qRgb(255, 0, 255);
constexpr QRgb kWhite = qRgb(255, 255, 255);

// The lettering needs the platform's font engines, but no screen.
void EnsureApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tools_artwork";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application =
        QCoreApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)application;
}

QByteArray Resource(const QString& path) {
    QFile file(":/" + path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xff000000;
}

using Match = std::function<bool(QRgb)>;

// How many pixels of `area` that `match` can be reached from the seeds through such pixels.
int Flood(const QImage& image, QRect area, const Match& match, const QList<QPoint>& seeds) {
    std::vector<char> seen(image.width() * image.height());
    std::queue<QPoint> open;
    auto visit = [&](QPoint p) {
        if (!area.contains(p) || seen[p.y() * image.width() + p.x()]) return;
        if (!match(Pixel(image, p.x(), p.y()))) return;
        seen[p.y() * image.width() + p.x()] = 1;
        open.push(p);
    };
    for (QPoint seed : seeds)
        visit(seed);
    int reached = 0;
    while (!open.empty()) {
        const QPoint p = open.front();
        open.pop();
        ++reached;
        for (QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
            visit(p + step);
    }
    return reached;
}

// The matching pixels reachable from the area's border; the others lie enclosed.
int ReachableFromBorder(const QImage& image, QRect area, const Match& match) {
    QList<QPoint> border;
    for (int x = area.left(); x <= area.right(); ++x)
        border << QPoint(x, area.top()) << QPoint(x, area.bottom());
    for (int y = area.top(); y <= area.bottom(); ++y)
        border << QPoint(area.left(), y) << QPoint(area.right(), y);
    return Flood(image, area, match, border);
}

int Count(const QImage& image, QRect area, const Match& match) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += match(Pixel(image, x, y));
    return count;
}

// The same picture: equal bytes, or the same size and format with every channel within one
// step, on a few pixels at most. Qt's antialiasing rounds differently on processors with
// other vector instructions, so a picture drawn on one machine can differ from the same
// drawing on another by a step here and there; a real change of the drawing differs more.
bool SamePicture(const QByteArray& committed, const QByteArray& drawn) {
    if (committed == drawn) return true;
    const QImage a = QImage::fromData(committed);
    const QImage b = QImage::fromData(drawn);
    if (a.isNull() || b.isNull() || a.size() != b.size() || a.format() != b.format())
        return false;
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < ca.height(); ++y)
        for (int x = 0; x < ca.width(); ++x) {
            const QRgb p = ca.pixel(x, y);
            const QRgb q = cb.pixel(x, y);
            if (p == q) continue;
            ++differing;
            for (int shift : {0, 8, 16, 24})
                if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > 1)
                    return false;
        }
    return differing <= std::max(4, ca.width() * ca.height() / 200);
}

int BitsPerPixel(const QByteArray& bmp) {
    return bmp.size() > 28 ? bmp[28] : -1;
}

TEST(ArtworkGenerator, ReproducesEveryCommittedFile) {
    EnsureApplication();
    ASSERT_TRUE(artwork::TypefacesAvailable()) << "the Liberation fonts are not installed";
    const QList<artwork::ArtworkFile> files = artwork::RenderArtwork();
    ASSERT_EQ(files.size(), 10 + 3 + 1 + 1 + 8);
    for (const artwork::ArtworkFile& file : files) {
        const QByteArray committed = Resource(file.path);
        ASSERT_FALSE(committed.isEmpty()) << qPrintable(file.path) << " is not in the resources";
        EXPECT_TRUE(SamePicture(committed, file.bytes))
            << qPrintable(file.path) << " differs: run the zel_regenerate_artwork target";
    }
}

TEST(ButtonPictures, AreNormalAndDisabledGlyphsOnAnExactKeyColour) {
    for (artwork::ButtonKind kind : artwork::kButtonKinds) {
        const QString path = "buttons/" + artwork::ButtonName(kind) + ".bmp";
        SCOPED_TRACE(path.toStdString());
        const QImage picture = QImage::fromData(Resource(path));
        ASSERT_EQ(picture.size(), QSize(32, 16));
        EXPECT_EQ(BitsPerPixel(Resource(path)), 24);
        const QRgb key = Pixel(picture, 0, 15);
        EXPECT_EQ(key, kMagenta);
        auto isKey = [key](QRgb rgb) { return rgb == key; };
        for (QRect half : {QRect(0, 0, 16, 16), QRect(16, 0, 16, 16)}) {
            // The key colour is only background: none of it is enclosed by the glyph...
            EXPECT_EQ(ReachableFromBorder(picture, half, isKey), Count(picture, half, isKey));
            // ...and a glyph fills a fair part of its square.
            EXPECT_GT(Count(picture, half, [&](QRgb rgb) { return !isKey(rgb); }), 60);
        }
        // The disabled half is greys and white only, and it keeps the glyph's shape.
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb normal = Pixel(picture, x, y);
                const QRgb disabled = Pixel(picture, 16 + x, y);
                if (disabled != key) {
                    EXPECT_TRUE(qRed(disabled) == qGreen(disabled) &&
                                qGreen(disabled) == qBlue(disabled))
                        << x << "," << y;
                }
                EXPECT_EQ(normal == key, disabled == key || disabled == kWhite) << x << "," << y;
            }
    }
}

TEST(ButtonPictures, EveryGlyphIsDifferent) {
    EnsureApplication();
    QList<QImage> seen;
    for (artwork::ButtonKind kind : artwork::kButtonKinds) {
        const QImage glyph = artwork::NormalGlyph(kind);
        EXPECT_FALSE(seen.contains(glyph)) << qPrintable(artwork::ButtonName(kind));
        seen.append(glyph);
    }
}

TEST(AboutPictures, HaveTheirPlacesSizesOnWhite) {
    const struct {
        const char* path;
        QSize size;
    } pictures[] = {{"about/Logo.bmp", {150, 52}},
                    {"about/Icon.bmp", {32, 32}},
                    {"about/Credits.bmp", {174, 35}}};
    for (const auto& [path, size] : pictures) {
        SCOPED_TRACE(path);
        const QImage picture = QImage::fromData(Resource(path));
        ASSERT_EQ(picture.size(), size);
        EXPECT_EQ(Pixel(picture, size.width() - 1, size.height() - 1), kWhite);
        EXPECT_EQ(Pixel(picture, size.width() - 1, 0), kWhite);
        const QRect all(QPoint(0, 0), size);
        const int drawn = Count(picture, all, [](QRgb rgb) { return rgb != kWhite; });
        EXPECT_GT(drawn, size.width() * size.height() / 4);
    }
}

TEST(SplashPicture, IsOneBannerOnAKeyColourFoundNowhereElse) {
    const QByteArray bytes = Resource("splash/Splash.bmp");
    EXPECT_EQ(BitsPerPixel(bytes), 8);
    const QImage splash = QImage::fromData(bytes);
    ASSERT_EQ(splash.size(), QSize(484, 81));
    EXPECT_EQ(splash.format(), QImage::Format_Indexed8);
    EXPECT_EQ(splash.colorCount(), 256);

    // The window keeps the pixels that differ from the top-left one.
    const QRgb key = Pixel(splash, 0, 0);
    EXPECT_EQ(key, kMagenta);
    const QRect all = splash.rect();
    auto isKey = [key](QRgb rgb) { return rgb == key; };
    auto isBanner = [key](QRgb rgb) { return rgb != key; };
    EXPECT_EQ(ReachableFromBorder(splash, all, isKey), Count(splash, all, isKey))
        << "the key colour shows inside the banner";

    // The banner is one piece: grow it from one of its pixels.
    const int banner = Count(splash, all, isBanner);
    EXPECT_GT(banner, all.width() * all.height() * 2 / 3);
    const QPoint middle(all.width() / 2, 45);
    ASSERT_TRUE(isBanner(Pixel(splash, middle.x(), middle.y())));
    EXPECT_EQ(Flood(splash, all, isBanner, {middle}), banner) << "stray islands beside the banner";
}

TEST(DesktopIcons, ArePngsWithAlphaAtEverySize) {
    for (int size : artwork::kIconSizes) {
        const QString path = QString("icons/hicolor/%1x%1/apps/chesszel.png").arg(size);
        SCOPED_TRACE(path.toStdString());
        const QImage icon = QImage::fromData(Resource(path), "PNG");
        ASSERT_EQ(icon.size(), QSize(size, size));
        ASSERT_TRUE(icon.hasAlphaChannel());
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the tile's rounded corner is transparent";
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }
}

// The SVG text drawn back with QPainter, read as far as the generator writes it: paths of
// M, L, C and Z with solid or linear-gradient fills, strokes and opacity.
QImage RenderSvg(const QByteArray& svg, int pixels) {
    QImage canvas(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    QXmlStreamReader xml(svg);
    QMap<QString, QLinearGradient> gradients;
    QString gradientId;
    qreal scale = 1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes a = xml.attributes();
        auto number = [&a](const char* name) { return a.value(name).toDouble(); };
        if (xml.name() == u"svg") {
            scale = pixels / a.value("viewBox").toString().split(' ').last().toDouble();
            painter.scale(scale, scale);
        } else if (xml.name() == u"linearGradient") {
            gradientId = a.value("id").toString();
            gradients[gradientId] =
                QLinearGradient(number("x1"), number("y1"), number("x2"), number("y2"));
        } else if (xml.name() == u"stop") {
            QColor colour(a.value("stop-color").toString());
            if (a.hasAttribute("stop-opacity")) colour.setAlphaF(number("stop-opacity"));
            gradients[gradientId].setColorAt(number("offset"), colour);
        } else if (xml.name() == u"path") {
            QPainterPath path;
            const QStringList tokens =
                a.value("d").toString().split(QRegularExpression("[ ,]"), Qt::SkipEmptyParts);
            for (qsizetype i = 0; i < tokens.size();) {
                const QChar command = tokens[i][0];
                auto point = [&](qsizetype k) {
                    const QString x = tokens[i + 2 * k];
                    return QPointF((k == 0 ? x.mid(1) : x).toDouble(),
                                   tokens[i + 2 * k + 1].toDouble());
                };
                if (command == 'M')
                    path.moveTo(point(0)), i += 2;
                else if (command == 'L')
                    path.lineTo(point(0)), i += 2;
                else if (command == 'C')
                    path.cubicTo(point(0), point(1), point(2)), i += 6;
                else if (command == 'Z')
                    path.closeSubpath(), i += 1;
                else
                    ADD_FAILURE() << "unexpected path command " << tokens[i].toStdString(), ++i;
            }
            const QString fill = a.value("fill").toString();
            if (fill.startsWith("url(#"))
                painter.setBrush(gradients.value(fill.mid(5).chopped(1)));
            else
                painter.setBrush(fill == "none" ? QBrush(Qt::NoBrush) : QBrush(QColor(fill)));
            if (a.hasAttribute("stroke"))
                painter.setPen(QPen(QColor(a.value("stroke").toString()),
                                    std::max(number("stroke-width"), 1 / scale), Qt::SolidLine,
                                    Qt::RoundCap, Qt::RoundJoin));
            else
                painter.setPen(Qt::NoPen);
            painter.setOpacity(a.hasAttribute("opacity") ? number("opacity") : 1.0);
            painter.drawPath(path);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

TEST(DesktopIcons, ScalableIconDrawsTheSamePictureAsThePngs) {
    const QByteArray svg = Resource("icons/chesszel.svg");
    ASSERT_TRUE(svg.startsWith("<?xml"));
    const QImage drawn = RenderSvg(svg, 64);
    const QImage png = QImage::fromData(Resource("icons/hicolor/64x64/apps/chesszel.png"), "PNG")
                           .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), png.size());
    qint64 difference = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = png.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
        }
    // Equal up to the rounding of coordinates in the text.
    EXPECT_LT(difference / (64.0 * 64.0 * 4), 0.5);
}

} // namespace
