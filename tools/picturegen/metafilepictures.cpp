#include "metafilepictures.h"

#include "geometry.h"
#include "wmfwriter.h"

#include <QTransform>

namespace moji::pictures {

namespace {

const QColor Ink(48, 34, 64);
const QColor Transparent(255, 255, 255);
const QColor Snow(254, 254, 254); // white that must not turn transparent
const QColor Blush(255, 150, 170);
const QColor Leaf(86, 196, 84);
const QColor Gold(255, 200, 36);

constexpr qreal PopLine = 3.4;
constexpr qreal PresentLine = 2.0;

QPainterPath tilted(const QPointF& centre, qreal rx, qreal ry, qreal degrees)
{
    QPainterPath p;
    p.addEllipse(QPointF(0, 0), rx, ry);
    return QTransform().translate(centre.x(), centre.y()).rotate(-degrees).map(p);
}

// Left-right mirror images about the middle of the square.
const QTransform Mirror(-1, 0, 0, 1, DesignSize, 0);
QPolygonF mirror(const QPolygonF& p) { return Mirror.map(p); }
QPainterPath mirror(const QPainterPath& p) { return Mirror.map(p); }

QPainterPath box(const QRectF& r)
{
    QPainterPath p;
    p.addRect(r);
    return p;
}

void clear(Canvas& c)
{
    c.setNoPen();
    c.setBrush(Transparent);
    c.drawRect(QRectF(0, 0, DesignSize, DesignSize));
}

void outlined(Canvas& c, const QColor& fill, qreal line)
{
    c.setPen(Ink, line);
    c.setBrush(fill);
}

void plain(Canvas& c, const QColor& fill)
{
    c.setNoPen();
    c.setBrush(fill);
}

void line(Canvas& c, qreal width, const QColor& colour = Ink)
{
    c.setPen(colour, width);
    c.setNoBrush();
}

// Shining eyes and pink cheeks; `s` is half the distance between the eyes.
void eyes(Canvas& c, const QPointF& centre, qreal s)
{
    for (const int side : {-1, 1}) {
        const QPointF eye = centre + QPointF(side * s, -0.35 * s);
        plain(c, Blush);
        c.drawEllipse(centre + QPointF(side * 1.5 * s, 0.4 * s), 0.34 * s, 0.22 * s);
        plain(c, Ink);
        c.drawEllipse(eye, 0.27 * s, 0.37 * s);
        plain(c, Snow);
        c.drawCircle(eye + QPointF(0.08 * s, -0.14 * s), 0.11 * s);
    }
}

void face(Canvas& c, const QPointF& centre, qreal s, qreal width)
{
    eyes(c, centre, s);
    line(c, width);
    c.drawArc(QRectF(centre.x() - 0.55 * s, centre.y() - 0.45 * s, 1.1 * s, 1.0 * s), 205 * 16, 130 * 16);
}

void sparkle(Canvas& c, const QPointF& centre, qreal r, const QColor& colour, qreal width)
{
    outlined(c, colour, width);
    c.drawPolygon(star(centre, r, 0.32 * r, 4));
}

void cat(Canvas& c)
{
    const QColor fur(255, 168, 64), stripe(226, 116, 34), cream(255, 238, 206), pink(255, 160, 180);
    const QPolygonF ear{{14, 50}, {18, 8}, {48, 28}};
    const QPolygonF innerEar{{22, 40}, {23, 19}, {38, 29}};
    outlined(c, fur, PopLine);
    c.drawPolygon(ear);
    c.drawPolygon(mirror(ear));
    plain(c, pink);
    c.drawPolygon(innerEar);
    c.drawPolygon(mirror(innerEar));
    outlined(c, fur, PopLine);
    c.drawEllipse(QPointF(50, 60), 40, 32);
    plain(c, stripe);
    const QPolygonF sideStripe{{34, 33}, {41, 31}, {40, 41}};
    c.drawPolygon(QPolygonF{{45, 29}, {55, 29}, {50, 41}});
    c.drawPolygon(sideStripe);
    c.drawPolygon(mirror(sideStripe));
    plain(c, cream);
    c.drawEllipse(QPointF(42, 73), 10, 8);
    c.drawEllipse(QPointF(58, 73), 10, 8);
    plain(c, Blush);
    c.drawEllipse(QPointF(24, 68), 6, 4);
    c.drawEllipse(QPointF(76, 68), 6, 4);
    for (const qreal x : {34, 66}) {
        plain(c, Ink);
        c.drawEllipse(QPointF(x, 56), 5, 7.5);
        plain(c, Snow);
        c.drawCircle(QPointF(x + 1.5, 53), 2);
    }
    outlined(c, pink, 2);
    c.drawPolygon(QPolygonF{{45, 65}, {55, 65}, {50, 70}});
    line(c, 2.2);
    c.drawArc(QRectF(41, 66, 9, 9), 180 * 16, 180 * 16);
    c.drawArc(QRectF(50, 66, 9, 9), 180 * 16, 180 * 16);
    for (const QPolygonF& whisker : {QPolygonF{{3, 60}, {20, 64}}, QPolygonF{{3, 72}, {20, 70}}}) {
        c.drawPolyline(whisker);
        c.drawPolyline(mirror(whisker));
    }
}

void sun(Canvas& c)
{
    outlined(c, QColor(255, 142, 40), PopLine);
    c.drawPolygon(star(QPointF(50, 50), 47, 33, 12));
    outlined(c, QColor(255, 218, 54), PopLine);
    c.drawCircle(QPointF(50, 50), 30);
    face(c, QPointF(50, 52), 12, 2.6);
}

void tulip(Canvas& c)
{
    const QColor petal(240, 56, 92), middle(255, 118, 150);
    outlined(c, Leaf, PopLine);
    c.drawRoundedRect(QRectF(46, 52, 8, 44), 4, 4);
    QPainterPath leaf;
    leaf.moveTo(49, 94);
    leaf.cubicTo(30, 92, 14, 74, 16, 54);
    leaf.cubicTo(34, 58, 46, 74, 49, 94);
    c.drawPath(leaf);
    c.drawPath(mirror(QTransform().translate(50, 94).scale(0.8, 0.8).translate(-50, -94).map(leaf)));

    QPainterPath cup;
    cup.moveTo(22, 14);
    cup.cubicTo(18, 44, 30, 62, 50, 62);
    cup.cubicTo(70, 62, 82, 44, 78, 14);
    cup.lineTo(64, 28);
    cup.lineTo(50, 8);
    cup.lineTo(36, 28);
    cup.closeSubpath();
    outlined(c, petal, PopLine);
    c.drawPath(cup);
    QPainterPath front;
    front.moveTo(50, 16);
    front.cubicTo(38, 28, 38, 50, 50, 61);
    front.cubicTo(62, 50, 62, 28, 50, 16);
    outlined(c, middle, 2.4);
    c.drawPath(front);
    plain(c, QColor(255, 196, 210));
    c.drawPath(tilted(QPointF(30, 36), 3, 9, -10));
}

void apple(Canvas& c)
{
    outlined(c, QColor(150, 90, 44), PopLine);
    c.drawPolygon(QPolygonF{{47, 34}, {49, 10}, {56, 10}, {54, 34}});
    QPainterPath body;
    body.moveTo(50, 30);
    body.cubicTo(62, 20, 92, 22, 90, 54);
    body.cubicTo(88, 80, 70, 96, 58, 93);
    body.cubicTo(54, 92, 46, 92, 42, 93);
    body.cubicTo(30, 96, 12, 80, 10, 54);
    body.cubicTo(8, 22, 38, 20, 50, 30);
    outlined(c, QColor(234, 42, 56), PopLine);
    c.drawPath(body);
    plain(c, QColor(255, 120, 120));
    c.drawPath(tilted(QPointF(27, 50), 6, 13, -20));
    plain(c, Snow);
    c.drawPath(tilted(QPointF(26, 46), 3, 7, -20));
    QPainterPath leaf;
    leaf.moveTo(54, 20);
    leaf.cubicTo(58, 6, 76, 2, 88, 8);
    leaf.cubicTo(82, 22, 66, 26, 54, 20);
    outlined(c, Leaf, PopLine);
    c.drawPath(leaf);
    line(c, 2);
    c.drawPolyline(QPolygonF{{58, 18}, {80, 9}});
}

void fish(Canvas& c)
{
    const QColor body(84, 196, 255), fin(255, 196, 44), stripe(40, 132, 232);
    QPainterPath tail;
    tail.moveTo(70, 52);
    tail.cubicTo(80, 40, 88, 28, 97, 24);
    tail.cubicTo(92, 42, 92, 62, 97, 80);
    tail.cubicTo(88, 76, 80, 64, 70, 52);
    QPainterPath top;
    top.moveTo(28, 34);
    top.cubicTo(32, 18, 50, 14, 58, 32);
    outlined(c, fin, PopLine);
    c.drawPath(tail);
    c.drawPath(top);
    QPainterPath shape;
    shape.moveTo(6, 54);
    shape.cubicTo(12, 28, 46, 20, 64, 32);
    shape.cubicTo(72, 38, 78, 46, 80, 52);
    shape.cubicTo(78, 58, 72, 66, 64, 72);
    shape.cubicTo(46, 84, 12, 80, 6, 54);
    outlined(c, body, PopLine);
    c.drawPath(shape);
    line(c, 4, stripe);
    c.drawArc(QRectF(34, 32, 18, 44), -55 * 16, 110 * 16);
    c.drawArc(QRectF(46, 36, 16, 34), -55 * 16, 110 * 16);
    outlined(c, fin, 2.4);
    c.drawPath(tilted(QPointF(40, 62), 8, 4, -30));
    outlined(c, Snow, 2.2);
    c.drawCircle(QPointF(22, 48), 7);
    plain(c, Ink);
    c.drawCircle(QPointF(23, 48), 4);
    plain(c, Snow);
    c.drawCircle(QPointF(24.5, 46.5), 1.5);
    plain(c, Blush);
    c.drawEllipse(QPointF(24, 60), 4, 2.6);
    line(c, 2.2);
    c.drawArc(QRectF(8, 54, 8, 8), 200 * 16, 130 * 16);
    outlined(c, QColor(200, 240, 255), 2);
    c.drawCircle(QPointF(14, 24), 5);
    c.drawCircle(QPointF(24, 10), 3.5);
}

void rocket(Canvas& c)
{
    const QColor red(236, 60, 72), hull(232, 238, 250);
    QPainterPath flame;
    flame.moveTo(38, 76);
    flame.cubicTo(38, 88, 46, 92, 50, 99);
    flame.cubicTo(54, 92, 62, 88, 62, 76);
    flame.closeSubpath();
    outlined(c, QColor(255, 140, 34), PopLine);
    c.drawPath(flame);
    plain(c, QColor(255, 232, 80));
    c.drawEllipse(QPointF(50, 82), 5, 8);
    QPainterPath fin;
    fin.moveTo(36, 50);
    fin.cubicTo(22, 56, 18, 70, 20, 86);
    fin.lineTo(38, 74);
    fin.closeSubpath();
    outlined(c, red, PopLine);
    c.drawPath(fin);
    c.drawPath(mirror(fin));
    QPainterPath shape;
    shape.moveTo(50, 4);
    shape.cubicTo(70, 16, 72, 46, 64, 80);
    shape.lineTo(36, 80);
    shape.cubicTo(28, 46, 30, 16, 50, 4);
    outlined(c, hull, PopLine);
    c.drawPath(shape);
    plain(c, red);
    c.drawPath(shape.intersected(box(QRectF(0, 0, 100, 24))));
    plain(c, QColor(190, 200, 222));
    c.drawPath(shape.intersected(box(QRectF(0, 70, 100, 30))));
    line(c, PopLine); // the bands above covered the outline
    c.drawPath(shape);
    outlined(c, QColor(110, 200, 255), PopLine);
    c.drawCircle(QPointF(50, 44), 9);
    plain(c, Snow);
    c.drawCircle(QPointF(46.5, 40.5), 2.6);
    sparkle(c, QPointF(14, 20), 8, Gold, 2);
    sparkle(c, QPointF(86, 34), 6, Gold, 2);
    sparkle(c, QPointF(84, 8), 4, Gold, 1.6);
}

void smilingStar(Canvas& c)
{
    outlined(c, QColor(255, 212, 36), PopLine);
    c.drawPolygon(star(QPointF(50, 54), 47, 22, 5));
    face(c, QPointF(50, 58), 9, 2.4);
}

void cloud(Canvas& c)
{
    const QColor bands[] = {QColor(240, 60, 70), QColor(255, 200, 40), QColor(70, 200, 90), QColor(60, 150, 250)};
    constexpr qreal band = 6;
    const QPointF middle(50, 62);
    line(c, 4 * band + 2.4);
    c.drawArc(QRectF(middle - QPointF(34, 34), QSizeF(68, 68)), 0, 180 * 16);
    for (int i = 0; i < 4; ++i) {
        const qreal r = 34 + 1.5 * band - i * band;
        line(c, band + 0.4, bands[i]);
        c.drawArc(QRectF(middle - QPointF(r, r), QSizeF(2 * r, 2 * r)), 0, 180 * 16);
    }
    QPainterPath puff;
    puff.addEllipse(QPointF(24, 70), 16, 15);
    puff.addEllipse(QPointF(44, 58), 20, 20);
    puff.addEllipse(QPointF(66, 62), 17, 17);
    puff.addEllipse(QPointF(80, 74), 13, 12);
    puff.addRoundedRect(QRectF(12, 66, 78, 20), 10, 10);
    puff.setFillRule(Qt::WindingFill);
    outlined(c, Snow, PopLine);
    c.drawPath(puff.simplified());
    face(c, QPointF(50, 72), 9, 2.4);
}

void rabbit(Canvas& c)
{
    const QColor fur(252, 242, 246), pink(255, 172, 192);
    for (const int side : {-1, 1}) {
        outlined(c, fur, PopLine);
        c.drawPath(tilted(QPointF(50 + side * 15, 27), 9, 24, -side * 10));
        plain(c, pink);
        c.drawPath(tilted(QPointF(50 + side * 15, 29), 4.5, 17, -side * 10));
    }
    outlined(c, fur, PopLine);
    c.drawEllipse(QPointF(50, 66), 36, 29);
    eyes(c, QPointF(50, 66), 12);
    outlined(c, pink, 2);
    c.drawEllipse(QPointF(50, 70), 4, 3);
    line(c, 2.2);
    c.drawArc(QRectF(42, 68, 8, 9), 180 * 16, 180 * 16);
    c.drawArc(QRectF(50, 68, 8, 9), 180 * 16, 180 * 16);
    for (const QPolygonF& whisker : {QPolygonF{{8, 66}, {24, 70}}, QPolygonF{{8, 78}, {24, 75}}}) {
        c.drawPolyline(whisker);
        c.drawPolyline(mirror(whisker));
    }
}

void strawberry(Canvas& c)
{
    QPainterPath berry;
    berry.moveTo(50, 96);
    berry.cubicTo(30, 88, 10, 60, 12, 42);
    berry.cubicTo(14, 24, 36, 20, 50, 26);
    berry.cubicTo(64, 20, 86, 24, 88, 42);
    berry.cubicTo(90, 60, 70, 88, 50, 96);
    outlined(c, QColor(240, 48, 72), PopLine);
    c.drawPath(berry);
    plain(c, QColor(255, 226, 110));
    for (int row = 0; row < 4; ++row) {
        const int count = 4 - row / 2;
        for (int i = 0; i < count; ++i) {
            const qreal x = 50 + (i - (count - 1) / 2.0) * (16 - 2 * row);
            c.drawEllipse(QPointF(x, 42 + row * 12), 1.8, 2.8);
        }
    }
    plain(c, Snow);
    c.drawPath(tilted(QPointF(24, 44), 3, 8, -25));
    outlined(c, Leaf, PopLine);
    c.drawPolygon(QTransform().translate(50, 26).scale(1, 0.55).translate(-50, -26).map(star(QPointF(50, 26), 26, 9, 6, 60)));
    c.drawRoundedRect(QRectF(47, 4, 7, 20), 3.5, 3.5);
}

void giftBox(Canvas& c)
{
    const QColor red(232, 52, 84), lid(246, 80, 108), ribbon(255, 204, 40), dots(255, 138, 160);
    const QColor confetti[] = {QColor(80, 190, 255), QColor(120, 210, 90), QColor(255, 150, 40), QColor(190, 120, 255)};
    const QPointF bits[] = {{8, 30}, {92, 58}, {10, 74}, {88, 86}, {6, 52}, {94, 24}};
    for (int i = 0; i < 6; ++i) {
        plain(c, confetti[i % 4]);
        c.drawPolygon(QTransform().translate(bits[i].x(), bits[i].y()).rotate(30 * i + 15).map(QPolygonF(QRectF(-3, -1.6, 6, 3.2))));
    }
    outlined(c, red, PresentLine);
    c.drawRect(QRectF(20, 50, 60, 42));
    plain(c, QColor(200, 34, 66));
    c.drawRect(QRectF(21, 51, 58, 4));
    plain(c, dots);
    for (const QPointF& d : {QPointF(30, 64), QPointF(70, 64), QPointF(30, 82), QPointF(70, 82)})
        c.drawCircle(d, 3.4);
    outlined(c, ribbon, PresentLine);
    c.drawRect(QRectF(44, 50, 12, 42));
    outlined(c, lid, PresentLine);
    c.drawRect(QRectF(16, 38, 68, 14));
    plain(c, QColor(255, 150, 170));
    c.drawRect(QRectF(19, 40.5, 10, 2.5));
    outlined(c, ribbon, PresentLine);
    c.drawRect(QRectF(44, 38, 12, 14));

    QPainterPath loop;
    loop.moveTo(50, 36);
    loop.cubicTo(42, 14, 18, 12, 20, 26);
    loop.cubicTo(22, 36, 38, 38, 50, 36);
    outlined(c, ribbon, PresentLine);
    c.drawPath(loop);
    c.drawPath(mirror(loop));
    plain(c, QColor(232, 160, 20));
    c.drawPath(tilted(QPointF(31, 28), 6, 3, -25));
    c.drawPath(mirror(tilted(QPointF(31, 28), 6, 3, -25)));
    outlined(c, ribbon, PresentLine);
    c.drawRoundedRect(QRectF(44, 29, 12, 10), 3, 3);
    sparkle(c, QPointF(14, 10), 7, Gold, 1.6);
    sparkle(c, QPointF(86, 10), 5, Gold, 1.4);
    sparkle(c, QPointF(90, 42), 4, Gold, 1.2);
}

void crown(Canvas& c)
{
    const QColor light(255, 232, 120), dark(236, 160, 16);
    plain(c, QColor(255, 244, 180)); // a burst of light behind
    c.drawPolygon(star(QPointF(50, 52), 48, 36, 16));
    const QPolygonF shape{{18, 80}, {10, 34}, {32, 54}, {50, 22}, {68, 54}, {90, 34}, {82, 80}};
    outlined(c, Gold, PresentLine);
    c.drawPolygon(shape);
    plain(c, light);
    c.drawPolygon(QPolygonF{{19, 70}, {15, 44}, {24, 53}});
    c.drawPolygon(QPolygonF{{47, 40}, {50, 31}, {53, 40}});
    c.drawPolygon(mirror(QPolygonF{{19, 70}, {15, 44}, {24, 53}}));
    outlined(c, Gold, PresentLine);
    for (const QPointF& tip : {QPointF(10, 31), QPointF(50, 18), QPointF(90, 31)})
        c.drawCircle(tip, 5);
    outlined(c, dark, PresentLine);
    c.drawRoundedRect(QRectF(14, 72, 72, 14), 4, 4);
    outlined(c, QColor(236, 40, 70), PresentLine);
    c.drawPolygon(QPolygonF{{50, 44}, {57, 54}, {50, 64}, {43, 54}});
    c.drawEllipse(QPointF(50, 79), 6, 4.5);
    outlined(c, QColor(50, 140, 250), PresentLine);
    c.drawCircle(QPointF(30, 79), 4);
    outlined(c, QColor(60, 200, 100), PresentLine);
    c.drawCircle(QPointF(70, 79), 4);
    plain(c, Snow);
    for (const QPointF& shine : {QPointF(48, 50), QPointF(48, 77.5), QPointF(28.8, 77.8), QPointF(68.8, 77.8)})
        c.drawCircle(shine, 1.2);
    sparkle(c, QPointF(12, 12), 7, Snow, 1.4);
    sparkle(c, QPointF(88, 12), 6, Snow, 1.4);
    sparkle(c, QPointF(92, 62), 4, Snow, 1.2);
}

void flower(Canvas& c, const QPointF& centre, qreal r, const QColor& petal)
{
    outlined(c, petal, PresentLine);
    for (int i = 0; i < 5; ++i)
        c.drawCircle(polar(centre, r, 90 + 72 * i), 0.62 * r);
    outlined(c, QColor(255, 214, 60), PresentLine);
    c.drawCircle(centre, 0.55 * r);
    plain(c, Snow);
    c.drawCircle(centre + QPointF(-0.2 * r, -0.2 * r), 0.14 * r);
}

void bouquet(Canvas& c)
{
    QPainterPath leaf;
    leaf.moveTo(46, 62);
    leaf.cubicTo(34, 60, 16, 60, 6, 48);
    leaf.cubicTo(20, 40, 38, 48, 46, 62);
    outlined(c, Leaf, PresentLine);
    c.drawPath(leaf);
    c.drawPath(mirror(leaf));
    const QTransform up = QTransform().translate(50, 62).rotate(28).translate(-50, -62);
    c.drawPath(up.map(leaf));
    c.drawPath(mirror(up.map(leaf)));
    flower(c, QPointF(27, 35), 10, QColor(255, 120, 176));
    flower(c, QPointF(73, 35), 10, QColor(176, 128, 255));
    flower(c, QPointF(50, 24), 11, QColor(255, 104, 72));
    flower(c, QPointF(38, 52), 8.5, QColor(96, 196, 255));
    flower(c, QPointF(62, 52), 8.5, QColor(255, 176, 40));
    const QPolygonF wrap{{26, 60}, {34, 64}, {42, 60}, {50, 65}, {58, 60}, {66, 64}, {74, 60}, {58, 96}, {42, 96}};
    outlined(c, QColor(250, 224, 236), PresentLine);
    c.drawPolygon(wrap);
    line(c, 1.4, QColor(240, 170, 200));
    c.drawPolyline(QPolygonF{{40, 68}, {47, 92}});
    c.drawPolyline(QPolygonF{{60, 68}, {53, 92}});
    QPainterPath bowLoop;
    bowLoop.moveTo(50, 79);
    bowLoop.cubicTo(42, 69, 30, 71, 34, 81);
    bowLoop.cubicTo(36, 87, 44, 83, 50, 79);
    const QPolygonF tail{{48, 81}, {42, 95}, {47, 93}, {50, 81}};
    outlined(c, QColor(240, 56, 90), PresentLine);
    c.drawPath(bowLoop);
    c.drawPath(mirror(bowLoop));
    c.drawPolygon(tail);
    c.drawPolygon(mirror(tail));
    c.drawCircle(QPointF(50, 79), 3.6);
    sparkle(c, QPointF(10, 12), 6, Gold, 1.4);
    sparkle(c, QPointF(90, 14), 7, Gold, 1.4);
    sparkle(c, QPointF(90, 78), 4, Gold, 1.2);
}

} // namespace

std::vector<MetafilePicture> metafilePictures()
{
    constexpr int popUnits = 1000;    // about 70 pixels at the file's own size
    constexpr int presentUnits = 3000; // about 200 pixels
    using Draw = void (*)(Canvas&);
    const Draw pops[] = {cat, sun, tulip, apple, fish, rocket, smilingStar, cloud, rabbit, strawberry};
    const Draw presents[] = {giftBox, crown, bouquet};

    std::vector<MetafilePicture> list;
    auto add = [&](const QString& name, int units, Draw draw) {
        list.push_back({name, units, [draw](Canvas& c) {
                            clear(c);
                            draw(c);
                        }});
    };
    for (int i = 0; i < 10; ++i)
        add(QStringLiteral("Pop%1.wmf").arg(i + 1), popUnits, pops[i]);
    for (int i = 0; i < 3; ++i)
        add(QStringLiteral("Present%1.wmf").arg(i + 1), presentUnits, presents[i]);
    return list;
}

QByteArray toMetafile(const MetafilePicture& picture)
{
    WmfWriter writer(DesignSize, picture.units);
    picture.draw(writer);
    return writer.finish();
}

QImage toImage(const MetafilePicture& picture, int pixels)
{
    return paintSquare(pixels, DesignSize, Qt::white, picture.draw);
}

} // namespace moji::pictures
