// The pupil's memory model as the program keeps it: rebuilt from the history when a pupil is
// selected and following each session as it is recorded, so that it never depends on when
// the program was restarted; and a damaged date never breaks it.

#include "clock.h"
#include "pupilmemory.h"
#include "randomsource.h"
#include "sessionsetup.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <memory>

using namespace moji;
using namespace moji::memory;
using namespace testing_support;

namespace {

// One run of the program over the folder: a study state with its one pupil selected and the
// memory following it, as start-up and player selection leave them.
struct ProgramStart {
    ProgramStart(const QString& folder, const Clock& clock) : state(folder, clock)
    {
        state.historyFollower = &memory;
        state.PlayerCount = 1;
        state.RebuildLevelsFromHistory();
        state.SelectPupil(1);
    }
    StudyState state;
    PupilMemory memory;
};

} // namespace

TEST(PupilMemory, ReplayGivesTheSameStatesHoweverTheHistoryIsSplitAcrossRestarts)
{
    QTemporaryDir dir;
    ManualClock clock(46100.3);
    RandomSource random(11);
    auto run = std::make_unique<ProgramStart>(dir.path(), clock);
    int restarts = 0;
    for (int session = 1; session <= 400; ++session) {
        // Some days two or three sessions, then gaps of up to three weeks.
        clock.advanceSeconds(random.Random(3) == 0 ? 3600 : 86400.0 * (1 + random.Random(random.Random(8) == 0 ? 21 : 3)));
        StudyState& s = run->state;
        const PlayerRecord& step = s.Roster[1];
        const bool challenge = step.Level <= MaxLevel && random.Random(4) != 0;
        const int level = challenge ? step.Level : 1 + random.Random(MaxLevel);
        const int mode = challenge ? step.Mode : 1 + random.Random(2);
        const int right = 5 + random.Random(6);
        setFinishedSession(s, challenge, level, mode, firstKanjiOfLevel(level) + random.Random(11), right);
        s.RecordSessionResult(right >= PassMark);

        // A restart now and then: start-up and selection rebuild it from the file alone.
        if (random.Random(25) == 0) {
            auto fresh = std::make_unique<ProgramStart>(dir.path(), clock);
            ASSERT_TRUE(fresh->memory == run->memory) << "after session " << session;
            run = std::move(fresh);
            ++restarts;
        }
    }
    EXPECT_GE(restarts, 8);
    PupilMemory whole;
    whole.replay(run->state.ReadHistory(1));
    EXPECT_TRUE(whole == run->memory);

    // The states are those of a real year: kanji forgotten and kanji well kept, and kanji
    // never asked in a mode.
    const qint64 day = today(clock);
    int strong = 0, weak = 0, unasked = 0;
    for (int k = FirstKanjiNo; k < FirstKanjiNo + KanjiCount; ++k) {
        for (int m = 1; m <= 2; ++m) {
            const auto r = run->memory.recall(k, m, day);
            if (!r)
                ++unasked;
            else if (*r >= 0.9)
                ++strong;
            else
                ++weak;
        }
    }
    EXPECT_GT(strong, 10);
    EXPECT_GT(weak, 10);
    EXPECT_GT(unasked, 0);
}

TEST(PupilMemory, DamagedOrSetBackDatesCountAsTheSameDay)
{
    QTemporaryDir dir;
    const double day = 46200;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::initializer_list<int> kanji = {241, 242, 243, 244, 245, 246, 247, 248, 249, 250};
    QByteArray bytes;
    bytes += historyBytes(1, 1, 1, day + 0.5, kanji, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, true);
    // A NaN, an infinity and a date before 1900 take the day of the record before; a clock
    // set back by a week gives its own day, but never negative time.
    for (const double when : {nan, inf, -5.0, day - 7})
        bytes += historyBytes(2, 1, 1, when, kanji, {1, 0, 1, 0, 1, 0, 1, 0, 1, 0}, false);
    writeFile(dir.filePath(historyFileName(1)), bytes);

    ManualClock clock(day + 10.25);
    ProgramStart run(dir.path(), clock);
    const Fsrs fsrs;
    MemoryState right = fsrs.first(Grade::Good);
    MemoryState wrong = right;
    for (int i = 0; i < 4; ++i) {
        right = fsrs.next(right, 0, Grade::Good);
        wrong = fsrs.next(wrong, 0, Grade::Again);
    }
    EXPECT_EQ(run.memory.item(241, 1).state, right);
    EXPECT_EQ(run.memory.item(242, 1).state, wrong);
    EXPECT_EQ(run.memory.item(242, 1).lastDay, qint64(day) - 7);
    const auto r = run.memory.recall(242, 1, today(clock));
    ASSERT_TRUE(r);
    EXPECT_TRUE(*r > 0 && *r < 1);
    EXPECT_FALSE(run.memory.recall(242, 2, today(clock)));
}
