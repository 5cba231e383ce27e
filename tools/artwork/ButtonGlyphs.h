#pragma once

#include <QColor>
#include <QPainterPath>
#include <QString>

class QPainter;

// The 16 x 16 glyphs of the main window's side-panel buttons, painted with antialiasing on a
// transparent canvas. Shapes keep their straight edges on pixel centres so the one-pixel
// outlines come out sharp; each glyph has a dark outline and a light-from-above fill.

namespace artwork {

enum class ButtonKind { Back, Forward, Print, Options, About, NewGame, Restart, Save, Open, Exit };

inline constexpr ButtonKind kButtonKinds[] = {
    ButtonKind::Back,  ButtonKind::Forward, ButtonKind::Print,   ButtonKind::Options,
    ButtonKind::About, ButtonKind::NewGame, ButtonKind::Restart, ButtonKind::Save,
    ButtonKind::Open,  ButtonKind::Exit};

inline constexpr int kGlyphSize = 16;

// The picture's file name without extension ("Back", "NewGame").
QString ButtonName(ButtonKind kind);

void PaintGlyph(QPainter& painter, ButtonKind kind);

// Shared by the glyph painters.
namespace glyph {

// Fills `shape` with a top-to-bottom ramp and outlines it with a one-pixel pen.
void FillOutlined(QPainter& painter, const QPainterPath& shape, QColor light, QColor dark,
                  QColor outline);

QPainterPath Polygon(std::initializer_list<QPointF> points);
QPainterPath Rect(qreal left, qreal top, qreal right, qreal bottom);

// One-pixel-wide solid pixels, for the few details drawn pixel by pixel.
void Pixels(QPainter& painter, QColor colour, std::initializer_list<QRect> rects);

void PaintPrint(QPainter& painter);
void PaintOptions(QPainter& painter);
void PaintNewGame(QPainter& painter);
void PaintSave(QPainter& painter);
void PaintOpen(QPainter& painter);

} // namespace glyph

} // namespace artwork
