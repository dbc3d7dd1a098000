#pragma once

#include "randomsource.h"
#include "strokeorder.h"
#include "strokes.h"

#include <vector>

namespace moji::handwriting {

// A kanji as a hand might write it, made from its strokes in the stroke order table: each stroke
// a slightly curved line from near its start to near its end, drawn in order, wobbling a little,
// with points as close together as a pen's or a mouse's movements come. The stroke order table
// knows only where each stroke starts and ends, so a bent stroke is written straight.
Strokes handwritten(const std::vector<ReferenceStroke>& reference, RandomSource& random);

} // namespace moji::handwriting
