#pragma once

#include "pupilmemory.h"

#include <array>
#include <optional>
#include <vector>

namespace moji::memory {

// The recall below which a learned kanji is due for ふくしゅう, and at or above which it
// counts as remembered: the retention most spaced-repetition programs aim at.
constexpr double TargetRecall = 0.9;

// A learned kanji in one mode and the probability that the pupil recalls it.
struct LearnedKanji {
    int kanjiNo = 0;
    int mode = 0;
    double recall = 0; // 0 for a kanji never asked in that mode
};

// Every kanji a pupil on step (level, mode) has learned, in the modes learned (the levels
// passed), lowest recall first (ties in KanjiNo order, reading first), on `day`.
std::vector<LearnedKanji> learnedByRecall(const PupilMemory& memory, int level, int stepMode, qint64 day);

// How many of them are due: recall below the target.
int dueCount(const std::vector<LearnedKanji>& learned);

// The ten questions of a ふくしゅう session.
struct ReviewPlan {
    int16_t mode = 0;
    int16_t level = 0; // the level most of the kanji belong to (the lowest of a tie)
    std::array<int16_t, 10> kanji{};
};

// The ten learned kanji with the lowest recall. A session asks in one mode, so it takes the
// mode most of the ten lowest due ones are in (a tie goes to the mode of the lowest), and
// that mode's ten lowest. Nullopt when nothing is due.
std::optional<ReviewPlan> planReview(const std::vector<LearnedKanji>& learned);

// Sets up the state for the ふくしゅう session of `plan`, as the mode menu does when the pupil
// chooses it: a practice session of those kanji, at the plan's level and mode.
void prepareReviewSession(StudyState& state, const ReviewPlan& plan);

// The memory of the selected pupil, rebuilt from their history first when it follows another
// pupil (one picked on a screen that does not select). Raises what ReadHistory raises.
const PupilMemory& selectedPupilMemory(PupilMemory& memory, const StudyState& state);

} // namespace moji::memory
