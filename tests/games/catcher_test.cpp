// The catcher game's rules, driven step by step with a seeded random source and a hand-moved
// clock: release and motion, the catch window, questions and their answers, the paddle, the
// clock with its extensions, passing, and the level rise with its roster write.

#include "catchergame.h"
#include "errors.h"
#include "screenfixture.h"

#include <gtest/gtest.h>

#include <QDir>

#include <algorithm>
#include <array>
#include <set>

using namespace moji;
using namespace testing_support;

namespace {

class Catcher : public ::testing::Test {
protected:
    Catcher()
    {
        f.addPupils(1, 5, 1);
        f.state.PlayerNo = 1;
        f.state.CurrentLevel = 5;
    }

    CatcherGame& make(int game3Level, int speed = 3)
    {
        f.state.CurrentGame3Level = int16_t(game3Level);
        game = std::make_unique<CatcherGame>(f.state, f.random, f.clock);
        game->start(speed);
        return *game;
    }

    std::array<FallObject, CatcherGame::SlotCount> snapshot() const
    {
        std::array<FallObject, CatcherGame::SlotCount> s;
        for (int i = 1; i <= CatcherGame::SlotCount; ++i)
            s[std::size_t(i - 1)] = game->object(i);
        return s;
    }

    // One step through the timer ticks, counting the ticks it took.
    CatcherEvents stepByTicks(int* ticks = nullptr)
    {
        for (int t = 1; t <= 10; ++t) {
            const CatcherEvents e = game->tick();
            if (e.stepped || e.ended) {
                if (ticks)
                    *ticks = t;
                return e;
            }
        }
        ADD_FAILURE() << "no step within 10 ticks";
        return {};
    }

    // The lowest falling answer, stepping until there is one. No answer leaves meanwhile: only
    // falling objects reach the bottom.
    int fallingAnswer()
    {
        for (int n = 0; n < 5000; ++n) {
            int lowest = 0;
            for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
                const FallObject& o = game->object(i);
                if (o.IsAnswer && o.State == FallObject::Falling && (lowest == 0 || o.Y > game->object(lowest).Y))
                    lowest = i;
            }
            if (lowest != 0)
                return lowest;
            stepByTicks();
        }
        ADD_FAILURE() << "no answer fell";
        return 0;
    }

    // Lets object `target` leave the field at x on the next step, with nothing else leaving:
    // every other object in play waits where it is.
    CatcherEvents leaveAt(int target, int x)
    {
        for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
            FallObject& o = game->object(i);
            if (i != target && o.active()) {
                o.State = FallObject::Waiting;
                o.Counter = 1;
            }
        }
        FallObject& o = game->object(target);
        o.X = x;
        o.Y = game->fieldHeight() - CatcherGame::ObjectSize;
        return stepByTicks();
    }

    void catchOne()
    {
        const int target = fallingAnswer();
        ASSERT_NE(target, 0);
        game->setPaddleX(game->fieldWidth() / 2 - 36);
        ASSERT_EQ(leaveAt(target, game->paddleX()).catches, 1);
    }

    // Catches until nearly everything due was caught, then lets the time run out.
    CatcherEvents timeUpWhilePlayingWell()
    {
        do
            catchOne();
        while (!(game->score() > 0.95 * game->pointsDue()));
        f.clock.set(game->endTime() + 1e-7);
        return stepByTicks();
    }

    ScreenFixture f;
    std::unique_ptr<CatcherGame> game;
};

// Level parameters are fixed by the catcher level; ten and above play the last kanji.
TEST_F(Catcher, LevelParametersAndPool)
{
    struct Row {
        int level, minObjects, maxObjects, drift, points, firstKanji;
    };
    const Row rows[] = {{-3, 7, 9, 1, 1, 241},      {0, 7, 9, 1, 1, 241},      {1, 7, 9, 1, 1, 261},
                        {2, 10, 12, 10, 2, 281},    {5, 13, 17, 12, 2, 341},   {7, 15, 19, 16, 3, 381},
                        {9, 18, 22, 20, 4, 421},    {10, 20, 24, 24, 5, 421},  {15, 20, 24, 24, 5, 421},
                        {300, 20, 24, 24, 5, 421}};
    for (const Row& r : rows) {
        std::set<int> counts;
        for (int n = 0; n < 60; ++n) {
            CatcherGame& g = make(r.level);
            counts.insert(g.objectCount());
            EXPECT_EQ(g.driftStep(), r.drift) << r.level;
            EXPECT_EQ(g.catchPoints(), r.points) << r.level;
            EXPECT_EQ(g.levelKanji(1), r.firstKanji) << r.level;
            EXPECT_EQ(g.levelKanji(20), r.firstKanji + 19) << r.level;
        }
        EXPECT_EQ(*counts.begin(), r.minObjects) << r.level;
        EXPECT_EQ(*counts.rbegin(), r.maxObjects) << r.level;
    }
    // The larger layout has a larger field.
    f.state.LayoutScale = 1.25;
    EXPECT_EQ(make(0).fieldWidth(), 450);
    EXPECT_EQ(game->fieldHeight(), 400);
    EXPECT_EQ(game->paddleX(), 189);
}

