// The program started as a family starts it, as its own process on the tests' desktop.
// Started again while it runs, minimised or not, it comes to the front and the second start
// ends with status 0. Asked to end by the system while a start-up box is open (a damaged
// journal, the records in use on another computer), it ends at once, changing nothing.

#include "desktop.h"
#include "testprogram.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>

using namespace testing_support;

namespace {

class RealProgram : public ::testing::Test {
protected:
    RealProgram() : folder(makeProgramFolder(dir.path())) {}

    void launch(QProcess& program) const { startDriver(program, dir.path(), folder, QStringLiteral("menu")); }

    static bool saidReady(QProcess& program)
    {
        QDeadlineTimer deadline(30000);
        while (!program.canReadLine() && !deadline.hasExpired() && program.state() == QProcess::Running)
            program.waitForReadyRead(100);
        return program.readLine().trimmed() == "ready";
    }

    // The X windows of a process that the window manager manages. A window that goes while
    // wmctrl reads the list fails it: the list is read again at the next poll.
    static QStringList windowsOf(const QProcess& program)
    {
        QProcess wmctrl;
        wmctrl.start(QStringLiteral("wmctrl"), {QStringLiteral("-lp")});
        if (!wmctrl.waitForFinished(5000) || wmctrl.exitCode() != 0)
            return {};
        QStringList ids;
        for (const QString& line : QString::fromLocal8Bit(wmctrl.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.simplified().split(u' ');
            if (fields.size() > 2 && fields[2].toLongLong() == program.processId())
                ids << fields[0];
        }
        return ids;
    }

    // Whether one of those windows is a dialog: a box is open.
    static bool showsABox(const QProcess& program)
    {
        const QStringList windows = windowsOf(program);
        return std::any_of(windows.begin(), windows.end(), [](const QString& id) {
            return desktopTool(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_WINDOW_TYPE")})
                .contains(QLatin1String("_NET_WM_WINDOW_TYPE_DIALOG"));
        });
    }

    QTemporaryDir dir;
    QString folder;
};

QString activeWindow()
{
    const QString id = desktopTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed();
    return QStringLiteral("0x%1").arg(id.toULongLong(), 8, 16, QLatin1Char('0'));
}

} // namespace

TEST_F(RealProgram, StartedAgainItComesToTheFront)
{
    QProcess first;
    launch(first);
    ASSERT_TRUE(saidReady(first));
    ASSERT_TRUE(waitFor([&] { return windowsOf(first).size() == 1; }));
    const QString window = windowsOf(first).front();

    for (const bool minimised : {true, false}) {
        SCOPED_TRACE(minimised ? "minimised" : "behind another window");
        if (minimised) {
            desktopTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), QStringLiteral("--sync"), window});
            ASSERT_TRUE(waitFor([&] { return managedState(window.toULongLong(nullptr, 16)) == QLatin1String("Iconic"); }));
        }
        QProcess second;
        launch(second);
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_TRUE(waitFor([&] { return managedState(window.toULongLong(nullptr, 16)) == QLatin1String("Normal"); }))
            << "restored";
        EXPECT_TRUE(waitFor([&] { return activeWindow() == window; })) << "given the focus";
        EXPECT_EQ(first.state(), QProcess::Running);
    }
    first.terminate();
    EXPECT_TRUE(first.waitForFinished(5000));
}

TEST_F(RealProgram, ASignalEndsItWhileAStartUpBoxIsOpen)
{
    struct Case {
        const char* what;
        const char* file;
        QByteArray content;
    };
    const Case cases[] = {
        {"a damaged journal", "Player1.jnl", QByteArray("not a journal of this roster")},
        {"the records in use on another computer", "Mojimaru.lock",
         QByteArray("4242\nmojimaru\n") + QSysInfo::machineHostName().toLatin1() + "-other\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = QDir(folder).filePath(QLatin1String(c.file));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        const QStringList before = QDir(folder).entryList(QDir::Files, QDir::Name);

        QProcess program;
        launch(program);
        // The box is open over the loading notice: the main menu never came.
        ASSERT_TRUE(waitFor([&] { return showsABox(program); }, 20000));
        QElapsedTimer ending;
        ending.start();
        ::kill(pid_t(program.processId()), SIGTERM);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_LT(ending.elapsed(), 2000);
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), before) << "nothing written";
        QFile kept(path);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), c.content) << "the file is left as it was";
        QFile::remove(path);
    }
}
