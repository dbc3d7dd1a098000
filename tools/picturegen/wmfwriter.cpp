#include "wmfwriter.h"

#include <QtMath>

#include <algorithm>

namespace moji::pictures {

namespace {

enum Function : uint16_t {
    SetBkMode = 0x0102,
    SetPolyFillMode = 0x0106,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    CreatePenIndirect = 0x02FA,
    CreateBrushIndirect = 0x02FC,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    Polygon = 0x0324,
    Polyline = 0x0325,
    PolyPolygon = 0x0538,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    RoundRect = 0x061C,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
};

constexpr uint16_t Transparent = 1;
constexpr uint16_t Alternate = 1;
constexpr uint16_t Winding = 2;
constexpr uint16_t PenSolid = 0;
constexpr uint16_t PenNull = 5;
constexpr uint16_t BrushSolid = 0;
constexpr uint16_t BrushNull = 1;

void put16(QByteArray& out, uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void put32(QByteArray& out, uint32_t v)
{
    put16(out, uint16_t(v & 0xFFFF));
    put16(out, uint16_t(v >> 16));
}

// A COLORREF as two little-endian words: red, green, then blue and a zero byte.
std::vector<uint16_t> colourRef(const QColor& c)
{
    return {uint16_t(c.red() | c.green() << 8), uint16_t(c.blue())};
}

} // namespace

WmfWriter::WmfWriter(qreal designSize, int units, int unitsPerInch)
    : m_scale(units / designSize), m_units(units), m_unitsPerInch(unitsPerInch)
{
    record(SetWindowOrg, {0, 0});
    record(SetWindowExt, {uint16_t(units), uint16_t(units)});
    record(SetBkMode, {Transparent});
    record(SetPolyFillMode, {Alternate});
}

void WmfWriter::setPen(const QColor& colour, qreal width)
{
    // GDI draws a pen of width 0 one pixel wide; keep at least one logical unit instead.
    m_wantedPen = Tool{false, colour, std::max(1, qRound(width * m_scale))};
}

void WmfWriter::setNoPen() { m_wantedPen = Tool{}; }
void WmfWriter::setBrush(const QColor& colour) { m_wantedBrush = Tool{false, colour, 0}; }
void WmfWriter::setNoBrush() { m_wantedBrush = Tool{}; }

void WmfWriter::drawRect(const QRectF& rect)
{
    prepare(true);
    record(Rectangle, box(rect));
}

void WmfWriter::drawRoundedRect(const QRectF& rect, qreal xRadius, qreal yRadius)
{
    prepare(true);
    std::vector<uint16_t> words{unit(2 * yRadius), unit(2 * xRadius)};
    const auto corners = box(rect);
    words.insert(words.end(), corners.begin(), corners.end());
    record(RoundRect, words);
}

void WmfWriter::drawEllipse(const QRectF& rect)
{
    prepare(true);
    record(Ellipse, box(rect));
}

void WmfWriter::drawPolygon(const QPolygonF& polygon, Qt::FillRule rule)
{
    prepare(true);
    prepareFill(rule);
    record(Polygon, points(polygon));
}

void WmfWriter::drawPolyline(const QPolygonF& polyline)
{
    prepare(false);
    record(Polyline, points(polyline));
}

void WmfWriter::drawPolyPolygon(const QList<QPolygonF>& polygons, Qt::FillRule rule)
{
    prepare(true);
    prepareFill(rule);
    std::vector<uint16_t> words{uint16_t(polygons.size())};
    for (const QPolygonF& p : polygons)
        words.push_back(uint16_t(p.size()));
    for (const QPolygonF& p : polygons) {
        for (const QPointF& point : p) {
            words.push_back(unit(point.x()));
            words.push_back(unit(point.y()));
        }
    }
    record(PolyPolygon, words);
}

void WmfWriter::drawArc(const QRectF& rect, int startAngle, int spanAngle)
{
    arcRecord(Arc, rect, startAngle, spanAngle, false);
}

void WmfWriter::drawPie(const QRectF& rect, int startAngle, int spanAngle)
{
    arcRecord(Pie, rect, startAngle, spanAngle, true);
}

void WmfWriter::drawChord(const QRectF& rect, int startAngle, int spanAngle)
{
    arcRecord(Chord, rect, startAngle, spanAngle, true);
}

QByteArray WmfWriter::finish() const
{
    constexpr uint32_t headerWords = 9;
    constexpr uint32_t endWords = 3;
    QByteArray placeable;
    put32(placeable, 0x9AC6CDD7);
    put16(placeable, 0); // handle
    put16(placeable, 0); // bounding box: left, top, right, bottom
    put16(placeable, 0);
    put16(placeable, uint16_t(m_units));
    put16(placeable, uint16_t(m_units));
    put16(placeable, uint16_t(m_unitsPerInch));
    put32(placeable, 0); // reserved
    uint16_t checksum = 0;
    for (qsizetype i = 0; i < placeable.size(); i += 2)
        checksum ^= uint16_t(uchar(placeable[i]) | uchar(placeable[i + 1]) << 8);
    put16(placeable, checksum);

    QByteArray file = placeable;
    put16(file, 1); // in memory
    put16(file, uint16_t(headerWords));
    put16(file, 0x0300);
    put32(file, headerWords + uint32_t(m_records.size() / 2) + endWords);
    put16(file, uint16_t(m_slotUsed.size()));
    put32(file, m_maxRecordWords);
    put16(file, 0);
    file += m_records;
    put32(file, endWords);
    put16(file, 0x0000);
    return file;
}

void WmfWriter::record(uint16_t function, const std::vector<uint16_t>& words)
{
    const auto size = uint32_t(3 + words.size());
    m_maxRecordWords = std::max(m_maxRecordWords, size);
    put32(m_records, size);
    put16(m_records, function);
    for (const uint16_t w : words)
        put16(m_records, w);
}

void WmfWriter::prepare(bool filled)
{
    select(m_pen, m_wantedPen, true);
    if (filled)
        select(m_brush, m_wantedBrush, false);
}

void WmfWriter::select(Selected& current, const Tool& wanted, bool pen)
{
    if (current.slot >= 0 && current.tool == wanted)
        return;
    // The player puts a new object in the lowest free slot of its table.
    const auto free = std::find(m_slotUsed.begin(), m_slotUsed.end(), false);
    const auto slot = int(free - m_slotUsed.begin());
    if (free == m_slotUsed.end())
        m_slotUsed.push_back(true);
    else
        *free = true;

    std::vector<uint16_t> words;
    if (pen) {
        words = {wanted.null ? PenNull : PenSolid, uint16_t(wanted.width), 0};
    } else {
        words = {wanted.null ? BrushNull : BrushSolid};
    }
    const auto colour = colourRef(wanted.null ? QColor(Qt::black) : wanted.colour);
    words.insert(words.end(), colour.begin(), colour.end());
    if (!pen)
        words.push_back(0); // hatch, unused by a solid brush
    record(pen ? CreatePenIndirect : CreateBrushIndirect, words);
    record(SelectObject, {uint16_t(slot)});
    // The old object is deleted only once it is no longer selected.
    if (current.slot >= 0) {
        record(DeleteObject, {uint16_t(current.slot)});
        m_slotUsed[std::size_t(current.slot)] = false;
    }
    current = Selected{wanted, slot};
}

void WmfWriter::prepareFill(Qt::FillRule rule)
{
    if (rule == m_fillRule)
        return;
    m_fillRule = rule;
    record(SetPolyFillMode, {rule == Qt::WindingFill ? Winding : Alternate});
}

uint16_t WmfWriter::unit(qreal v) const
{
    return uint16_t(int16_t(std::clamp(qRound(v * m_scale), -32768, 32767)));
}

std::vector<uint16_t> WmfWriter::points(const QPolygonF& polygon) const
{
    std::vector<uint16_t> words{uint16_t(polygon.size())};
    for (const QPointF& p : polygon) {
        words.push_back(unit(p.x()));
        words.push_back(unit(p.y()));
    }
    return words;
}

// Rectangle-like records list their corners backwards: bottom, right, top, left.
std::vector<uint16_t> WmfWriter::box(const QRectF& rect) const
{
    return {unit(rect.bottom()), unit(rect.right()), unit(rect.top()), unit(rect.left())};
}

void WmfWriter::arcRecord(uint16_t function, const QRectF& rect, int startAngle, int spanAngle, bool filled)
{
    prepare(filled);
    // GDI always runs counter-clockwise from the start radial to the end radial.
    if (spanAngle < 0) {
        startAngle += spanAngle;
        spanAngle = -spanAngle;
    }
    // Each radial passes through the point of the ellipse at that angle, as QPainter places
    // it, so both draw the same part of a flattened ellipse. It is lengthened to keep its
    // direction exact after rounding.
    const QPointF c = rect.center();
    const qreal rx = rect.width() / 2;
    const qreal ry = rect.height() / 2;
    const qreal reach = std::max<qreal>(1, 1000 / (std::max({rx, ry, qreal(1)}) * m_scale));
    auto radial = [&](int angle) {
        const qreal a = qDegreesToRadians(angle / 16.0);
        return c + reach * QPointF(rx * std::cos(a), -ry * std::sin(a));
    };
    const QPointF start = radial(startAngle);
    const QPointF end = radial(startAngle + std::min(spanAngle, 360 * 16));
    std::vector<uint16_t> words{unit(end.y()), unit(end.x()), unit(start.y()), unit(start.x())};
    const auto corners = box(rect);
    words.insert(words.end(), corners.begin(), corners.end());
    record(function, words);
}

} // namespace moji::pictures
