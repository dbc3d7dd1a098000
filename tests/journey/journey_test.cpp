// A new pupil's whole journey through the program, in one process and through the real
// screens: the program starts on a program folder made from the build's data files, two
// pupils register, the first studies up through level 1 reading and writing, practises, plays
// both games, looks at every grade screen, a parent changes the time limits, and the program
// exits. It then starts again on the same folder and settings file, and everything the pupil
// earned must still be there.
//
// Sound, help and message boxes are fakes (every question is answered Yes); dialogs are
// answered as they open. Time is a hand-moved clock, and every timer is ticked by hand.

#include "clickablelabel.h"
#include "clock.h"
#include "fakes.h"
#include "filestore.h"
#include "gamedriver.h"
#include "gradegrid.h"
#include "gradegriddriver.h"
#include "kanachart.h"
#include "memorychart.h"
#include "picturebutton.h"
#include "program.h"
#include "testprogram.h"
#include "randomsource.h"
#include "records.h"
#include "screenfixture.h"
#include "sessiondriver.h"
#include "studystate.h"
#include "testfiles.h"
#include "tf_game1.h"
#include "tf_game3.h"
#include "tf_game_kiroku.h"
#include "tf_hint.h"
#include "tf_k_ichiran.h"
#include "tf_kanri.h"
#include "tf_kseiseki1.h"
#include "tf_main.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_renshuu.h"
#include "tf_seiseki1.h"
#include "tf_seiseki2.h"
#include "tf_settei.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"
#include "updown.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <array>
#include <memory>
#include <set>

using namespace moji;
using namespace testing_support;

namespace {

const QString FirstPupil = QStringLiteral("たろう");
const QString SecondPupil = QStringLiteral("はなこ");

// What a screen's grid shows, every row.
std::vector<QStringList> gridTexts(const GradeGrid* grid)
{
    std::vector<QStringList> rows;
    for (int r = 0; r <= grid->rowCount(); ++r)
        rows.push_back(rowTexts(grid, r));
    return rows;
}

// A best-ten table as shown: "score|name" per row.
QStringList tableRows(const QTreeWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(1) + QLatin1Char('|') + list->topLevelItem(i)->text(2);
    return rows;
}

class Journey : public ::testing::Test {
protected:
    Journey()
    {
        folder = makeProgramFolder(dir.path());
        settingsPath = dir.filePath(QStringLiteral("config/Mojimaru.ini"));
    }
    ~Journey() override { run.reset(); }

    // Creates the services and the main menu and runs start-up, as the program does.
    void startProgram()
    {
        run.reset();
        run = std::make_unique<ProgramRun>(folder, settingsPath, clock);
        ASSERT_TRUE(run->start()) << run->messages.shown.join(u'\n').toStdString();
        ASSERT_TRUE(run->errors().isEmpty()) << run->errors().join(u'\n').toStdString();
    }

    StudyState& state() { return run->state; }

    // A command of the mode menu on view (1 to 4), or one of its games (-1 matching, -3 the
    // catcher).
    QWidget* modeCommand(int tag)
    {
        TF_Mode* menu = onView<TF_Mode>();
        if (!menu)
            return nullptr;
        return tag > 0 ? menu->commandLabel(tag) : menu->gameLabel(-tag);
    }

    void registerPupil(const QString& name)
    {
        click(run->mainMenu.command(7));
        TF_Touroku* screen = onView<TF_Touroku>();
        ASSERT_NE(screen, nullptr);
        for (const QChar c : name)
            click(screen->kanaButton(int(RegistrationKana.indexOf(c)) + 1));
        EXPECT_EQ(screen->name(), name);
        click(child(screen, "btn_Touroku"));
        EXPECT_TRUE(onView<TF_Main>());
    }

    TF_Mode* choosePupil(int n) { return testing_support::choosePupil(*run, n); }

    // From the mode menu back to the main menu.
    void leaveModeMenu()
    {
        back(onView<TF_Mode>());
        back(onView<TF_Player>());
        ASSERT_TRUE(onView<TF_Main>());
    }

