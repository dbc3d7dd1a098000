#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QtMath>

namespace moji::pictures {

// The point `r` from `centre` at `degrees` counter-clockwise from three o'clock (y grows down).
inline QPointF polar(const QPointF& centre, qreal r, qreal degrees)
{
    const qreal a = qDegreesToRadians(degrees);
    return centre + QPointF(r * std::cos(a), -r * std::sin(a));
}

// A star with `tips` points, the first `turn` degrees from three o'clock (90: straight up).
inline QPolygonF star(const QPointF& centre, qreal outer, qreal inner, int tips, qreal turn = 90)
{
    QPolygonF p;
    for (int i = 0; i < 2 * tips; ++i)
        p << polar(centre, i % 2 ? inner : outer, turn + i * 180.0 / tips);
    return p;
}

} // namespace moji::pictures
