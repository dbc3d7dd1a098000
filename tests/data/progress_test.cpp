// Recording sessions and rebuilding a pupil's step and per-kanji progress from the history.

#include "clock.h"
#include "errors.h"
#include "randomsource.h"
#include "sessionsetup.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace moji;
using namespace testing_support;

namespace {

class Progress : public ::testing::Test {
protected:
    Progress() : state(dir.path(), clock)
    {
        state.PlayerCount = 2;
        for (int p = 1; p <= 2; ++p) {
            state.Roster[p].Level = 1;
            state.Roster[p].Mode = 1;
        }
    }

    QString history(int p) const { return dir.filePath(historyFileName(p)); }

    // A session of the ten kanji from `first`, the first `correct` of them answered right.
    void setSession(bool challenge, int level, int mode, int first, int correct)
    {
        setFinishedSession(state, challenge, level, mode, first, correct);
    }

    QTemporaryDir dir;
    ManualClock clock{46363.75};
    StudyState state;
};

} // namespace

TEST_F(Progress, RecordingAppendsTheExactHistoryRecord)
{
    state.SelectPupil(1);
    setSession(true, 1, 1, 241, 8);
    state.QuizSet[2].Correct = false;
    state.QuizSet[10].Correct = true;
    state.RecordSessionResult(true);

    const QByteArray expected = hex("0100 0100 0100 0000 00000000 78a3e640"
                                    "f100 f200 f300 f400 f500 f600 f700 f800 f900 fa00"
                                    "01 00 01 01 01 01 01 01 00 01"
                                    "0000 01 000000");
    EXPECT_EQ(readFile(history(1)), expected);

    setSession(false, 3, 2, 281, 0);
    state.RecordSessionResult(false);
    EXPECT_EQ(readFile(history(1)).size(), 104);
    EXPECT_EQ(readFile(history(1)).mid(52, 6), hex("0200 0300 0200"));
}

TEST_F(Progress, ChallengeUpdatesProgressAndPassesAtTheSecondCorrectAnswer)
{
    state.SelectPupil(1);
    setSession(true, 1, 1, 241, 5);
    state.RecordSessionResult(false);
    // Uncounted: asked and correct rise, points do not.
    EXPECT_EQ(state.KanjiProgress[241][1].Asked, 1);
    EXPECT_EQ(state.KanjiProgress[241][1].Correct, 1);
    EXPECT_FALSE(state.KanjiProgress[241][1].Passed);
    EXPECT_EQ(state.KanjiProgress[250][1].Correct, 0);
    EXPECT_EQ(state.LevelPoints, 0);

    setSession(true, 1, 1, 241, 9);
    state.RecordSessionResult(true);
    EXPECT_EQ(state.KanjiProgress[241][1].Correct, 2);
    EXPECT_TRUE(state.KanjiProgress[241][1].Passed);
    EXPECT_FALSE(state.KanjiProgress[246][1].Passed);
    EXPECT_FALSE(state.KanjiProgress[241][2].Passed) << "modes are kept apart";
    EXPECT_EQ(state.LevelPoints, 9);
    EXPECT_FALSE(state.LevelRaised);

    // Selecting the pupil again shows the same kanji passed and the same points.
    state.SelectPupil(1);
    EXPECT_TRUE(state.KanjiProgress[241][1].Passed);
    EXPECT_FALSE(state.KanjiProgress[246][1].Passed);
    EXPECT_EQ(state.KanjiProgress[241][1].Asked, 2);
    EXPECT_EQ(state.LevelPoints, 9);
}

TEST_F(Progress, PracticeChangesOnlyTheHistory)
{
    state.SelectPupil(1);
    setSession(false, 4, 2, 301, 10);
    state.RecordSessionResult(true);
    EXPECT_EQ(readFile(history(1)).size(), 52);
    EXPECT_EQ(state.KanjiProgress[301][2].Asked, 0);
    EXPECT_EQ(state.LevelPoints, 0);
    EXPECT_EQ(state.Roster[1].Level, 1);
    EXPECT_FALSE(state.LevelRaised);
}

TEST_F(Progress, FortyPointsMoveThePupilOneStepAndExtraPointsAreDropped)
{
    struct Case {
        int level, mode, nextLevel, nextMode;
    };
    for (const Case c : {Case{1, 1, 1, 2}, Case{1, 2, 2, 1}, Case{10, 2, 11, 1}}) {
        state.Roster[1].Level = int16_t(c.level);
        state.Roster[1].Mode = int16_t(c.mode);
        state.SelectPupil(1);
        state.LevelPoints = 35;
        setSession(true, c.level, c.mode, firstKanjiOfLevel(c.level), 10);
        state.RecordSessionResult(true);
        EXPECT_TRUE(state.LevelRaised);
        EXPECT_EQ(state.LevelPoints, 0);
        EXPECT_EQ(state.Roster[1].Level, c.nextLevel);
        EXPECT_EQ(state.Roster[1].Mode, c.nextMode);
        // The session itself keeps its level and mode until the mode menu reloads them.
        EXPECT_EQ(state.CurrentLevel, c.level);
    }
}

