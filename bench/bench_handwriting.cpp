// Reading a handwritten kanji: one recognition of 20 strokes as a hand writes them, the moving
// and growing of the writing included (aim: under 5 ms, so the candidates follow the pen), also
// written small in a corner, with the resident memory the open model adds (aim: under 20 MB)
// and the most it took while opening; the wait for the model as the pad first opens (the
// program opens it only then, never at start-up); and one stroke check of 20 strokes against
// 20 with a stroke left out, as the practice coach runs it after a stroke (aim: under 5 ms).

#include "factkanji.h"
#include "randomsource.h"
#include "recognizer.h"
#include "strokecheck.h"
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

// Twenty strokes, ten across and ten down in a lattice: more strokes than any kanji of grades
// 1 to 3 has.
std::vector<ReferenceStroke> lattice()
{
    std::vector<ReferenceStroke> strokes;
    for (int i = 0; i < 10; ++i) {
        const int at = 24 + i * 23;
        strokes.push_back({{20, at}, {235, at}});
        strokes.push_back({{at, 20}, {at, 235}});
    }
    return strokes;
}

// The lattice as a hand writes it.
Strokes twentyStrokes()
{
    moji::RandomSource hand(1);
    return handwritten(lattice(), hand);
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
        recognizer->prepare();
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

// The same written at 40 % of the square in its top left corner: grown before it is read.
void BM_Recognize20StrokesInACorner(benchmark::State& state)
{
    Recognizer& recognizer = *firstOpening().recognizer;
    const Strokes strokes = placed(twentyStrokes(), 0.4, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(recognizer.recognize(strokes, 8));
}
BENCHMARK(BM_Recognize20StrokesInACorner)->Unit(benchmark::kMillisecond);

// The practice coach after a stroke: the writing compared with the answer's 20 strokes, one
// of them left out.
void BM_CheckStrokes20(benchmark::State& state)
{
    const std::vector<ReferenceStroke> reference = lattice();
    Strokes strokes = twentyStrokes();
    strokes.erase(strokes.begin() + 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(checkStrokes(strokes, reference));
}
BENCHMARK(BM_CheckStrokes20)->Unit(benchmark::kMillisecond);

// The wait as the pad first opens in a run: a recogniser is made and readies its model.
void BM_OpenModelAsThePadOpens(benchmark::State& state)
{
    const QSet<QString> allowed = schoolKanji();
    for (auto _ : state) {
        const auto recognizer = createZinniaRecognizer(defaultModelPath(), allowed);
        if (!recognizer->prepare())
            state.SkipWithError(recognizer->error().toStdString().c_str());
    }
}
BENCHMARK(BM_OpenModelAsThePadOpens)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
