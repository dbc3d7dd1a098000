// The program under a real window manager: every screen closed the way a desktop closes a
// window (Alt+F4, a task bar's close) goes where its own back button goes, with the same
// question where the screen asks one, and the main menu's close is the exit command. The
// loading notice never covers the program, and the main menu points at the command to use
// whenever it becomes active.

#include "clickablelabel.h"
#include "desktop.h"
#include "desktopprogram.h"
#include "picturebutton.h"
#include "records.h"
#include "sessiondriver.h"
#include "tf_game1.h"
#include "tf_game3.h"
#include "tf_hint.h"
#include "tf_k_ichiran.h"
#include "tf_kseiseki1.h"
#include "tf_level_up.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_pop.h"
#include "tf_renshuu.h"
#include "tf_saiten.h"
#include "tf_seiseki1.h"
#include "tf_seiseki2.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QFileInfo>
#include <QScreen>

using namespace moji;
using namespace testing_support;

namespace {

const QString Quit = QStringLiteral("がくしゅうをやめてもよいですか？");

// Alt+F4 on the screen of type From, which must then give way to the screen of type To.
template <typename From, typename To>
To* closeWithAltF4()
{
    From* from = waitForTheOnlyScreen<From>();
    if (!from)
        return nullptr;
    pressAltF4(from);
    return waitForTheOnlyScreen<To>();
}

QPoint centreOf(const QWidget* w)
{
    return w->mapToGlobal(w->rect().center());
}

class WindowManager : public DesktopProgram {};

} // namespace

TEST_F(WindowManager, EveryScreenClosedByTheWindowManagerGoesWhereItsBackButtonGoes)
{
    start();
    TF_Main& menu = run->mainMenu;

    click(menu.command(7));
    closeWithAltF4<TF_Touroku, TF_Main>();
    click(menu.command(5));
    closeWithAltF4<TF_Player, TF_Main>();
    click(menu.command(6));
    TF_Seiseki1* overview = waitForTheOnlyScreen<TF_Seiseki1>();
    ASSERT_NE(overview, nullptr);
    overview->Grd_SeisekiClick(1);
    closeWithAltF4<TF_Seiseki2, TF_Seiseki1>();
    closeWithAltF4<TF_Seiseki1, TF_Main>();

    TF_Mode* modeMenu = choosePupil(*run, 1);
    ASSERT_NE(modeMenu, nullptr);
    TF_Player* players = closeWithAltF4<TF_Mode, TF_Player>();
    ASSERT_NE(players, nullptr);
    click(players->nameLabel(1));
    modeMenu = waitForTheOnlyScreen<TF_Mode>();
    ASSERT_NE(modeMenu, nullptr);
    click(modeMenu->commandLabel(1));
    closeWithAltF4<TF_K_ichiran, TF_Mode>();
    click(modeMenu->commandLabel(2));
    closeWithAltF4<TF_KSeiseki1, TF_Mode>();
    click(modeMenu->commandLabel(4));
    closeWithAltF4<TF_Renshuu, TF_Mode>();
    click(modeMenu->gameLabel(1));
    closeWithAltF4<TF_Game1, TF_Mode>();
    click(modeMenu->gameLabel(3));
    closeWithAltF4<TF_Game3, TF_Mode>();

    // A dialog over a screen closes alone.
    whenBoxOpens([](QWidget* box) {
        EXPECT_TRUE(qobject_cast<TF_Hint*>(box));
        pressAltF4(box);
    });
    click(child<QWidget>(modeMenu, "Img_Button1"));
    EXPECT_TRUE(waitForTheOnlyScreen<TF_Mode>());

    // The main menu's close is the exit command: the roster is written and the menu goes.
    back(modeMenu);
    back(waitForTheOnlyScreen<TF_Player>());
    ASSERT_TRUE(waitForTheOnlyScreen<TF_Main>());
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("Player1.dat"))));
    pressAltF4(&menu);
    EXPECT_TRUE(waitFor([&] { return !menu.isVisible(); }));
    EXPECT_TRUE(run->program.ending);
    EXPECT_EQ(QFileInfo(path(QStringLiteral("Player1.dat"))).size(), PlayerRecord::Size);
}

