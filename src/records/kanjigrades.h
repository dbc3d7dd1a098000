#pragma once

#include <QString>

#include <vector>

namespace moji {

class StudyState;

// Whether the current pupil counts kanji `kanjiNo` as cleared in `mode` (1 reading,
// 2 writing): its own Passed flag, or a level the pupil has already completed. A pupil on
// writing has completed the reading of every kanji up to their current level; otherwise the
// kanji must lie in a level below the current one. Both the per-kanji grades and the kanji
// board use this rule.
bool kanjiCleared(const StudyState& state, int kanjiNo, int mode);

// One row of the per-kanji grades: one kanji in one mode.
struct KanjiGradeRow {
    int rowNo = 0; // 1 to 400
    int level = 0;
    QString glyph;
    QString kind; // "読む" or "書く"
    int asked = 0;
    int correct = 0;
    bool cleared = false;
};

// Every kanji of the grade twice, reading before writing, in KanjiNo order: row
// 2 * (j - 1) + m for the j-th kanji in mode m.
std::vector<KanjiGradeRow> kanjiGradeRows(const StudyState& state);

} // namespace moji
