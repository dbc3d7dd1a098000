#include "bitmappictures.h"

#include "geometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <functional>
#include <vector>

namespace moji::pictures {

namespace {

const QColor Ink(40, 28, 56);
const QColor Snow(254, 254, 254);
const QColor Blush(255, 150, 170);
constexpr qreal Outline = 2.0;

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPen inkPen(qreal width, const QColor& colour = Ink)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath circle(const QPointF& centre, qreal r)
{
    QPainterPath p;
    p.addEllipse(centre, r, r);
    return p;
}

QPainterPath roundRect(const QRectF& rect, qreal r)
{
    QPainterPath p;
    p.addRoundedRect(rect, r, r);
    return p;
}

QPainterPath polygon(const QPolygonF& points)
{
    QPainterPath p;
    p.addPolygon(points);
    p.closeSubpath();
    return p;
}

// A rounded, lit look: light from the upper left.
QRadialGradient glossy(const QPointF& centre, qreal r, const QColor& light, const QColor& base, const QColor& dark)
{
    QRadialGradient g(centre, r * 1.15, centre - QPointF(0.4 * r, 0.45 * r));
    g.setColorAt(0, light);
    g.setColorAt(0.55, base);
    g.setColorAt(1, dark);
    return g;
}

QLinearGradient falling(qreal top, qreal bottom, const QColor& light, const QColor& dark)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    return g;
}

// Fills a shape and draws its dark outline.
void shape(QPainter& p, const QPainterPath& path, const QBrush& fill, qreal width = Outline)
{
    p.setPen(inkPen(width));
    p.setBrush(fill);
    p.drawPath(path);
}

// A thick coloured line with a dark edge: the same line drawn wider in ink underneath.
void stroke(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(width + 2 * Outline));
    p.drawPath(path);
    p.setPen(inkPen(width, colour));
    p.drawPath(path);
}

void spot(QPainter& p, const QPointF& centre, qreal rx, qreal ry, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, rx, ry);
}

void hint(QPainter& p)
{
    const QPointF c(24, 20.5);
    QPainterPath rays;
    for (int a = -20; a <= 200; a += 44) {
        rays.moveTo(polar(c, 15.5, a));
        rays.lineTo(polar(c, 18.6, a));
    }
    stroke(p, rays, QColor(255, 240, 100), 2.4);
    QPainterPath neck;
    neck.moveTo(15.5, 26.5);
    neck.cubicTo(18, 29.5, 19, 31.5, 19, 35);
    neck.lineTo(29, 35);
    neck.cubicTo(29, 31.5, 30, 29.5, 32.5, 26.5);
    neck.closeSubpath();
    shape(p, circle(c, 12).united(neck), glossy(c, 12, QColor(255, 255, 214), QColor(255, 228, 60), QColor(255, 160, 20)));
    p.setPen(inkPen(1.3, QColor(226, 112, 20)));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{21, 34}, {21, 25.5}, {19, 21.5}, {22.5, 22.5}, {24, 19.5}, {25.5, 22.5}, {29, 21.5}, {27, 25.5}, {27, 34}});
    spot(p, QPointF(18.8, 15.5), 2.4, 3.4, Snow);
    shape(p, roundRect(QRectF(18, 34, 12, 7.5), 2), falling(34, 41.5, QColor(200, 212, 236), QColor(112, 128, 166)));
    p.setPen(inkPen(1.2));
    p.drawLine(QPointF(19, 36.8), QPointF(29, 36.8));
    p.drawLine(QPointF(19, 39.1), QPointF(29, 39.1));
    shape(p, roundRect(QRectF(21, 41.5, 6, 3.8), 1.9), QColor(90, 80, 112));
}

void help(QPainter& p)
{
    const QPointF c(24, 24);
    shape(p, circle(c, 21), glossy(c, 21, QColor(160, 236, 255), QColor(40, 174, 250), QColor(16, 104, 214)));
    QPainterPath mark;
    mark.moveTo(17.5, 18.5);
    mark.cubicTo(17.5, 10.5, 30.5, 10, 30.5, 17.5);
    mark.cubicTo(30.5, 23.5, 24, 23.5, 24, 29.5);
    stroke(p, mark, Snow, 5.5);
    QPainterPath dot;
    dot.moveTo(24, 37);
    dot.lineTo(24, 37.01);
    stroke(p, dot, Snow, 6.5);
}

