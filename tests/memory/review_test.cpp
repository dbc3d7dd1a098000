// What ふくしゅう asks: the learned kanji (the levels passed, in the modes passed) of lowest
// recall today, in one mode; never a kanji the pupil has not learned, however weak.

#include "review.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace moji;
using namespace moji::memory;
using namespace testing_support;

namespace {

constexpr double Day = 46300;

HistoryRecord record(int kind, int level, int mode, double when, int first, std::vector<bool> right)
{
    HistoryRecord r;
    r.Kind = int16_t(kind);
    r.Level = int16_t(level);
    r.Mode = int16_t(mode);
    r.When = when;
    for (int i = 0; i < 10; ++i) {
        r.KanjiNo[std::size_t(i)] = int16_t(first + i);
        r.Correct[std::size_t(i)] = right[std::size_t(i)];
    }
    return r;
}

const std::vector<bool> AllRight(10, true);
const std::vector<bool> AllWrong(10, false);

} // namespace

TEST(Review, PicksTheLearnedKanjiOfLowestRecallAndNeverOneNotLearned)
{
    // A pupil now on level 3 reading: levels 1 and 2 learned in both modes, weeks ago, some
    // of them answered wrongly; level 5 practised and got all wrong yesterday; level 3 begun.
    std::vector<HistoryRecord> history;
    double when = Day - 60;
    for (int level = 1; level <= 2; ++level) {
        for (int mode = 1; mode <= 2; ++mode) {
            for (int first : {0, 10, 0, 10, 0, 10}) {
                std::vector<bool> right = AllRight;
                right[std::size_t((first + level + mode) % 10)] = false; // one miss in each
                history.push_back(record(1, level, mode, when, firstKanjiOfLevel(level) + first, right));
                when += 1;
            }
        }
    }
    // Some kanji of level 1 writing reviewed lately: well remembered.
    history.push_back(record(2, 1, 2, Day - 2, 241, AllRight));
    history.push_back(record(2, 5, 1, Day - 1, firstKanjiOfLevel(5), AllWrong));
    history.push_back(record(1, 3, 1, Day - 1, firstKanjiOfLevel(3), AllWrong));
    PupilMemory memory;
    memory.replay(history);

    const std::vector<LearnedKanji> learned = learnedByRecall(memory, 3, 1, qint64(Day));
    ASSERT_EQ(learned.size(), 80u);
    for (const LearnedKanji& l : learned)
        EXPECT_LE(l.kanjiNo, lastKanjiOfLevel(2)) << "only levels 1 and 2 are learned";
    EXPECT_TRUE(std::is_sorted(learned.begin(), learned.end(),
                               [](const LearnedKanji& a, const LearnedKanji& b) { return a.recall < b.recall; }));
    const int due = dueCount(learned);
    EXPECT_GT(due, 20);
    EXPECT_LT(due, 80) << "the kanji reviewed two days ago are not due";

    const auto plan = planReview(learned);
    ASSERT_TRUE(plan);
    // The ten lowest of the plan's mode, and that mode holds most of the ten lowest due.
    std::vector<LearnedKanji> inMode;
    std::copy_if(learned.begin(), learned.end(), std::back_inserter(inMode),
                 [&](const LearnedKanji& l) { return l.mode == plan->mode; });
    const std::set<int> asked(plan->kanji.begin(), plan->kanji.end());
    ASSERT_EQ(asked.size(), 10u);
    double highestAsked = 0;
    for (const LearnedKanji& l : inMode) {
        if (asked.contains(l.kanjiNo))
            highestAsked = std::max(highestAsked, l.recall);
    }
    for (const LearnedKanji& l : inMode) {
        if (!asked.contains(l.kanjiNo)) {
            EXPECT_GE(l.recall, highestAsked) << l.kanjiNo << " is weaker than one asked";
        }
    }
    const auto lowestInMode = std::count_if(learned.begin(), learned.begin() + std::min(10, due),
                                            [&](const LearnedKanji& l) { return l.mode == plan->mode; });
    EXPECT_GE(lowestInMode, 5);
    // The level most of them belong to, for the history record.
    std::map<int, int> perLevel;
    for (const int k : asked)
        ++perLevel[(k - FirstKanjiNo) / KanjisPerLevel + 1];
    EXPECT_GE(perLevel[plan->level], 5);
}

TEST(Review, NothingDueOrNothingLearnedAsksNothing)
{
    PupilMemory memory;
    // Level 1 reading: nothing learned yet, however much the pupil has practised.
    memory.add(record(2, 2, 1, Day - 30, firstKanjiOfLevel(2), AllWrong));
    EXPECT_TRUE(learnedByRecall(memory, 1, 1, qint64(Day)).empty());
    EXPECT_FALSE(planReview(learnedByRecall(memory, 1, 1, qint64(Day))));

    // Level 1 reading learned, and all twenty answered right today: nothing due.
    memory.add(record(1, 1, 1, Day + 0.4, 241, AllRight));
    memory.add(record(1, 1, 1, Day + 0.5, 251, AllRight));
    const auto learned = learnedByRecall(memory, 1, 2, qint64(Day));
    EXPECT_EQ(learned.size(), 20u);
    EXPECT_EQ(dueCount(learned), 0);
    EXPECT_FALSE(planReview(learned));
    // A week later the same kanji are due again.
    EXPECT_EQ(dueCount(learnedByRecall(memory, 1, 2, qint64(Day) + 7)), 20);

    // A learned kanji never asked counts as forgotten, first in line.
    const auto later = learnedByRecall(memory, 2, 1, qint64(Day) + 1);
    EXPECT_EQ(later.front().recall, 0.0);
    EXPECT_EQ(later.front().mode, 2);
}
