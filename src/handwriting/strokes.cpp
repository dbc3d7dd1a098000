#include "strokes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace moji::handwriting {

Stroke resampled(const Stroke& stroke, int maxPoints)
{
    if (maxPoints < 2 || int(stroke.size()) <= maxPoints)
        return stroke;
    std::vector<double> along(stroke.size(), 0.0);
    for (std::size_t i = 1; i < stroke.size(); ++i)
        along[i] = along[i - 1] + std::hypot(stroke[i].x - stroke[i - 1].x, stroke[i].y - stroke[i - 1].y);
    const double length = along.back();
    Stroke out;
    out.reserve(std::size_t(maxPoints));
    out.push_back(stroke.front());
    std::size_t segment = 1;
    for (int k = 1; k < maxPoints - 1; ++k) {
        const double at = length * k / (maxPoints - 1);
        while (segment + 1 < stroke.size() && along[segment] < at)
            ++segment;
        const double span = along[segment] - along[segment - 1];
        const double t = span > 0 ? (at - along[segment - 1]) / span : 0.0;
        const Point& a = stroke[segment - 1];
        const Point& b = stroke[segment];
        out.push_back({int(std::lround(a.x + (b.x - a.x) * t)), int(std::lround(a.y + (b.y - a.y) * t))});
    }
    out.push_back(stroke.back());
    return out;
}

Strokes centred(const Strokes& strokes, int side)
{
    int left = std::numeric_limits<int>::max(), top = left;
    int right = std::numeric_limits<int>::min(), bottom = right;
    for (const Stroke& stroke : strokes) {
        for (const Point& p : stroke) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    }
    if (left > right)
        return strokes;
    const double extent = std::max(right - left, bottom - top);
    const double scale = extent > 0 && side > 0 ? side / extent : 1.0;
    const double middle = 127.5;
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    Strokes out = strokes;
    for (Stroke& stroke : out) {
        for (Point& p : stroke)
            p = {int(std::lround(middle + (p.x - cx) * scale)), int(std::lround(middle + (p.y - cy) * scale))};
    }
    return out;
}

} // namespace moji::handwriting
