#include "Preview.h"

#include "SkinSet.h"

#include <QFont>
#include <QPainter>

namespace skins {

namespace {

constexpr QSize kWindow(633, 457);
constexpr QPoint kPanel8(16, 29);
constexpr QPoint kBoardOrigin(16 - 7, 29 - 7); // the board control sits at -7, -7 in its panel
constexpr int kBorder = 24;
constexpr int kSquare = 48;
constexpr QSize kPlayPanel(321, 217);
constexpr int kGap = 12;

const char* const kStart[8] = {"rnbqkbnr", "pppp.ppp", "........", "....p...",
                               "...PP...", "..N.....", "PPP..PPP", "R.BQKBNR"};

// Stretches the picture over the rectangle pixel by pixel, as a plain blit does.
void Stretch(QPainter& painter, const QRect& bounds, const QImage& picture) {
    painter.drawImage(bounds,
                      picture.scaled(bounds.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

void DrawPiece(QImage& target, const QImage& sheet, char letter, QPoint topLeft) {
    const int size = sheet.height() / 4;
    const int kind = QByteArray("pnbrqk").indexOf(char(QChar(letter).toLower().toLatin1()));
    const int pictureTop = QChar(letter).isUpper() ? 0 : 2 * size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const QRgb mask = sheet.pixel(kind * size + x, pictureTop + size + y);
            if ((mask & 0xffffff) == 0xffffff) continue;
            target.setPixel(topLeft + QPoint(x, y), sheet.pixel(kind * size + x, pictureTop + y));
        }
}

void DrawBoard(QImage& window, const QImage& light, const QImage& dark, const QImage& sheet) {
    QPainter painter(&window);
    painter.setClipRect(QRect(kPanel8, QSize(409, 409)));
    painter.fillRect(QRect(kBoardOrigin, QSize(432, 432)), Qt::black);
    for (int pass = 0; pass < 2; ++pass) {
        const QImage& texture = pass == 0 ? dark : light;
        QRegion squares;
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column)
                if (((row + column) % 2 == 1) == (pass == 0))
                    squares += QRect(
                        kBoardOrigin + QPoint(kBorder + column * kSquare, kBorder + row * kSquare),
                        QSize(kSquare, kSquare));
        painter.save();
        painter.setClipRegion(squares & QRegion(QRect(kPanel8, QSize(409, 409))));
        for (int y = 0; y <= 432 / texture.height(); ++y)
            for (int x = 0; x <= 432 / texture.width(); ++x)
                painter.drawImage(kBoardOrigin + QPoint(x * texture.width(), y * texture.height()),
                                  texture);
        painter.restore();
    }
    painter.end();
    const int inset = (kSquare - sheet.height() / 4) / 2;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column)
            if (kStart[row][column] != '.')
                DrawPiece(window, sheet, kStart[row][column],
                          kBoardOrigin + QPoint(kBorder + column * kSquare + inset,
                                                kBorder + row * kSquare + inset));
}

void DrawSidePanel(QPainter& painter, const QImage& background) {
    const QPoint origin = kPanel8 + QPoint(420, 16);
    Stretch(painter, QRect(origin, QSize(169, 281)), background);
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(Qt::NoBrush);
    for (int x : {8, 32, 64, 96, 128})
        painter.drawRect(QRect(origin + QPoint(x, 16), QSize(24, 24)));
    for (int x : {8, 40, 72, 104, 136})
        painter.drawRect(QRect(origin + QPoint(x, 238), QSize(24, 24)));
    const QRect list(origin + QPoint(12, 48), QSize(145, 185));
    painter.fillRect(list, Qt::white);
    painter.setPen(Qt::black);
    const char* const moves[] = {"1. e4  e5", "2. d4  Nc6", "3. Nc3"};
    for (int i = 0; i < 3; ++i)
        painter.drawText(list.topLeft() + QPoint(4, 11 + 13 * i), moves[i]);

    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    const QPoint lines = kPanel8 + QPoint(424, 320);
    painter.setPen(Qt::white);
    painter.drawText(QRect(lines, QSize(153, 13)), Qt::AlignCenter, "10:42:17");
    painter.setPen(Qt::red);
    painter.drawText(QRect(lines + QPoint(0, 16), QSize(153, 17)), Qt::AlignCenter, "Check!");
    painter.setPen(Qt::white);
    painter.drawText(QRect(lines + QPoint(0, 48), QSize(153, 17)), Qt::AlignCenter,
                     "Level: Novice");
}

void DrawWindow(QImage& window, const QImage& background, const QImage& light, const QImage& dark,
                const QImage& sheet) {
    QPainter painter(&window);
    Stretch(painter, QRect(QPoint(0, 0), kWindow), background);
    QFont title("Liberation Sans");
    title.setPixelSize(13);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(16, 10 + 13), "Chess Zel");
    painter.setPen(Qt::black);
    painter.drawText(QPoint(15, 9 + 13), "Chess Zel");
    QFont small("Liberation Sans");
    small.setPixelSize(11);
    painter.setFont(small);
    painter.drawText(QRect(520, 6, 49, 22), Qt::AlignCenter, "Help");
    painter.drawText(QRect(568, 6, 25, 20), Qt::AlignCenter, "-");
    painter.drawText(QRect(592, 6, 25, 20), Qt::AlignCenter, "X");
    painter.fillRect(QRect(kPanel8, QSize(603, 410)), Qt::black);
    DrawSidePanel(painter, background);
    painter.end();
    DrawBoard(window, light, dark, sheet);
}

void DrawGroup(QPainter& painter, const QRect& bounds, const QString& caption) {
    painter.setPen(QColor(0, 0, 0, 110));
    painter.drawRect(bounds.adjusted(0, 6, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(bounds.topLeft() + QPoint(8, 10), caption);
}

void DrawCombo(QPainter& painter, const QRect& bounds, const QString& text) {
    painter.fillRect(bounds, Qt::white);
    painter.setPen(Qt::gray);
    painter.drawRect(bounds.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(bounds.adjusted(4, 0, 0, 0), Qt::AlignVCenter, text);
}

void DrawPlayPanel(QImage& target, QPoint origin, const QImage& background) {
    QPainter painter(&target);
    Stretch(painter, QRect(origin, kPlayPanel), background);
    QFont small("Liberation Sans");
    small.setPixelSize(11);
    painter.setFont(small);
    const QPoint inner = origin + QPoint(8, 8);
    painter.setPen(QColor(0, 0, 0, 140));
    painter.drawRect(QRect(inner, QSize(304, 200)));
    DrawGroup(painter, QRect(inner + QPoint(8, 8), QSize(161, 74)), "Players");
    painter.drawText(inner + QPoint(18, 38), "Black");
    painter.drawText(inner + QPoint(18, 64), "White");
    DrawCombo(painter, QRect(inner + QPoint(64, 26), QSize(97, 19)), "Computer");
    DrawCombo(painter, QRect(inner + QPoint(64, 52), QSize(97, 19)), "Player");
    DrawGroup(painter, QRect(inner + QPoint(8, 89), QSize(161, 45)), "Difficulty: ");
    DrawCombo(painter, QRect(inner + QPoint(18, 108), QSize(143, 19)), "Novice");
    DrawGroup(painter, QRect(inner + QPoint(8, 143), QSize(161, 45)), "Skin:");
    DrawCombo(painter, QRect(inner + QPoint(18, 162), QSize(143, 19)), "Wood");
    const QPoint buttons = inner + QPoint(176 + 8, 8);
    const QRect play(buttons + QPoint(0, 16), QSize(97, 73));
    for (const auto& [rect, text] :
         {std::pair{play, "Play"},
          std::pair{QRect(buttons + QPoint(0, 96), QSize(97, 33)), "Cancel"},
          std::pair{QRect(buttons + QPoint(0, 136), QSize(97, 33)), "Exit"}}) {
        painter.fillRect(rect, QColor(0xD4, 0xD0, 0xC8));
        painter.setPen(Qt::black);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.drawText(rect, Qt::AlignCenter, text);
    }
}

} // namespace

QImage ComposePreview(const QString& directory, const QImage& pieceSheet) {
    const QList<Skin>& skins = Skins();
    const int rowHeight = kWindow.height() + kGap;
    QImage preview(kWindow.width() + kGap + kPlayPanel.width(), rowHeight * skins.size() - kGap,
                   QImage::Format_RGB32);
    preview.fill(QColor(64, 64, 64));
    for (int i = 0; i < skins.size(); ++i) {
        const Skin& skin = skins[i];
        const QImage background(directory + "/" + skin.background);
        const QImage light(directory + "/" + skin.lightSquares);
        const QImage dark(directory + "/" + skin.darkSquares);
        QImage window(kWindow, QImage::Format_RGB32);
        DrawWindow(window, background.convertToFormat(QImage::Format_RGB32),
                   light.convertToFormat(QImage::Format_RGB32),
                   dark.convertToFormat(QImage::Format_RGB32), pieceSheet);
        QPainter painter(&preview);
        painter.drawImage(QPoint(0, i * rowHeight), window);
        painter.end();
        DrawPlayPanel(preview, QPoint(kWindow.width() + kGap, i * rowHeight),
                      background.convertToFormat(QImage::Format_RGB32));
    }
    return preview;
}

} // namespace skins
