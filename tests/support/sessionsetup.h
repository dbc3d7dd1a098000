#pragma once

#include "studystate.h"

namespace testing_support {

// Fills the study state as a finished session leaves it: ten kanji from `first`, the first
// `correct` of them answered right.
inline void setFinishedSession(moji::StudyState& state, bool challenge, int level, int mode, int first, int correct)
{
    state.SessionKind = challenge;
    state.CurrentLevel = int16_t(level);
    state.StudyMode = int16_t(mode);
    for (int i = 1; i <= 10; ++i) {
        state.QuizSet[i].KanjiNo = int16_t(first + i - 1);
        state.QuizSet[i].Correct = i <= correct;
    }
}

} // namespace testing_support
