#pragma once

#include "strokes.h"

#include <QString>

#include <optional>
#include <vector>

namespace moji::handwriting {

// One stroke of a kanji in the school stroke order: where the pen starts and where it ends, in
// the 0..255 writing square.
struct ReferenceStroke {
    Point start;
    Point end;
};

// What differed between a kanji as written and its school strokes, the first difference that
// matters to a child: a missing stroke, then a stroke too many, then the order, then a stroke's
// direction. Writing too far from the kanji to say which stroke differs is told only by its
// number of strokes, or not at all.
struct StrokeCheck {
    enum class Verdict {
        Right,
        TooFew,    // not close enough to say which strokes are missing
        TooMany,
        Order,     // `stroke` (as written) came before its turn
        Direction, // `stroke` (as written) was written backwards
        Missing,   // `stroke` (of the school order) is not there; `missingAt` shows where it belongs
        Extra,     // `stroke` (as written) is not part of the kanji
        Far,       // as many strokes, but too far from the kanji to say what differs
    };
    Verdict verdict = Verdict::Right;
    int stroke = 0;      // the stroke concerned, from 1
    int difference = 0;  // strokes written less the kanji's, for TooFew and TooMany
    // For Missing: the missing stroke placed on the writing, in the 0..255 square.
    std::optional<ReferenceStroke> missingAt;

    // Whether the check could say which stroke differs (or that none does).
    bool close() const { return verdict != Verdict::TooFew && verdict != Verdict::TooMany && verdict != Verdict::Far; }
};

// Compares writing with a kanji's strokes with the tolerance a child's hand needs. The writing
// may be anywhere on the square and of any size, a little squashed or stretched, with strokes
// out of proportion: each written stroke is matched to the school stroke it stands for by its
// place among the others, its direction and its shape, keeping to the school order unless
// another order fits clearly better.
StrokeCheck checkStrokes(const Strokes& written, const std::vector<ReferenceStroke>& reference);

// The check said to a child in kana, e.g. "３かくめの　むきが　ちがうよ", "４かくめが　ないよ";
// praise when it is right.
QString strokeCheckMessage(const StrokeCheck& check);

} // namespace moji::handwriting
