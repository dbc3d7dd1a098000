// One step of the catcher game with all 30 objects in play, plus the frame it composes and the
// paddle strip, at both field sizes. The game loop ticks every 30 ms and a step comes every
// 2 ticks at the fastest, so a step and its frame must stay far below that (aim: under 1 ms).

#include "catcherfield.h"
#include "catchergame.h"
#include "clock.h"
#include "guibenchmain.h"
#include "randomsource.h"
#include "studystate.h"

#include <benchmark/benchmark.h>

#include <QFont>
#include <QTemporaryDir>

namespace {

// The 20 kanji of the last level, enough to give each tile a real glyph.
const QString PoolGlyphs = QStringLiteral("薬予羊洋葉陽様落流旅両緑礼列練路和由遊油");

struct Fixture {
    explicit Fixture(double scale) : state(dir.path(), clock)
    {
        state.LayoutScale = scale;
        state.CurrentGame3Level = 10;
        game = std::make_unique<moji::CatcherGame>(state, random, clock);
        std::array<QString, moji::CatcherGame::PoolSize> glyphs;
        for (int i = 0; i < moji::CatcherGame::PoolSize; ++i)
            glyphs[std::size_t(i)] = PoolGlyphs.mid(i, 1);
        QFont font;
        font.setPixelSize(24);
        font.setBold(true);
        field = std::make_unique<moji::CatcherField>(QSize(game->fieldWidth(), game->fieldHeight()), QImage(), glyphs,
                                                     font);
        game->start(5);
        game->setObjectCount(moji::CatcherGame::SlotCount);
    }

    // Puts every object that left back into the field as a falling kanji, so that all 30
    // stay in play.
    void refill()
    {
        for (int i = 1; i <= moji::CatcherGame::SlotCount; ++i) {
            moji::FallObject& o = game->object(i);
            if (o.active())
                continue;
            o.State = moji::FallObject::Falling;
            o.Counter = uint8_t(random.Random(4));
            o.KanjiSlot = uint8_t(random.Random(moji::CatcherGame::PoolSize) + 1);
            o.X = random.Random(game->fieldWidth() - moji::CatcherGame::ObjectSize);
            o.Y = random.Random(game->fieldHeight() / 3);
        }
    }

    QTemporaryDir dir;
    moji::ManualClock clock{46000.5}; // never moves: the game never runs out of time
    moji::RandomSource random{7};
    moji::StudyState state;
    std::unique_ptr<moji::CatcherGame> game;
    std::unique_ptr<moji::CatcherField> field;
};

void BM_CatcherStepAndFrame(benchmark::State& s)
{
    Fixture f(s.range(0) == 0 ? 1.0 : 1.25);
    f.game->moveRight();
    int64_t inPlay = 0;
    for (auto _ : s) {
        f.refill();
        const moji::CatcherEvents e = f.game->step();
        f.game->movePaddle();
        if (f.game->paddleX() >= f.game->fieldWidth() - f.game->paddleWidth())
            f.game->moveLeft();
        else if (f.game->paddleX() <= moji::CatcherGame::PaddleStep)
            f.game->moveRight();
        f.field->composeFrame(*f.game);
        f.field->drawPaddleStrip(f.game->paddleX(), e.catches > 0);
        benchmark::DoNotOptimize(f.field->view().constBits());
        for (int i = 1; i <= moji::CatcherGame::SlotCount; ++i)
            inPlay += f.game->object(i).active();
    }
    s.counters["objects_in_play"] = benchmark::Counter(double(inPlay), benchmark::Counter::kAvgIterations);
    s.counters["field_width"] = f.game->fieldWidth();
}
BENCHMARK(BM_CatcherStepAndFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return runDrawingBenchmarks(argc, argv);
}
