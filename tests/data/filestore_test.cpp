// History appends survive a torn last record.

#include "clock.h"
#include "filestore.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace moji;
using namespace testing_support;

TEST(FileStore, AnAppendCutsATornLastRecordFirst)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kiroku3.dat"));
    const QByteArray first = historyRun(1, 1, 1, 241, 7, true);
    const QByteArray second = historyRun(1, 1, 1, 251, 9, true);
    // A crash in the middle of an append left 20 bytes of a third record.
    writeFile(path, first + second + second.left(20));

    ManualClock clock(46000);
    StudyState state(dir.path(), clock);
    state.PlayerCount = 3;
    for (int p = 1; p <= 3; ++p) {
        state.Roster[p].Level = 1;
        state.Roster[p].Mode = 1;
    }

    // Readers use only whole records in the meantime.
    state.SelectPupil(3);
    EXPECT_EQ(state.LevelPoints, 16);

    state.SessionKind = true;
    state.CurrentLevel = 1;
    state.StudyMode = 1;
    for (int i = 1; i <= 10; ++i) {
        state.QuizSet[i].KanjiNo = int16_t(260 - i);
        state.QuizSet[i].Correct = true;
    }
    state.RecordSessionResult(true);

    const QByteArray after = readFile(path);
    ASSERT_EQ(after.size(), 3 * 52);
    EXPECT_EQ(after.left(104), first + second);
    EXPECT_EQ(HistoryRecord::decode(QByteArrayView(after).sliced(104)).KanjiNo[0], 259);

    StudyState restarted(dir.path(), clock);
    restarted.PlayerCount = 3;
    restarted.RebuildLevelsFromHistory();
    restarted.SelectPupil(3);
    EXPECT_EQ(restarted.LevelPoints, 26);
}

TEST(FileStore, RecordsAreReadOnlyWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.dat"));
    writeFile(path, hex("0100 0000 0700 0c00 0200 00"));
    const auto records = filestore::readRecords<RadicalRecord>(path, QStringLiteral("x.dat"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Picture, 12);

    EXPECT_EQ(filestore::readRecordAt<RadicalRecord>(path, QStringLiteral("x.dat"), 0).Number, 7);
    EXPECT_THROW(filestore::readRecordAt<RadicalRecord>(path, QStringLiteral("x.dat"), 1), FileError);
    EXPECT_THROW(filestore::readRecordAt<RadicalRecord>(path, QStringLiteral("x.dat"), -1), FileError);
}
