#include "singleinstance.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

using namespace moji;
using Outcome = SingleInstance::Outcome;

// A second copy is refused while the first runs; once the first is gone (even killed), a new
// copy starts.
TEST(SingleInstance, OnlyOneCopyRuns)
{
    QTemporaryDir dir;
    {
        SingleInstance first(QStringLiteral("Moji_Maru3"), dir.path());
        ASSERT_EQ(first.acquire(), Outcome::Acquired);

        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SingleInstance second(QStringLiteral("Moji_Maru3"), dir.path());
            _exit(second.acquire() == Outcome::HeldByAnotherCopy ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the second copy did not see the first";
    }
    // A copy that died without releasing leaves a stale lock that is recovered.
    const pid_t crashed = fork();
    ASSERT_GE(crashed, 0);
    if (crashed == 0) {
        auto* lock = new SingleInstance(QStringLiteral("Moji_Maru3"), dir.path());
        _exit(lock->acquire() == Outcome::Acquired ? 0 : 1); // never released
    }
    int status = 0;
    waitpid(crashed, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    SingleInstance next(QStringLiteral("Moji_Maru3"), dir.path());
    EXPECT_EQ(next.acquire(), Outcome::Acquired);
}

// A lock that cannot be made is a failure, not another copy: the folder cannot exist (a file
// stands in its way), or the lock's place holds something that no copy wrote.
TEST(SingleInstance, ALockThatCannotBeMadeIsAFailure)
{
    QTemporaryDir dir;
    testing_support::writeFile(dir.filePath(QStringLiteral("file")), "not a folder");
    SingleInstance noFolder(QStringLiteral("Moji_Maru3"), dir.filePath(QStringLiteral("file/run")));
    EXPECT_EQ(noFolder.acquire(), Outcome::Failed);
    EXPECT_EQ(noFolder.path(), dir.filePath(QStringLiteral("file/run/Moji_Maru3.lock")));

    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("taken/Moji_Maru3.lock")));
    SingleInstance blocked(QStringLiteral("Moji_Maru3"), dir.filePath(QStringLiteral("taken")));
    EXPECT_EQ(blocked.acquire(), Outcome::Failed);
}