// Every object moves by the rules of its state, and only the first ObjectCount slots play.
TEST_F(Catcher, ReleaseAndMotionRules)
{
    CatcherGame& g = make(5);
    const int w = g.fieldWidth();
    const int h = g.fieldHeight();
    int released = 0, left = 0, fell = 0;
    for (int n = 0; n < 4000; ++n) {
        const auto before = snapshot();
        const CatcherEvents e = g.step();
        ASSERT_TRUE(e.stepped);
        int answers = 0;
        for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
            const FallObject& b = before[std::size_t(i - 1)];
            const FallObject& a = g.object(i);
            const int counter = std::min(b.Counter + 1, 255);
            if (i > g.objectCount()) {
                ASSERT_EQ(a.State, FallObject::Idle);
                ASSERT_EQ(a.Counter, b.Counter);
                continue;
            }
            if (a.active()) {
                // An object in play is an answer exactly when it shows the current question.
                ASSERT_EQ(a.IsAnswer, a.KanjiSlot == g.questionSlot()) << "slot " << i;
                ASSERT_TRUE(a.KanjiSlot >= 1 && a.KanjiSlot <= 20);
                ASSERT_TRUE(a.X >= 0 && a.X <= w - 32 && a.Y <= h - 32);
                answers += a.IsAnswer;
            }
            switch (b.State) {
            case FallObject::Idle:
                if (a.State == FallObject::Idle) {
                    ASSERT_EQ(a.Counter, counter);
                    break;
                }
                ++released;
                ASSERT_GT(counter, 50) << "released before waiting 50 steps";
                ASSERT_TRUE(a.State == FallObject::Waiting && a.Blink);
                ASSERT_TRUE(a.Counter >= 1 && a.Counter <= 40);
                ASSERT_TRUE(a.X < w - 32 && a.Y < h / 3);
                break;
            case FallObject::Waiting:
                ASSERT_EQ(a.State, counter > 16 ? FallObject::Twinkling : FallObject::Waiting);
                ASSERT_EQ(a.Blink, b.Blink);
                break;
            case FallObject::Twinkling:
                ASSERT_NE(a.Blink, b.Blink);
                ASSERT_EQ(a.State, counter > 15 ? FallObject::Hanging : FallObject::Twinkling);
                break;
            case FallObject::Hanging:
                ASSERT_EQ(a.Y, b.Y + 1);
                ASSERT_EQ(a.State, counter > 15 ? FallObject::Falling : FallObject::Hanging);
                if (a.State == FallObject::Falling) {
                    ASSERT_EQ(a.Counter, 0);
                }
                break;
            case FallObject::Falling:
                if (a.State == FallObject::Idle) {
                    ++left;
                    ASSERT_EQ(a.Counter, 0);
                    break;
                }
                ++fell;
                ASSERT_TRUE(a.Y == b.Y + counter || a.Y == b.Y + 2 * counter) << a.Y << " " << b.Y;
                ASSERT_LT(std::abs(a.X - b.X), g.driftStep());
                break;
            default: FAIL() << "unknown state";
            }
        }
        ASSERT_EQ(answers, g.answersInPlay());
    }
    EXPECT_GT(released, 200);
    EXPECT_GT(left, 200);
    EXPECT_GT(fell, 1000);
}

