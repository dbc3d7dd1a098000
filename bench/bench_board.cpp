// One gliding frame of the kanji list board with all 200 kanji of the grade: the positions of
// that moment and the picture drawn from them, in both layouts. Frames come every 200 ms while
// the kanji glide (every 10 ms while they sit scattered), so a frame must stay far below that
// (aim: under 5 ms).

#include "clock.h"
#include "guibenchmain.h"
#include "kanjiboard.h"
#include "randomsource.h"
#include "studystate.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFont>
#include <QTemporaryDir>

namespace {

struct Fixture {
    explicit Fixture(double scale) : state(dir.path(), clock), board(scale)
    {
        // The real dictionary, so that every glyph is one of the grade's kanji.
        QFile::copy(QStringLiteral(MOJIMARU_PROGRAM_DIR "/Mojimaru1.dat"), dir.filePath(QStringLiteral("Mojimaru1.dat")));
        state.LoadKanji();
        state.CurrentLevel = 6;
        state.StudyMode = 1;
        board.build(state, random, 1);
        // Past the scattered ticks, into the glide.
        while (board.phase() == moji::KanjiBoard::Phase::Scattered)
            board.tick();
        font.setPixelSize(int(21 * scale + 0.5));
    }

    QTemporaryDir dir;
    moji::ManualClock clock{46000.5};
    moji::RandomSource random{11};
    moji::StudyState state;
    moji::KanjiBoard board;
    QFont font;
};

void BM_BoardGlidingFrame(benchmark::State& s)
{
    Fixture f(s.range(0) == 0 ? 1.0 : 1.25);
    const QColor navy(0, 0, 128);
    for (auto _ : s) {
        if (f.board.tick() == moji::KanjiBoard::Step::Finished) {
            // Glide again from the scattered board, so that every frame measured moves.
            s.PauseTiming();
            f.board.build(f.state, f.random, 1);
            while (f.board.phase() == moji::KanjiBoard::Phase::Scattered)
                f.board.tick();
            s.ResumeTiming();
        }
        const QImage frame = f.board.render(f.font, navy);
        benchmark::DoNotOptimize(frame.constBits());
    }
    s.counters["kanji"] = f.board.kanjiCount();
}
BENCHMARK(BM_BoardGlidingFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return runDrawingBenchmarks(argc, argv);
}
