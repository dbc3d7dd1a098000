#include "singleinstance.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

using namespace moji;

// A second copy is refused while the first runs; once the first is gone (even killed), a new
// copy starts.
TEST(SingleInstance, OnlyOneCopyRuns)
{
    QTemporaryDir dir;
    {
        SingleInstance first(QStringLiteral("Moji_Maru3"), dir.path());
        ASSERT_TRUE(first.acquire());

        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SingleInstance second(QStringLiteral("Moji_Maru3"), dir.path());
            _exit(second.acquire() ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the second copy got the lock";
    }
    // A copy that died without releasing leaves a stale lock that is recovered.
    const pid_t crashed = fork();
    ASSERT_GE(crashed, 0);
    if (crashed == 0) {
        auto* lock = new SingleInstance(QStringLiteral("Moji_Maru3"), dir.path());
        _exit(lock->acquire() ? 0 : 1); // never released
    }
    int status = 0;
    waitpid(crashed, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    SingleInstance next(QStringLiteral("Moji_Maru3"), dir.path());
    EXPECT_TRUE(next.acquire());
}
