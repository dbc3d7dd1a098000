// The random player: the real program, started and ended as a family does, played by a
// restless child on a desktop of its own (a virtual X server at 1024 x 768 and Openbox) for
// MOJIMARU_PLAYER_SECONDS (120 by default) from the seed MOJIMARU_PLAYER_SEED. When the child
// ends the program it is started again. It fails, printing the seed, the last actions and a
// screenshot, when a check fails, when the program stops answering for two seconds, or when
// its memory grows after the first hundred actions; otherwise it prints what it did.

#include "clock.h"
#include "desktop.h"
#include "programrun.h"
#include "randomplayer.h"
#include "studystate.h"
#include "testprogram.h"
#include "textcodec.h"

#include <QDateTime>
#include <QDir>
#include <QPointer>
#include <QProcess>

#include <chrono>
#include <cstdio>
#include <thread>

#include <csignal>
#include <unistd.h>

using namespace moji;
using namespace testing_support;

namespace {

constexpr qint64 AnswerWithinMs = 2000;
constexpr qint64 MemoryGrowthAllowed = 40 * 1024 * 1024;
const QString OtherProgram = QStringLiteral("ほかのプログラム");

quint32 setting(const char* name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// Reports a program that stops answering: its event loop no longer beats.
void watch(PlayLog& log, const QString& shot, const std::atomic<bool>& done)
{
    while (!done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (!log.watching || QDateTime::currentMSecsSinceEpoch() - log.heartbeat <= AnswerWithinMs)
            continue;
        const QByteArray command = "import -window root " + shot.toLocal8Bit();
        [[maybe_unused]] const int status = std::system(command.constData());
        std::fprintf(stderr, "\nThe program stopped answering for two seconds after %d actions (seed %u).\nThe last actions:\n  %s\nScreenshot: %s\n",
                     log.actions, log.seed, qPrintable(log.lastActions().join(QStringLiteral("\n  "))), qPrintable(shot));
        std::fflush(stderr);
        _exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    PlayLog log(setting("MOJIMARU_PLAYER_SEED", 20261208));
    const qint64 seconds = setting("MOJIMARU_PLAYER_SECONDS", 120);
    Desktop desktop(QSize(1024, 768));
    if (!desktop.start())
        return 1;

    // A family's computer of its own: settings, records and runtime folders, and two pupils.
    const QDir base(QStringLiteral(MOJIMARU_PLAYER_DIR));
    QDir(base.path()).removeRecursively();
    base.mkpath(QStringLiteral("run"));
    QFile::setPermissions(base.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", base.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", base.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", base.filePath(QStringLiteral("run")).toLocal8Bit());
    qputenv("SDL_AUDIODRIVER", "dummy");
    qputenv("QT_QPA_PLATFORM", "xcb");
    const QString folder = makeProgramFolder(base.path());
    {
        ManualClock clock(46364.5);
        StudyState state(folder, clock);
        for (const char* name : {"たろう", "はなこ"})
            state.RegisterPupil(SjisString<10>::fromUnicode(QString::fromUtf8(name)));
    }
    qint64 other = 0;
    QProcess::startDetached(QStringLiteral(MOJIMARU_BARE_LABEL), {OtherProgram}, QString(), &other);

    std::atomic<bool> done{false};
    std::thread watchdog(watch, std::ref(log), base.filePath(QStringLiteral("random-player-hang.png")), std::cref(done));
    const qint64 endAt = QDateTime::currentMSecsSinceEpoch() + seconds * 1000;
    QString failure;
    while (failure.isEmpty() && QDateTime::currentMSecsSinceEpoch() < endAt) {
        ++log.starts;
        QPointer<RandomPlayer> player;
        RunHooks hooks;
        hooks.programFolder = folder;
        hooks.firstPaint = [&](TF_Main& menu) {
            player = new RandomPlayer(log, folder, OtherProgram, endAt);
            player->setParent(&menu);
            player->start();
        };
        std::vector<char*> args(argv, argv + argc);
        int count = argc;
        const int status = runProgram(count, args.data(), hooks);
        log.watching = false;
        if (!log.failure.isEmpty())
            failure = log.failure;
        else if (status != 0)
            failure = QStringLiteral("the program ended with status %1").arg(status);
    }
    done = true;
    watchdog.join();
    if (other > 0)
        ::kill(pid_t(other), SIGTERM);

    QStringList screens(log.screensReached.begin(), log.screensReached.end());
    screens.sort();
    QStringList boxes(log.boxesSeen.begin(), log.boxesSeen.end());
    boxes.sort();
    std::printf("Random player, seed %u, %lld s: %d actions over %d starts of the program\n", log.seed, seconds, log.actions, log.starts);
    std::printf("Screens reached (%lld): %s\n", qsizetype(screens.size()), qPrintable(screens.join(QStringLiteral(", "))));
    std::printf("Boxes and dialogs met (%lld):\n  %s\n", qsizetype(boxes.size()), qPrintable(boxes.join(QStringLiteral("\n  "))));
    std::printf("History records kept: %lld\n", log.historyRecords);
    std::printf("Resident memory after %d actions: %.1f MB; highest after that: %.1f MB\n", 100,
                double(log.memoryAfterWarmUp) / 1048576.0, double(log.memoryHighest) / 1048576.0);
    QStringList samples;
    for (const auto& [actions, bytes] : log.memorySamples)
        samples << QStringLiteral("%1: %2").arg(actions).arg(double(bytes) / 1048576.0, 0, 'f', 1);
    std::printf("Resident memory (MB) by actions: %s\n", qPrintable(samples.join(QStringLiteral(", "))));
    QStringList starts;
    for (const qint64 bytes : log.memoryAtStarts)
        starts << QString::number(double(bytes) / 1048576.0, 'f', 1);
    std::printf("Resident memory (MB) as each start's menu came up: %s\n", qPrintable(starts.join(QStringLiteral(", "))));
    if (failure.isEmpty() && log.memoryAfterWarmUp > 0 && log.memoryHighest - log.memoryAfterWarmUp > MemoryGrowthAllowed)
        failure = QStringLiteral("resident memory grew by %1 MB after the first hundred actions")
                      .arg(double(log.memoryHighest - log.memoryAfterWarmUp) / 1048576.0, 0, 'f', 1);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "FAILED (seed %u): %s\n", log.seed, qPrintable(failure));
        return 1;
    }
    return 0;
}
