#pragma once

#include <QString>

namespace moji {

class StudyState;

// The kanji of a practice level (1 to 10), in KanjiNo order, joined without separators: the
// tool-tip of the level's buttons. RangeError for a level outside 1 to 10.
QString levelGlyphs(const StudyState& state, int level);

// The pupil chose a practice level and kind (1 reading, 2 writing), whatever their own step.
// The session kind stays practice, as the mode menu set it. RangeError for a level outside 1
// to 10 or a mode other than 1 or 2.
void choosePracticeLevel(StudyState& state, int level, int mode);

} // namespace moji
