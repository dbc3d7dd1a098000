#include "canvas.h"

#include <QPainter>
#include <QTransform>

namespace moji::pictures {

void Canvas::drawEllipse(const QPointF& centre, qreal rx, qreal ry)
{
    drawEllipse(QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry));
}

void Canvas::drawPath(const QPainterPath& path)
{
    // Qt flattens curves to within half a unit; pictures are drawn on a 100-unit square and
    // shown up to 250 pixels wide, so flatten a magnified copy and shrink the result.
    constexpr qreal magnify = 16;
    const QList<QPolygonF> magnified = QTransform::fromScale(magnify, magnify).map(path).toSubpathPolygons();
    const QTransform shrink = QTransform::fromScale(1 / magnify, 1 / magnify);
    QList<QPolygonF> polygons;
    for (const QPolygonF& p : magnified) {
        if (p.size() >= 3)
            polygons.append(shrink.map(p));
    }
    if (polygons.size() == 1)
        drawPolygon(polygons.front(), path.fillRule());
    else if (!polygons.isEmpty())
        drawPolyPolygon(polygons, path.fillRule());
}

PainterCanvas::PainterCanvas(QPainter& painter) : m_painter(painter)
{
    setNoPen();
    setNoBrush();
}

void PainterCanvas::setPen(const QColor& colour, qreal width)
{
    m_painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void PainterCanvas::setNoPen() { m_painter.setPen(Qt::NoPen); }
void PainterCanvas::setBrush(const QColor& colour) { m_painter.setBrush(colour); }
void PainterCanvas::setNoBrush() { m_painter.setBrush(Qt::NoBrush); }
void PainterCanvas::drawRect(const QRectF& rect) { m_painter.drawRect(rect); }

void PainterCanvas::drawRoundedRect(const QRectF& rect, qreal xRadius, qreal yRadius)
{
    m_painter.drawRoundedRect(rect, xRadius, yRadius);
}

void PainterCanvas::drawEllipse(const QRectF& rect) { m_painter.drawEllipse(rect); }
void PainterCanvas::drawPolygon(const QPolygonF& polygon, Qt::FillRule rule) { m_painter.drawPolygon(polygon, rule); }
void PainterCanvas::drawPolyline(const QPolygonF& polyline) { m_painter.drawPolyline(polyline); }

void PainterCanvas::drawPolyPolygon(const QList<QPolygonF>& polygons, Qt::FillRule rule)
{
    // Each outline is closed on its own, as GDI closes every polygon of a poly-polygon.
    QPainterPath closed;
    closed.setFillRule(rule);
    for (const QPolygonF& p : polygons) {
        closed.addPolygon(p);
        closed.closeSubpath();
    }
    m_painter.drawPath(closed);
}

void PainterCanvas::drawArc(const QRectF& rect, int startAngle, int spanAngle)
{
    m_painter.drawArc(rect, startAngle, spanAngle);
}

void PainterCanvas::drawPie(const QRectF& rect, int startAngle, int spanAngle)
{
    m_painter.drawPie(rect, startAngle, spanAngle);
}

void PainterCanvas::drawChord(const QRectF& rect, int startAngle, int spanAngle)
{
    m_painter.drawChord(rect, startAngle, spanAngle);
}

QImage paintSquare(int pixels, qreal designSize, const QColor& background, const std::function<void(Canvas&)>& draw)
{
    QImage image(pixels, pixels, background.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixels / designSize, pixels / designSize);
    PainterCanvas canvas(p);
    draw(canvas);
    return image;
}

} // namespace moji::pictures
