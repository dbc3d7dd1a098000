#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <functional>

class QPainter;

namespace moji::pictures {

// The drawing calls a Windows metafile can record, named and ordered like QPainter's, so one
// drawing routine feeds both the metafile writer and a QPainter (bitmaps and the preview).
// Only solid pens and brushes exist: a metafile player need not know more. A canvas starts
// with no pen and no brush.
class Canvas {
public:
    virtual ~Canvas() = default;

    // A solid pen `width` units wide with round ends and joins, as GDI draws a wide pen.
    virtual void setPen(const QColor& colour, qreal width) = 0;
    virtual void setNoPen() = 0;
    virtual void setBrush(const QColor& colour) = 0;
    virtual void setNoBrush() = 0;

    virtual void drawRect(const QRectF& rect) = 0;
    virtual void drawRoundedRect(const QRectF& rect, qreal xRadius, qreal yRadius) = 0;
    virtual void drawEllipse(const QRectF& rect) = 0;
    virtual void drawPolygon(const QPolygonF& polygon, Qt::FillRule rule) = 0;
    virtual void drawPolyline(const QPolygonF& polyline) = 0;
    // Several closed outlines filled as one shape: holes come out with the odd-even rule.
    virtual void drawPolyPolygon(const QList<QPolygonF>& polygons, Qt::FillRule rule) = 0;
    // Angles in sixteenths of a degree, counter-clockwise from three o'clock, as QPainter.
    virtual void drawArc(const QRectF& rect, int startAngle, int spanAngle) = 0;
    virtual void drawPie(const QRectF& rect, int startAngle, int spanAngle) = 0;
    virtual void drawChord(const QRectF& rect, int startAngle, int spanAngle) = 0;

    // Conveniences built only on the calls above.
    void drawPolygon(const QPolygonF& polygon) { drawPolygon(polygon, Qt::OddEvenFill); }
    void drawEllipse(const QPointF& centre, qreal rx, qreal ry);
    void drawCircle(const QPointF& centre, qreal r) { drawEllipse(centre, r, r); }
    // A curved shape, flattened finely enough for a picture shown a few hundred pixels wide.
    void drawPath(const QPainterPath& path);
};

// Paints on a QPainter whose transform maps the picture's units to pixels.
class PainterCanvas final : public Canvas {
public:
    explicit PainterCanvas(QPainter& painter);

    void setPen(const QColor& colour, qreal width) override;
    void setNoPen() override;
    void setBrush(const QColor& colour) override;
    void setNoBrush() override;
    void drawRect(const QRectF& rect) override;
    void drawRoundedRect(const QRectF& rect, qreal xRadius, qreal yRadius) override;
    void drawEllipse(const QRectF& rect) override;
    void drawPolygon(const QPolygonF& polygon, Qt::FillRule rule) override;
    void drawPolyline(const QPolygonF& polyline) override;
    void drawPolyPolygon(const QList<QPolygonF>& polygons, Qt::FillRule rule) override;
    void drawArc(const QRectF& rect, int startAngle, int spanAngle) override;
    void drawPie(const QRectF& rect, int startAngle, int spanAngle) override;
    void drawChord(const QRectF& rect, int startAngle, int spanAngle) override;

    using Canvas::drawEllipse;
    using Canvas::drawPolygon;

private:
    QPainter& m_painter;
};

// A picture drawn on a `designSize`-unit square, painted antialiased at `pixels` square over
// `background` (transparent gives an image with an alpha channel).
QImage paintSquare(int pixels, qreal designSize, const QColor& background, const std::function<void(Canvas&)>& draw);

} // namespace moji::pictures