    // Plays the question session on view: every question answered, question q wrongly when it
    // is in `wrong`, the kanji found by the three routes in turn; the scoring ticked through;
    // the wrong ones corrected in the review. It ends on the mode menu.
    void playSession(const std::set<int>& wrong)
    {
        QPointer<TF_Shutsudai> screen = onView<TF_Shutsudai>();
        ASSERT_TRUE(screen);
        clickShown(sessionButton(*screen, "Btn_Next")); // はじめ
        const Route routes[] = {Route::Part, Route::Strokes, Route::Candidates};
        for (int q = 1; q <= 10; ++q) {
            ASSERT_EQ(screen->currentQuestion(), q);
            clock.advanceSeconds(15);
            screen->Tim_ClockTimer();
            answerQuestion(*screen, state(), !wrong.contains(q), routes[q % 3]);
        }
        tickScoring();
        if (!wrong.empty()) {
            ASSERT_TRUE(screen && screen->isVisible() && screen->inReview()) << "the review follows";
            for (const int q : wrong) {
                ASSERT_EQ(screen->currentQuestion(), q);
                const QuizItem& item = state().QuizSet[q];
                if (state().StudyMode == 1)
                    typeKana(*screen, item.Answer.toUnicode());
                else
                    pickKanji(*screen, state(), item.KanjiNo, routes[q % 3]);
                checkInReview(*screen);
            }
        }
        EXPECT_TRUE(onView<TF_Mode>()) << "back on the mode menu";
        EXPECT_FALSE(state().RedoRound);
    }

    // A challenge at the pupil's own step, from the mode menu.
    void challenge(const std::set<int>& wrong)
    {
        clock.advanceSeconds(24 * 3600); // one a day
        click(modeCommand(3));
        playSession(wrong);
    }

    // Plays the catcher game on view to its end as a pupil who steers the paddle with the
    // arrow keys under the lowest falling answer, 30 ms of play per tick.
    void playCatcher(TF_Game3& screen)
    {
        QPointer<TF_Game3> alive = &screen;
        CatcherGame& game = screen.game();
        for (int tick = 0; tick < 40000 && alive && game.running(); ++tick) {
            int target = 0;
            for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
                const FallObject& o = game.object(i);
                if (o.IsAnswer && (o.State == FallObject::Falling || o.State == FallObject::Hanging)
                    && (target == 0 || o.Y > game.object(target).Y))
                    target = i;
            }
            if (target != 0) {
                // The paddle's middle under the kanji's middle, within half a step.
                const int kanjiMiddle = game.object(target).X + CatcherGame::ObjectSize / 2;
                const int offset = kanjiMiddle - (game.paddleX() + game.paddleWidth() / 2);
                const int slack = CatcherGame::PaddleStep / 2;
                const int want = offset > slack ? 1 : offset < -slack ? -1 : 0;
                const int moving = game.movingRight() ? 1 : game.movingLeft() ? -1 : 0;
                if (want != moving)
                    QTest::keyClick(&screen, want > 0 ? Qt::Key_Right : want < 0 ? Qt::Key_Left : Qt::Key_Down);
            }
            clock.advanceSeconds(TF_Game3::TickMilliseconds / 1000.0);
            screen.Timer1Timer();
        }
        EXPECT_TRUE(!alive || !game.running()) << "the game ends";
    }

    QTemporaryDir dir;
    QString folder;
    QString settingsPath;
    ManualClock clock{46363.5}; // 7 December 2026, noon
    ModalCloser modals;
    std::unique_ptr<ProgramRun> run;
};

} // namespace

