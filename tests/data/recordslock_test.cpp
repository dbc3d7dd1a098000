// Mojimaru.lock, the mark of the one copy that uses a records folder, with real processes:
//   - a running copy's mark is respected; a dead copy's is replaced in one rename, never
//     written into (another login may own it); copies racing for a dead copy's mark: one wins;
//   - a mark from another computer is left alone unless the parent takes it over, and then
//     only while it is still the one the parent was asked about;
//   - something in the mark's place that is no mark stops the start, naming it.

#include "recordslock.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <utime.h>

using namespace moji;
using namespace testing_support;
using Outcome = RecordsLock::Outcome;

namespace {

class Lock : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("Mojimaru.lock")); }
    ino_t inode() const
    {
        struct stat info {};
        return ::stat(QFile::encodeName(path()).constData(), &info) == 0 ? info.st_ino : 0;
    }
    // A child process that takes the lock and then waits on `release` (a pipe) or dies.
    pid_t holder(int ready[2], int release[2])
    {
        const pid_t child = ::fork();
        if (child == 0) {
            RecordsLock lock(dir.path());
            const char took = lock.acquire() == Outcome::Acquired ? 'y' : 'n';
            (void)!::write(ready[1], &took, 1);
            char c = 0;
            (void)!::read(release[0], &c, 1);
            _exit(0);
        }
        char took = 0;
        EXPECT_EQ(::read(ready[0], &took, 1), 1);
        EXPECT_EQ(took, 'y');
        return child;
    }

    QTemporaryDir dir;
};

// The mark a copy on this computer leaves when it is killed: its own process, then gone.
QByteArray deadMark()
{
    const pid_t child = ::fork();
    if (child == 0)
        _exit(0);
    ::waitpid(child, nullptr, 0);
    return QByteArray::number(child) + "\nmojimaru\n" + QSysInfo::machineHostName().toUtf8() + "\n";
}

} // namespace

TEST_F(Lock, ARunningCopyKeepsItAndADeadCopysMarkIsReplacedNotWritten)
{
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t running = holder(ready, release);
    {
        RecordsLock second(dir.path());
        EXPECT_EQ(second.acquire(), Outcome::HeldHere);
        EXPECT_TRUE(second.holderHost().isEmpty());
    }
    EXPECT_TRUE(QFile::exists(path())) << "a refused copy leaves the holder's mark";
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);

    // Killed, its mark stays. Kept read-only, as another login's file would be for this one,
    // and linked under a second name to see that its bytes are never touched.
    ASSERT_TRUE(QFile::exists(path()));
    ::chmod(QFile::encodeName(path()).constData(), 0444);
    const QString left = dir.filePath(QStringLiteral("left"));
    ASSERT_EQ(::link(QFile::encodeName(path()).constData(), QFile::encodeName(left).constData()), 0);
    const QByteArray leftBytes = readFile(left);
    const ino_t before = inode();
    {
        RecordsLock next(dir.path());
        ASSERT_EQ(next.acquire(), Outcome::Acquired);
        EXPECT_NE(inode(), before) << "a new file took the old one's place";
        EXPECT_EQ(readFile(left), leftBytes) << "the old mark was written into";
        EXPECT_TRUE(readFile(path()).startsWith(QByteArray::number(::getpid()) + '\n'));
    }
    EXPECT_FALSE(QFile::exists(path())) << "given back at the end";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("left")});
    ::close(ready[0]);
    ::close(ready[1]);
    ::close(release[0]);
    ::close(release[1]);
}

// Eight copies start at once over a dead copy's mark: exactly one gets the records.
TEST_F(Lock, CopiesRacingForADeadCopysMarkLetOneIn)
{
    for (int round = 0; round < 5; ++round) {
        writeFile(path(), deadMark());
        int go[2], results[2];
        ASSERT_EQ(::pipe(go), 0);
        ASSERT_EQ(::pipe(results), 0);
        std::vector<pid_t> copies;
        for (int i = 0; i < 8; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(go[1]); // the start is the parent closing its end
                char c = 0;
                (void)!::read(go[0], &c, 1);
                RecordsLock lock(dir.path());
                const char got = lock.acquire() == Outcome::Acquired ? 'y' : 'n';
                (void)!::write(results[1], &got, 1);
                ::pause(); // holding it, until killed
                _exit(0);
            }
            copies.push_back(child);
        }
        ::close(go[0]);
        ::close(go[1]); // every copy starts now
        int winners = 0;
        for (int i = 0; i < 8; ++i) {
            char got = 0;
            ASSERT_EQ(::read(results[0], &got, 1), 1);
            winners += got == 'y' ? 1 : 0;
        }
        EXPECT_EQ(winners, 1) << "round " << round;
        for (const pid_t child : copies) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        ::close(results[0]);
        ::close(results[1]);
    }
}

TEST_F(Lock, AnotherComputersMarkIsTakenOverOnlyAsTheParentSawIt)
{
    const QByteArray foreign = "4242\nmojimaru\nkodomo-pc\n";
    writeFile(path(), foreign);
    {
        RecordsLock lock(dir.path());
        EXPECT_EQ(lock.acquire(), Outcome::HeldElsewhere);
        EXPECT_EQ(lock.holderHost(), QStringLiteral("kodomo-pc"));
    }
    EXPECT_EQ(readFile(path()), foreign) << "asking changes nothing";
    {
        // The other computer's copy wrote a new mark while the parent was reading the box.
        RecordsLock lock(dir.path());
        ASSERT_EQ(lock.acquire(), Outcome::HeldElsewhere);
        const QByteArray renewed = "4343\nmojimaru\nkodomo-pc\n";
        writeFile(path(), renewed);
        EXPECT_EQ(lock.takeOver(), Outcome::HeldElsewhere);
        EXPECT_EQ(readFile(path()), renewed);
    }
    {
        RecordsLock lock(dir.path());
        ASSERT_EQ(lock.acquire(), Outcome::HeldElsewhere);
        ASSERT_EQ(lock.takeOver(), Outcome::Acquired);
        EXPECT_TRUE(readFile(path()).startsWith(QByteArray::number(::getpid()) + '\n'));
    }
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(Lock, WhatIsNoMarkStopsTheStartUnlessItWasLeftLongAgo)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Mojimaru.lock")));
    EXPECT_EQ(RecordsLock(dir.path()).acquire(), Outcome::InTheWay);
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Mojimaru.lock")));

    // Bytes no copy writes: one writing its mark at this moment is waited for, then it is in
    // the way; left by a copy that ended while writing it, long ago, it is replaced.
    writeFile(path(), "not a mark");
    EXPECT_EQ(RecordsLock(dir.path()).acquire(), Outcome::InTheWay);
    const utimbuf longAgo{std::time(nullptr) - 600, std::time(nullptr) - 600};
    ::utime(QFile::encodeName(path()).constData(), &longAgo);
    RecordsLock lock(dir.path());
    EXPECT_EQ(lock.acquire(), Outcome::Acquired);
}
