// The mode menu: the pupil's name, the star rows drawn from their step and points, and the
// commands.

#include "clickablelabel.h"
#include "screenfixture.h"
#include "tf_mode.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

using namespace moji;
using namespace testing_support;

namespace {

class ModeMenu : public ::testing::Test {
protected:
    ModeMenu() { f.useBuiltFile(QStringLiteral("Stars.bmp")); }
    ~ModeMenu() override
    {
        if (screen)
            screen->close();
    }
    // One pupil at this step with these points, selected, and the menu shown.
    void open(int level, int mode, int points, int game1 = 0, int game3 = 0)
    {
        f.addPupils(1, level, mode);
        f.state.Roster[1].Game1Level = int16_t(game1);
        f.state.Roster[1].Game3Level = int16_t(game3);
        f.state.PlayerNo = 1;
        f.state.LevelPoints = int16_t(points);
        screen = new TF_Mode(f.program);
        screen->showScreen();
    }
    // Gold pixels in columns [from, to) of star i's 32 x 32 box (1 to 10) of a row image.
    static int gold(const QImage& row, int star, int from = 0, int to = 32)
    {
        const int x0 = ((star - 1) % 5) * 38;
        const int y0 = ((star - 1) / 5) * 32;
        int lit = 0;
        for (int y = y0; y < y0 + 32; ++y) {
            for (int x = x0 + from; x < x0 + to; ++x) {
                const QColor c = row.pixelColor(x, y);
                lit += (c.red() > 200 && c.green() > 150 && c.blue() < c.green() - 60) ? 1 : 0;
            }
        }
        return lit;
    }
    static bool isLit(const QImage& row, int star) { return gold(row, star) > 150; }

    ScreenFixture f;
    QPointer<TF_Mode> screen;
};

} // namespace

TEST_F(ModeMenu, LevelThreeReadingWithTwentyPointsHalfLightsStarThree)
{
    open(3, 1, 20);
    if (qEnvironmentVariableIsSet("MOJIMARU_SHOTS"))
        screen->grab().save(qEnvironmentVariable("MOJIMARU_SHOTS") + QStringLiteral("/modemenu.png"));
    EXPECT_EQ(screen->nameLine()->text(), QStringLiteral("あああのもじまるチャレンジ"));
    const QImage reading = screen->starImage(0);
    const QImage writing = screen->starImage(1);
    EXPECT_TRUE(isLit(reading, 1) && isLit(reading, 2));
    EXPECT_TRUE(isLit(writing, 1) && isLit(writing, 2));
    // Star 3 is lit over its left 16 pixels only, the rest navy.
    EXPECT_GT(gold(reading, 3, 0, 16), gold(reading, 1, 0, 16) * 9 / 10);
    EXPECT_EQ(gold(reading, 3, 16, 32), 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 16; x < 32; ++x)
            ASSERT_EQ(reading.pixelColor(2 * 38 + x, y), QColor(0, 0, 128)) << x << "," << y;
    for (int star = 3; star <= 10; ++star)
        EXPECT_FALSE(isLit(writing, star)) << star;
    for (int star = 4; star <= 10; ++star)
        EXPECT_FALSE(isLit(reading, star)) << star;
    EXPECT_EQ(f.state.CurrentLevel, 3);
    EXPECT_EQ(f.state.StudyMode, 1);
}

TEST_F(ModeMenu, LevelFiveWritingWithNoPointsAndTheGameStars)
{
    open(5, 2, 0, 2, 7);
    const QImage reading = screen->starImage(0);
    const QImage writing = screen->starImage(1);
    for (int star = 1; star <= 10; ++star) {
        EXPECT_EQ(isLit(reading, star), star <= 5) << star;
        EXPECT_EQ(isLit(writing, star), star <= 4) << star;
        EXPECT_EQ(isLit(screen->starImage(2), star), star <= 2) << star;
        EXPECT_EQ(isLit(screen->starImage(3), star), star <= 7) << star;
    }
    EXPECT_EQ(f.state.CurrentGame1Level, 2);
    EXPECT_EQ(f.state.CurrentGame3Level, 7);
}

TEST_F(ModeMenu, AFinishedPupilHasEveryStarAndNoChallenge)
{
    open(11, 1, 0);
    for (int star = 1; star <= 10; ++star) {
        EXPECT_TRUE(isLit(screen->starImage(0), star)) << star;
        EXPECT_TRUE(isLit(screen->starImage(1), star)) << star;
    }
    QTest::mouseMove(screen->commandLabel(3));
    EXPECT_EQ(screen->commandLabel(3)->palette().color(QPalette::WindowText), QColor(Qt::white));
    QTest::mouseClick(screen->commandLabel(3), Qt::LeftButton);
    EXPECT_TRUE(f.navigator.shown.empty());
    EXPECT_TRUE(screen->isVisible());
}

TEST_F(ModeMenu, CommandsOpenTheirScreensAndHideTheMenu)
{
    open(4, 2, 12);
    QTest::mouseMove(screen->commandLabel(3));
    EXPECT_EQ(screen->commandLabel(3)->palette().color(QPalette::WindowText), QColor(Qt::red));
    QTest::mouseMove(screen->gameLabel(1));
    EXPECT_EQ(screen->commandLabel(3)->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(screen->gameLabel(1)->palette().color(QPalette::WindowText), QColor(Qt::red));

    f.state.CurrentLevel = 9; // as a practice choice might have left it
    QTest::mouseClick(screen->commandLabel(3), Qt::LeftButton);
    EXPECT_TRUE(f.state.SessionKind);
    EXPECT_EQ(f.state.CurrentLevel, 4);
    EXPECT_EQ(f.state.StudyMode, 2);
    EXPECT_FALSE(screen->isVisible());

    const std::vector<std::pair<int, Screen>> commands = {
        {1, Screen::KanjiBoard}, {2, Screen::KanjiGrades}, {4, Screen::PracticeLevels}};
    for (const auto& [tag, target] : commands) {
        screen->showScreen();
        screen->Lbl_Command1Click(tag);
        EXPECT_EQ(f.navigator.shown.back(), target);
        EXPECT_FALSE(screen->isVisible());
    }
    EXPECT_FALSE(f.state.SessionKind) << "practice";
    screen->showScreen();
    screen->Lbl_GameClick(3);
    EXPECT_EQ(f.navigator.shown.back(), Screen::CatcherGame);
    screen->showScreen();
    screen->headerCommand(4);
    EXPECT_EQ(f.navigator.shown.back(), Screen::PlayerSelection);
}

// A session screen left behind (its flag still set) is closed when the menu is shown again.
TEST_F(ModeMenu, LeftoverScreensAreClosedOnShow)
{
    auto* session = new QWidget;
    session->setAttribute(Qt::WA_DeleteOnClose);
    session->show();
    QPointer<QWidget> watch = session;
    f.program.sessionScreen = session;
    f.state.SessionAlive = true;
    f.state.Game1Alive = true; // flag without a window: just cleared
    open(1, 1, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    EXPECT_FALSE(f.state.SessionAlive);
    EXPECT_FALSE(f.state.Game1Alive);
}