TEST_F(Journey, ANewPupilsProgressSurvivesARestart)
{
    // ---- Start-up on a fresh folder: nobody is registered yet.
    startProgram();
    EXPECT_EQ(state().PlayerCount, 0);
    EXPECT_EQ(state().ReadTimeLimit, 10);
    EXPECT_EQ(state().WriteTimeLimit, 10);
    EXPECT_TRUE(QFile::exists(settingsPath)) << "the default limits are written back";
    EXPECT_TRUE(run->mainMenu.musicPlaying());

    // ---- Two pupils register on the kana buttons; the roster is on disk at once.
    registerPupil(FirstPupil);
    registerPupil(SecondPupil);
    ASSERT_EQ(state().PlayerCount, 2);
    EXPECT_EQ(QFileInfo(state().recordPath(QStringLiteral("Player1.dat"))).size(), 2 * PlayerRecord::Size);

    // ---- The first pupil starts at level 1 reading.
    TF_Mode* mode = choosePupil(1);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->nameLine()->text(), FirstPupil + QStringLiteral("のもじまるチャレンジ"));
    EXPECT_EQ(state().CurrentLevel, 1);
    EXPECT_EQ(state().StudyMode, 1);

    // ---- A reading challenge, all ten typed right on the kana chart; a look at the hints on
    // the way. A challenge is only ever offered at the pupil's own step, so reading
    // challenges come first: four perfect ones give the forty points of the step to writing.
    clock.advanceSeconds(3600);
    click(mode->commandLabel(3));
    {
        TF_Shutsudai* session = onView<TF_Shutsudai>();
        ASSERT_NE(session, nullptr);
        click(child<QWidget>(session, "Img_Button1"));
        ASSERT_FALSE(modals.closed.isEmpty());
        EXPECT_TRUE(modals.closed.back().startsWith(QStringLiteral("moji::TF_Hint")))
            << modals.closed.back().toStdString();
    }
    playSession({});
    EXPECT_TRUE(resultSaid(modals.closed, QStringLiteral("やったね！ １００点、おめでとう！")));
    EXPECT_EQ(state().LevelPoints, 10);
    for (int n = 2; n <= 4; ++n)
        challenge({});
    EXPECT_TRUE(resultSaid(modals.closed, QStringLiteral("やったね。これでレベルがあがったよ。")));
    EXPECT_EQ(state().Roster[1].Level, 1);
    EXPECT_EQ(state().Roster[1].Mode, 2) << "level 1 writing";
    EXPECT_EQ(state().LevelPoints, 0);
    EXPECT_EQ(state().StudyMode, 2) << "the mode menu reloaded the pupil";

    // ---- A writing challenge: eight right with the kanji pickers (by a part, by the stroke
    // count and among the candidates in turn), two wrong, corrected in the review.
    modals.closed.clear();
    challenge({3, 7});
    EXPECT_TRUE(resultSaid(modals.closed, QStringLiteral("ごうかくおめでとう！ふくしゅうもがんばったね。")));
    EXPECT_EQ(state().LevelPoints, 8);

    // ---- More writing until level 2 reading, where the games' levels can rise.
    for (int n = 1; n <= 4; ++n)
        challenge({});
    EXPECT_EQ(state().Roster[1].Level, 2);
    EXPECT_EQ(state().Roster[1].Mode, 1);
    EXPECT_EQ(state().LevelPoints, 0);

    // ---- Practice: writing at level 3, far beyond the pupil's own step.
    clock.advanceSeconds(24 * 3600);
    click(modeCommand(4));
    {
        TF_Renshuu* levels = onView<TF_Renshuu>();
        ASSERT_NE(levels, nullptr);
        click(levels->levelButton(2, 3));
    }
    EXPECT_FALSE(state().SessionKind);
    EXPECT_EQ(state().CurrentLevel, 3);
    playSession({});
    EXPECT_EQ(state().LevelPoints, 0) << "practice does not count";
    EXPECT_EQ(state().Roster[1].Level, 2);

    // ---- A level 2 reading challenge with seven right: seven points toward the next step.
    challenge({2, 5, 9});
    EXPECT_EQ(state().LevelPoints, 7);

    // ---- The matching game against the normal computer, won: matching level 0 → 1.
    click(modeCommand(-1));
    QStringList matchingTable;
    {
        TF_Game1* game = onView<TF_Game1>();
        ASSERT_NE(game, nullptr);
        modals.handleNext("moji::TF_Game_Kiroku", [&](QWidget* w) {
            matchingTable = tableRows(static_cast<TF_Game_Kiroku*>(w)->list());
            w->close();
        });
        click(child(game, "Btn_Start"));
        playMatchingGame(*game);
    }
    EXPECT_TRUE(run->messages.shown.contains(FirstPupil + QStringLiteral("のかち")));
    ASSERT_EQ(matchingTable.size(), 1);
    EXPECT_TRUE(matchingTable[0].endsWith(QLatin1Char('|') + FirstPupil));
    EXPECT_EQ(state().CurrentGame1Level, 1);
    EXPECT_TRUE(onView<TF_Mode>());

    // ---- The catcher game at the fastest speed, played until the table: catcher level 0 → 1.
    click(modeCommand(-3));
    QStringList catcherTable;
    {
        TF_Game3* game = onView<TF_Game3>();
        ASSERT_NE(game, nullptr);
        child<QSlider>(game, "TBar_Speed")->setValue(5);
        modals.handleNext("moji::TF_Game_Kiroku", [&](QWidget* w) {
            catcherTable = tableRows(static_cast<TF_Game_Kiroku*>(w)->list());
            w->close();
        });
        click(child(game, "Btn_Start"));
        game->Timer1().stop(); // ticked by hand
        playCatcher(*game);
    }
    EXPECT_TRUE(run->messages.shown.contains(QStringLiteral("おめでとう！ ごうかくです")));
    ASSERT_EQ(catcherTable.size(), 1);
    EXPECT_TRUE(catcherTable[0].endsWith(QLatin1Char('|') + FirstPupil));
    EXPECT_EQ(state().CurrentGame3Level, 1);
    EXPECT_TRUE(onView<TF_Mode>());

    // ---- The kanji board: level 1 is finished in both lists, so its twenty kanji are red.
    click(modeCommand(1));
    {
        TF_K_ichiran* board = onView<TF_K_ichiran>();
        ASSERT_NE(board, nullptr);
        for (const char* list : {"Btn_Yomi", "Btn_Kaki"}) {
            click(child(board, list));
            for (int t = 0; t < 100 && board->animating(); ++t)
                board->Tim_KanjiTimer();
            EXPECT_FALSE(board->animating());
            int red = 0;
            for (int i = 1; i <= board->board().kanjiCount(); ++i)
                red += board->board().kanji(i).passed ? 1 : 0;
            EXPECT_EQ(red, 20) << list;
        }
        back(board);
    }

    // ---- The per-kanji grades: every level 1 kanji cleared in both modes.
    click(modeCommand(2));
    std::vector<QStringList> kanjiGrades;
    {
        TF_KSeiseki1* grades = onView<TF_KSeiseki1>();
        ASSERT_NE(grades, nullptr);
        kanjiGrades = gridTexts(grades->grid());
        back(grades);
    }
    ASSERT_EQ(kanjiGrades.size(), 401u);
    for (int row = 1; row <= 400; ++row)
        EXPECT_EQ(kanjiGrades[std::size_t(row)][6], row <= 40 ? QStringLiteral("○") : QString()) << "row " << row;
    EXPECT_EQ(kanjiGrades[1][4], QStringLiteral("2")) << "each reading asked twice";
    const KanjiProgressTable progress = state().KanjiProgress;
    for (int k = firstKanjiOfLevel(1); k <= lastKanjiOfLevel(1); ++k) {
        EXPECT_TRUE(progress[k][1].Passed) << "reading " << k;
        EXPECT_TRUE(progress[k][2].Passed) << "writing " << k;
    }
    int level2Right = 0;
    for (int k = firstKanjiOfLevel(2); k <= lastKanjiOfLevel(2); ++k) {
        EXPECT_FALSE(progress[k][1].Passed) << "one right answer does not pass " << k;
        level2Right += progress[k][1].Correct;
    }
    EXPECT_EQ(level2Right, 7);
    const PlayerRecord pupil = state().Roster[1];

    // ---- The grades overview and the pupil's history, two pages of it.
    leaveModeMenu();
    click(run->mainMenu.command(6));
    std::vector<QStringList> historyPage1, historyPage2;
    {
        TF_Seiseki1* overview = onView<TF_Seiseki1>();
        ASSERT_NE(overview, nullptr);
        EXPECT_EQ(rowTexts(overview->grid(), 1), (QStringList{QStringLiteral("1"), FirstPupil, QStringLiteral("2")}));
        EXPECT_EQ(rowTexts(overview->grid(), 2), (QStringList{QStringLiteral("2"), SecondPupil, QStringLiteral("1")}));
        clickRow(overview->grid(), 1);
        TF_Seiseki2* history = onView<TF_Seiseki2>();
        ASSERT_NE(history, nullptr);
        historyPage1 = gridTexts(history->grid());
        click(history->nextButton());
        historyPage2 = gridTexts(history->grid());
        EXPECT_FALSE(history->nextButton()->isVisible());
        back(history);
        back(onView<TF_Seiseki1>());
    }
    // Four reading challenges, five writing ones, the practice and the level 2 challenge.
    const auto kind = [](const std::vector<QStringList>& page, int row) {
        return page[std::size_t(row)].mid(2, 1) + page[std::size_t(row)].mid(4, 3);
    };
    const auto expected = [](const char* level, const char* mode, const char* sort) {
        return QStringList{QString::fromUtf8(level), QString::fromUtf8(mode), QString::fromUtf8(sort), QStringLiteral("○")};
    };
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(kind(historyPage1, row), expected("1", "読む", "チャレンジ")) << row;
    for (int row = 5; row <= 9; ++row)
        EXPECT_EQ(kind(historyPage1, row), expected("1", "書く", "チャレンジ")) << row;
    EXPECT_EQ(kind(historyPage1, 10), expected("3", "書く", "れんしゅう"));
    EXPECT_EQ(kind(historyPage2, 1), expected("2", "読む", "チャレンジ"));
    EXPECT_EQ(historyPage2[2], QStringList(7, QString())) << "one record on the second page";

    // ---- A parent sets the time limits: reading 10 → 13, writing 10 → 8 with the arrows.
    bool settingsShown = false;
    modals.handleNext("moji::TF_Settei", [&](QWidget* w) {
        auto* settings = static_cast<TF_Settei*>(w);
        settingsShown = true;
        EXPECT_EQ(settings->yomuEdit()->text(), QStringLiteral("10"));
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(settings->yomuArrows()->upButton(), Qt::LeftButton);
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(settings->kakuArrows()->downButton(), Qt::LeftButton);
        QTest::mouseClick(settings->okButton(), Qt::LeftButton);
    });
    click(run->mainMenu.command(4));
    EXPECT_TRUE(settingsShown);
    EXPECT_EQ(state().ReadTimeLimit, 13);
    EXPECT_EQ(state().WriteTimeLimit, 8);

    // ---- Exit through the main menu.
    EXPECT_TRUE(run->errors().isEmpty()) << run->errors().join(u'\n').toStdString();
    click(run->mainMenu.command(8));
    EXPECT_FALSE(run->mainMenu.isVisible());
    EXPECT_FALSE(run->mainMenu.musicPlaying());

    // ==== The program starts again on the same folder and settings file.
    clock.advanceSeconds(24 * 3600);
    startProgram();
    ASSERT_EQ(state().PlayerCount, 2);
    EXPECT_EQ(state().Roster[1].Name.toUnicode(), FirstPupil);
    EXPECT_EQ(state().Roster[2].Name.toUnicode(), SecondPupil);
    EXPECT_EQ(state().Roster[1].encode(), pupil.encode()) << "step and game levels";
    EXPECT_EQ(state().Roster[2].Level, 1);
    EXPECT_TRUE(state().ReadHistory(2).empty()) << "the second pupil has not studied";
    EXPECT_EQ(state().ReadTimeLimit, 13);
    EXPECT_EQ(state().WriteTimeLimit, 8);

    // The pupil's menu: level 2 reading with seven points, both games at level 1, every kanji as
    // before.
    mode = choosePupil(1);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(state().CurrentLevel, 2);
    EXPECT_EQ(state().StudyMode, 1);
    EXPECT_EQ(state().LevelPoints, 7);
    EXPECT_EQ(state().CurrentGame1Level, 1);
    EXPECT_EQ(state().CurrentGame3Level, 1);
    EXPECT_TRUE(state().KanjiProgress == progress) << "every kanji's progress";
    click(mode->commandLabel(2));
    {
        TF_KSeiseki1* grades = onView<TF_KSeiseki1>();
        ASSERT_NE(grades, nullptr);
        EXPECT_EQ(gridTexts(grades->grid()), kanjiGrades);
        back(grades);
    }

    // A challenge now runs against the new reading limit; leaving it records nothing.
    click(modeCommand(3));
    {
        TF_Shutsudai* session = onView<TF_Shutsudai>();
        ASSERT_NE(session, nullptr);
        clickShown(sessionButton(*session, "Btn_Next"));
        EXPECT_EQ(child<QLabel>(session, "Lbl_Nokori_Time")->text(), QStringLiteral("のこり13ふん0びょう"));
        back(session);
    }
    EXPECT_EQ(state().ReadHistory(1).size(), 11u);

    // The history pages as before.
    leaveModeMenu();
    click(run->mainMenu.command(6));
    {
        TF_Seiseki1* overview = onView<TF_Seiseki1>();
        ASSERT_NE(overview, nullptr);
        clickRow(overview->grid(), 1);
        TF_Seiseki2* history = onView<TF_Seiseki2>();
        ASSERT_NE(history, nullptr);
        EXPECT_EQ(gridTexts(history->grid()), historyPage1);
        click(history->nextButton());
        EXPECT_EQ(gridTexts(history->grid()), historyPage2);
        back(history);
        back(onView<TF_Seiseki1>());
    }

    // The score tables hold the games as they were shown.
    for (const auto& [file, shown] : {std::pair{QStringLiteral("Game1.dat"), matchingTable},
                                      std::pair{QStringLiteral("Game13.dat"), catcherTable}}) {
        const auto stored = filestore::readRecords<GameScoreRecord>(state().recordPath(file), file);
        QStringList rows;
        for (const GameScoreRecord& r : stored)
            rows << QString::number(r.Score) + QLatin1Char('|') + r.Name.toUnicode();
        EXPECT_EQ(rows, shown) << file.toStdString();
    }

    // The settings dialog shows the limits in force; CANCEL leaves them.
    QStringList limitsShown;
    modals.handleNext("moji::TF_Settei", [&](QWidget* w) {
        auto* settings = static_cast<TF_Settei*>(w);
        limitsShown << settings->yomuEdit()->text() << settings->kakuEdit()->text();
        QTest::mouseClick(settings->cancelButton(), Qt::LeftButton);
    });
    click(run->mainMenu.command(4));
    EXPECT_EQ(limitsShown, (QStringList{QStringLiteral("13"), QStringLiteral("8")}));

    EXPECT_TRUE(run->errors().isEmpty()) << run->errors().join(u'\n').toStdString();
    click(run->mainMenu.command(8));
}

