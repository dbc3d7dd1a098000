// SelectPupil and RebuildLevelsFromHistory on a long history: 100,000 sessions (5.2 MB),
// far more than a pupil records in years, so the selection screen never waits on them; and
// the same selection rebuilding the pupil's memory model, and the mode menu's count of the
// kanji due for ふくしゅう from it.

#include "clock.h"
#include "pupilmemory.h"
#include "randomsource.h"
#include "review.h"
#include "studystate.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int Sessions = 100000;

// A plausible history, written as the program would have recorded it.
QByteArray makeHistory()
{
    moji::RandomSource random(42);
    moji::PlayerRecord step;
    step.Level = 1;
    step.Mode = 1;
    int points = 0;
    QByteArray bytes;
    bytes.reserve(Sessions * moji::HistoryRecord::Size);
    for (int s = 0; s < Sessions; ++s) {
        moji::HistoryRecord r;
        const bool finished = step.Level > moji::MaxLevel;
        // A finished pupil only practises; others mostly fail challenges (uncounted), so the
        // steps are spread over the whole history.
        r.Kind = finished || random.Random(3) == 0 ? 2 : 1;
        r.Level = int16_t(finished ? 1 + random.Random(moji::MaxLevel) : step.Level);
        r.Mode = int16_t(finished ? 1 + random.Random(2) : step.Mode);
        r.When = 46000 + s / 10.0;
        for (int i = 0; i < 10; ++i) {
            r.KanjiNo[std::size_t(i)] = int16_t(moji::firstKanjiOfLevel(r.Level) + random.Random(20));
            r.Correct[std::size_t(i)] = random.Random(100) < 38;
        }
        r.Counted = r.Kind == 1 && r.correctCount() >= moji::PassMark;
        if (r.Kind == 1 && r.Counted) {
            points += r.correctCount();
            if (points >= moji::LevelStep) {
                moji::advanceStep(step);
                points = 0;
            }
        }
        bytes += r.encode();
    }
    return bytes;
}

struct Fixture {
    Fixture() : state(dir.path(), clock)
    {
        QFile file(dir.filePath(moji::historyFileName(1)));
        if (!file.open(QIODevice::WriteOnly) || file.write(makeHistory()) < 0)
            std::abort();
        file.close();
        state.PlayerCount = 1;
        state.Roster[1].Level = 1;
        state.Roster[1].Mode = 1;
    }
    QTemporaryDir dir;
    moji::ManualClock clock{46000};
    moji::StudyState state;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_RebuildLevelsFromHistory(benchmark::State& s)
{
    Fixture& f = fixture();
    for (auto _ : s) {
        f.state.RebuildLevelsFromHistory();
        benchmark::DoNotOptimize(f.state.Roster[1].Level);
    }
    s.counters["level"] = f.state.Roster[1].Level;
    s.SetBytesProcessed(int64_t(s.iterations()) * Sessions * moji::HistoryRecord::Size);
}
BENCHMARK(BM_RebuildLevelsFromHistory)->Unit(benchmark::kMillisecond);

void BM_SelectPupil(benchmark::State& s)
{
    Fixture& f = fixture();
    f.state.RebuildLevelsFromHistory();
    for (auto _ : s) {
        f.state.SelectPupil(1);
        benchmark::DoNotOptimize(f.state.LevelPoints);
    }
    s.SetBytesProcessed(int64_t(s.iterations()) * Sessions * moji::HistoryRecord::Size);
}
BENCHMARK(BM_SelectPupil)->Unit(benchmark::kMillisecond);

void BM_SelectPupilWithMemory(benchmark::State& s)
{
    Fixture& f = fixture();
    f.state.RebuildLevelsFromHistory();
    moji::memory::PupilMemory memory;
    f.state.historyFollower = &memory;
    for (auto _ : s) {
        f.state.SelectPupil(1);
        benchmark::DoNotOptimize(memory.item(241, 1));
    }
    f.state.historyFollower = nullptr;
    s.SetBytesProcessed(int64_t(s.iterations()) * Sessions * moji::HistoryRecord::Size);
}
BENCHMARK(BM_SelectPupilWithMemory)->Unit(benchmark::kMillisecond);

void BM_DueCount(benchmark::State& s)
{
    Fixture& f = fixture();
    moji::memory::PupilMemory memory;
    memory.replay(f.state.ReadHistory(1));
    const qint64 day = 46000 + Sessions / 10;
    int due = 0;
    for (auto _ : s) {
        due = moji::memory::dueCount(moji::memory::learnedByRecall(memory, moji::MaxLevel + 1, 1, day));
        benchmark::DoNotOptimize(due);
    }
    s.counters["due"] = due;
}
BENCHMARK(BM_DueCount)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