void minimise(QPainter& p)
{
    shape(p, roundRect(QRectF(3, 4, 32, 24), 3), QColor(230, 240, 255));
    shape(p, roundRect(QRectF(3, 4, 32, 8), 3), falling(4, 12, QColor(196, 160, 255), QColor(128, 84, 232)));
    spot(p, QPointF(29.5, 8), 1.6, 1.6, Snow);
    p.setPen(inkPen(1.4, QColor(150, 170, 210)));
    for (const qreal y : {17.0, 21.5})
        p.drawLine(QPointF(8, y), QPointF(24, y));
    shape(p, roundRect(QRectF(31, 36, 14, 9), 2), falling(36, 45, QColor(196, 160, 255), QColor(128, 84, 232)));
    // An arrow from the window down to its small self.
    const QPolygonF arrow{{0, -2.6}, {9, -2.6}, {9, -7}, {17, 0}, {9, 7}, {9, 2.6}, {0, 2.6}};
    shape(p, polygon(QTransform().translate(18, 23).rotate(42).map(arrow)), falling(20, 40, QColor(255, 214, 80), QColor(255, 128, 30)));
}

void back(QPainter& p)
{
    QPainterPath spine;
    spine.moveTo(16, 16);
    spine.lineTo(27, 16);
    spine.arcTo(QRectF(16, 16, 23, 23), 90, -180);
    spine.lineTo(13, 39);
    QPainterPathStroker stroker;
    stroker.setWidth(8.5);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    const QPainterPath arrow = stroker.createStroke(spine).united(polygon({{2, 16}, {18, 3.5}, {18, 28.5}})).simplified();
    shape(p, arrow, falling(4, 44, QColor(255, 176, 84), QColor(234, 52, 56)));
}

void study(QPainter& p)
{
    shape(p, roundRect(QRectF(6, 5, 30, 39), 3), falling(5, 44, QColor(120, 224, 130), QColor(40, 160, 84)));
    shape(p, QPainterPath(roundRect(QRectF(11, 8, 22, 33), 1.5)), Snow, 1.4);
    p.setPen(inkPen(1.2, QColor(130, 170, 240)));
    for (int y = 15; y <= 35; y += 6)
        p.drawLine(QPointF(14, y), QPointF(30, y));
    p.setPen(inkPen(2.4));
    for (int y = 10; y <= 40; y += 6)
        p.drawLine(QPointF(4, y), QPointF(9.5, y));

    // The pencil, drawn pointing right and turned to write on the page.
    p.save();
    p.translate(41.5, 9.5);
    p.rotate(128);
    shape(p, roundRect(QRectF(-4, -4.2, 7, 8.4), 2), QColor(255, 140, 164), 1.6);
    shape(p, QPainterPath(roundRect(QRectF(2, -4.2, 4, 8.4), 0.5)), QColor(176, 186, 206), 1.6);
    shape(p, polygon({{6, -4.2}, {26, -4.2}, {26, 4.2}, {6, 4.2}}), falling(-4.2, 4.2, QColor(255, 232, 90), QColor(246, 170, 20)), 1.6);
    shape(p, polygon({{26, -4.2}, {35, 0}, {26, 4.2}}), QColor(250, 216, 166), 1.6);
    shape(p, polygon({{32, -1.4}, {35, 0}, {32, 1.4}}), Ink, 1.0);
    p.restore();
}

