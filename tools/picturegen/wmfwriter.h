#pragma once

#include "canvas.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace moji::pictures {

// Records drawing calls as a placeable Windows metafile, using only the records the
// program's own metafile player draws: window origin and extent, background and fill mode,
// solid pens and brushes, polygons, polylines, rectangles, ellipses, arcs, pies and chords.
// The picture is drawn on a `designSize` square that the file maps onto `units` logical units
// (16-bit, so at most 32767); the placeable header gives the same box at `unitsPerInch`.
class WmfWriter final : public Canvas {
public:
    WmfWriter(qreal designSize, int units, int unitsPerInch = 1440);

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

    // The whole file: placeable header, metafile header, the records so far, end record.
    QByteArray finish() const;

private:
    // A pen or brush as the file should have it; width is in logical units (pens only).
    struct Tool {
        bool null = true;
        QColor colour;
        int width = 0;
        bool operator==(const Tool&) const = default;
    };
    struct Selected {
        Tool tool;
        int slot = -1;
    };

    void record(uint16_t function, const std::vector<uint16_t>& words);
    // Pens and brushes are created only when a shape is drawn with them, so a picture that
    // changes its mind twice costs nothing.
    void prepare(bool filled);
    void select(Selected& current, const Tool& wanted, bool pen);
    void prepareFill(Qt::FillRule rule);
    uint16_t unit(qreal v) const;
    std::vector<uint16_t> points(const QPolygonF& polygon) const;
    std::vector<uint16_t> box(const QRectF& rect) const;
    void arcRecord(uint16_t function, const QRectF& rect, int startAngle, int spanAngle, bool filled);

    qreal m_scale;
    int m_units;
    int m_unitsPerInch;
    QByteArray m_records;
    uint32_t m_maxRecordWords = 3; // the end record
    std::vector<bool> m_slotUsed;  // the player's object table, filled lowest slot first
    Tool m_wantedPen, m_wantedBrush;
    Selected m_pen, m_brush;
    Qt::FillRule m_fillRule = Qt::OddEvenFill;
};

} // namespace moji::pictures
