#pragma once

#include "recognizer.h"
#include "strokeorder.h"

#include <QStringList>

#include <cstdint>
#include <vector>

namespace moji::handwriting {

// How often the recogniser read the right kanji from one kind of synthetic writing.
struct AccuracyLine {
    QString writing;    // e.g. "whole strokes"
    int tried = 0;
    int first = 0;      // the right kanji was the first candidate
    int inFive = 0;     // it was among the first five
    QStringList missed; // "kanji -> first candidate" where it was not among the five
};

// Writes each of `kanji` once by hand (see handwritten()) from the seed, reads it whole across
// the square, whole at 40 % of the square's size in each corner and in the middle, with one
// stroke left out and with two consecutive strokes joined into one, and counts the hits: one
// line for each, in that order.
// Raises FileError naming Kakijun.dat when the table lacks a kanji.
std::vector<AccuracyLine> measureAccuracy(Recognizer& recognizer, const StrokeOrderTable& table,
                                          const QStringList& kanji, uint32_t seed);

} // namespace moji::handwriting
