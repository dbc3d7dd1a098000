// Start-up time, from process start to the main menu's first paint, with the real data files,
// and the peak memory with the main menu shown. Run under an X server (make bench uses
// xvfb-run at 1920 x 1080): each run is a fresh process, the first few warm the disk cache.

#include "programrun.h"
#include "tf_main.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

// Milliseconds since this process started, from the kernel's record of its start.
double millisecondsSinceStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

long peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// The menu tune played by the benchmark itself when the menu has no heard sound card.
std::unique_ptr<moji::MediaPlayer> g_standIn;

int child(int argc, char** argv, const QString& folder)
{
    moji::RunHooks hooks;
    hooks.programFolder = folder;
    hooks.firstPaint = [folder](moji::TF_Main& menu) {
        std::printf("first-paint-ms %.1f\n", millisecondsSinceStart());
        // The menu starts its music just after the first paint where a sound card is heard.
        // Without one (a build machine) the same tune is played through the same audio code
        // onto SDL's disk driver, so that the synthesiser and its soundfont are in memory.
        QTimer::singleShot(300, &menu, [&menu, folder] {
            if (menu.musicPlaying()) {
                std::printf("music menu\n");
                return;
            }
            g_standIn = menu.program().audio.createPlayer();
            const bool playing = g_standIn->open(folder + QStringLiteral("/Menu.mid")) && g_standIn->play();
            std::printf("music %s\n", playing ? "stand-in" : "none");
        });
        // Let the menu run a while (animation, music).
        QTimer::singleShot(2000, [] {
            std::printf("peak-rss-kb %ld\n", peakResidentKilobytes());
            std::fflush(stdout);
            g_standIn.reset(); // before the audio it plays through goes
            QApplication::exit(0);
        });
    };
    return moji::runProgram(argc, argv, hooks);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child")
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));

    const QString folder = QStringLiteral(MOJIMARU_PROGRAM_DIR);
    const QString self = QString::fromLocal8Bit(argv[0]);
    std::vector<double> times;
    std::vector<double> memory;
    QString music = QStringLiteral("none");
    for (int run = 0; run < 12; ++run) {
        // An X server answers a new client slowly for a moment after another has left (Xvfb
        // by some 40 ms); a pupil never starts the program that soon after a window closed.
        QThread::msleep(300);
        QProcess process;
        if (!QFile::exists(QStringLiteral("/dev/snd")) && qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
            env.insert(QStringLiteral("SDL_DISKAUDIOFILE"), QStringLiteral("/dev/null"));
            process.setProcessEnvironment(env);
        }
        process.start(self, {QStringLiteral("--child"), folder});
        if (!process.waitForFinished(30000)) {
            std::fprintf(stderr, "start-up run %d did not finish\n", run);
            return 1;
        }
        for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
            if (line.startsWith("first-paint-ms ") && run >= 2)
                times.push_back(line.mid(15).toDouble());
            if (line.startsWith("music ") && run >= 2)
                music = QString::fromLatin1(line.mid(6));
            if (line.startsWith("peak-rss-kb ") && run >= 2)
                memory.push_back(line.mid(12).toDouble() / 1024.0);
        }
    }
    if (times.empty()) {
        std::fprintf(stderr, "no start-up reached its first paint (is there an X server?)\n");
        return 1;
    }
    std::printf("start-up to first paint: median %.1f ms over %zu warm runs (target under 120 ms)\n", median(times), times.size());
    std::printf("peak resident memory with the main menu (music: %s): median %.1f MB (target under 80 MB)\n",
                qPrintable(music), median(memory));
    return 0;
}
