#include "review.h"

#include <algorithm>
#include <map>

namespace moji::memory {

std::vector<LearnedKanji> learnedByRecall(const PupilMemory& memory, int level, int stepMode, qint64 day)
{
    std::vector<LearnedKanji> learned;
    for (int k = FirstKanjiNo; k < FirstKanjiNo + KanjiCount; ++k) {
        for (int m = 1; m <= 2; ++m) {
            if (stepCompleted(level, stepMode, k, m))
                learned.push_back({k, m, memory.recall(k, m, day).value_or(0.0)});
        }
    }
    std::stable_sort(learned.begin(), learned.end(),
                     [](const LearnedKanji& a, const LearnedKanji& b) { return a.recall < b.recall; });
    return learned;
}

int dueCount(const std::vector<LearnedKanji>& learned)
{
    return int(std::count_if(learned.begin(), learned.end(), [](const LearnedKanji& l) { return l.recall < TargetRecall; }));
}

std::optional<ReviewPlan> planReview(const std::vector<LearnedKanji>& learned)
{
    constexpr std::size_t Questions = ReviewPlan().kanji.size();
    // The due kanji come first; the mode is the one most of the ten lowest of them are in.
    const std::size_t lowest = std::min(Questions, std::size_t(dueCount(learned)));
    if (lowest == 0)
        return std::nullopt;
    const auto reading = std::count_if(learned.begin(), learned.begin() + std::ptrdiff_t(lowest),
                                       [](const LearnedKanji& l) { return l.mode == 1; });
    const auto writing = std::ptrdiff_t(lowest) - reading;
    ReviewPlan plan;
    plan.mode = int16_t(reading == writing ? learned.front().mode : reading > writing ? 1 : 2);

    std::size_t taken = 0;
    std::map<int, int> perLevel;
    for (const LearnedKanji& l : learned) {
        if (l.mode != plan.mode)
            continue;
        plan.kanji[taken] = int16_t(l.kanjiNo);
        ++perLevel[(l.kanjiNo - FirstKanjiNo) / KanjisPerLevel + 1];
        if (++taken == Questions)
            break;
    }
    // Every learned level holds twenty kanji in each mode it was learned in.
    if (taken < Questions)
        return std::nullopt;
    const auto most = std::max_element(perLevel.begin(), perLevel.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    plan.level = int16_t(most->first);
    return plan;
}

void prepareReviewSession(StudyState& state, const ReviewPlan& plan)
{
    state.SessionKind = false;
    state.ReviewSession = true;
    state.ReviewKanji = plan.kanji;
    state.CurrentLevel = plan.level;
    state.StudyMode = plan.mode;
}

const PupilMemory& selectedPupilMemory(PupilMemory& memory, const StudyState& state)
{
    if (memory.pupil() != state.PlayerNo)
        memory.pupilSelected(state.PlayerNo, state.ReadHistory(state.PlayerNo));
    return memory;
}

} // namespace moji::memory
