// Practice level selection: the twenty level buttons with their kanji, and starting a
// practice session at any level.

#include "screenfixture.h"
#include "tf_renshuu.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace moji;
using namespace testing_support;

namespace {

// Remembers the pointer shown while the question session is being opened.
class PointerNavigator final : public Navigator {
public:
    void show(Screen screen) override
    {
        shown.push_back(screen);
        const QCursor* cursor = QApplication::overrideCursor();
        pointers.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
    }
    void openSettings(QWidget*) override {}
    std::vector<Screen> shown;
    std::vector<Qt::CursorShape> pointers;
};

class Practice : public ::testing::Test {
protected:
    Practice()
    {
        f.loadDictionary();
        f.addPupils(1, 1, 1);
        f.state.PlayerNo = 1;
        f.state.SessionKind = false;
        f.program.navigator = &navigator;
        screen = new TF_Renshuu(f.program);
        screen->showScreen();
    }
    ~Practice() override
    {
        if (screen)
            screen->close();
        QApplication::processEvents(); // lets the closed screen be deleted
    }

    ScreenFixture f;
    PointerNavigator navigator;
    QPointer<TF_Renshuu> screen;
};

} // namespace

TEST_F(Practice, EveryLevelButtonListsItsKanji)
{
    if (qEnvironmentVariableIsSet("MOJIMARU_SHOTS"))
        screen->canvas()->grab().save(qEnvironmentVariable("MOJIMARU_SHOTS") + QStringLiteral("/renshuu.png"));
    EXPECT_EQ(f.state.HintTopic, 8);
    EXPECT_EQ(screen->helpTopic(), 10);
    EXPECT_EQ(screen->group(1)->title(), QStringLiteral(" 「よむ」 れんしゅう"));
    EXPECT_EQ(screen->group(2)->title(), QStringLiteral(" 「かく」 れんしゅう"));
    const QString levelOne = QStringLiteral("悪安暗医委意育員院飲運泳駅央横屋温化荷界");
    EXPECT_EQ(screen->levelButton(1, 1)->toolTip(), levelOne);
    EXPECT_EQ(screen->levelButton(2, 1)->toolTip(), levelOne);
    EXPECT_EQ(screen->levelButton(2, 10)->toolTip(), QStringLiteral("由油有遊予羊洋葉陽様落流旅両緑礼列練路和"));
    for (int mode = 1; mode <= 2; ++mode) {
        for (int level = 1; level <= 10; ++level) {
            const QPushButton* button = screen->levelButton(mode, level);
            EXPECT_EQ(button->parentWidget(), screen->group(mode));
            EXPECT_EQ(button->text(), QString::number(level));
            const QRect expected = level <= 6 ? QRect(10, 40 * level, 80, 40) : QRect(110, 40 * (level - 6), 80, 40);
            EXPECT_EQ(button->geometry(), expected) << mode << " " << level;
            EXPECT_EQ(button->toolTip().size(), 20) << mode << " " << level;
            EXPECT_TRUE(button->isVisible());
        }
        // The whole group lies on the design area, under the header buttons.
        EXPECT_TRUE(QRect(0, 80, 640, 400).contains(screen->group(mode)->geometry())) << mode;
    }
    EXPECT_FALSE(screen->group(1)->geometry().intersects(screen->group(2)->geometry()));
}

TEST_F(Practice, WritingLevelTenStartsWhateverThePupilsLevel)
{
    f.state.RedoRound = true;
    QTest::mouseClick(screen->levelButton(2, 10), Qt::LeftButton);
    EXPECT_EQ(f.state.CurrentLevel, 10);
    EXPECT_EQ(f.state.StudyMode, 2);
    EXPECT_FALSE(f.state.RedoRound);
    EXPECT_FALSE(f.state.SessionKind) << "still practice";
    EXPECT_EQ(f.state.Roster[1].Level, 1);
    EXPECT_EQ(navigator.shown, std::vector<Screen>{Screen::QuestionSession});
    EXPECT_EQ(navigator.pointers, std::vector<Qt::CursorShape>{Qt::WaitCursor});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the pointer is restored when the screen closes";
    EXPECT_FALSE(screen && screen->isVisible());
}

TEST_F(Practice, ReadingLevelThreeAndTheWayBack)
{
    QTest::mouseClick(screen->levelButton(1, 3), Qt::LeftButton);
    EXPECT_EQ(f.state.CurrentLevel, 3);
    EXPECT_EQ(f.state.StudyMode, 1);

    auto* again = new TF_Renshuu(f.program);
    again->showScreen();
    again->headerCommand(4);
    EXPECT_EQ(navigator.shown, (std::vector<Screen>{Screen::QuestionSession, Screen::ModeMenu}));
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(f.state.CurrentLevel, 3);
}
