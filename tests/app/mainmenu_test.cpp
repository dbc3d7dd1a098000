// The main menu's commands, its music and the exit.

#include "appfixture.h"
#include "hintcontext.h"
#include "navigator.h"
#include "picturebutton.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

using namespace moji;
using namespace testing_support;

namespace {

class RecordingNavigator final : public Navigator {
public:
    void show(Screen screen) override { shown.push_back(screen); }
    void openSettings(QWidget*) override { ++settings; }
    std::vector<Screen> shown;
    int settings = 0;
};

class MainMenu : public ::testing::Test {
protected:
    void startWith(int pupils)
    {
        if (pupils > 0)
            app.writeRoster(pupils);
        app.program.navigator = &navigator;
        ASSERT_TRUE(app.start());
        app.mainMenu->showScreen();
        app.mainMenu->afterFirstPaint();
        app.messages.shown.clear();
    }
    FakePlayer* music() const { return app.audio.playerFor(QStringLiteral("Menu.mid")); }

    AppFixture app;
    RecordingNavigator navigator;
};

} // namespace

TEST_F(MainMenu, ShowsItsCommandsAndPlaysLoopingMusic)
{
    startWith(0);
    TF_Main& menu = *app.mainMenu;
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(app.state.HintTopic, HintTopics::MainMenu);
    EXPECT_EQ(app.state.PopNo, 2);
    EXPECT_EQ(app.state.MidiDeviceCount, 1);
    for (int tag = 1; tag <= 8; ++tag)
        ASSERT_NE(menu.command(tag), nullptr);
    EXPECT_EQ(menu.command(1)->toolTip(), QStringLiteral("ヒントを見る"));
    EXPECT_EQ(menu.command(8)->toolTip(), QStringLiteral("もじまるのおわり"));
    EXPECT_EQ(menu.command(5)->pos(), QPoint(330, 30));

    FakePlayer* tune = music();
    ASSERT_NE(tune, nullptr);
    EXPECT_TRUE(tune->playing);
    EXPECT_TRUE(menu.musicPlaying());
    tune->finish();
    EXPECT_TRUE(tune->playing) << "the end of the tune plays it again";
    EXPECT_EQ(tune->plays, 2);
}

TEST_F(MainMenu, StudyAndGradesNeedARegisteredPupil)
{
    startWith(0);
    TF_Main& menu = *app.mainMenu;
    for (const int tag : {5, 6}) {
        QTest::mouseClick(menu.command(tag), Qt::LeftButton);
        EXPECT_EQ(app.messages.shown.takeFirst(), QStringLiteral("なまえのとうろくをしてください。"));
    }
    // Commands 1 to 4 neither hide the menu nor stop the music.
    menu.commandClick(1);
    menu.commandClick(2);
    menu.commandClick(4);
    EXPECT_EQ(app.help.topics, std::vector<int>{31});
    EXPECT_EQ(navigator.settings, 1);
    EXPECT_TRUE(navigator.shown.empty());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(music()->playing);
    EXPECT_TRUE(app.messages.shown.isEmpty());

    menu.commandClick(7);
    EXPECT_EQ(navigator.shown, std::vector<Screen>{Screen::Registration});
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(menu.musicPlaying());
    EXPECT_FALSE(menu.Tim_Ido().isActive());
}

TEST_F(MainMenu, TenPupilsFillTheRoster)
{
    startWith(10);
    TF_Main& menu = *app.mainMenu;
    menu.commandClick(7);
    EXPECT_EQ(app.messages.shown, QStringList{QStringLiteral("すでに１０にんまでとうろくずみです。")});
    EXPECT_TRUE(navigator.shown.empty());
    EXPECT_TRUE(menu.isVisible());

    menu.commandClick(5);
    EXPECT_EQ(navigator.shown, std::vector<Screen>{Screen::PlayerSelection});
    EXPECT_FALSE(menu.isVisible());

    // Coming back restarts the music and the timer.
    menu.showScreen();
    EXPECT_TRUE(menu.musicPlaying()) << "at once: the first paint is long past";
    EXPECT_TRUE(menu.musicPlaying());
    EXPECT_TRUE(menu.Tim_Ido().isActive());
    EXPECT_EQ(menu.animation()->counter(), 20);
}