// A leaving answer is caught exactly when X + 24 > PaddleX and X < PaddleX + 72.
TEST_F(Catcher, CatchWindow)
{
    CatcherGame& g = make(0); // level 0 does not drift, so X stays where it is put
    struct Case {
        int offset;
        bool caught;
    };
    for (const Case c : {Case{-24, false}, Case{-23, true}, Case{71, true}, Case{72, false}}) {
        const int target = fallingAnswer();
        ASSERT_NE(target, 0);
        g.setPaddleX(100);
        const int score = g.score();
        const int due = g.pointsDue();
        const CatcherEvents e = leaveAt(target, 100 + c.offset);
        EXPECT_EQ(e.catches, c.caught ? 1 : 0) << c.offset;
        EXPECT_EQ(g.score(), score + (c.caught ? 1 : 0)) << c.offset;
        EXPECT_EQ(g.pointsDue(), due + 1) << c.offset;
        EXPECT_EQ(g.object(target).State, FallObject::Idle);
    }
    // A decoy under the paddle counts for nothing.
    for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
        if (g.object(i).active() && !g.object(i).IsAnswer) {
            const int due = g.pointsDue();
            g.object(i).State = FallObject::Falling;
            EXPECT_EQ(leaveAt(i, g.paddleX()).catches, 0);
            EXPECT_EQ(g.pointsDue(), due);
            return;
        }
    }
    ADD_FAILURE() << "no decoy in play";
}

// A question never comes back within two changes; each releases 5 to 8 answers, and the next
// comes only once the last of them has left the field.
TEST_F(Catcher, QuestionsAndTheirAnswers)
{
    CatcherGame& g = make(3);
    g.setObjectCount(20);
    std::vector<int> questions;
    int releasedForQuestion = -1; // the question set at the start is replaced at once
    for (int n = 0; n < 30000; ++n) {
        const auto before = snapshot();
        const bool answersBefore = std::any_of(before.begin(), before.end(), [](const FallObject& o) { return o.active() && o.IsAnswer; });
        const CatcherEvents e = g.step();
        if (e.questionChanged) {
            ASSERT_FALSE(answersBefore) << "question changed with an answer in play";
            if (releasedForQuestion >= 0) {
                ASSERT_GE(releasedForQuestion, 5);
                ASSERT_LE(releasedForQuestion, 8);
            }
            questions.push_back(g.questionSlot());
            releasedForQuestion = 0;
            ASSERT_GE(g.answerQuota(), 5);
            ASSERT_LE(g.answerQuota(), 8);
        }
        for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
            if (!before[std::size_t(i - 1)].active() && g.object(i).active() && g.object(i).IsAnswer)
                ++releasedForQuestion;
        }
    }
    ASSERT_GT(questions.size(), 100u);
    for (std::size_t i = 1; i < questions.size(); ++i) {
        ASSERT_NE(questions[i], questions[i - 1]);
        if (i >= 2) {
            ASSERT_NE(questions[i], questions[i - 2]);
        }
    }
    std::set<int> seen(questions.begin(), questions.end());
    EXPECT_EQ(seen.size(), 20u);
}

// One press keeps the paddle moving 10 pixels a tick until the edge; it never leaves the field.
TEST_F(Catcher, Paddle)
{
    CatcherGame& g = make(0);
    EXPECT_EQ(g.paddleX(), 144);
    g.moveLeft();
    for (int t = 0; t < 40; ++t)
        g.tick();
    EXPECT_EQ(g.paddleX(), 4);
    g.moveRight();
    for (int t = 0; t < 40; ++t)
        g.tick();
    EXPECT_EQ(g.paddleX(), 360 - 72);
    g.moveLeft();
    g.tick();
    g.stopPaddle();
    for (int t = 0; t < 5; ++t)
        g.tick();
    EXPECT_EQ(g.paddleX(), 278);
}

// Extensions come with a good catch rate, each a step faster (never below 2 ticks) and busier
// (never above 30 objects); the seventh time-up always ends the game.
TEST_F(Catcher, ExtensionsAndTheirLimit)
{
    for (const int speed : {3, 5}) {
        CatcherGame& g = make(0, speed);
        int ticks = 0;
        stepByTicks();
        stepByTicks(&ticks);
        EXPECT_EQ(ticks, 7 - speed);
        int objects = g.objectCount();
        for (int k = 1; k <= CatcherGame::MaxExtensions; ++k) {
            const CatcherEvents e = timeUpWhilePlayingWell();
            ASSERT_TRUE(e.extended) << k;
            EXPECT_EQ(g.extensions(), k);
            EXPECT_EQ(g.stepTicks(), std::max(2, 7 - speed - k));
            objects = objects < 26 ? objects + 5 : objects;
            EXPECT_EQ(g.objectCount(), objects);
            EXPECT_LE(g.objectCount(), 30);
            stepByTicks(&ticks);
            EXPECT_EQ(ticks, g.stepTicks());
            EXPECT_GE(ticks, 2);
        }
        const CatcherEvents last = timeUpWhilePlayingWell();
        EXPECT_TRUE(last.ended);
        EXPECT_FALSE(g.running());
        EXPECT_TRUE(g.outcome()->passed);
        EXPECT_FALSE(g.tick().stepped); // nothing moves after the end
    }
}