void grades(QPainter& p)
{
    shape(p, polygon({{36, 2}, {26, 2}, {18, 22}, {28, 22}}), falling(2, 22, QColor(110, 170, 255), QColor(40, 110, 240)));
    shape(p, polygon({{12, 2}, {22, 2}, {30, 22}, {20, 22}}), falling(2, 22, QColor(255, 120, 120), QColor(224, 44, 64)));
    const QPointF c(24, 31);
    shape(p, circle(c, 14), glossy(c, 14, QColor(255, 248, 190), QColor(255, 206, 40), QColor(214, 136, 10)));
    p.setPen(inkPen(1.2, QColor(214, 140, 20)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 10.5, 10.5);
    QPainterPath medalStar;
    medalStar.addPolygon(star(c + QPointF(0, 0.8), 8.6, 3.8, 5));
    medalStar.closeSubpath();
    shape(p, medalStar, falling(22, 40, QColor(255, 120, 90), QColor(232, 52, 60)), 1.3);
}

void registration(QPainter& p)
{
    const QPointF c(21, 23);
    const QPainterPath head = circle(c, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(glossy(c, 16, QColor(255, 234, 206), QColor(255, 212, 170), QColor(240, 172, 126)));
    p.drawPath(head);
    // A bob with a side-swept fringe.
    QPainterPath fringe;
    fringe.moveTo(2, 30);
    fringe.lineTo(2, 0);
    fringe.lineTo(40, 0);
    fringe.lineTo(40, 30);
    fringe.cubicTo(36, 26, 35, 20, 34, 16);
    fringe.cubicTo(28, 19, 18, 18, 12, 13);
    fringe.cubicTo(11, 18, 9, 24, 5.5, 28);
    fringe.closeSubpath();
    p.setBrush(falling(6, 26, QColor(140, 88, 52), QColor(92, 52, 30)));
    p.drawPath(head.intersected(fringe));
    p.setPen(inkPen(1.3, QColor(184, 130, 90)));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(10, 9, 18, 10), 60 * 16, 70 * 16);
    p.setPen(inkPen(Outline));
    p.drawPath(head);
    for (const qreal x : {15.5, 26.5}) {
        spot(p, QPointF(x - 3 + (x > 20 ? 6 : 0), 29.5), 2.6, 1.6, Blush);
        spot(p, QPointF(x, 25.5), 1.9, 2.5, Ink);
        spot(p, QPointF(x + 0.6, 24.6), 0.7, 0.7, Snow);
    }
    p.setPen(inkPen(1.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(17.5, 26, 7, 6), 200 * 16, 140 * 16);
    const QPointF badge(37.5, 37);
    shape(p, circle(badge, 9.5), glossy(badge, 9.5, QColor(176, 246, 150), QColor(80, 204, 80), QColor(30, 150, 60)));
    QPainterPath plus;
    plus.moveTo(37.5, 32.5);
    plus.lineTo(37.5, 41.5);
    plus.moveTo(33, 37);
    plus.lineTo(42, 37);
    p.setPen(inkPen(3.2, Snow));
    p.drawPath(plus);
}

QPainterPath gear(const QPointF& centre, qreal outer, qreal inner, int teeth)
{
    const qreal pitch = 360.0 / teeth;
    QPolygonF outline;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * pitch;
        outline << polar(centre, inner, a - 0.32 * pitch) << polar(centre, outer, a - 0.17 * pitch)
                << polar(centre, outer, a + 0.17 * pitch) << polar(centre, inner, a + 0.32 * pitch);
    }
    return polygon(outline);
}

void settings(QPainter& p)
{
    const QPointF big(20, 20), small(35.5, 35.5);
    shape(p, gear(small, 10, 7.2, 7), glossy(small, 10, QColor(255, 244, 160), QColor(255, 206, 50), QColor(230, 140, 20)));
    shape(p, circle(small, 3), QColor(120, 80, 30), 1.4);
    shape(p, gear(big, 18.5, 14, 9), glossy(big, 18, QColor(190, 255, 236), QColor(70, 216, 190), QColor(24, 150, 140)));
    shape(p, circle(big, 7), glossy(big, 7, QColor(150, 240, 220), QColor(40, 180, 160), QColor(20, 130, 120)), 1.6);
    shape(p, circle(big, 3.2), QColor(24, 90, 96), 1.4);
}

QImage drawn(int width, int height, const std::function<void(QPainter&)>& draw)
{
    QImage image = transparentImage(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

} // namespace

QImage keyed(const QImage& drawing, const QColor& backdrop)
{
    const QImage source = drawing.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb s = source.pixel(x, y);
            const int a = qAlpha(s);
            // Faint edge pixels become background: half-covered ones would show as a pale
            // fringe when white is cut out.
            if (a < 128) {
                out.setPixel(x, y, qRgb(255, 255, 255));
                continue;
            }
            auto mix = [a](int over, int under) { return (over * a + under * (255 - a) + 127) / 255; };
            QRgb c = qRgb(mix(qRed(s), backdrop.red()), mix(qGreen(s), backdrop.green()), mix(qBlue(s), backdrop.blue()));
            if (c == qRgb(255, 255, 255))
                c = Snow.rgb();
            out.setPixel(x, y, c);
        }
    }
    return out;
}

void floodFill(QImage& image, const QPoint& seed, const QColor& colour)
{
    const QRgb from = image.pixel(seed);
    const QRgb to = colour.rgb();
    if (from == to)
        return;
    std::vector<QPoint> pending{seed};
    while (!pending.empty()) {
        const QPoint at = pending.back();
        pending.pop_back();
        if (!image.rect().contains(at) || image.pixel(at) != from)
            continue;
        image.setPixel(at, to);
        pending.insert(pending.end(), {at + QPoint(1, 0), at - QPoint(1, 0), at + QPoint(0, 1), at - QPoint(0, 1)});
    }
}