// A parent renames, resets and removes pupils on the parents' page, reached from the settings
// dialog; a name the registration would not accept is refused, every change is asked first,
// and after a restart each remaining pupil has their own name, history and game levels.
TEST_F(Journey, AParentRenamesResetsAndRemovesPupilsAndARestartKeepsIt)
{
    const QString names[] = {FirstPupil, SecondPupil, QStringLiteral("けん")};
    QByteArray roster;
    QByteArray history[4];
    for (int p = 1; p <= 3; ++p) {
        PlayerRecord r;
        r.Level = 1;
        r.Mode = 1;
        r.Game1Level = int16_t(p);
        r.Game3Level = int16_t(p + 3);
        r.Name = SjisString<10>::fromUnicode(names[p - 1]);
        roster += r.encode();
        history[p] = historyRun(1, 1, 1, FirstKanjiNo + p, 9, true).repeated(p);
        writeFile(QDir(folder).filePath(historyFileName(p)), history[p]);
    }
    writeFile(QDir(folder).filePath(QStringLiteral("Player1.dat")), roster);
    startProgram();
    ASSERT_EQ(state().PlayerCount, 3);

    const auto onParentsPage = [&](const std::function<void(TF_Kanri*)>& work) {
        bool shown = false;
        modals.handleNext("moji::TF_Settei", [&](QWidget* w) {
            auto* settings = static_cast<TF_Settei*>(w);
            modals.handleNext("moji::TF_Kanri", [&](QWidget* page) {
                shown = true;
                work(static_cast<TF_Kanri*>(page));
                QTest::mouseClick(child<QPushButton>(page, "Btn_Close"), Qt::LeftButton);
            });
            // From the settings dialog's own event loop: the closer's timer does not fire
            // again inside its own handler.
            QTimer::singleShot(0, settings, [settings] {
                QTest::mouseClick(settings->pupilsButton(), Qt::LeftButton);
                QTest::mouseClick(settings->cancelButton(), Qt::LeftButton);
            });
        });
        click(run->mainMenu.command(4));
        EXPECT_TRUE(shown);
    };
    const auto rename = [](TF_Kanri* page, int row, const QString& name) {
        page->pupilList()->setCurrentRow(row - 1);
        page->nameEdit()->setText(name);
        QTest::mouseClick(child<QPushButton>(page, "Btn_Rename"), Qt::LeftButton);
    };

    onParentsPage([&](TF_Kanri* page) {
        EXPECT_EQ(page->pupilList()->count(), 3);
        // Refused, and a parent who says no changes nothing.
        for (const QString& bad : {QStringLiteral("Taro"), QStringLiteral("たろうたろう"), QStringLiteral("タロウ"), QString()})
            rename(page, 2, bad);
        run->messages.answerYes = false;
        rename(page, 2, QStringLiteral("はな"));
        QTest::mouseClick(child<QPushButton>(page, "Btn_Remove"), Qt::LeftButton);
        run->messages.answerYes = true;
        EXPECT_EQ(state().Roster[2].Name.toUnicode(), SecondPupil);
        EXPECT_EQ(state().PlayerCount, 3);

        rename(page, 2, QStringLiteral("はなちゃん"));
        page->pupilList()->setCurrentRow(0);
        QTest::mouseClick(child<QPushButton>(page, "Btn_Reset"), Qt::LeftButton);
        page->pupilList()->setCurrentRow(1);
        QTest::mouseClick(child<QPushButton>(page, "Btn_Remove"), Qt::LeftButton);
        EXPECT_EQ(page->pupilList()->count(), 2);
        EXPECT_TRUE(page->pupilList()->item(1)->text().contains(names[2]));
    });
    const QStringList asked = run->messages.shown;
    ASSERT_GE(asked.size(), 10) << asked.join(u'\n').toStdString();
    EXPECT_EQ(asked.mid(0, 4), (QStringList{QStringLiteral("名前は、とうろくのがめんにあるひらがなで入れてください。"),
                                            QStringLiteral("名前が長すぎます。"),
                                            QStringLiteral("名前は、とうろくのがめんにあるひらがなで入れてください。"),
                                            QStringLiteral("新しい名前を入れてください。")}));
    EXPECT_EQ(asked[4], QStringLiteral("「はなこ」の名前を「はな」に変えます。よろしいですか？"));
    EXPECT_EQ(asked[5], QStringLiteral("「はなこ」の登録を消します。よろしいですか？"));
    EXPECT_EQ(asked[7], QStringLiteral("「たろう」の学習の記録を消して、レベル１のはじめからにします。よろしいですか？"));
    EXPECT_TRUE(asked[8].startsWith(QStringLiteral("これまでの記録は、控えのファイル「Kiroku-たろう-"))) << asked[8].toStdString();
    EXPECT_EQ(asked[9], QStringLiteral("「はなちゃん」の登録を消します。よろしいですか？"));
    EXPECT_TRUE(run->errors().isEmpty()) << run->errors().join(u'\n').toStdString();
    click(run->mainMenu.command(8));

    // After a restart: たろう from the start, けん second with their own history and games, and
    // both removed histories kept as backups.
    startProgram();
    ASSERT_EQ(state().PlayerCount, 2);
    EXPECT_EQ(state().Roster[1].Name.toUnicode(), FirstPupil);
    EXPECT_EQ(state().Roster[1].Level, 1);
    EXPECT_EQ(state().Roster[1].Game1Level, 0);
    EXPECT_TRUE(state().ReadHistory(1).empty());
    EXPECT_EQ(state().Roster[2].Name.toUnicode(), names[2]);
    EXPECT_EQ(state().Roster[2].Game1Level, 3);
    EXPECT_EQ(state().Roster[2].Game3Level, 6);
    EXPECT_EQ(readFile(QDir(folder).filePath(historyFileName(2))), history[3]);
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(historyFileName(3))));
    QStringList backups;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.bak")}))
        backups << QString::fromLatin1(readFile(QDir(folder).filePath(name)).toHex());
    EXPECT_EQ(backups.size(), 2);
    EXPECT_TRUE(backups.contains(QString::fromLatin1(history[1].toHex())));
    EXPECT_TRUE(backups.contains(QString::fromLatin1(history[2].toHex())));
    TF_Mode* mode = choosePupil(2);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(state().ReadHistory(2).size(), 3u);
}

