#pragma once

#include "strokeorder.h"

#include <QStringList>

#include <cstdint>
#include <vector>

namespace moji::handwriting {

// How often the stroke check named the fault made on purpose in one kind of writing, or, for
// writing without a fault, how often it blamed one.
struct CoachLine {
    QString writing;      // e.g. "one stroke left out"
    int tried = 0;
    int named = 0;        // the right fault at the right stroke; for faultless writing: praised;
                          // for another kanji: neither praised nor told of a stroke
    QStringList examples; // the first few misses, "kanji: what it said"
};

// Writes each of `kanji` by hand from the seed and checks it against its own strokes: with each
// stroke left out in turn, each two consecutive strokes swapped in turn, each stroke with a
// direction written backwards in turn, and whole with a steady and with a loose hand (every
// stroke's ends up to 12 % of the square away: poor proportions, right order); with a stroke
// left out and with the loose hand again, each at 40 % of the square's size in a corner; then
// each kanji written and checked against the next kanji of the list with as many strokes, which
// must not be taken for it. Raises FileError naming Kakijun.dat when the table lacks a kanji.
std::vector<CoachLine> measureCoach(const StrokeOrderTable& table, const QStringList& kanji, uint32_t seed);

} // namespace moji::handwriting
