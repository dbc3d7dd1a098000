#include "localchannel.h"
#include "singleinstance.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <future>
#include <sys/stat.h>
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

// The channel a later start speaks through: answered while the event loop runs; a stale socket
// file is replaced; only this user may use it; a caller that sends no line, too long a line or
// goes away is dropped without holding up the next.
TEST(SingleInstance, TheChannelToTheRunningCopyAnswersAndSurvivesBadCallers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("channel.socket"));
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    int asked = 0;
    LocalChannel listener(path);
    QString error;
    ASSERT_TRUE(listener.listen([&](const QByteArray& line) { ++asked; return line == "hello\n" ? QByteArray("ok\n") : QByteArray(); }, &error))
        << error.toStdString();
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // Callers in another thread, as another process would be; this one runs the event loop.
    const auto askFromAnotherThread = [&](const QByteArray& line, int milliseconds) {
        auto answer = std::async(std::launch::async, [&] { return LocalChannel(path).ask(line, milliseconds); });
        while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return answer.get();
    };
    EXPECT_EQ(askFromAnotherThread("hello\n", 2000), QByteArray("ok\n"));
    EXPECT_EQ(askFromAnotherThread(QByteArray(3000, 'x'), 500), QByteArray()) << "too long a line is dropped";
    EXPECT_EQ(askFromAnotherThread("no end of line", 300), QByteArray()) << "no answer without a whole line";
    EXPECT_EQ(askFromAnotherThread("hello\n", 2000), QByteArray("ok\n")) << "and the next caller is answered";
    EXPECT_EQ(asked, 2);

    // Nobody listening: the caller gives up when its time is up.
    EXPECT_EQ(LocalChannel(dir.filePath(QStringLiteral("nobody.socket"))).ask("hello\n", 200), QByteArray());
}