TEST_F(WindowManager, ClosingASessionAsksFirstAndScoringGoesOnByItself)
{
    start();
    QPointer<TF_Shutsudai> session = startChallenge();
    ASSERT_TRUE(session);

    // Alt+F4 asks the session's own question: いいえ keeps the session and its clock.
    bool asked = false;
    whenBoxOpens([&asked](QWidget* box) {
        asked = boxText(box) == Quit;
        pressBoxButton(box, QStringLiteral("いいえ"));
    });
    ASSERT_TRUE(waitForTheOnlyScreen<TF_Shutsudai>());
    pressAltF4(session);
    ASSERT_TRUE(waitFor([&asked] { return asked; })) << "the quit question was asked";
    ASSERT_EQ(waitForTheOnlyScreen<TF_Shutsudai>(), session.data());
    EXPECT_TRUE(session->Tim_Clock().isActive());

    // Closed from a task bar and answered はい: back on the mode menu with nothing recorded.
    whenBoxOpens([](QWidget* box) { pressBoxButton(box, QStringLiteral("はい")); });
    closeFromTaskBar(session);
    EXPECT_TRUE(waitForTheOnlyScreen<TF_Mode>());
    EXPECT_EQ(historyRecords(), 0);

    // The scoring screen has no way back: closed, it goes on; the result dialog closes alone
    // and the review follows.
    session = startChallenge();
    ASSERT_TRUE(session);
    for (int q = 1; q <= 10; ++q) {
        if (q == 10)
            whenBoxOpens([](QWidget* box) { pressBoxButton(box, QStringLiteral("はい")); });
        clickShown(sessionButton(*session, "Btn_Next"));
    }
    TF_Saiten* scoring = waitForTheOnlyScreen<TF_Saiten>();
    ASSERT_NE(scoring, nullptr);
    pressAltF4(scoring);
    QTest::qWait(300);
    EXPECT_EQ(waitForTheOnlyScreen<TF_Saiten>(), scoring);
    whenBoxOpens([](QWidget* box) {
        EXPECT_TRUE(qobject_cast<TF_Level_Up*>(box));
        pressAltF4(box);
    });
    tickScoring();
    ASSERT_TRUE(session);
    ASSERT_EQ(waitForTheOnlyScreen<TF_Shutsudai>(), session.data());
    EXPECT_TRUE(session->inReview());
    EXPECT_EQ(historyRecords(), 1) << "the failed session, once";
}

TEST_F(WindowManager, TheLoadingNoticeNeverCoversTheProgramAndTheMenuPointsTheWay)
{
    const QColor navy(0, 0, 128);
    run = std::make_unique<ProgramRun>(folder, dir.filePath(QStringLiteral("config/Mojimaru.ini")), clock,
                                       ProgramRun::Boxes::Real, ScreenInfo{640, 480, 24, 60, 96});
    TF_Main& menu = run->mainMenu;
    ASSERT_TRUE(menu.FormCreate());
    const QPointer<TF_Pop> notice = menu.notice();
    ASSERT_TRUE(notice && notice->isVisible()) << "the notice shows while the files load";
    menu.showScreen();
    ASSERT_TRUE(waitForTheOnlyScreen<TF_Main>());
    ASSERT_TRUE(waitFor([&] { return !notice->isVisible(); })) << "and goes once the menu is there";
    EXPECT_TRUE(waitFor([&] { return QCursor::pos() == centreOf(menu.command(7)); }))
        << "nobody registered yet: registration";

    // The notice is no window of the task bar or of Alt+Tab: the menu stays in front.
    const QStringList managed = desktopTool(QStringLiteral("wmctrl"), {QStringLiteral("-l")}).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(managed.size(), 1) << managed.join(u'\n').toStdString();
    desktopTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+Tab")});
    QTest::qWait(300);
    EXPECT_TRUE(waitForTheOnlyScreen<TF_Main>());
    EXPECT_EQ(seenAt(5, 300), navy);

    // Minimised by its own command and restored from the task bar, the menu comes back alone,
    // pointing at the study command now that a pupil is registered.
    state().RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("はなこ")));
    QCursor::setPos(0, 0);
    click(menu.command(3));
    ASSERT_TRUE(waitFor([&] { return !menu.isActiveWindow() && seenAt(5, 300) != navy; })) << "the menu went to the task bar";
    desktopTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-a"), QString::number(menu.winId())});
    ASSERT_TRUE(waitForTheOnlyScreen<TF_Main>());
    EXPECT_FALSE(notice && notice->isVisible());
    EXPECT_EQ(seenAt(5, 300), navy);
    EXPECT_TRUE(waitFor([&] { return QCursor::pos() == centreOf(menu.command(5)); }));
}
