#pragma once

#include "strokecheck.h"

#include <QImage>
#include <QString>

#include <vector>

namespace moji {

class StudyState;

// The stroke-order picture of a kanji, a side x side square of writing paper: the kanji in the
// KanjiStrokeOrders font of Debian's fonts-kanjistrokeorders (drawn from KanjiVG), each stroke
// numbered where the pen begins it. Given the kanji's strokes from Kakijun.dat, the font's own
// numbers (some 5 % of the kanji's height, too small for a child on a 16-stroke kanji) are
// taken away and the numbers drawn large at the strokes' starts, at any size; without them the
// font's numbers stay. Without the font, or for a kanji it lacks, the kanji is drawn plainly.
QImage strokeDiagram(const QString& kanji, const std::vector<handwriting::ReferenceStroke>* strokes, int side);

// Whether the font can draw this kanji with its strokes numbered.
bool hasStrokeOrderFont(const QString& kanji);

// What the diagram shows, said under it: "「橋」の　かきじゅん（１６かく）" with the stroke count
// of the kanji dictionary, or that there is no diagram of it.
QString strokeOrderCaption(const StudyState& state, const QString& kanji);

// Where a point of the 0..255 writing square of Kakijun.dat lies on a diagram of this side.
QPointF onDiagram(const handwriting::Point& p, int side);

} // namespace moji
