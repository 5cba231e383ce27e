#include "MainPieceShapes.h"

#include "ShapeParts.h"

#include <QPainterPathStroker>
#include <QtMath>

#include <iterator>

namespace pieceset {

namespace {

constexpr qreal kBaseTop = 29.5; // where every stem meets its base

// Appends the right half of the round base to a profile that has come down a stem to
// (stemHalfWidth, kBaseTop): a fillet flaring out, a full round ring, a narrow groove and a
// flat foot. Ends on the centre line at the baseline. Adds the groove to `lines`.
void AppendBase(QPainterPath& profile, qreal halfWidth, QPainterPath& lines) {
    const qreal x = kMid + halfWidth;
    profile.cubicTo(x - 3.5, kBaseTop + 0.5, x - 1, kBaseTop + 0.5, x - 0.5, 31.5); // fillet
    profile.cubicTo(x + 0.3, 32.5, x + 0.3, 34.3, x - 1, 34.8);                     // ring
    profile.lineTo(x - 0.5, 35.5);
    profile.lineTo(x + 0.5, 35.5); // foot
    profile.lineTo(x + 0.5, kBaseline - 1);
    profile.quadTo(x + 0.5, kBaseline, x - 0.5, kBaseline);
    profile.lineTo(kMid, kBaseline);
    AddRow(lines, 35);
}

// A flat, round collar (a disc seen edge-on) centred on row centreY.
QPainterPath Collar(qreal halfWidth, qreal centreY, qreal halfHeight) {
    QPainterPath collar;
    collar.addEllipse(QPointF(kMid, centreY), halfWidth, halfHeight);
    return collar;
}

// A concave stem from (halfTop, top) widening down to (halfBottom, kBaseTop), then the base.
QPainterPath Stem(qreal top, qreal halfTop, qreal halfBottom, qreal baseHalfWidth,
                  QPainterPath& lines) {
    QPainterPath profile(QPointF(kMid, top));
    profile.lineTo(kMid + halfTop, top);
    const qreal length = kBaseTop - top;
    profile.cubicTo(kMid + halfTop, top + 0.55 * length, kMid + halfBottom - 2.5,
                    top + 0.85 * length, kMid + halfBottom, kBaseTop);
    AppendBase(profile, baseHalfWidth, lines);
    return Lathe(profile);
}

PieceShape Pawn() {
    PieceShape s;
    const QPainterPath stem = Stem(19, 3.5, 7.5, 10.5, s.lines);
    s.silhouette = United({Disc({kMid, 12.5}, 5.5), Collar(7, 18.5, 1.9), stem});
    AddRow(s.lines, 19);
    return s;
}

// Follows a crest curve as a row of rounded locks, each bulging out of the curve by `depth`
// and leaning down it, so the mane looks combed back.
QPainterPath TuftedCrest(const QPainterPath& crest, int tufts, qreal depth) {
    QPainterPath mane(crest.pointAtPercent(0));
    for (int i = 0; i < tufts; ++i) {
        const qreal middle = (i + 0.6) / tufts;
        const qreal angle = qDegreesToRadians(crest.angleAtPercent(middle));
        const QPointF along(std::cos(angle), -std::sin(angle));
        const QPointF outward(along.y(), -along.x());
        const QPointF bulge = crest.pointAtPercent(middle) + outward * (2 * depth);
        mane.quadTo(bulge, crest.pointAtPercent(qreal(i + 1) / tufts));
    }
    return mane;
}

PieceShape Knight() {
    constexpr int kTufts = 5;
    PieceShape s;
    QPainterPath crest(QPointF(18, 5.5)); // from behind the ear over the neck to the base
    crest.cubicTo(25, 5, 30, 10, 30.5, 17.5);
    crest.cubicTo(31, 23, 30.5, 26.5, 29, kBaseTop);

    QPainterPath head(QPointF(12.5, kBaseTop));
    head.cubicTo(11.5, 26.5, 13, 24, 17, 21.5);   // chest up to the throat
    head.cubicTo(14.5, 20.3, 12.5, 21, 10.5, 22); // under the jaw, forward to the chin
    head.cubicTo(8.5, 23, 6, 22.5, 5.5, 20.5);    // lips
    head.cubicTo(5, 19, 5.5, 17.5, 7, 16);        // muzzle
    head.cubicTo(9.5, 13, 11, 9, 13.5, 7);        // face up to the forehead
    head.lineTo(14.5, 2);                         // front of the ear
    head.lineTo(18, 5.5);                         // back of the ear
    head.connectPath(TuftedCrest(crest, kTufts, 1.9));
    head.closeSubpath();

    QPainterPath base(QPointF(kMid, kBaseTop));
    base.lineTo(kMid + 8, kBaseTop);
    AppendBase(base, 11, s.lines);
    s.silhouette = United({head, Lathe(base), Collar(9.5, kBaseTop, 1.5)});

    // The mane: its inner edge running parallel to the crest, and a stroke from each notch
    // of the crest combed down to it, parting the locks.
    constexpr qreal kManeWidth = 3.2;
    const auto inside = [&crest](qreal at, qreal depth, qreal lean) {
        const qreal angle = qDegreesToRadians(crest.angleAtPercent(at));
        const QPointF along(std::cos(angle), -std::sin(angle));
        const QPointF inward(-along.y(), along.x());
        return crest.pointAtPercent(at) + inward * depth + along * lean;
    };
    s.lines.moveTo(inside(0.08, kManeWidth, 0));
    for (int step = 1; step <= 20; ++step)
        s.lines.lineTo(inside(0.08 + 0.9 * step / 20, kManeWidth, 0));
    for (int i = 1; i < kTufts; ++i) {
        const qreal at = qreal(i) / kTufts;
        s.lines.moveTo(inside(at, 0, 0));
        s.lines.quadTo(inside(at, 1.5, 0.3), inside(at, kManeWidth, 1.5));
    }
    s.lines.moveTo(17, 12.5); // the cheek, round behind the eye and down to the jaw
    s.lines.cubicTo(19.5, 14, 19.5, 18, 16.5, 20.5);
    s.lines.moveTo(9.5, 21.3); // mouth
    s.lines.lineTo(7, 20.2);
    AddRow(s.lines, kBaseTop, 9);
    s.marks.addEllipse(QPointF(13.2, 11), 1.8, 1.3);
    s.marks.addEllipse(QPointF(7.6, 17.6), 0.8, 0.8);
    return s;
}

PieceShape Bishop() {
    PieceShape s;
    QPainterPath mitre(QPointF(kMid, 6)); // an egg, fullest above its middle
    mitre.cubicTo(24, 7, 27, 10.5, 27, 14);
    mitre.cubicTo(27, 17, 25.5, 19.5, 23.5, 21);
    mitre.lineTo(kMid, 21);
    const QPainterPath stem = Stem(23, 3, 7.5, 11, s.lines);
    s.silhouette = United({Disc({kMid, 3.8}, 2.4), Bar(1.2, 4, 7, 0.5), Lathe(mitre),
                           Collar(7, 21.5, 1.6), Collar(5.5, 23.5, 1.2), stem});
    AddRow(s.lines, 22);
    QPainterPath slit(QPointF(24.8, 9)); // the cut in the mitre
    slit.lineTo(20.2, 15.2);
    QPainterPathStroker stroker;
    stroker.setWidth(1.6);
    stroker.setCapStyle(Qt::RoundCap);
    s.marks = stroker.createStroke(slit);
    return s;
}

PieceShape Rook() {
    PieceShape s;
    // The turret: four merlons with three embrasures, overhanging the shaft.
    const QPointF battlement[] = {{9, 5},     {13, 5},    {13, 8.5}, {15, 8.5}, {15, 5},
                                  {19, 5},    {19, 8.5},  {21, 8.5}, {21, 5},   {25, 5},
                                  {25, 8.5},  {27, 8.5},  {27, 5},   {31, 5},   {31, 12},
                                  {30, 13.5}, {10, 13.5}, {9, 12}};
    QPainterPath turret;
    turret.addPolygon(QPolygonF(std::begin(battlement), std::end(battlement)));
    turret.closeSubpath();
    QPainterPath shaft(QPointF(kMid, 13)); // tapering up from the base
    shaft.lineTo(kMid + 7.5, 13);
    shaft.lineTo(kMid + 7.5, 14.5);
    shaft.lineTo(kMid + 6.5, 15.5);
    shaft.cubicTo(kMid + 7.2, 20, kMid + 7.8, 24, kMid + 8.5, 27);
    shaft.lineTo(kMid + 8.5, 28);
    shaft.lineTo(kMid + 8, kBaseTop);
    AppendBase(shaft, 11.5, s.lines);
    s.silhouette = United({turret, Lathe(shaft)});
    AddRow(s.lines, 11);
    AddRow(s.lines, 14);
    AddRow(s.lines, 27);
    return s;
}

// The cup shared by queen and king: narrow at the waist, flaring up to a rim at rimY.
QPainterPath Cup(qreal rimY, qreal rimHalfWidth) {
    QPainterPath cup(QPointF(kMid, rimY));
    cup.lineTo(kMid + rimHalfWidth, rimY);
    cup.cubicTo(kMid + rimHalfWidth - 1, rimY + 4, kMid + 3.5, 17, kMid + 4, 21);
    cup.lineTo(kMid, 21);
    return Lathe(cup);
}

PieceShape Queen() {
    PieceShape s;
    // The coronet: five balls in an arc along the rim, with a larger ball raised on a neck
    // above the middle one.
    QPainterPath coronet;
    const QPointF balls[] = {{10.6, 9.4}, {15.3, 8.2}, {kMid, 7.8}, {24.7, 8.2}, {29.4, 9.4}};
    for (const QPointF& ball : balls)
        coronet.addEllipse(ball, 2.6, 2.6);
    const QPainterPath stem = Stem(24, 3.2, 8, 11.5, s.lines);
    s.silhouette = United({coronet, Disc({kMid, 2.9}, 2.5), Bar(1.2, 4, 7, 0.5), Cup(11, 9),
                           Collar(7.5, 21.5, 1.7), Collar(6, 23.8, 1.3), stem});
    AddRow(s.lines, 12);
    AddRow(s.lines, 22);
    return s;
}

PieceShape King() {
    PieceShape s;
    QPainterPath cross = Bar(2, 1, 8, 0.5).united(Bar(4.5, 2.5, 5.5, 0.5));
    QPainterPath dome(QPointF(kMid, 7)); // an arched crown over the rim
    dome.cubicTo(23.5, 7, 27, 8.5, 27.5, 11);
    dome.lineTo(kMid, 11);
    const QPainterPath stem = Stem(24, 3.2, 8, 11.5, s.lines);
    s.silhouette = United({cross, Lathe(dome), Bar(8.5, 10.5, 13, 1), Cup(12, 8),
                           Collar(7.5, 21.5, 1.7), Collar(6, 23.8, 1.3), stem});
    s.lines.moveTo(12, 10.5); // the crown's arches meeting under the cross
    s.lines.quadTo(kMid, 5, 28, 10.5);
    AddRow(s.lines, 12);
    AddRow(s.lines, 22);
    return s;
}

} // namespace

PieceShape MakeMainPieceShape(PieceKind kind) {
    // In the order of the kinds, the sheet's columns.
    PieceShape (*const makers[kPieceKinds])() = {Pawn, Knight, Bishop, Rook, Queen, King};
    const auto column = static_cast<std::size_t>(kind);
    return column < std::size(makers) ? makers[column]() : PieceShape{};
}

} // namespace pieceset
