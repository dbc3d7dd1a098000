// Start-up against a bare Qt window. The real program (its whole start-up, as main() runs it)
// and the bare label program (in a small window, and full screen as the program is) are started
// in turn, interleaved, on the same X screen (make
// bench: Xvfb at 1920 x 1080), so that a busy moment of a shared machine falls on both alike.
// The program runs on a demonstration folder (four pupils, weeks of history), with its menu
// music playing through SDL's dummy output. Each reports when its window's first frame was
// painted and handed to the X server, and its peak resident memory two seconds later.
//
// Printed: the medians of both and their ratios; the program's start-up step by step (from its
// trace, mojimaru.startup); and the first opening of registration, a question session, its
// first question and the handwriting pad, from the click to the first frame.

#include "demofolder.h"
#include "toplevel.h"
#include "errors.h"
#include "firstpaint.h"
#include "clickablelabel.h"
#include "handwritingpanel.h"
#include "picturebutton.h"
#include "daynumber.h"
#include "programrun.h"
#include "tf_main.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using namespace moji;

namespace {

constexpr int WarmRuns = 2;
constexpr int MeasuredRuns = 10;
constexpr int ScreenRuns = 6;
// How long each program runs on after its first frame before its peak memory is read: the
// menu's music has started and played a while.
constexpr int SettleMilliseconds = 2000;
constexpr double Aim = 1.5;
constexpr double ClickAimMs = 100;

// The program's screens, as a child walks them in the "screens" run.
const char* const OpenedScreens[] = {"registration", "question session", "first question", "handwriting pad"};

void settle(int ms)
{
    QDeadlineTimer until(ms);
    while (!until.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
}

// Clicks `target` as a pupil does and waits for the first frame of a widget of `paintedClass`
// painted after it; the milliseconds between, or -1.
double clickToPaint(QWidget* target, const char* paintedClass)
{
    if (!target)
        return -1;
    auto painted = std::make_shared<qint64>(0);
    benchprobe::FirstPaintWatch watch(qApp, paintedClass, [painted] { *painted = benchprobe::steadyNanoseconds(); });
    const qint64 clicked = benchprobe::steadyNanoseconds();
    QTest::mouseClick(target, Qt::LeftButton);
    QDeadlineTimer deadline(10000);
    while (*painted == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return *painted ? double(*painted - clicked) / 1e6 : -1;
}

void printOpened(const char* screen, double ms)
{
    std::printf("opened %s|%.2f\n", screen, ms);
    std::fflush(stdout);
}

// From the main menu: registration and back, then the first pupil's writing challenge, its first
// question and the pad. 0 when every screen opened.
int walkScreens(TF_Main& menu)
{
    const double registration = clickToPaint(menu.command(7), "moji::TF_Touroku");
    printOpened(OpenedScreens[0], registration);
    auto* entry = topLevel<TF_Touroku>();
    if (!entry)
        return 1;
    entry->headerCommand(4);
    settle(300);
    menu.commandClick(5);
    settle(300);
    auto* selection = topLevel<TF_Player>();
    if (!selection)
        return 1;
    selection->Lbl_PlayerClick(1);
    settle(300);
    auto* mode = topLevel<TF_Mode>();
    if (!mode)
        return 1;
    printOpened(OpenedScreens[1], clickToPaint(mode->commandLabel(3), "moji::TF_Shutsudai"));
    auto* session = topLevel<TF_Shutsudai>();
    if (!session)
        return 1;
    settle(300);
    printOpened(OpenedScreens[2], clickToPaint(session->findChild<QPushButton*>(QStringLiteral("Btn_Next")), "QWidget"));
    settle(300);
    HandwritingPanel* pad = session->handwriting();
    printOpened(OpenedScreens[3], clickToPaint(pad ? pad->openButton() : nullptr, "moji::WritingSquare"));
    return 0;
}

int child(int argc, char** argv, const QString& folder, const QByteArray& run)
{
    RunHooks hooks;
    hooks.programFolder = folder;
    hooks.musicOnSilentOutputs = true;
    if (run == "screens") {
        hooks.firstPaint = [](TF_Main& menu) {
            QTimer::singleShot(1000, &menu, [&menu] { QApplication::exit(walkScreens(menu)); });
        };
    } else {
        hooks.firstPaint = [](TF_Main& menu) {
            // Posted before the menu's own work after its first paint: the frame is out then.
            QTimer::singleShot(0, &menu, [&menu] {
                benchprobe::printPainted();
                QTimer::singleShot(SettleMilliseconds, &menu, [&menu] {
                    std::printf("music %s\n", menu.musicPlaying() ? "yes" : "no");
                    benchprobe::printPeakMemory();
                    QApplication::exit(0);
                });
            });
        };
    }
    return runProgram(argc, argv, hooks);
}

struct Sample {
    double paintMs = -1;
    double peakMb = -1;
    bool music = false;
    std::map<QString, double> steps; // start-up step → milliseconds since the launch
    std::map<QString, double> opened; // screen → milliseconds from the click
};

Sample runOnce(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
{
    // An X server answers a new client slowly for a moment after another has left (Xvfb by
    // some 40 ms); a pupil never starts the program that soon after a window closed.
    QThread::msleep(300);
    QProcess process;
    process.setProcessEnvironment(env);
    const qint64 launched = benchprobe::steadyNanoseconds();
    process.start(program, arguments);
    Sample s;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return s;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return s;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("painted-ns "))
            s.paintMs = double(line.mid(11).toLongLong() - launched) / 1e6;
        else if (line.startsWith("peak-rss-kb "))
            s.peakMb = line.mid(12).toDouble() / 1024.0;
        else if (line == "music yes")
            s.music = true;
        else if (line.startsWith("opened ")) {
            const QList<QByteArray> parts = line.mid(7).split('|');
            s.opened[QString::fromUtf8(parts.value(0))] = parts.value(1).toDouble();
        }
    }
    // "mojimaru.startup: <steady ms> <step>"
    const QByteArray prefix = "mojimaru.startup: ";
    for (const QByteArray& line : process.readAllStandardError().split('\n')) {
        if (!line.startsWith(prefix))
            continue;
        const QByteArray rest = line.mid(prefix.size());
        const int space = rest.indexOf(' ');
        const QString step = QString::fromUtf8(rest.mid(space + 1));
        if (!s.steps.count(step))
            s.steps[step] = rest.left(space).toDouble() - double(launched) / 1e6;
    }
    return s;
}

double median(std::vector<double> v)
{
    v.erase(std::remove(v.begin(), v.end(), -1.0), v.end());
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <typename F>
double medianOf(const std::vector<Sample>& samples, F value)
{
    std::vector<double> v;
    for (const Sample& s : samples)
        v.push_back(value(s));
    return median(v);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && QByteArray(argv[1]) == "--child")
        return child(argc, argv, QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]));

    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("program"));
    QDir().mkpath(folder);
    QDir().mkpath(dir.filePath(QStringLiteral("run")));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ManualClock clock(daynumber::fromDateTime(QDateTime::currentDateTime()));
    try {
        prepareDemoFolder(QStringLiteral(MOJIMARU_PROGRAM_DIR), folder, clock);
    } catch (const DataError& e) {
        std::fprintf(stderr, "the demonstration folder: %s\n", e.what());
        return 1;
    }
    // Both programs see the same desktop: their own settings, data and runtime folders, no
    // sound card, and the program's start-up trace on.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("mojimaru.startup=true"));

    const QString self = QCoreApplication::applicationFilePath();
    const QStringList programArguments{QStringLiteral("--child"), folder, QStringLiteral("start")};
    // Three programs in turn, each first in every third round: the program, the bare label in a
    // small window (the floor Qt sets), and the bare label over the whole screen as the program
    // is (the same floor with a full-screen window's frame).
    const QStringList bareArguments{QStringLiteral("--first-paint"), QString::number(SettleMilliseconds)};
    const QStringList fullArguments = bareArguments + QStringList{QStringLiteral("--full-screen")};
    const char* const names[] = {"the program", "the bare label", "the full-screen bare label"};
    std::vector<Sample> measured[3];
    for (int round = 0; round < WarmRuns + MeasuredRuns; ++round) {
        for (int k = 0; k < 3; ++k) {
            const int which = (k + round) % 3;
            Sample s = which == 0 ? runOnce(self, programArguments, env)
                                  : runOnce(QStringLiteral(MOJIMARU_BARE_LABEL), which == 1 ? bareArguments : fullArguments, env);
            if (s.paintMs < 0 || s.peakMb < 0) {
                std::fprintf(stderr, "%s did not reach its first paint (is there an X server?)\n", names[which]);
                return 1;
            }
            if (round >= WarmRuns)
                measured[which].push_back(s);
        }
    }
    const std::vector<Sample>& program = measured[0];
    std::vector<Sample> screens;
    for (int run = 0; run < 1 + ScreenRuns; ++run) {
        Sample s = runOnce(self, {QStringLiteral("--child"), folder, QStringLiteral("screens")}, env);
        if (s.opened.size() != std::size(OpenedScreens)) {
            std::fprintf(stderr, "the program's screens did not all open\n");
            return 1;
        }
        if (run > 0)
            screens.push_back(s);
    }

    const auto paint = [](const Sample& s) { return s.paintMs; };
    const auto memory = [](const Sample& s) { return s.peakMb; };
    const double programPaint = medianOf(program, paint);
    const double programMemory = medianOf(program, memory);
    const bool music = std::all_of(program.begin(), program.end(), [](const Sample& s) { return s.music; });
    std::printf("Start-up, medians of %d interleaved runs of each on this X screen:\n", MeasuredRuns);
    std::printf("  %-36s %14s %14s\n", "", "to first paint", "peak memory");
    const char* const rows[] = {music ? "main menu, its music playing" : "main menu (music did not play)", "bare Qt label",
                                "bare Qt label, full screen"};
    for (int which = 0; which < 3; ++which) {
        std::printf("  %-36s %11.1f ms %11.1f MB\n", rows[which], medianOf(measured[which], paint),
                    medianOf(measured[which], memory));
    }
    for (int which = 1; which < 3; ++which) {
        std::printf("  ratio to the %-23s %12.2f x %12.2f x   (aim: at most %.1f x)\n",
                    which == 1 ? "bare label" : "full-screen label", programPaint / medianOf(measured[which], paint),
                    programMemory / medianOf(measured[which], memory), Aim);
    }

    std::printf("Start-up of the program, step by step (median ms since the launch):\n");
    std::vector<std::pair<double, QString>> steps{{programPaint, QStringLiteral("(first frame of the main menu sent)")}};
    for (const auto& [step, ms] : program.front().steps) {
        (void)ms;
        steps.emplace_back(medianOf(program, [&step](const Sample& s) {
            const auto it = s.steps.find(step);
            return it == s.steps.end() ? -1.0 : it->second;
        }), step);
    }
    std::sort(steps.begin(), steps.end());
    double before = 0;
    for (const auto& [ms, step] : steps) {
        std::printf("  %8.1f  %+6.1f  %s\n", ms, ms - before, qPrintable(step));
        before = ms;
    }

    std::printf("First opening, from the click to the first frame (medians of %d runs; aim under %.0f ms):\n",
                ScreenRuns, ClickAimMs);
    for (const char* screen : OpenedScreens) {
        const double ms = medianOf(screens, [screen](const Sample& s) { return s.opened.at(QString::fromUtf8(screen)); });
        std::printf("  %-20s %8.1f ms\n", screen, ms);
    }
    return 0;
}
