#include "appicon.h"

#include "geometry.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

namespace moji::pictures {

namespace {

constexpr qreal IconSize = 100;
const QColor Tile(40, 70, 176);
const QColor TileEdge(24, 42, 120);
const QColor Paper(255, 253, 244);
const QColor Ink(48, 34, 64);
const QColor Guide(236, 150, 150);
const QColor Teacher(226, 32, 44);

void practiceSquare(Canvas& c)
{
    c.setPen(TileEdge, 2);
    c.setBrush(Tile);
    c.drawRoundedRect(QRectF(5, 5, 90, 90), 20, 20);
    c.setPen(Ink, 2.5);
    c.setBrush(Paper);
    c.drawRoundedRect(QRectF(15, 13, 62, 62), 3, 3);
    // The dashed cross that helps a child place the strokes.
    c.setPen(Guide, 1.6);
    for (qreal t = 17; t < 72; t += 7) {
        c.drawPolyline(QPolygonF{{46, t}, {46, t + 3.5}});
        c.drawPolyline(QPolygonF{{t + 2, 44}, {t + 5.5, 44}});
    }
}

// 字, stroke by stroke: the roof (dot, left side, top with its hook), then the child (top
// turning down, the hooked middle stroke, the long crossbar).
void kanji(Canvas& c)
{
    c.setPen(Ink, 5.5);
    c.setNoBrush();
    const QPolygonF strokes[] = {
        {{45, 18}, {48, 23}},
        {{27, 26}, {26, 34}},
        {{27, 26}, {65, 26}, {61, 33}},
        {{33, 38}, {58, 38}, {47, 46}},
        {{47, 46}, {47, 66}, {42, 63}},
        {{24, 53}, {69, 53}},
    };
    for (const QPolygonF& stroke : strokes)
        c.drawPolyline(stroke);
}

// The flower circle a teacher draws on good work: a spiral ringed by petals.
void flowerCircle(Canvas& c)
{
    const QPointF centre(71, 71);
    c.setNoPen();
    c.setBrush(Paper);
    c.drawCircle(centre, 19);
    c.setPen(Teacher, 3.2);
    c.setNoBrush();
    QPolygonF spiral;
    for (int i = 0; i <= 80; ++i) {
        const qreal turn = i / 80.0;
        spiral << polar(centre, 2.5 + 8.5 * turn, 200 + 640 * turn);
    }
    c.drawPolyline(spiral);
    constexpr int Petals = 7;
    for (int k = 0; k < Petals; ++k) {
        const qreal angle = 90 + k * 360.0 / Petals;
        const QPointF petal = polar(centre, 13, angle);
        c.drawArc(QRectF(petal.x() - 4.6, petal.y() - 4.6, 9.2, 9.2), int((angle - 105) * 16), 210 * 16);
    }
}

} // namespace

void drawAppIcon(Canvas& canvas)
{
    practiceSquare(canvas);
    kanji(canvas);
    flowerCircle(canvas);
}

QImage appIcon(int pixels)
{
    return paintSquare(pixels, IconSize, Qt::transparent, drawAppIcon);
}

QByteArray appIconSvg()
{
    QByteArray svg;
    QBuffer buffer(&svg);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setViewBox(QRectF(0, 0, IconSize, IconSize));
    generator.setSize(QSize(int(IconSize), int(IconSize)));
    generator.setTitle(QStringLiteral("もじまる"));
    {
        QPainter p(&generator);
        PainterCanvas canvas(p);
        drawAppIcon(canvas);
    }
    return svg;
}

} // namespace moji::pictures