TEST_F(Progress, BadSessionValuesStopBeforeTheHistoryIsWritten)
{
    state.SelectPupil(1);
    setSession(true, 1, 1, 241, 10);
    state.QuizSet[10].KanjiNo = 442;
    EXPECT_THROW(state.RecordSessionResult(true), RangeError);
    state.QuizSet[10].KanjiNo = 250;
    state.StudyMode = 3;
    EXPECT_THROW(state.RecordSessionResult(true), RangeError);
    state.StudyMode = 1;
    state.PlayerNo = 11;
    EXPECT_THROW(state.RecordSessionResult(true), RangeError);
    EXPECT_FALSE(QFile::exists(history(1)));
    EXPECT_EQ(state.KanjiProgress[241][1].Asked, 0);
}

TEST_F(Progress, RebuildTakesTheStepOfTheTrailingRun)
{
    // Pupil 1: level 1 reading reached 40 counted points, then two level-1 writing sessions;
    // practice in between is ignored.
    writeFile(history(1), Bytes()
                              .raw(historyRun(1, 1, 1, 241, 10, true))
                              .raw(historyRun(1, 1, 1, 251, 10, true))
                              .raw(historyRun(1, 1, 1, 241, 10, true))
                              .raw(historyRun(1, 1, 1, 251, 10, true))
                              .raw(historyRun(1, 1, 2, 241, 9, true))
                              .raw(historyRun(2, 5, 1, 321, 10, true))
                              .raw(historyRun(1, 1, 2, 251, 8, true)));
    // Pupil 2: reached 40 in the trailing run, so they are one step on.
    writeFile(history(2), Bytes()
                              .raw(historyRun(1, 3, 2, 281, 10, true))
                              .raw(historyRun(1, 3, 2, 291, 10, true))
                              .raw(historyRun(1, 3, 2, 281, 10, true))
                              .raw(historyRun(1, 3, 2, 291, 10, true)));
    state.RebuildLevelsFromHistory();
    EXPECT_EQ(state.Roster[1].Level, 1);
    EXPECT_EQ(state.Roster[1].Mode, 2);
    EXPECT_EQ(state.Roster[2].Level, 4);
    EXPECT_EQ(state.Roster[2].Mode, 1);

    state.SelectPupil(1);
    EXPECT_EQ(state.CurrentLevel, 1);
    EXPECT_EQ(state.StudyMode, 2);
    EXPECT_EQ(state.LevelPoints, 17);
    EXPECT_EQ(state.KanjiProgress[241][1].Correct, 2);
    EXPECT_EQ(state.KanjiProgress[241][2].Asked, 1);
    EXPECT_EQ(state.KanjiProgress[321][1].Asked, 0) << "practice never counts";
    state.SelectPupil(2);
    EXPECT_EQ(state.LevelPoints, 0);
}

TEST_F(Progress, UncountedChallengesNeverMoveAPupilOnAtRestart)
{
    // Four failed sessions of 6 correct and one of 9: 33 correct answers, only 9 counted.
    writeFile(history(1), Bytes()
                              .raw(historyRun(1, 2, 1, 261, 6, false))
                              .raw(historyRun(1, 2, 1, 271, 6, false))
                              .raw(historyRun(1, 2, 1, 261, 6, false))
                              .raw(historyRun(1, 2, 1, 271, 6, false))
                              .raw(historyRun(1, 2, 1, 261, 9, true)));
    state.RebuildLevelsFromHistory();
    EXPECT_EQ(state.Roster[1].Level, 2);
    EXPECT_EQ(state.Roster[1].Mode, 1);
    state.SelectPupil(1);
    EXPECT_EQ(state.LevelPoints, 9);
    // They still count as asked and answered.
    EXPECT_EQ(state.KanjiProgress[261][1].Asked, 3);
    EXPECT_EQ(state.KanjiProgress[261][1].Correct, 3);
    EXPECT_TRUE(state.KanjiProgress[261][1].Passed);
}

