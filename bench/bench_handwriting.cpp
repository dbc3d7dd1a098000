// Reading a handwritten kanji: one recognition of 20 strokes as a hand writes them (aim: under
// 20 ms, so the candidates follow the pen), with the resident memory the open model adds (aim:
// under 20 MB) and the most it took while opening; and the wait at the first recognition, which
// opens the model. The program opens the model only when a writing question first asks, never
// at start-up.

#include "factkanji.h"
#include "randomsource.h"
#include "recognizer.h"
#include "synthetic.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <cstring>

namespace {

using namespace moji::handwriting;

QSet<QString> schoolKanji()
{
    const QStringList kanji = kanjiOfFacts(QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv"));
    return QSet<QString>(kanji.begin(), kanji.end());
}

// Twenty strokes, ten across and ten down in a lattice, as a hand writes them: more strokes than
// any kanji of grades 1 to 3 has.
Strokes twentyStrokes()
{
    std::vector<ReferenceStroke> lattice;
    for (int i = 0; i < 10; ++i) {
        const int at = 24 + i * 23;
        lattice.push_back({{20, at}, {235, at}});
        lattice.push_back({{at, 20}, {at, 235}});
    }
    moji::RandomSource hand(1);
    return handwritten(lattice, hand);
}

// A figure of /proc/self/status in megabytes: VmRSS (resident now) or VmHWM (the most so far).
double statusMegabytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Opens the model for the first time in this process, before any benchmark: a later opening
// reuses memory an earlier one gave back, and would seem to cost nothing.
struct FirstOpening {
    FirstOpening()
    {
        const QSet<QString> allowed = schoolKanji();
        const Strokes strokes = twentyStrokes();
        const double resident = statusMegabytes("VmRSS:");
        const double peak = statusMegabytes("VmHWM:");
        recognizer = createZinniaRecognizer(defaultModelPath(), allowed);
        recognizer->recognize(strokes, 8);
        residentGrowth = statusMegabytes("VmRSS:") - resident;
        peakGrowth = statusMegabytes("VmHWM:") - peak;
    }
    std::unique_ptr<Recognizer> recognizer;
    double residentGrowth = 0;
    double peakGrowth = 0;
};
const FirstOpening& firstOpening()
{
    static const FirstOpening opening;
    return opening;
}
const bool g_openedFirst = (firstOpening(), true);

void BM_Recognize20Strokes(benchmark::State& state)
{
    Recognizer& recognizer = *firstOpening().recognizer;
    if (!recognizer.error().isEmpty())
        state.SkipWithError(recognizer.error().toStdString().c_str());
    const Strokes strokes = twentyStrokes();
    for (auto _ : state)
        benchmark::DoNotOptimize(recognizer.recognize(strokes, 8));
    // The memory the open model holds, measured at its first opening in this process.
    state.counters["model_resident_MB"] = firstOpening().residentGrowth;
    state.counters["model_peak_MB"] = firstOpening().peakGrowth;
}
BENCHMARK(BM_Recognize20Strokes)->Unit(benchmark::kMillisecond);

// The wait at the first recognition of a session: a recogniser is made, opens the model and
// reads one kanji.
void BM_OpenModelAtFirstRecognition(benchmark::State& state)
{
    const QSet<QString> allowed = schoolKanji();
    const Strokes strokes = twentyStrokes();
    for (auto _ : state) {
        const auto recognizer = createZinniaRecognizer(defaultModelPath(), allowed);
        benchmark::DoNotOptimize(recognizer->recognize(strokes, 8));
        if (!recognizer->error().isEmpty())
            state.SkipWithError(recognizer->error().toStdString().c_str());
    }
}
BENCHMARK(BM_OpenModelAtFirstRecognition)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