// ふくしゅう as a pupil and a parent meet it: the mode menu counts the learned kanji due today,
// a review asks ten of them and is recorded as practice without moving the pupil's step, the
// grades mark the fading ones, a pupil with nothing learned is offered practice, the parents'
// page charts what a pupil remembers, and a parent's switch hides it, also after a restart.
TEST_F(Journey, ReviewOfLearnedKanjiAndItsSwitch)
{
    // たろう learned level 1 (reading and writing) and level 2 reading five to six weeks ago,
    // each kanji right twice, and is now on level 2 writing; はなこ has only just begun.
    QByteArray roster;
    for (const QString& name : {FirstPupil, SecondPupil}) {
        PlayerRecord r;
        r.Level = 1;
        r.Mode = 1;
        r.Name = SjisString<10>::fromUnicode(name);
        roster += r.encode();
    }
    QByteArray history;
    double when = clock.now() - 42;
    for (const auto& [level, mode] : {std::pair{1, 1}, std::pair{1, 2}, std::pair{2, 1}}) {
        for (int i = 0; i < 4; ++i, when += 1) {
            const int first = firstKanjiOfLevel(level) + (i % 2) * 10;
            history += historyBytes(1, level, mode, when, {first, first + 1, first + 2, first + 3, first + 4, first + 5,
                                                           first + 6, first + 7, first + 8, first + 9},
                                    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, true);
        }
    }
    writeFile(QDir(folder).filePath(QStringLiteral("Player1.dat")), roster);
    writeFile(QDir(folder).filePath(historyFileName(1)), history);
    startProgram();

    TF_Mode* menu = choosePupil(1);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(state().Roster[1].Level, 2);
    EXPECT_EQ(state().Roster[1].Mode, 2);
    ASSERT_TRUE(menu->reviewButton()->isVisible());
    EXPECT_EQ(menu->reviewLine(), QStringLiteral("きょうの　ふくしゅう　６０こ"));

    // ---- The review: ten learned kanji, one answered wrongly and corrected.
    const KanjiProgressTable progressBefore = state().KanjiProgress;
    click(menu->reviewButton());
    TF_Shutsudai* session = onView<TF_Shutsudai>();
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(child<QLabel>(session, "Lbl_Title")->text(), QStringLiteral("ふくしゅう：おぼえた　かんじを　もういちど！"));
    const int mode = state().StudyMode;
    std::set<int> asked;
    for (int q = 1; q <= 10; ++q) {
        const int k = state().QuizSet[q].KanjiNo;
        asked.insert(k);
        // Learned: levels 1 and 2 in reading, level 1 in writing.
        EXPECT_LE(k, lastKanjiOfLevel(mode == 1 ? 2 : 1)) << k;
    }
    EXPECT_EQ(asked.size(), 10u);
    playSession({3});

    const std::vector<HistoryRecord> after = state().ReadHistory(1);
    ASSERT_EQ(after.size(), 13u);
    const HistoryRecord& review = after.back();
    EXPECT_EQ(review.Kind, 2) << "recorded as practice";
    EXPECT_EQ(review.Mode, mode);
    EXPECT_TRUE(review.Level == 1 || review.Level == 2);
    EXPECT_EQ(review.correctCount(), 9);
    EXPECT_EQ(std::set<int>(review.KanjiNo.begin(), review.KanjiNo.end()), asked);
    EXPECT_EQ(state().Roster[1].Level, 2) << "no step moves";
    EXPECT_EQ(state().Roster[1].Mode, 2);
    EXPECT_EQ(state().LevelPoints, 0);
    EXPECT_TRUE(state().KanjiProgress == progressBefore);
    menu = onView<TF_Mode>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->reviewLine(), QStringLiteral("きょうの　ふくしゅう　５０こ"));

    // ---- The grades mark the fifty learned kanji not yet reviewed, and only them.
    click(modeCommand(2));
    TF_KSeiseki1* grades = onView<TF_KSeiseki1>();
    ASSERT_NE(grades, nullptr);
    int fading = 0;
    for (int row = 1; row <= 2 * KanjiCount; ++row) {
        const int k = FirstKanjiNo + (row - 1) / 2;
        const int m = 2 - row % 2;
        const bool learned = k <= lastKanjiOfLevel(m == 1 ? 2 : 1);
        const bool reviewed = m == mode && asked.contains(k);
        EXPECT_EQ(grades->fading(row), learned && !reviewed) << row;
        fading += grades->fading(row) ? 1 : 0;
    }
    EXPECT_EQ(fading, 50);
    back(grades);
    leaveModeMenu();

    // ---- Nothing learned yet: a kind word, and practice on Yes.
    menu = choosePupil(2);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->reviewLine(), QStringLiteral("きょうの　ふくしゅうは　ないよ"));
    click(menu->reviewButton());
    ASSERT_FALSE(run->messages.shown.isEmpty());
    EXPECT_TRUE(run->messages.shown.last().endsWith(QStringLiteral("れんしゅうを　してみる？")));
    back(onView<TF_Renshuu>());
    leaveModeMenu();

    // ---- The parents' page charts たろう's weeks: 40 readings and 20 writings learned.
    bool charted = false;
    modals.handleNext("moji::TF_Settei", [&](QWidget* w) {
        auto* settings = static_cast<TF_Settei*>(w);
        modals.handleNext("moji::TF_Kanri", [&](QWidget* page) {
            charted = true;
            const auto& weeks = static_cast<TF_Kanri*>(page)->chart()->weeks();
            EXPECT_EQ(weeks.size(), 7u) << "from the first session's week";
            ASSERT_FALSE(weeks.empty());
            EXPECT_EQ(weeks.back().learned, (std::array<int, 2>{40, 20}));
            EXPECT_GE(weeks.back().remembered[std::size_t(mode - 1)], 10);
            EXPECT_EQ(weeks.front().learned, (std::array<int, 2>{0, 0}));
            QTest::mouseClick(child<QPushButton>(page, "Btn_Close"), Qt::LeftButton);
        });
        QTimer::singleShot(0, settings, [settings] {
            QTest::mouseClick(settings->pupilsButton(), Qt::LeftButton);
            // ---- A parent switches ふくしゅう off.
            ASSERT_TRUE(settings->spacedReviewSwitch()->isChecked());
            settings->spacedReviewSwitch()->setChecked(false);
            QTest::mouseClick(settings->okButton(), Qt::LeftButton);
        });
    });
    click(run->mainMenu.command(4));
    EXPECT_TRUE(charted);
    EXPECT_FALSE(state().SpacedReviewOn);

    const auto reviewHidden = [&] {
        TF_Mode* m = choosePupil(1);
        ASSERT_NE(m, nullptr);
        EXPECT_FALSE(m->reviewButton()->isVisible());
        click(modeCommand(2));
        TF_KSeiseki1* g = onView<TF_KSeiseki1>();
        ASSERT_NE(g, nullptr);
        for (int row = 1; row <= 2 * KanjiCount; ++row)
            EXPECT_FALSE(g->fading(row)) << row;
        EXPECT_EQ(child<QLabel>(g, "Lbl_Fading"), nullptr);
        back(g);
        leaveModeMenu();
    };
    reviewHidden();
    click(run->mainMenu.command(8));
    startProgram();
    EXPECT_FALSE(state().SpacedReviewOn) << "the switch survives a restart";
    reviewHidden();
    EXPECT_TRUE(QString::fromUtf8(readFile(settingsPath)).contains(QStringLiteral("Fukushuu=0")));
}