// A pupil who saw no answer reach the bottom fails and gets no extension; so does one who
// caught too few.
TEST_F(Catcher, PassRule)
{
    CatcherGame& g = make(2);
    f.clock.advanceSeconds(91);
    CatcherEvents e = g.step();
    EXPECT_TRUE(e.ended);
    EXPECT_EQ(g.pointsDue(), 0);
    EXPECT_EQ(g.extensions(), 0);
    EXPECT_FALSE(g.outcome()->passed);

    make(2);
    catchOne(); // 2 of 2
    const int target = fallingAnswer();
    ASSERT_GE(game->paddleX(), 24);
    EXPECT_EQ(leaveAt(target, 0).catches, 0);
    ASSERT_LE(game->score(), 0.7 * game->pointsDue());
    f.clock.set(game->endTime());
    e = stepByTicks();
    EXPECT_TRUE(e.ended);
    EXPECT_FALSE(game->outcome()->passed);
    EXPECT_FALSE(game->outcome()->levelRaised);
    EXPECT_EQ(f.state.CurrentGame3Level, 2);
}

// A pass raises the catcher level up to CurrentLevel - 1 and writes the roster at once.
TEST_F(Catcher, LevelRise)
{
    auto playToPass = [this](int level) {
        make(level);
        for (int k = 0; k <= CatcherGame::MaxExtensions; ++k)
            timeUpWhilePlayingWell();
        EXPECT_TRUE(game->finished());
        EXPECT_TRUE(game->outcome()->passed);
        return *game->outcome();
    };
    const QString roster = f.path(QStringLiteral("Player1.dat"));

    // A pupil at level 1 never rises above 0.
    f.state.CurrentLevel = 1;
    CatcherOutcome o = playToPass(0);
    EXPECT_FALSE(o.levelRaised);
    EXPECT_EQ(f.state.CurrentGame3Level, 0);
    EXPECT_EQ(f.state.Roster[1].Game3Level, 0);
    EXPECT_EQ(f.state.PopGroup, 2);
    EXPECT_EQ(f.state.PopNo, 2);
    EXPECT_FALSE(QFile::exists(roster));

    f.state.CurrentLevel = 5;
    f.state.PopNo = 0;
    o = playToPass(3);
    EXPECT_TRUE(o.levelRaised);
    EXPECT_FALSE(o.saveError);
    EXPECT_EQ(f.state.CurrentGame3Level, 4);
    EXPECT_EQ(f.state.Roster[1].Game3Level, 4);
    EXPECT_EQ(f.state.PopNo, 1);
    // On disk now, as the next start would read it.
    StudyState reread(f.dir.path(), f.clock);
    ASSERT_EQ(reread.ReadRoster().playerCount, 1);
    EXPECT_EQ(reread.Roster[1].Game3Level, 4);

    // Level 4 is CurrentLevel - 1: no further rise.
    o = playToPass(4);
    EXPECT_FALSE(o.levelRaised);
    EXPECT_EQ(f.state.CurrentGame3Level, 4);

    // When the roster cannot be written the level stays raised and the error is reported.
    QFile::remove(roster);
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("Player1.dat")));
    f.state.CurrentGame3Level = 2;
    o = playToPass(2);
    EXPECT_TRUE(o.levelRaised);
    ASSERT_TRUE(o.saveError);
    EXPECT_TRUE(o.saveError->startsWith(QStringLiteral("Player1.dat"))) << o.saveError->toStdString();
    EXPECT_EQ(f.state.Roster[1].Game3Level, 3);
}

// "のこり1ふん5びょう" with a minute or more left, "のこり42びょう" under a minute.
TEST_F(Catcher, TimeText)
{
    CatcherGame& g = make(0);
    EXPECT_EQ(g.timeText(), QStringLiteral("のこり1ふん30びょう"));
    f.clock.advanceSeconds(25);
    g.step();
    EXPECT_EQ(g.timeText(), QStringLiteral("のこり1ふん5びょう"));
    f.clock.advanceSeconds(23);
    g.step();
    EXPECT_EQ(g.timeText(), QStringLiteral("のこり42びょう"));
    EXPECT_EQ(CatcherGame::timeText(60.0 / 86400), QStringLiteral("のこり1ふん0びょう"));
    EXPECT_EQ(CatcherGame::timeText(-3.0 / 86400), QStringLiteral("のこり0びょう"));
}

} // namespace
