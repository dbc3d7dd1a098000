// The catcher game through its window: a game started, the paddle steered with one key press,
// a catch heard, the end announced, the score table shown and the way back; leaving mid-game;
// and sounds that fail to open.

#include "screenfixture.h"
#include "testfiles.h"
#include "tf_game3.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>

using namespace moji;
using namespace testing_support;

namespace {

class Game3 : public ::testing::Test {
protected:
    Game3()
    {
        f.loadDictionary();
        f.useBuiltFile(QStringLiteral("STARS2.bmp"));
        // The fake players open any file that is there.
        for (const char* name : {"Mogu.mid", "Atari.wav", "Hazure.wav"})
            writeFile(f.path(QString::fromLatin1(name)), "sound");
        f.addPupils(1, 5, 1);
        f.state.PlayerNo = 1;
        f.state.CurrentLevel = 5;
        f.state.CurrentGame3Level = 1;
        f.state.MidiDeviceCount = 1;
    }
    ~Game3() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        // Closed screens go now, while the program they refer to still exists.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void open()
    {
        screen = new TF_Game3(f.program);
        screen->showScreen();
    }
    template <typename T>
    T* child(const char* name) const
    {
        return screen->findChild<T*>(QLatin1String(name));
    }
    // Ticks until an answer is falling, then makes it the only object to leave, at x.
    int leaveOnce(int x)
    {
        CatcherGame& g = screen->game();
        for (int n = 0; n < 20000; ++n) {
            for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
                if (g.object(i).IsAnswer && g.object(i).State == FallObject::Falling) {
                    for (int j = 1; j <= CatcherGame::SlotCount; ++j) {
                        if (j != i && g.object(j).active()) {
                            g.object(j).State = FallObject::Waiting;
                            g.object(j).Counter = 1;
                        }
                    }
                    g.object(i).X = x;
                    g.object(i).Y = g.fieldHeight() - CatcherGame::ObjectSize;
                    for (int t = 0; t < 10 && g.object(i).active(); ++t)
                        screen->Timer1Timer();
                    return i;
                }
            }
            screen->Timer1Timer();
        }
        ADD_FAILURE() << "no answer fell";
        return 0;
    }

    ScreenFixture f;
    QPointer<TF_Game3> screen;
};

