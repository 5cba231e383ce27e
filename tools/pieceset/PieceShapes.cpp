#include "PieceShapes.h"

#include "ShapeParts.h"

#include <QPainterPathStroker>

#include <iterator>

namespace pieceset {

namespace {

// The two-step foot every piece stands on; its top edge is kBaseline - 6.
QPainterPath Plinth(qreal halfWidth, QPainterPath& lines) {
    AddRow(lines, kBaseline - 3);
    return Bar(halfWidth, kBaseline - 3, kBaseline, 1.5)
        .united(Bar(halfWidth - 2, kBaseline - 6, kBaseline - 2, 1));
}

PieceShape Pawn() {
    PieceShape s;
    QPainterPath body(QPointF(kMid, 21));
    body.lineTo(23, 21);
    body.cubicTo(23.5, 26, 25, 29.5, 28, 32.5);
    body.lineTo(kMid, 32.5);
    s.silhouette =
        United({Disc({kMid, 14.5}, 5.5), Bar(6.5, 19, 22, 1.2), Lathe(body), Plinth(10, s.lines)});
    AddRow(s.lines, 19);
    AddRow(s.lines, 21);
    AddRow(s.lines, kBaseline - 6);
    return s;
}

PieceShape Knight() {
    PieceShape s;
    s.silhouette = United({KnightHead(), Plinth(11, s.lines)});

    s.lines.moveTo(18.5, 8.5); // the mane's edge, parallel to the crest
    s.lines.cubicTo(25.5, 9, 29, 15, 29, 22);
    s.lines.cubicTo(29, 26, 28, 29.5, 27, 32);
    s.lines.moveTo(9.5, 22.2); // mouth
    s.lines.lineTo(7.5, 21);
    AddRow(s.lines, kBaseline - 6);
    s.marks = KnightMarks();
    return s;
}

PieceShape Bishop() {
    PieceShape s;
    QPainterPath mitre(QPointF(kMid, 7));
    mitre.cubicTo(24, 9, 27.5, 13, 27.5, 18);
    mitre.cubicTo(27.5, 21.5, 26, 23.5, 24.5, 25);
    mitre.lineTo(kMid, 25);
    QPainterPath stem(QPointF(kMid, 28));
    stem.lineTo(23, 28);
    stem.cubicTo(23.5, 29.5, 25.5, 31, 28, 32.5);
    stem.lineTo(kMid, 32.5);
    s.silhouette = United({Disc({kMid, 4.8}, 2.8), Lathe(mitre), Bar(6.5, 24, 28, 1.5), Lathe(stem),
                           Plinth(11, s.lines)});
    AddRow(s.lines, 24);
    AddRow(s.lines, 27);
    AddRow(s.lines, kBaseline - 6);
    QPainterPath slit(QPointF(24.5, 11.5)); // the cut in the mitre, bolder than a line
    slit.lineTo(19, 18.5);
    QPainterPathStroker stroker;
    stroker.setWidth(1.7);
    s.marks = stroker.createStroke(slit);
    return s;
}

PieceShape Rook() {
    PieceShape s;
    // Three merlons with two embrasures between them.
    const QPointF battlement[] = {{10, 6}, {14.5, 6}, {14.5, 9}, {18, 9}, {18, 6},  {22, 6},
                                  {22, 9}, {25.5, 9}, {25.5, 6}, {30, 6}, {30, 14}, {10, 14}};
    QPainterPath top;
    top.addPolygon(QPolygonF(std::begin(battlement), std::end(battlement)));
    top.closeSubpath();
    QPainterPath tower(QPointF(kMid, 14));
    tower.lineTo(28, 14);
    tower.lineTo(27, 16);
    tower.lineTo(27, 28.5);
    tower.cubicTo(27.5, 30, 28.5, 31, 29, 32.5);
    tower.lineTo(kMid, 32.5);
    s.silhouette = United({top, Lathe(tower), Plinth(11, s.lines)});
    AddRow(s.lines, 13);
    AddRow(s.lines, 16);
    AddRow(s.lines, 28);
    AddRow(s.lines, kBaseline - 6);
    return s;
}

PieceShape Queen() {
    PieceShape s;
    // Five points, each crowned with a ball, fanning out from the band.
    const QPointF tips[] = {{9, 11}, {14.3, 8.5}, {kMid, 7.5}, {25.7, 8.5}, {31, 11}};
    const QPointF valleys[] = {{13.5, 16.5}, {17.5, 15.5}, {22.5, 15.5}, {26.5, 16.5}};
    QPainterPath crown(QPointF(13, 25));
    for (int i = 0; i < 5; ++i) {
        crown.lineTo(tips[i]);
        if (i < 4) crown.lineTo(valleys[i]);
    }
    crown.lineTo(27, 25);
    crown.closeSubpath();
    QPainterPath skirt(QPointF(kMid, 27));
    skirt.lineTo(25.5, 27);
    skirt.cubicTo(26, 29.5, 27.5, 31, 29.5, 32.5);
    skirt.lineTo(kMid, 32.5);
    s.silhouette = United({crown, Disc(tips[0], 2.6), Disc(tips[1], 2.6), Disc(tips[2], 2.8),
                           Disc(tips[3], 2.6), Disc(tips[4], 2.6), Bar(7.5, 23, 27, 1.5),
                           Lathe(skirt), Plinth(11, s.lines)});
    AddRow(s.lines, 23);
    AddRow(s.lines, 26);
    AddRow(s.lines, kBaseline - 6);
    return s;
}

PieceShape King() {
    PieceShape s;
    QPainterPath cross = Bar(2, 1.5, 10, 0.5).united(Bar(5, 3.5, 7.5, 0.5));
    QPainterPath cap(QPointF(kMid, 9)); // a domed cup narrowing to the waist
    cap.cubicTo(25, 9, 30, 10.5, 30, 14);
    cap.cubicTo(30, 17.5, 27, 20, 25.5, 24);
    cap.lineTo(kMid, 24);
    QPainterPath skirt(QPointF(kMid, 27));
    skirt.lineTo(25.5, 27);
    skirt.cubicTo(26, 29.5, 27.5, 31, 29.5, 32.5);
    skirt.lineTo(kMid, 32.5);
    s.silhouette =
        United({cross, Lathe(cap), Bar(7.5, 23, 27, 1.5), Lathe(skirt), Plinth(11, s.lines)});
    s.lines.moveTo(11.5, 14.5); // the rim of the cup, curving with its dome
    s.lines.quadTo(kMid, 10.5, 28.5, 14.5);
    AddRow(s.lines, 23);
    AddRow(s.lines, 26);
    AddRow(s.lines, kBaseline - 6);
    return s;
}

} // namespace

QPainterPath KnightHead(qreal foot) {
    QPainterPath head(QPointF(12, 32.5));
    head.cubicTo(11.5, 28, 14, 25.5, 18.5, 22.5); // chest up to the throat
    head.cubicTo(16, 21, 13.5, 21.5, 11, 23);     // under the jaw, forward to the chin
    head.cubicTo(9.5, 24, 7, 23.5, 6.5, 21.5);    // mouth
    head.cubicTo(5.5, 19.5, 6, 18, 8, 16.5);      // muzzle
    head.cubicTo(10, 14, 12, 10, 14.5, 8);        // face up to the forehead
    head.lineTo(15.5, 3);                         // front of the ear
    head.lineTo(18.5, 6.5);                       // back of the ear
    head.cubicTo(27, 6, 31.5, 13, 31.5, 22);      // crest of the mane
    head.cubicTo(31.5, 26, 30.5, 29.5, 29.5, foot);
    if (foot != 32.5) head.lineTo(12, foot);
    head.closeSubpath();
    return head;
}

QPainterPath KnightMarks() {
    QPainterPath marks;
    marks.addEllipse(QPointF(14, 12.5), 1.7, 1.2);  // eye
    marks.addEllipse(QPointF(8.2, 18.8), 0.8, 0.8); // nostril
    return marks;
}

PieceShape MakePieceShape(PieceKind kind) {
    // In the order of the kinds, the sheet's columns.
    PieceShape (*const makers[kPieceKinds])() = {Pawn, Knight, Bishop, Rook, Queen, King};
    const auto column = static_cast<std::size_t>(kind);
    return column < std::size(makers) ? makers[column]() : PieceShape{};
}

} // namespace pieceset
