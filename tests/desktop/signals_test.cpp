// The system asks the program to end (a logout, a shutdown, a service manager, Ctrl+C in a
// terminal): it ends within two seconds with status 0, as its exit command does, from the main
// menu or from the middle of a challenge with a box open. The roster is written, no record of
// the unfinished session is kept, no file is left half written, and the records' lock is
// given back.

#include "clock.h"
#include "desktop.h"
#include "studystate.h"
#include "testprogram.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

using namespace moji;
using namespace testing_support;

namespace {

const QString Pupil = QStringLiteral("たろう");

struct Ending {
    const char* where;
    int signal;
    const char* ready;
};

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST(SystemSignals, EndTheProgramAsItsExitCommandDoes)
{
    const Ending endings[] = {
        {"menu", SIGTERM, "ready"},
        {"menu", SIGINT, "ready"},
        {"menu", SIGHUP, "ready"},
        {"challenge", SIGTERM, "ready"},
        {"tenth-question", SIGTERM, "ready １０もんおわりました。さいてんしてよいですか？"},
    };
    for (const Ending& e : endings) {
        SCOPED_TRACE(std::string(e.where) + " signal " + std::to_string(e.signal));
        QTemporaryDir dir;
        const QString folder = makeProgramFolder(dir.path());
        {
            ManualClock clock(46364.5);
            StudyState state(folder, clock);
            state.RegisterPupil(SjisString<10>::fromUnicode(Pupil));
        }
        QProcess program;
        startDriver(program, dir.path(), folder, QString::fromLatin1(e.where));
        QString said;
        QDeadlineTimer deadline(30000);
        while (!program.canReadLine() && !deadline.hasExpired() && program.state() == QProcess::Running)
            program.waitForReadyRead(100);
        said = QString::fromUtf8(program.readLine()).trimmed();
        ASSERT_EQ(said, QString::fromUtf8(e.ready));

        // The roster is taken away, so that only the program's own ending can bring it back.
        QStringList before = filesIn(folder);
        // The running copy holds its records; it gives them back as it ends.
        ASSERT_TRUE(before.removeOne(QStringLiteral("Mojimaru.lock")));
        ASSERT_TRUE(QFile::remove(QDir(folder).filePath(QStringLiteral("Player1.dat"))));
        QElapsedTimer ending;
        ending.start();
        ::kill(pid_t(program.processId()), e.signal);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_LT(ending.elapsed(), 2000);
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);

        EXPECT_EQ(filesIn(folder).join(u' ').toStdString(), before.join(u' ').toStdString())
            << "nothing more, nothing less: no history, no half-written file";
        ManualClock clock(46364.6);
        StudyState after(folder, clock);
        EXPECT_EQ(after.ReadRoster().playerCount, 1);
        EXPECT_EQ(after.Roster[1].Name.toUnicode().toStdString(), Pupil.toStdString());
        EXPECT_TRUE(after.ReadHistory(1).empty());
    }
}
