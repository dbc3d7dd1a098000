#pragma once

#include "strokes.h"

#include <QHash>
#include <QString>

#include <vector>

namespace moji::handwriting {

// One stroke of a kanji in the school stroke order: where the pen starts and where it ends, in
// the 0..255 writing square.
struct ReferenceStroke {
    Point start;
    Point end;
};

// The stroke order of the 440 kanji of grades 1 to 3, read from the program's Kakijun.dat
// (compiled at build time from the stroke data of Debian's python3-kanjidraw, derived from
// KanjiVG).
class StrokeOrderTable {
public:
    // Raises FileError naming Kakijun.dat when the file cannot be read or is damaged.
    void load(const QString& path);
    // The strokes of a kanji, or nullptr for a kanji the table does not hold.
    const std::vector<ReferenceStroke>* strokesOf(const QString& kanji) const;

private:
    QHash<QString, std::vector<ReferenceStroke>> m_strokes;
};

// What differed between a kanji as written and its school stroke order, the first difference
// that matters to a child: the number of strokes, then the order, then a stroke's direction.
struct StrokeCheck {
    enum class Verdict { Right, TooFew, TooMany, Order, Direction };
    Verdict verdict = Verdict::Right;
    int stroke = 0;      // the stroke concerned (1 = the first), for Order and Direction
    int difference = 0;  // how many strokes too few or too many
};

// Compares with the tolerance a child's hand needs: strokes are matched by their start and end
// points, with a generous margin.
StrokeCheck checkStrokes(const Strokes& written, const std::vector<ReferenceStroke>& reference);

// The check said to a child in kana, e.g. "３かくめの　むきが　ちがうよ", "かくすうが　ひとつ
// たりないよ"; praise when it is right.
QString strokeCheckMessage(const StrokeCheck& check);

} // namespace moji::handwriting
