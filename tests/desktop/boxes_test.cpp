// A box or dialog open over a screen while that screen's timers keep firing: the session
// clock, the scoring reveal, the games' clocks. The boxes are real and wait for the test to
// answer them from inside their own event loop, the timers are real, and the time runs out
// beneath the box by moving the program's clock on. The rule they all follow: whatever a timer
// would decide waits while a box is open, the clocks that count against the pupil stand still,
// and a session is scored and recorded at most once (never when it was quit).

#include "clickablelabel.h"
#include "desktop.h"
#include "desktopprogram.h"
#include "fakes.h"
#include "sessiondriver.h"
#include "tf_game1.h"
#include "tf_game3.h"
#include "tf_hint.h"
#include "tf_level_up.h"
#include "tf_mode.h"
#include "tf_saiten.h"
#include "tf_shutsudai.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>

using namespace moji;
using namespace testing_support;

namespace {

const QString TenthQuestion = QStringLiteral("１０もんおわりました。さいてんしてよいですか？");
const QString Quit = QStringLiteral("がくしゅうをやめてもよいですか？");
const QString TimeUp = QStringLiteral("じかんがすぎました。さいてんします。");
constexpr double AnHour = 3600;

class BoxesOverTimers : public DesktopProgram {
protected:
    // Inside a box: the time runs out, the screen's clock fires at least twice, and nothing
    // is scored beneath the box.
    void letTheTimeRunOut(QWidget* box, const QSignalSpy& ticks)
    {
        const qsizetype before = ticks.count();
        clock.advanceSeconds(AnHour);
        QTest::qWait(2300);
        EXPECT_GE(ticks.count() - before, 2) << "the clock ticks on beneath the box";
        EXPECT_TRUE(box->isVisible()) << "the box waits for its answer";
        EXPECT_EQ(screensOf<TF_Saiten>(), 0) << "nothing is scored beneath the box";
    }

    // The result dialog is closed as the pupil closes it.
    static void closeTheResultWhenItOpens()
    {
        whenBoxOpens([](QWidget* box) {
            EXPECT_TRUE(qobject_cast<TF_Level_Up*>(box)) << box->metaObject()->className();
            pressBoxButton(box, QStringLiteral("もどる"));
        });
    }
};

} // namespace

TEST_F(BoxesOverTimers, TheTenthQuestionsBoxHoldsTheClockAndTheSessionIsScoredOnce)
{
    start();
    TF_Shutsudai* session = startChallenge();
    ASSERT_NE(session, nullptr);
    for (int q = 1; q <= 9; ++q)
        answerQuestion(*session, state(), true);
    QSignalSpy ticks(&session->Tim_Clock(), &QTimer::timeout);
    const auto* timeLeft = child<QLabel>(session, "Lbl_Nokori_Time");
    const QString before = timeLeft->text();

    whenBoxOpens([&](QWidget* box) {
        EXPECT_EQ(boxText(box), TenthQuestion);
        letTheTimeRunOut(box, ticks);
        pressBoxButton(box, QStringLiteral("いいえ"));
    });
    answerQuestion(*session, state(), true);
    ASSERT_TRUE(waitFor([&] { return ticks.count() >= 4; }));
    EXPECT_EQ(session->currentQuestion(), 10);
    EXPECT_EQ(timeLeft->text(), before) << "the time the box was open is given back";
    EXPECT_EQ(screensOf<TF_Saiten>(), 0);

    whenBoxOpens([&](QWidget* box) {
        letTheTimeRunOut(box, ticks);
        pressBoxButton(box, QStringLiteral("はい"));
    });
    clickShown(sessionButton(*session, "Btn_Next"));
    QTest::qWait(1200);
    EXPECT_EQ(screensOf<TF_Saiten>(), 1) << "scored once";
    closeTheResultWhenItOpens();
    tickScoring();
    EXPECT_TRUE(onView<TF_Mode>());
    EXPECT_EQ(historyRecords(), 1);
    EXPECT_EQ(state().SessionCorrect, 10);
}

TEST_F(BoxesOverTimers, QuittingWhileTheTimeRunsOutRecordsNothing)
{
    start();
    QPointer<TF_Shutsudai> session = startChallenge();
    ASSERT_TRUE(session);
    for (int q = 1; q <= 3; ++q)
        answerQuestion(*session, state(), true);
    QSignalSpy ticks(&session->Tim_Clock(), &QTimer::timeout);
    whenBoxOpens([&](QWidget* box) {
        EXPECT_EQ(boxText(box), Quit);
        letTheTimeRunOut(box, ticks);
        pressBoxButton(box, QStringLiteral("はい"));
    });
    back(session);
    ASSERT_TRUE(onView<TF_Mode>());
    QTest::qWait(1200);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no result pops up over the mode menu";
    EXPECT_EQ(screensOf<TF_Saiten>() + screensOf<TF_Shutsudai>(), 0);
    EXPECT_EQ(historyRecords(), 0);
    EXPECT_FALSE(state().RedoRound);

    // The next challenge starts afresh, with はじめ and its clock; quitting its review after the
    // scoring records nothing either.
    click(onView<TF_Mode>()->commandLabel(3));
    session = onView<TF_Shutsudai>();
    ASSERT_TRUE(session);
    EXPECT_FALSE(session->inReview());
    EXPECT_EQ(sessionButton(*session, "Btn_Next")->text(), QStringLiteral("はじめ"));
    clickShown(sessionButton(*session, "Btn_Next"));
    for (int q = 1; q <= 10; ++q) {
        if (q == 10)
            whenBoxOpens([](QWidget* box) { pressBoxButton(box, QStringLiteral("はい")); });
        answerQuestion(*session, state(), q <= 8);
    }
    tickScoring();
    ASSERT_TRUE(session && session->isVisible() && session->inReview());
    whenBoxOpens([](QWidget* box) {
        EXPECT_EQ(boxText(box), Quit);
        pressBoxButton(box, QStringLiteral("はい"));
    });
    back(session);
    ASSERT_TRUE(onView<TF_Mode>());
    EXPECT_EQ(historyRecords(), 0) << "a passed session is recorded only when its review is done";
    EXPECT_FALSE(state().RedoRound);
}

