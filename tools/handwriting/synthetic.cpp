#include "synthetic.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace moji::handwriting {

namespace {

// In units of the 0..255 writing square.
constexpr double Wobble = 1;     // how far each point may stray from the line
constexpr double Spacing = 4;    // between two movements the pad reports
constexpr double MostBow = 0.08; // the furthest a stroke bends away from straight, by its length

double between(RandomSource& random, double lo, double hi)
{
    return lo + (hi - lo) * random.RandomReal();
}

int onSquare(double v)
{
    return std::clamp(int(std::lround(v)), 0, 255);
}

} // namespace

Strokes handwritten(const std::vector<ReferenceStroke>& reference, RandomSource& random, double endSlip)
{
    Strokes out;
    for (const ReferenceStroke& r : reference) {
        const double x1 = r.start.x + between(random, -endSlip, endSlip);
        const double y1 = r.start.y + between(random, -endSlip, endSlip);
        const double x2 = r.end.x + between(random, -endSlip, endSlip);
        const double y2 = r.end.y + between(random, -endSlip, endSlip);
        const double length = std::hypot(x2 - x1, y2 - y1);
        const double bow = between(random, -MostBow, MostBow) * length;
        // The unit normal of the line, along which it bows.
        const double nx = length > 0 ? -(y2 - y1) / length : 0;
        const double ny = length > 0 ? (x2 - x1) / length : 0;
        const int steps = std::max(2, int(std::ceil(length / Spacing)));
        Stroke stroke;
        for (int i = 0; i <= steps; ++i) {
            const double t = double(i) / steps;
            const double away = bow * std::sin(std::numbers::pi * t);
            stroke.push_back({onSquare(x1 + (x2 - x1) * t + nx * away + between(random, -Wobble, Wobble)),
                              onSquare(y1 + (y2 - y1) * t + ny * away + between(random, -Wobble, Wobble))});
        }
        out.push_back(std::move(stroke));
    }
    return out;
}

Strokes placed(const Strokes& strokes, double scale, double left, double top)
{
    Strokes out = strokes;
    for (Stroke& s : out) {
        for (Point& p : s)
            p = {onSquare(left + p.x * scale), onSquare(top + p.y * scale)};
    }
    return out;
}

} // namespace moji::handwriting
