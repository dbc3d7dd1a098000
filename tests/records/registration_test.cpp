// Registration: building a name on the kana buttons and adding the pupil.

#include "filestore.h"
#include "screenfixture.h"
#include "testfiles.h"
#include "tf_touroku.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <cerrno>

using namespace moji;
using namespace testing_support;

namespace {

class Registration : public ::testing::Test {
protected:
    Registration() : screen(new TF_Touroku(f.program)) { screen->showScreen(); }
    ~Registration() override
    {
        if (screen)
            screen->close();
    }
    void press(int button) { QTest::mouseClick(screen->kanaButton(button), Qt::LeftButton); }
    QPushButton* clearButton() const { return screen->findChild<QPushButton*>(QStringLiteral("btn_clear")); }

    ScreenFixture f;
    QPointer<TF_Touroku> screen;
};

} // namespace

TEST_F(Registration, KanaButtonsAreLaidOutInTwoBlocksOfTheChart)
{
    EXPECT_EQ(screen->kanaButton(1)->text(), QStringLiteral("あ"));
    EXPECT_EQ(screen->kanaButton(1)->geometry(), QRect(10, 120, 40, 40));
    EXPECT_EQ(screen->kanaButton(5)->geometry(), QRect(170, 120, 40, 40));
    EXPECT_EQ(screen->kanaButton(6)->geometry(), QRect(10, 160, 40, 40));
    EXPECT_EQ(screen->kanaButton(40)->geometry(), QRect(170, 400, 40, 40));
    EXPECT_EQ(screen->kanaButton(41)->text(), QStringLiteral("ら"));
    EXPECT_EQ(screen->kanaButton(41)->geometry(), QRect(230, 120, 40, 40));
    EXPECT_EQ(screen->kanaButton(80)->text(), QStringLiteral("ぽ"));
    EXPECT_EQ(screen->kanaButton(80)->geometry(), QRect(390, 400, 40, 40));
    // The header buttons sit under the instruction.
    const QLabel* instruction = screen->findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_EQ(screen->findChild<QWidget*>(QStringLiteral("Img_Button1"))->y(), instruction->geometry().bottom() + 1 + 10);
}

TEST_F(Registration, FiveKanaAtMostAndOneCanBeTakenBack)
{
    EXPECT_FALSE(clearButton()->isVisible()) << "hidden while the name is empty";
    for (const int button : {13, 1, 42, 55, 10}) // す あ り っ こ
        press(button);
    EXPECT_EQ(screen->name(), QStringLiteral("すありっこ"));
    EXPECT_TRUE(clearButton()->isVisible());
    EXPECT_TRUE(f.messages.shown.isEmpty());

    press(2);
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("名前が長すぎます。")});
    EXPECT_EQ(screen->name(), QStringLiteral("すありっこ"));

    QTest::mouseClick(clearButton(), Qt::LeftButton);
    EXPECT_EQ(screen->name(), QStringLiteral("すありっ"));
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(clearButton(), Qt::LeftButton);
    EXPECT_EQ(screen->name(), QString());
    EXPECT_FALSE(clearButton()->isVisible());
}

TEST_F(Registration, RegisteringAddsThePupilAndWritesTheRosterAtOnce)
{
    f.addPupils(2);
    press(55); // っ: a small kana may start a name
    press(45);
    QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("btn_Touroku")), Qt::LeftButton);
    EXPECT_EQ(f.state.PlayerCount, 3);
    const PlayerRecord& pupil = f.state.Roster[3];
    EXPECT_EQ(pupil.Name.toUnicode(), QStringLiteral("っろ"));
    EXPECT_EQ(pupil.Level, 1);
    EXPECT_EQ(pupil.Mode, 1);
    EXPECT_EQ(pupil.Game1Level, 0);
    EXPECT_EQ(QFileInfo(f.path(QStringLiteral("Player1.dat"))).size(), 3 * PlayerRecord::Size);
    EXPECT_EQ(readFile(f.path(QStringLiteral("Player1.dat"))).mid(2 * 28 + 16, 5), hex("04 82c1 82eb"));
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::MainMenu});
    EXPECT_TRUE(screen.isNull() || !screen->isVisible()) << "the screen closed";
}

TEST_F(Registration, AnEmptyNameIsRefusedAndTheScreenCloses)
{
    QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("btn_Touroku")), Qt::LeftButton);
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("名前を登録してください。")});
    EXPECT_EQ(f.state.PlayerCount, 0);
    EXPECT_FALSE(QFileInfo::exists(f.path(QStringLiteral("Player1.dat"))));
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::MainMenu});
}

// A pupil is kept only once the roster on disk holds them. When it cannot be written the file
// is named, the registration is undone and the program ends: no history can then be written
// under a number that the next registration would give to someone else.
TEST_F(Registration, ARosterThatCannotBeWrittenKeepsNoPupilAndEndsTheProgram)
{
    f.addPupils(1);
    f.state.WriteRoster();
    const QByteArray old = readFile(f.path(QStringLiteral("Player1.dat")));
    for (const auto operation : {filestore::FaultPlan::Operation::Write, filestore::FaultPlan::Operation::Rename}) {
        f.messages.shown.clear();
        QWidget other;
        other.show();
        QPointer<TF_Touroku> registration = new TF_Touroku(f.program);
        registration->showScreen();
        QTest::mouseClick(registration->kanaButton(2), Qt::LeftButton);
        filestore::FaultPlan fault;
        fault.operation = operation;
        fault.error = ENOSPC;
        filestore::setFaultPlan(&fault);
        QTest::mouseClick(registration->findChild<QPushButton*>(QStringLiteral("btn_Touroku")), Qt::LeftButton);
        filestore::setFaultPlan(nullptr);

        EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Player1.datでエラーがおこりました。 ")});
        EXPECT_EQ(f.state.PlayerCount, 1);
        EXPECT_TRUE(f.state.Roster[2].Name.isEmpty());
        EXPECT_EQ(readFile(f.path(QStringLiteral("Player1.dat"))), old);
        EXPECT_FALSE(other.isVisible()) << "every window closes";
        EXPECT_TRUE(registration.isNull() || !registration->isVisible());
        EXPECT_TRUE(f.navigator.shown.empty()) << "the main menu is not shown again";
    }
}
