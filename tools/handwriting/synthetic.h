#pragma once

#include "randomsource.h"
#include "strokeorder.h"
#include "strokes.h"

#include <vector>

namespace moji::handwriting {

// How far a start or an end of a stroke lands from where it belongs, in units of the 0..255
// writing square: a steady hand, and a loose one whose proportions are poor (12 % of the
// square), though every stroke is in its place and order.
constexpr double SteadyEnds = 5;
constexpr double LooseEnds = 0.12 * 256;

// A kanji as a hand might write it, made from its strokes in the stroke order table: each stroke
// a slightly curved line from near its start to near its end, drawn in order, wobbling a little,
// with points as close together as a pen's or a mouse's movements come. The stroke order table
// knows only where each stroke starts and ends, so a bent stroke is written straight. Each end
// lands within `endSlip` of where it belongs.
Strokes handwritten(const std::vector<ReferenceStroke>& reference, RandomSource& random, double endSlip = SteadyEnds);

// The strokes scaled by `scale` (the whole square becomes scale x 256) and moved so that the
// square's top left lands at (left, top): writing smaller and elsewhere on the square.
Strokes placed(const Strokes& strokes, double scale, double left, double top);

} // namespace moji::handwriting
