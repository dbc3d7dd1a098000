#include "studypictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace moji {

namespace {

// Both pictures are designed on a 100 x 100 board and stretched to the requested size.
constexpr double Board = 100.0;
const QColor Outline(62, 39, 35);

QPixmap blank(QSize size, qreal pixelRatio, QPainter& painter)
{
    QPixmap pixmap(QSize(int(std::lround(size.width() * pixelRatio)), int(std::lround(size.height() * pixelRatio))));
    pixmap.fill(Qt::transparent);
    painter.begin(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixmap.width() / Board, pixmap.height() / Board);
    return pixmap;
}

QPen outlinePen(double width = 2.2)
{
    return QPen(Outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void sparkle(QPainter& p, QPointF centre, double r, const QColor& colour)
{
    QPainterPath star;
    star.moveTo(centre.x(), centre.y() - r);
    star.quadTo(centre, QPointF(centre.x() + r, centre.y()));
    star.quadTo(centre, QPointF(centre.x(), centre.y() + r));
    star.quadTo(centre, QPointF(centre.x() - r, centre.y()));
    star.quadTo(centre, QPointF(centre.x(), centre.y() - r));
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(colour);
    p.drawPath(star);
}

// Two eyes with a gleam, rosy cheeks and a smile, centred on `c`.
void smilingFace(QPainter& p, QPointF c, double spread)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 138, 128, 170));
    p.drawEllipse(QPointF(c.x() - spread * 1.55, c.y() + 5), 4.2, 2.6);
    p.drawEllipse(QPointF(c.x() + spread * 1.55, c.y() + 5), 4.2, 2.6);
    p.setBrush(Outline);
    p.drawEllipse(QPointF(c.x() - spread, c.y()), 2.4, 3.0);
    p.drawEllipse(QPointF(c.x() + spread, c.y()), 2.4, 3.0);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(c.x() - spread + 0.8, c.y() - 1.1), 0.8, 0.9);
    p.drawEllipse(QPointF(c.x() + spread + 0.8, c.y() - 1.1), 0.8, 0.9);
    p.setBrush(Qt::NoBrush);
    p.setPen(outlinePen(1.8));
    QPainterPath smile;
    smile.moveTo(c.x() - 4.5, c.y() + 5);
    smile.quadTo(c.x(), c.y() + 10, c.x() + 4.5, c.y() + 5);
    p.drawPath(smile);
}

} // namespace

QPixmap hintBulbPicture(QSize size, qreal pixelRatio)
{
    QPainter p;
    QPixmap pixmap = blank(size, pixelRatio, p);
    const QPointF centre(50, 40);

    // Rays of a bright idea.
    p.setPen(QPen(QColor(255, 167, 38), 3.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i) {
        const double a = M_PI * (1.0 + i / 6.0);
        p.drawLine(QPointF(centre.x() + 33 * std::cos(a), centre.y() + 33 * std::sin(a)),
                   QPointF(centre.x() + 42 * std::cos(a), centre.y() + 42 * std::sin(a)));
    }

    // The glass: a round top narrowing into the neck.
    QPainterPath glass;
    glass.moveTo(39, 66);
    glass.cubicTo(39, 58, 24, 54, 24, 38);
    glass.arcTo(QRectF(24, 12, 52, 52), 180, -180);
    glass.cubicTo(76, 54, 61, 58, 61, 66);
    glass.closeSubpath();
    QRadialGradient light(QPointF(44, 32), 34);
    light.setColorAt(0, QColor(255, 253, 231));
    light.setColorAt(0.45, QColor(255, 241, 118));
    light.setColorAt(1, QColor(255, 202, 40));
    p.setPen(outlinePen());
    p.setBrush(light);
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.save();
    p.translate(35, 25);
    p.rotate(-35);
    p.drawEllipse(QPointF(0, 0), 3.2, 7.5);
    p.restore();

    smilingFace(p, QPointF(50, 38), 7.5);

    // The screw base.
    p.setPen(outlinePen(1.8));
    p.setBrush(QColor(176, 190, 197));
    p.drawRoundedRect(QRectF(38, 66, 24, 7), 3, 3);
    p.drawRoundedRect(QRectF(39, 73, 22, 7), 3, 3);
    p.setBrush(QColor(144, 164, 174));
    p.drawRoundedRect(QRectF(41, 80, 18, 6), 3, 3);
    p.setBrush(QColor(84, 110, 122));
    p.drawChord(QRectF(44, 82, 12, 10), 180 * 16, 180 * 16);

    sparkle(p, QPointF(86, 18), 6, QColor(255, 213, 79));
    sparkle(p, QPointF(13, 70), 4.5, QColor(129, 212, 250));
    sparkle(p, QPointF(84, 72), 3.5, QColor(255, 213, 79));
    p.end();
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

QPixmap sproutPicture(QSize size, qreal pixelRatio)
{
    QPainter p;
    QPixmap pixmap = blank(size, pixelRatio, p);

    // Stem and two leaves, the right one raised high like a cheering arm.
    p.setPen(QPen(QColor(56, 142, 60), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath stem;
    stem.moveTo(50, 58);
    stem.cubicTo(48, 46, 53, 36, 50, 26);
    p.drawPath(stem);
    const QColor leafLight(129, 199, 132);
    const QColor leafDark(67, 160, 71);
    auto leaf = [&](QPointF base, double angle, double length, double width) {
        p.save();
        p.translate(base);
        p.rotate(angle);
        QPainterPath shape;
        shape.moveTo(0, 0);
        shape.cubicTo(length * 0.3, -width, length * 0.8, -width, length, 0);
        shape.cubicTo(length * 0.8, width * 0.7, length * 0.3, width * 0.7, 0, 0);
        QLinearGradient fill(0, -width, 0, width);
        fill.setColorAt(0, leafLight);
        fill.setColorAt(1, leafDark);
        p.setPen(outlinePen(1.8));
        p.setBrush(fill);
        p.drawPath(shape);
        p.setPen(QPen(QColor(46, 125, 50), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(length * 0.12, 0), QPointF(length * 0.8, -width * 0.08));
        p.restore();
    };
    leaf(QPointF(50, 31), 198, 34, 14);
    leaf(QPointF(50, 30), -40, 35, 14);

    // The pot, with a face that keeps smiling.
    QPainterPath pot;
    pot.moveTo(29, 62);
    pot.lineTo(71, 62);
    pot.lineTo(65, 94);
    pot.quadTo(50, 97, 35, 94);
    pot.closeSubpath();
    QLinearGradient clay(29, 0, 71, 0);
    clay.setColorAt(0, QColor(255, 138, 101));
    clay.setColorAt(1, QColor(230, 100, 70));
    p.setPen(outlinePen());
    p.setBrush(clay);
    p.drawPath(pot);
    p.setBrush(QColor(255, 171, 145));
    p.drawRoundedRect(QRectF(24, 53, 52, 11), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(121, 85, 72));
    p.drawChord(QRectF(30, 51, 40, 6), 0, 180 * 16);
    smilingFace(p, QPointF(50, 75), 8);

    sparkle(p, QPointF(12, 56), 5.5, QColor(255, 213, 79));
    sparkle(p, QPointF(85, 47), 4.5, QColor(255, 213, 79));
    sparkle(p, QPointF(82, 12), 3.5, QColor(129, 212, 250));
    p.end();
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

} // namespace moji