TEST_F(Game3, PlayedThroughToTheScoreTable)
{
    open();
    EXPECT_TRUE(f.state.Game3Alive);
    EXPECT_EQ(f.program.catcherGameScreen, screen);
    EXPECT_EQ(f.state.HintTopic, 14);
    EXPECT_EQ(screen->helpTopic(), 39);
    auto* start = child<QPushButton>("Btn_Start");
    auto* speed = child<QSlider>("TBar_Speed");
    ASSERT_TRUE(start && speed);
    EXPECT_EQ(start->text(), QStringLiteral("ゲームはじめ"));
    EXPECT_EQ(speed->value(), 3);
    EXPECT_FALSE(child<QPushButton>("Btn_Left")->isVisible());
    EXPECT_TRUE(child<QWidget>("Img_Button4")->isVisible());

    speed->setValue(4);
    QTest::mouseClick(start, Qt::LeftButton);
    ASSERT_TRUE(screen->Timer1().isActive());
    EXPECT_EQ(screen->Timer1().interval(), 30);
    screen->Timer1().stop(); // the test ticks by hand
    EXPECT_EQ(start->text(), QStringLiteral("ゲームおわり"));
    EXPECT_FALSE(speed->isEnabled());
    EXPECT_EQ(screen->game().stepTicks(), 3);
    EXPECT_FALSE(child<QWidget>("Img_Button4")->isVisible());
    EXPECT_TRUE(child<QPushButton>("Btn_Left")->isVisible());
    EXPECT_TRUE(child<QPushButton>("Btn_Right")->isVisible());
    FakePlayer* music = f.audio.playerFor(QStringLiteral("Mogu.mid"));
    ASSERT_TRUE(music);
    EXPECT_TRUE(music->playing);
    // The music loops.
    music->finish();
    EXPECT_TRUE(music->playing);

    // The sentence of the question is in the header row, its red part the reading asked for.
    screen->Timer1Timer();
    screen->Timer1Timer();
    QString sentence;
    int red = 0;
    for (int part = 1; part <= 3; ++part) {
        sentence += screen->sentenceText(part);
        if (screen->sentenceColour(part) == QColor(255, 0, 0) && !screen->sentenceText(part).isEmpty())
            ++red;
    }
    EXPECT_FALSE(sentence.isEmpty());
    EXPECT_EQ(red, 1);

    // One press of the left arrow keeps the paddle moving, 10 pixels a tick, to the edge.
    QTest::keyClick(screen, Qt::Key_Left);
    const int x0 = screen->game().paddleX();
    screen->Timer1Timer();
    EXPECT_EQ(screen->game().paddleX(), x0 - 10);
    for (int t = 0; t < 30; ++t)
        screen->Timer1Timer();
    EXPECT_EQ(screen->game().paddleX(), 4);
    QTest::keyClick(screen, Qt::Key_Right);
    screen->Timer1Timer();
    QTest::keyClick(screen, Qt::Key_Down);
    for (int t = 0; t < 5; ++t)
        screen->Timer1Timer();
    EXPECT_EQ(screen->game().paddleX(), 14);
    // The arrow buttons move it while pressed.
    QTest::mousePress(child<QPushButton>("Btn_Right"), Qt::LeftButton);
    screen->Timer1Timer();
    screen->Timer1Timer();
    QTest::mouseRelease(child<QPushButton>("Btn_Right"), Qt::LeftButton);
    screen->Timer1Timer();
    EXPECT_EQ(screen->game().paddleX(), 34);

    // A catch sounds, and the score shows it; a miss is silent.
    FakePlayer* atari = f.audio.playerFor(QStringLiteral("Atari.wav"));
    FakePlayer* hazure = f.audio.playerFor(QStringLiteral("Hazure.wav"));
    ASSERT_TRUE(atari && hazure);
    leaveOnce(screen->game().paddleX());
    EXPECT_EQ(atari->plays, 1);
    EXPECT_GE(atari->rewinds, 1);
    EXPECT_GE(hazure->stops, 1);
    EXPECT_EQ(hazure->plays, 0);
    for (int t = 0; t < 4; ++t)
        screen->Timer1Timer();
    EXPECT_EQ(child<QLabel>("Lbl_Tokuten")->text(), QStringLiteral("1てん"));
    leaveOnce(screen->game().paddleX() + 200);
    EXPECT_EQ(atari->plays, 1);
    EXPECT_EQ(screen->game().pointsDue(), 2); // 1 of 2 caught: below the pass mark

    // The field shows what the game composed.
    const QImage shown = child<QWidget>("Img1")->grab().toImage();
    EXPECT_EQ(shown.pixelColor(screen->game().paddleX() + 36, 320 - 12), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(300, 320 - 12), QColor(0, 0, 128));

    // Time runs out: the result, the score table, then back to the mode menu.
    ModalCloser closer;
    f.clock.advanceSeconds(91);
    for (int t = 0; t < 10 && screen && f.state.Game3Alive; ++t)
        screen->Timer1Timer();
    EXPECT_TRUE(f.messages.shown.contains(QStringLiteral("ざんねん！ ふごうかくです")));
    ASSERT_EQ(closer.closed.size(), 1);
    EXPECT_TRUE(closer.closed.front().startsWith(QStringLiteral("moji::TF_Game_Kiroku")));
    EXPECT_TRUE(QFile::exists(f.path(QStringLiteral("Game13.dat"))));
    ASSERT_FALSE(f.navigator.shown.empty());
    EXPECT_EQ(f.navigator.shown.back(), Screen::ModeMenu);
    EXPECT_FALSE(f.state.Game3Alive);
    EXPECT_EQ(f.state.CurrentGame3Level, 1);
    EXPECT_FALSE(f.audio.playerFor(QStringLiteral("Mogu.mid")));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(screen);
}

// "ゲームおわり" during a game leaves at once: no result, no table, nothing left running.
TEST_F(Game3, LeavingMidGame)
{
    open();
    QTest::mouseClick(child<QPushButton>("Btn_Start"), Qt::LeftButton);
    FakePlayer* music = f.audio.playerFor(QStringLiteral("Mogu.mid"));
    ASSERT_TRUE(music && music->playing);
    QTest::mouseClick(child<QPushButton>("Btn_Start"), Qt::LeftButton);
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::ModeMenu});
    EXPECT_FALSE(f.state.Game3Alive);
    EXPECT_TRUE(f.messages.shown.isEmpty());
    EXPECT_FALSE(QFile::exists(f.path(QStringLiteral("Game13.dat"))));
    EXPECT_TRUE(f.audio.players.empty()); // every player closed and freed
}

// A sound that does not open is reported by name, the ones after it stay closed, and the game
// still plays; without a MIDI device there is no music and no message about it.
TEST_F(Game3, SoundsThatFailToOpen)
{
    f.state.MidiDeviceCount = 0;
    QFile::remove(f.path(QStringLiteral("Atari.wav")));
    open();
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Atari.wav でエラーがおこりました。 ")});
    EXPECT_FALSE(f.audio.playerFor(QStringLiteral("Mogu.mid")));
    EXPECT_FALSE(f.audio.playerFor(QStringLiteral("Hazure.wav")));
    QTest::mouseClick(child<QPushButton>("Btn_Start"), Qt::LeftButton);
    screen->Timer1().stop();
    leaveOnce(screen->game().paddleX());
    EXPECT_EQ(screen->game().score(), 1);
    EXPECT_EQ(f.messages.shown.size(), 1);
}

} // namespace