TEST_F(BoxesOverTimers, TheHintsHoldTheClockAndTheTimeOutAfterThemScoresOnce)
{
    start();
    QPointer<TF_Shutsudai> session = startChallenge();
    ASSERT_TRUE(session);
    for (int q = 1; q <= 2; ++q)
        answerQuestion(*session, state(), true);
    QSignalSpy ticks(&session->Tim_Clock(), &QTimer::timeout);
    whenBoxOpens([&](QWidget* box) {
        EXPECT_TRUE(qobject_cast<TF_Hint*>(box)) << box->metaObject()->className();
        letTheTimeRunOut(box, ticks);
        pressBoxButton(box, QStringLiteral("もどる"));
    });
    click(child<QWidget>(session, "Img_Button1"));
    EXPECT_EQ(session->currentQuestion(), 3);

    // Now the time runs out with no box open: the time-out's own box, then one scoring.
    bool timeUpShown = false;
    whenBoxOpens([&](QWidget* box) {
        timeUpShown = boxText(box) == TimeUp;
        pressBoxButton(box, QStringLiteral("OK"));
    });
    clock.advanceSeconds(AnHour);
    ASSERT_TRUE(waitFor([] { return topLevel<TF_Saiten>() != nullptr; }));
    EXPECT_TRUE(timeUpShown);
    EXPECT_EQ(screensOf<TF_Saiten>(), 1);
    closeTheResultWhenItOpens();
    tickScoring();

    // The review takes the pupil's clicks: a wrong answer is cleared, a right one moves on.
    ASSERT_TRUE(session && session->isVisible() && session->inReview());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no dialog left over the review";
    EXPECT_EQ(session->currentQuestion(), 3);
    typeKana(*session, QStringLiteral("ぬ"));
    checkInReview(*session);
    EXPECT_TRUE(session->answerText().isEmpty());
    typeKana(*session, state().QuizSet[3].Answer.toUnicode());
    checkInReview(*session);
    EXPECT_EQ(session->currentQuestion(), 4);
    EXPECT_EQ(historyRecords(), 1) << "a failed session is recorded once, when it is scored";
}

TEST_F(BoxesOverTimers, TheGamesWaitBeneathABox)
{
    start();
    // The matching game: the computer does not play while the hints are open.
    click(choosePupil(*run, 1)->gameLabel(1));
    QPointer<TF_Game1> matching = onView<TF_Game1>();
    ASSERT_TRUE(matching);
    click(child(matching, "Btn_Start"));
    const MatchingGame& game = matching->game();
    ASSERT_TRUE(waitFor([&] { return game.playerTurn(); }, 30000));
    auto faceDown = [&](int other) {
        for (int k = 1; k <= MatchingGame::Cards; ++k) {
            if (game.card(k) == MatchingGame::Card::FaceDown && (other == 0 || game.cardKanji(k) != game.cardKanji(other)))
                return k;
        }
        return 0;
    };
    const int first = faceDown(0);
    click(matching->cardButton(first));
    const int second = faceDown(first);
    click(matching->cardButton(second));
    ASSERT_EQ(game.card(second), MatchingGame::Card::Turned);
    whenBoxOpens([&](QWidget* box) {
        QTest::qWait(4500); // two of the game's turns
        EXPECT_EQ(game.card(first), MatchingGame::Card::Turned) << "the game stood still beneath the hints";
        EXPECT_EQ(game.card(second), MatchingGame::Card::Turned);
        pressBoxButton(box, QStringLiteral("もどる"));
    });
    click(child<QWidget>(matching, "Img_Button1"));
    EXPECT_TRUE(waitFor([&] { return game.card(first) != MatchingGame::Card::Turned; }))
        << "and goes on once they are closed";
    back(matching);
    ASSERT_TRUE(onView<TF_Mode>());

    // The catcher: its clock stands still beneath a sound's error report.
    run->audio.failingPlays << QStringLiteral("Mogu.mid");
    click(onView<TF_Mode>()->gameLabel(3));
    QPointer<TF_Game3> catcher = onView<TF_Game3>();
    ASSERT_TRUE(catcher);
    QSignalSpy ticks(&catcher->Timer1(), &QTimer::timeout);
    whenBoxOpens([&](QWidget* box) {
        EXPECT_TRUE(boxText(box).startsWith(QStringLiteral("Mogu.mid "))) << boxText(box).toStdString();
        clock.advanceSeconds(AnHour);
        QTest::qWait(600);
        EXPECT_GT(ticks.count(), 5) << "the game's timer fires beneath the box";
        pressBoxButton(box, QStringLiteral("OK"));
    });
    click(child(catcher, "Btn_Start"));
    QTest::qWait(300);
    ASSERT_TRUE(catcher);
    EXPECT_TRUE(catcher->game().running()) << "the hour beneath the box did not count";
    EXPECT_EQ(catcher->game().extensions(), 0);
    click(child(catcher, "Btn_Start")); // ゲームおわり
    EXPECT_TRUE(onView<TF_Mode>());
}
