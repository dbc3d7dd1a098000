// Player1.dat: reading, rewriting, and surviving a crash in the middle of a rewrite.

#include "clock.h"
#include "errors.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QSaveFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace moji;
using namespace testing_support;

namespace {

QByteArray player(int level, int mode, const QByteArray& name)
{
    Bytes b;
    b.i16(0).i16(level).i16(0).i16(0).i16(0).i16(0).i16(0).i16(mode).u8(int(name.size())).raw(name);
    b.zeros(int(PlayerRecord::Size - b.data().size()));
    return b;
}

class Roster : public ::testing::Test {
protected:
    Roster() : state(dir.path(), clock) {}
    QString rosterPath() const { return dir.filePath(QStringLiteral("Player1.dat")); }

    QTemporaryDir dir;
    ManualClock clock;
    StudyState state;
};

} // namespace

TEST_F(Roster, MissingFileMeansNoPupilsAndExitWritesAnEmptyFile)
{
    const RosterSummary s = state.ReadRoster();
    EXPECT_EQ(s.playerCount, 0);
    EXPECT_EQ(s.highestLevel, 1);
    EXPECT_EQ(state.PlayerCount, 0);
    state.WriteRoster();
    EXPECT_TRUE(QFile::exists(rosterPath()));
    EXPECT_EQ(QFileInfo(rosterPath()).size(), 0);
}

TEST_F(Roster, ReadsAndRewritesRecordsInOrder)
{
    const QByteArray file = player(3, 2, hex("82bd 82eb 82a4")) + player(5, 1, hex("82cd 82c8"));
    writeFile(rosterPath(), file);
    const RosterSummary s = state.ReadRoster();
    EXPECT_EQ(s.playerCount, 2);
    EXPECT_EQ(s.highestLevel, 5);
    EXPECT_EQ(state.Roster[1].Name.toUnicode(), QStringLiteral("たろう"));
    EXPECT_EQ(state.Roster[2].Level, 5);

    // A pupil registered in this run is written after the others.
    state.PlayerCount = 3;
    state.Roster[3].Level = 1;
    state.Roster[3].Mode = 1;
    state.Roster[3].Name = SjisString<10>::fromUnicode(QStringLiteral("ゆうき"));
    state.WriteRoster();
    EXPECT_EQ(readFile(rosterPath()), file + player(1, 1, hex("82e4 82a4 82ab")));
}

TEST_F(Roster, InvalidRostersAreRejected)
{
    Bytes eleven;
    for (int i = 0; i < 11; ++i)
        eleven.raw(player(1, 1, hex("82a0")));
    const QByteArray bad[] = {eleven, player(0, 1, {}), player(12, 1, {}), player(1, 3, {}), player(1, 0, {})};
    for (const QByteArray& b : bad) {
        writeFile(rosterPath(), b);
        try {
            state.ReadRoster();
            ADD_FAILURE() << "accepted " << b.toHex().constData();
        } catch (const RangeError& e) {
            EXPECT_EQ(e.fileName(), QStringLiteral("Player1.dat"));
        }
    }
    writeFile(rosterPath(), player(11, 1, hex("82a0")));
    EXPECT_EQ(state.ReadRoster().highestLevel, 11) << "level 11 is a finished pupil";
}

// A process killed after writing the temporary file but before renaming it leaves the old
// roster whole, and the next rewrite still works.
TEST_F(Roster, ACrashBeforeTheRenameKeepsTheOldRoster)
{
    const QByteArray old = player(4, 2, hex("82bd 82eb 82a4"));
    writeFile(rosterPath(), old);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QSaveFile pending(rosterPath());
        if (pending.open(QIODevice::WriteOnly)) {
            pending.write(player(9, 9, hex("82a0")).repeated(10));
            pending.flush();
        }
        raise(SIGKILL);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(readFile(rosterPath()), old);
    EXPECT_EQ(state.ReadRoster().playerCount, 1);
    state.Roster[1].Level = 5;
    state.WriteRoster();
    EXPECT_EQ(state.ReadRoster().highestLevel, 5);
}

TEST_F(Roster, AFailedWriteIsReportedNotClaimed)
{
    QDir(dir.path()).mkdir(QStringLiteral("Player1.dat")); // a folder in the file's place
    try {
        state.WriteRoster();
        FAIL() << "writing over a folder succeeded";
    } catch (const FileError& e) {
        EXPECT_EQ(fileErrorMessage(e.fileName()), QStringLiteral("Player1.datでエラーがおこりました。 "));
    }
}

// A pupil is on disk as soon as they are registered: a program that ends any other way than
// by its exit command keeps them, and their history stays theirs.
TEST_F(Roster, RegisteringWritesTheRosterAtOnce)
{
    writeFile(rosterPath(), player(3, 2, hex("82bd 82eb 82a4")));
    state.ReadRoster();
    EXPECT_EQ(state.RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("ゃ"))), 2);
    EXPECT_EQ(state.PlayerCount, 2);
    EXPECT_EQ(readFile(rosterPath()), player(3, 2, hex("82bd 82eb 82a4")) + player(1, 1, hex("82e1")));

    StudyState restarted(dir.path(), clock);
    EXPECT_EQ(restarted.ReadRoster().playerCount, 2);
    EXPECT_EQ(restarted.Roster[2].Name.toUnicode(), QStringLiteral("ゃ"));

    for (int i = 3; i <= 10; ++i)
        state.RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("あ")));
    EXPECT_THROW(state.RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("い"))), RangeError);
    EXPECT_EQ(state.PlayerCount, 10);
    EXPECT_EQ(QFileInfo(rosterPath()).size(), 10 * PlayerRecord::Size);
}