QImage buttonStrip()
{
    using Draw = void (*)(QPainter&);
    const Draw buttons[ButtonCount] = {hint, help, minimise, back, study, grades, registration, settings};
    QImage strip(ButtonSize * ButtonCount, ButtonSize, QImage::Format_RGB32);
    QPainter out(&strip);
    for (int k = 0; k < ButtonCount; ++k) {
        QImage cell = keyed(drawn(ButtonSize, ButtonSize, buttons[k]));
        // A gap closed in by outlines would be cut out as a hole the image list does not
        // expect; it is shown as the navy that would show through it.
        QImage outside = cell;
        for (int i = 0; i < ButtonSize; ++i) {
            for (const QPoint& edge : {QPoint(i, 0), QPoint(i, ButtonSize - 1), QPoint(0, i), QPoint(ButtonSize - 1, i)}) {
                if (outside.pixel(edge) == qRgb(255, 255, 255))
                    floodFill(outside, edge, QColor(1, 2, 3));
            }
        }
        for (int y = 0; y < ButtonSize; ++y) {
            for (int x = 0; x < ButtonSize; ++x) {
                if (outside.pixel(x, y) == qRgb(255, 255, 255))
                    cell.setPixel(x, y, Navy.rgb());
            }
        }
        out.drawImage(k * ButtonSize, 0, cell);
    }
    return strip;
}

QImage starTiles()
{
    return keyed(drawn(2 * StarTileSize, StarTileSize, [](QPainter& p) {
        QPainterPath lit;
        lit.addPolygon(star(QPointF(17, 17.6), 15.4, 7.2, 5));
        lit.closeSubpath();
        shape(p, lit, glossy(QPointF(17, 17), 15, QColor(255, 252, 200), QColor(255, 216, 40), QColor(244, 150, 10)), 1.6);
        spot(p, QPointF(13, 12.5), 1.6, 2.4, Snow);
        // The unlit star: an empty slot waiting to be filled.
        p.setPen(inkPen(1.6, QColor(150, 150, 178)));
        p.setBrush(QColor(36, 36, 104));
        p.drawPath(lit.translated(StarTileSize, 0));
    }));
}

QImage twinkleTiles()
{
    auto twinkle = [](QPainter& p, const QPointF& c, qreal size, const QColor& light, const QColor& base, const QColor& edge) {
        p.setPen(Qt::NoPen);
        p.setBrush(edge);
        p.drawPolygon(star(c, 0.62 * size, 0.22 * size, 4, 45));
        QRadialGradient g(c, size);
        g.setColorAt(0, light);
        g.setColorAt(0.35, base);
        g.setColorAt(1, edge);
        p.setPen(QPen(edge, 0.8));
        p.setBrush(g);
        p.drawPolygon(star(c, size, 0.26 * size, 4));
        spot(p, c, 0.16 * size, 0.16 * size, light);
    };
    return keyed(drawn(2 * TwinkleTileSize, TwinkleTileSize, [&](QPainter& p) {
        twinkle(p, QPointF(12, 12), 11.5, Snow, QColor(255, 236, 90), QColor(255, 170, 20));
        twinkle(p, QPointF(36, 12), 8, QColor(244, 238, 200), QColor(214, 196, 110), QColor(180, 140, 40));
    }));
}

QImage handCursor()
{
    return drawn(CursorSize, CursorSize, [](QPainter& p) {
        p.translate(0, 1); // a clear row above the fingertip
        QPainterPath hand = roundRect(QRectF(10, 0.8, 5.6, 18), 2.8);
        for (const QRectF& finger : {QRectF(15.2, 9.5, 5, 9), QRectF(19.8, 10.5, 4.8, 9), QRectF(24.2, 12, 4.4, 9)})
            hand = hand.united(roundRect(finger, 2.4));
        hand = hand.united(roundRect(QRectF(10, 15, 18.6, 11.5), 4));
        hand = hand.united(QPainterPath(roundRect(QRectF(12, 24, 15, 6), 1.5)));
        QPainterPath thumbLine;
        thumbLine.moveTo(13, 22);
        thumbLine.lineTo(5.5, 15.5);
        QPainterPathStroker thumb;
        thumb.setWidth(5.4);
        thumb.setCapStyle(Qt::RoundCap);
        hand = hand.united(thumb.createStroke(thumbLine));
        shape(p, hand.simplified(), QColor(255, 255, 255), 1.3);
        p.setPen(inkPen(1.0));
        for (const qreal x : {15.4, 20.0, 24.4})
            p.drawLine(QPointF(x, 12.5 + (x - 15) / 5), QPointF(x, 17.5));
        p.drawLine(QPointF(10.5, 19), QPointF(13.5, 22));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 200, 255));
        p.drawRect(QRectF(12.6, 27, 13.8, 2.4));
        p.setPen(inkPen(1.0));
        p.drawLine(QPointF(12.5, 26.5), QPointF(26.5, 26.5));
    });
}

} // namespace moji::pictures