TEST_F(MainMenu, ExitWritesTheRoster)
{
    startWith(0);
    FakePlayer* tune = music();
    ASSERT_NE(tune, nullptr);
    ASSERT_FALSE(QFileInfo::exists(app.path(QStringLiteral("Player1.dat"))));
    app.mainMenu->commandClick(8);
    ASSERT_TRUE(QFileInfo::exists(app.path(QStringLiteral("Player1.dat"))));
    EXPECT_EQ(QFileInfo(app.path(QStringLiteral("Player1.dat"))).size(), 0);
    EXPECT_FALSE(app.mainMenu->isVisible());
    EXPECT_FALSE(tune->playing);
    EXPECT_FALSE(tune->isOpen());
}

// The exit command writes back the names it read, whatever bytes they hold: a lone lead byte,
// an unassigned code, bytes no text uses.
TEST_F(MainMenu, ExitWritesEveryNameBackByteForByte)
{
    Bytes roster;
    for (const char* name : {"82a0 82", "8540 ff a0 fd", "82 20"}) {
        const QByteArray bytes = hex(name);
        roster.i16(0).i16(1).zeros(10).i16(1).u8(int(bytes.size())).raw(bytes).zeros(10 - int(bytes.size())).zeros(1);
    }
    app.write(QStringLiteral("Player1.dat"), roster);
    startWith(0);
    app.mainMenu->commandClick(8);
    EXPECT_EQ(readFile(app.path(QStringLiteral("Player1.dat"))), roster.data());
    EXPECT_TRUE(app.messages.shown.isEmpty());
}

TEST_F(MainMenu, WithoutASynthesiserThereIsNoMusicAndNoMessage)
{
    app.audio.midiDevices = 0;
    startWith(0);
    EXPECT_EQ(music(), nullptr);
    EXPECT_FALSE(app.mainMenu->musicPlaying());
    EXPECT_TRUE(app.messages.shown.isEmpty());
}

TEST_F(MainMenu, AMissingTuneIsReportedAndTheMenuGoesOn)
{
    app.remove(QStringLiteral("Menu.mid"));
    app.program.navigator = &navigator;
    ASSERT_TRUE(app.start());
    app.mainMenu->showScreen();
    EXPECT_TRUE(app.messages.shown.isEmpty()) << "sound waits for the first paint";
    app.mainMenu->afterFirstPaint();
    EXPECT_EQ(app.messages.shown, QStringList{QStringLiteral("Menu.mid でエラーがおこりました。 ")});
    EXPECT_TRUE(app.mainMenu->isVisible());
    EXPECT_TRUE(app.mainMenu->Tim_Ido().isActive());
}

// The animation draws into the board: over some ticks, coloured glyph pixels appear.
TEST_F(MainMenu, TheBoardShowsDriftingKanji)
{
    startWith(0);
    auto* board = app.mainMenu->findChild<QWidget*>(QStringLiteral("Img_Kanji"));
    ASSERT_NE(board, nullptr);
    int mostColoured = 0;
    for (int tick = 0; tick < 60; ++tick) {
        app.mainMenu->Tim_IdoTimer();
        const QImage image = board->grab().toImage();
        ASSERT_EQ(image.size(), QSize(600, 360));
        int coloured = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                coloured += image.pixelColor(x, y) != QColor(0, 0, 128) ? 1 : 0;
        mostColoured = std::max(mostColoured, coloured);
    }
    EXPECT_GT(mostColoured, 10);
}

// The larger layout of a large-font desktop: the menu is built before start-up measures the
// screen, and must still come to 800 × 600 with all its commands on it.
TEST(MainMenuLayout, TheLargerLayoutKeepsEveryCommandOnTheScreen)
{
    AppFixture large;
    ASSERT_TRUE(large.start({800, 600, 32, 60, 120}));
    large.mainMenu->showScreen();
    const QWidget* canvas = large.mainMenu->canvas();
    EXPECT_EQ(canvas->size(), QSize(800, 600));
    for (int k = 1; k <= 8; ++k) {
        const QWidget* command = canvas->findChild<QWidget*>(QStringLiteral("Img_Command%1").arg(k));
        ASSERT_NE(command, nullptr);
        EXPECT_TRUE(canvas->rect().contains(command->geometry())) << k;
    }
    EXPECT_EQ(canvas->findChild<QWidget*>(QStringLiteral("Img_Command8"))->x(), int(570 * 1.25 + 0.5));
    EXPECT_EQ(canvas->findChild<QWidget*>(QStringLiteral("Img_Kanji"))->geometry(), QRect(25, 120, 750, 450));
    large.mainMenu->close();
}
