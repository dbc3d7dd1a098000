#pragma once

#include <vector>

namespace moji::handwriting {

// A point of a written stroke in the writing square: 0 to 255 on both axes, y growing down.
struct Point {
    int x = 0;
    int y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// One stroke as the pen drew it, in order, and a whole written kanji, stroke by stroke.
using Stroke = std::vector<Point>;
using Strokes = std::vector<Stroke>;

// The stroke with at most `maxPoints` points, evenly spaced along its length, its two ends kept.
// A zig-zag of many points costs the recogniser memory without bound; its shape needs few.
Stroke resampled(const Stroke& stroke, int maxPoints = 16);

// The strokes moved and scaled, keeping their proportions, so that the box around them is
// `side` units on its longer side in the middle of the square: a kanji written small in a
// corner comes out as one written across the square, and a flat or thin one (一, 川) stays flat
// or thin. With a side of 0, or for writing without extent, they are only moved.
Strokes centred(const Strokes& strokes, int side);

} // namespace moji::handwriting