TEST_F(Progress, APupilWithoutHistoryStartsAtTheBeginning)
{
    state.Roster[1].Level = 7;
    state.Roster[1].Mode = 2;
    state.RebuildLevelsFromHistory();
    EXPECT_EQ(state.Roster[1].Level, 1);
    EXPECT_EQ(state.Roster[1].Mode, 1);
    state.RedoRound = true;
    state.SelectPupil(1);
    EXPECT_EQ(state.PlayerNo, 1);
    EXPECT_EQ(state.LevelPoints, 0);
    EXPECT_FALSE(state.RedoRound);
    for (int k = FirstKanjiNo; k <= LastKanjiSlot; ++k)
        EXPECT_EQ(state.KanjiProgress[k][1], KanjiProgressEntry{});
}

TEST_F(Progress, InvalidHistoryRecordsStopTheRebuild)
{
    const QByteArray good = historyRun(1, 1, 1, 241, 10, true);
    const QByteArray bad[] = {
        historyBytes(1, 1, 1, 0, {241, 242, 243, 244, 245, 246, 247, 248, 249, 240}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, true),
        historyBytes(1, 1, 1, 0, {442, 242, 243, 244, 245, 246, 247, 248, 249, 250}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, true),
        historyRun(1, 1, 3, 241, 10, true),
        historyRun(2, 1, 0, 241, 10, true),
        historyRun(1, 11, 1, 241, 10, true),
    };
    for (const QByteArray& b : bad) {
        writeFile(history(1), good + b);
        EXPECT_THROW(state.RebuildLevelsFromHistory(), RangeError);
        try {
            state.SelectPupil(1);
            ADD_FAILURE() << "SelectPupil accepted a bad record";
        } catch (const RangeError& e) {
            EXPECT_EQ(e.fileName(), QStringLiteral("Kiroku1.dat"));
        }
    }
    // Slot 441 is part of the table.
    writeFile(history(1), historyBytes(1, 1, 1, 0, {441, 242, 243, 244, 245, 246, 247, 248, 249, 250},
                                       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, true));
    EXPECT_NO_THROW(state.SelectPupil(1));
}

TEST_F(Progress, AnUnreadableHistoryIsAFileError)
{
    QDir(dir.path()).mkdir(historyFileName(1)); // a folder where the file should be
    EXPECT_FALSE(QFileInfo(history(1)).isFile());
    state.SelectPupil(1); // not a file: treated as absent
    EXPECT_EQ(state.LevelPoints, 0);
    setSession(true, 1, 1, 241, 10);
    try {
        state.RecordSessionResult(true);
        FAIL() << "append into a folder succeeded";
    } catch (const FileError& e) {
        EXPECT_EQ(fileErrorMessage(e.fileName()), QStringLiteral("Kiroku1.datでエラーがおこりました。 "));
    }
}

TEST(ProgressNames, HistoryFilesAreNumberedWithoutPadding)
{
    EXPECT_EQ(historyFileName(1), QStringLiteral("Kiroku1.dat"));
    EXPECT_EQ(historyFileName(10), QStringLiteral("Kiroku10.dat"));
}

// Whatever sessions a pupil records, a restart (rebuild, then selection) must show exactly
// the step, points and per-kanji progress they had before it.
TEST_F(Progress, RestartShowsWhatRecordingShowed)
{
    RandomSource random(20261207);
    state.SelectPupil(1);
    for (int session = 0; session < 400; ++session) {
        const PlayerRecord step = state.Roster[1];
        if (step.Level > MaxLevel)
            break;
        const bool challenge = random.Random(4) != 0;
        const int level = challenge ? step.Level : 1 + random.Random(MaxLevel);
        const int mode = challenge ? step.Mode : 1 + random.Random(2);
        setSession(challenge, level, mode, firstKanjiOfLevel(level) + random.Random(11), 0);
        int correct = 0;
        for (int i = 1; i <= 10; ++i) {
            state.QuizSet[i].Correct = random.Random(10) < 8;
            correct += state.QuizSet[i].Correct ? 1 : 0;
        }
        state.RecordSessionResult(correct >= PassMark);
        if (state.LevelRaised)
            state.SelectPupil(1); // the mode menu reloads the step
        state.CurrentLevel = state.Roster[1].Level;
        state.StudyMode = state.Roster[1].Mode;

        StudyState restarted(dir.path(), clock);
        restarted.PlayerCount = 1;
        restarted.RebuildLevelsFromHistory();
        restarted.SelectPupil(1);
        ASSERT_EQ(restarted.Roster[1].Level, state.Roster[1].Level) << "session " << session;
        ASSERT_EQ(restarted.Roster[1].Mode, state.Roster[1].Mode) << "session " << session;
        ASSERT_EQ(restarted.LevelPoints, state.LevelPoints) << "session " << session;
        ASSERT_TRUE(restarted.KanjiProgress == state.KanjiProgress) << "session " << session;
    }
    EXPECT_GT(state.Roster[1].Level, 3) << "the walk should cover several steps";
}
