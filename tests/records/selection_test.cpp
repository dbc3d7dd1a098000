// Player selection: the table of pupils, the highlight, and choosing a pupil.

#include "clickablelabel.h"
#include "screenfixture.h"
#include "testfiles.h"
#include "tf_player.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

using namespace moji;
using namespace testing_support;

namespace {

class Selection : public ::testing::Test {
protected:
    void open()
    {
        screen = new TF_Player(f.program);
        screen->showScreen();
    }
    ~Selection() override
    {
        if (screen)
            screen->close();
    }
    ScreenFixture f;
    QPointer<TF_Player> screen;
};

} // namespace

TEST_F(Selection, TheTableGrowsARightColumnFromTheSixthPupil)
{
    for (const int pupils : {1, 5, 6, 10}) {
        ScreenFixture fixture;
        fixture.addPupils(pupils, 2, 1);
        TF_Player table(fixture.program);
        table.showScreen();
        EXPECT_EQ(table.heads().size(), pupils >= 6 ? 6u : 3u) << pupils;
        EXPECT_EQ(table.heads()[0]->text(), QStringLiteral("    なまえ  "));
        EXPECT_EQ(table.heads()[0]->pos(), QPoint(20, 90));
        EXPECT_EQ(table.heads()[1]->x(), table.heads()[0]->geometry().right() + 1 + 20);
        EXPECT_EQ(table.heads()[2]->x(), table.heads()[1]->geometry().right() + 1 + 20);
        if (pupils >= 6) {
            EXPECT_EQ(table.heads()[3]->x(), (640 - 20) / 2 + 20);
        }
        // Rows every (640 - 380) / 5 = 52 pixels from 80.
        for (int i = 1; i <= pupils; ++i) {
            const int row = i <= 5 ? i : i - 5;
            const QLabel* head = table.heads()[i <= 5 ? 0 : 3];
            EXPECT_EQ(table.nameLabel(i)->pos(), QPoint(head->x() + 20, row * 52 + 80)) << pupils << " " << i;
            EXPECT_EQ(table.levelLabel(i)->text(), QStringLiteral("2"));
            EXPECT_EQ(table.kindLabel(i)->text(), QStringLiteral("よむ "));
        }
        EXPECT_EQ(table.nameLabel(pupils + 1), nullptr);
        table.close();
    }
}

TEST_F(Selection, FinishedPupilsAreKanjiDoctorsAndWritersWrite)
{
    f.addPupils(1, 11, 1);
    f.addPupils(1, 3, 2);
    open();
    EXPECT_EQ(screen->levelLabel(1)->text(), QStringLiteral("かんじはかせ"));
    EXPECT_EQ(screen->levelLabel(1)->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_FALSE(screen->kindLabel(1)->isVisible());
    EXPECT_EQ(screen->levelLabel(2)->text(), QStringLiteral("3"));
    EXPECT_EQ(screen->kindLabel(2)->text(), QStringLiteral("かく "));
    EXPECT_TRUE(screen->kindLabel(2)->isVisible());
}

TEST_F(Selection, TheNameUnderTheMouseTurnsRed)
{
    f.addPupils(3);
    open();
    auto colourOf = [&](int i) { return screen->nameLabel(i)->palette().color(QPalette::WindowText); };
    QTest::mouseMove(screen->nameLabel(2));
    EXPECT_EQ(colourOf(2), QColor(Qt::red));
    EXPECT_EQ(colourOf(1), QColor(Qt::white));
    QTest::mouseMove(screen->nameLabel(3));
    EXPECT_EQ(colourOf(2), QColor(Qt::white));
    EXPECT_EQ(colourOf(3), QColor(Qt::red));
    QTest::mouseMove(screen->canvas(), QPoint(600, 450));
    EXPECT_EQ(colourOf(3), QColor(Qt::white));
}

TEST_F(Selection, ClickingANameSelectsThePupilAndOpensTheModeMenu)
{
    f.addPupils(2, 1, 2);
    writeFile(f.path(historyFileName(2)), historyRun(1, 1, 2, 241, 9, true) + historyRun(1, 1, 2, 251, 8, true));
    open();
    QTest::mouseClick(screen->nameLabel(2), Qt::LeftButton);
    EXPECT_EQ(f.state.PlayerNo, 2);
    EXPECT_EQ(f.state.StudyMode, 2);
    EXPECT_EQ(f.state.LevelPoints, 17);
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::ModeMenu});
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
}

TEST_F(Selection, ABadHistoryStopsTheSelection)
{
    f.addPupils(2);
    writeFile(f.path(historyFileName(1)), historyRun(1, 1, 7, 241, 9, true)); // mode 7
    // 3277 perfect challenges at the pupil's step: 32770 points, beyond 16 bits.
    writeFile(f.path(historyFileName(2)), Bytes().repeat(historyRun(1, 1, 1, 241, 10, true), 3277));
    open();
    for (const int pupil : {1, 2}) {
        f.messages.shown.clear();
        screen->Lbl_PlayerClick(pupil);
        EXPECT_EQ(f.messages.shown, QStringList{historyFileName(pupil) + QStringLiteral("でエラーがおこりました。 ")});
        EXPECT_TRUE(f.navigator.shown.empty()) << "the mode menu is not opened";
        EXPECT_EQ(f.state.PlayerNo, 0);
    }
}

TEST_F(Selection, BackGoesToTheMainMenu)
{
    f.addPupils(1);
    open();
    EXPECT_EQ(screen->findChild<QWidget*>(QStringLiteral("Img_Button4"))->toolTip(), QStringLiteral("メニューにもどる"));
    screen->headerCommand(4);
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::MainMenu});
}

// A table built after the screen has grown into the larger layout grows with it: below the
// header buttons, and inside the screen even with ten pupils.
TEST(SelectionLayout, TheTableGrowsWithTheLargerLayout)
{
    ScreenFixture f;
    f.state.LayoutKind = 1;
    f.state.LayoutScale = 1.25;
    f.addPupils(10, 2, 1);
    TF_Player table(f.program);
    table.showScreen();
    const QWidget* back = table.canvas()->findChild<QWidget*>(QStringLiteral("Img_Button4"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(table.heads()[0]->pos(), QPoint(25, 113)) << "(20, 90) grown by 1.25";
    EXPECT_GT(table.heads()[0]->y(), back->geometry().bottom() - 10);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_TRUE(table.canvas()->rect().contains(table.kindLabel(i)->geometry())) << i;
        EXPECT_DOUBLE_EQ(table.nameLabel(i)->font().pointSizeF(), 16 * 1.25) << i;
    }
    EXPECT_EQ(table.nameLabel(6)->y(), table.nameLabel(1)->y());
    table.close();
}
