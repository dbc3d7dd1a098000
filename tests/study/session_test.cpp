// Whole study sessions through the real widgets: the answers are built by clicking the kana
// chart and the kanji pickers, the scoring screen is ticked row by row, and the history file
// shows what was recorded.

#include "pickerpanels.h"
#include "review.h"
#include "screenfixture.h"
#include "sessiondriver.h"
#include "testfiles.h"
#include "tf_saiten.h"
#include "tf_shutsudai.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace moji;
using namespace testing_support;

namespace {

class Session : public ::testing::Test {
protected:
    Session()
    {
        f.loadDictionary();
        for (int g = 1; g <= 8; ++g)
            f.useBuiltFile(QStringLiteral("bushu%1.bmp").arg(g));
        for (int n = 1; n <= 3; ++n)
            f.useBuiltFile(QStringLiteral("Present%1.wmf").arg(n));
    }
    ~Session() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        // The screens go before the program they refer to, not in a later test's event loop.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A pupil at this step, selected, starting a challenge (or practice at that level).
    void begin(int level, int mode, bool challenge = true)
    {
        f.addPupils(1, level, mode);
        f.state.SelectPupil(1);
        f.state.SessionKind = challenge;
        f.state.CurrentLevel = int16_t(level);
        f.state.StudyMode = int16_t(mode);
        screen = new TF_Shutsudai(f.program);
        screen->showScreen();
        ASSERT_EQ(button("Btn_Next")->text(), QStringLiteral("はじめ"));
        click("Btn_Next");
        ASSERT_EQ(screen->currentQuestion(), 1);
    }

    QPushButton* button(const char* name) const { return screen->findChild<QPushButton*>(QLatin1String(name)); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    void click(QPushButton* b) const
    {
        ASSERT_TRUE(b && b->isVisible());
        QTest::mouseClick(b, Qt::LeftButton);
    }

    const QuizItem& item(int n) const { return f.state.QuizSet[n]; }

    void typeKana(const QString& kana) { testing_support::typeKana(*screen, kana); }
    void pickKanji(int kanjiNo, Route route) { testing_support::pickKanji(*screen, f.state, kanjiNo, route); }
    void answer(bool right, Route route = Route::Part) { answerQuestion(*screen, f.state, right, route); }
    void score() { tickScoring(); }

    QByteArray history() const { return readFile(f.path(historyFileName(1))); }
    // Whether a result dialog was shown with this message.
    bool resultSaid(const QString& message) const { return testing_support::resultSaid(modals.closed, message); }

    ScreenFixture f;
    QPointer<TF_Shutsudai> screen;
    ModalCloser modals;
};

} // namespace

TEST_F(Session, APerfectReadingChallengeIsRecordedAsCounted)
{
    begin(1, 1);
    EXPECT_EQ(screen->helpTopic(), 351);
    EXPECT_EQ(screen->sentenceColour(item(1).TargetPiece), QColor(Qt::red));
    EXPECT_EQ(screen->sentenceText(item(1).TargetPiece), f.state.KanjiTable[item(1).KanjiNo].Glyph.toUnicode())
        << "the red part shows the kanji to read";
    for (int q = 1; q <= 10; ++q) {
        ASSERT_EQ(screen->currentQuestion(), q);
        EXPECT_EQ(screen->findChild<QGroupBox*>(QStringLiteral("Grp_Mondai"))->title(), QStringLiteral("だい%1もん").arg(q));
        answer(true);
    }
    EXPECT_EQ(f.messages.shown.back(), QStringLiteral("１０もんおわりました。さいてんしてよいですか？"));
    EXPECT_FALSE(screen->isVisible()) << "hidden behind the scoring";
    TF_Saiten* saiten = topLevel<TF_Saiten>();
    ASSERT_NE(saiten, nullptr);
    for (int i = 0; i < 2; ++i)
        saiten->Tim_SaitenTimer();
    // The asked word is red within the sentence, as the question showed it.
    const auto* sentence = qobject_cast<const QLabel*>(saiten->grid()->cellWidget(1, 1));
    ASSERT_NE(sentence, nullptr);
    const QString shown = sentence->text();
    const QString target = item(1).TargetPiece == 1 ? item(1).Piece1.toUnicode()
                           : item(1).TargetPiece == 2 ? item(1).Piece2.toUnicode() : item(1).Piece3.toUnicode();
    EXPECT_TRUE(shown.contains(QStringLiteral("color:#e00000\">") + target + QStringLiteral("</span>"))) << qPrintable(shown);
    EXPECT_TRUE(saiten->grid()->item(3, 4)->text().isEmpty());
    // A click shows the rest at once: the score is final before the next tick ends the scoring.
    QTest::mouseClick(saiten->grid()->viewport(), Qt::LeftButton);
    EXPECT_EQ(saiten->scoreLabel()->text(), QStringLiteral("100点"));
    EXPECT_EQ(saiten->grid()->item(10, 4)->text(), QStringLiteral("○"));
    EXPECT_EQ(f.audio.playerFor(QStringLiteral("Maru.wav")), nullptr) << "no sound players in this fixture";
    saiten->Tim_SaitenTimer();

    const QByteArray h = history();
    ASSERT_EQ(h.size(), 52);
    EXPECT_EQ(h[0], 1) << "challenge";
    EXPECT_EQ(h[48], 1) << "counted";
    EXPECT_EQ(f.state.LevelPoints, 10);
    EXPECT_TRUE(resultSaid(QStringLiteral("やったね！ １００点、おめでとう！"))) << qPrintable(modals.closed.join(u'\n'));
    EXPECT_EQ(f.navigator.shown.back(), Screen::ModeMenu);
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
    EXPECT_FALSE(f.state.SessionAlive);
}

TEST_F(Session, EightRightInWritingThenAReviewThatRecordsAtTheEnd)
{
    begin(2, 2);
    EXPECT_EQ(screen->helpTopic(), 352);
    const Route routes[] = {Route::Part, Route::Strokes, Route::Candidates};
    for (int q = 1; q <= 10; ++q)
        answer(q != 3 && q != 7, routes[q % 3]);
    score();
    EXPECT_TRUE(history().isEmpty()) << "7 to 9 right: recorded after the review";
    ASSERT_TRUE(screen && screen->isVisible()) << "the review follows";
    EXPECT_TRUE(f.state.RedoRound);
    EXPECT_TRUE(screen->inReview());
    EXPECT_EQ(screen->helpTopic(), 37);
    EXPECT_EQ(screen->currentQuestion(), 3);
    EXPECT_EQ(screen->answerText(), QString()) << "each review question starts empty";

    // A large × shows over the wrong answer, which stays under it for its second; then the
    // answer is emptied on the same question. A right one shows a ○ over the answer before
    // the next question comes.
    auto* mark = screen->findChild<QLabel*>(QStringLiteral("Lbl_Maru_Batsu"));
    ASSERT_NE(mark, nullptr);
    EXPECT_FALSE(mark->isVisible());
    pickKanji(otherKanji(item(3).KanjiNo), Route::Strokes);
    const QString wrong = screen->answerText();
    click("Btn_awase");
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->text(), QStringLiteral("×"));
    EXPECT_EQ(screen->answerText(), wrong) << "the answer stays under its mark";
    QTRY_VERIFY_WITH_TIMEOUT(!mark->isVisible(), 3000);
    EXPECT_EQ(screen->currentQuestion(), 3);
    EXPECT_EQ(screen->answerText(), QString());
    pickKanji(item(3).KanjiNo, Route::Part);
    click("Btn_awase");
    EXPECT_EQ(mark->text(), QStringLiteral("○"));
    EXPECT_EQ(screen->currentQuestion(), 3);
    EXPECT_EQ(screen->answerText(), item(3).Answer.toUnicode());
    QTRY_VERIFY_WITH_TIMEOUT(!mark->isVisible(), 3000);
    EXPECT_EQ(screen->currentQuestion(), 7);
    pickKanji(item(7).KanjiNo, Route::Candidates);
    checkInReview(*screen);

    const QByteArray h = history();
    ASSERT_EQ(h.size(), 52) << "exactly one record";
    EXPECT_EQ(h[48], 1) << "counted";
    EXPECT_EQ(h[36 + 2], 0) << "question 3 was wrong at scoring";
    EXPECT_EQ(f.state.LevelPoints, 8);
    EXPECT_TRUE(resultSaid(QStringLiteral("ごうかくおめでとう！ふくしゅうもがんばったね。"))) << qPrintable(modals.closed.join(u'\n'));
    EXPECT_FALSE(f.state.RedoRound);
    EXPECT_EQ(f.navigator.shown.back(), Screen::ModeMenu);
}

TEST_F(Session, FiveRightIsRecordedAsNotCountedBeforeTheReview)
{
    begin(1, 1);
    for (int q = 1; q <= 10; ++q)
        answer(q % 2 == 0);
    score();
    const QByteArray h = history();
    ASSERT_EQ(h.size(), 52);
    EXPECT_EQ(h[48], 0) << "not counted";
    EXPECT_EQ(f.state.LevelPoints, 0);
    EXPECT_TRUE(resultSaid(QStringLiteral("ざんねんだったね。"))) << "the result comes before the review";
    ASSERT_TRUE(screen && screen->inReview());
    for (int q = 1; q <= 9; q += 2) {
        ASSERT_EQ(screen->currentQuestion(), q);
        typeKana(item(q).Answer.toUnicode());
        checkInReview(*screen);
    }
    EXPECT_EQ(history().size(), 52) << "nothing more is recorded";
    EXPECT_EQ(f.navigator.shown.back(), Screen::ModeMenu);
}

TEST_F(Session, TimeRunningOutOnQuestionFourScoresWhatThereIs)
{
    begin(3, 1);
    for (int q = 1; q <= 3; ++q)
        answer(true);
    typeKana(QStringLiteral("あ")); // not committed
    f.clock.advanceSeconds(10 * 60 + 1);
    screen->Tim_ClockTimer();
    EXPECT_EQ(f.messages.shown.back(), QStringLiteral("じかんがすぎました。さいてんします。"));
    EXPECT_FALSE(screen->Tim_Clock().isActive());
    EXPECT_TRUE(item(4).Given.isEmpty()) << "the answer being built is not kept";
    for (int q = 5; q <= 10; ++q) {
        EXPECT_TRUE(item(q).Given.isEmpty()) << q;
        EXPECT_FALSE(item(q).Answer.isEmpty()) << "its correct answer is filled in: " << q;
        EXPECT_NE(item(q).TargetPiece, 0) << q;
    }
    score();
    EXPECT_EQ(f.state.SessionCorrect, 3);
    EXPECT_EQ(history().size(), 52);
}

// Without the question bank at the time-out, the questions never shown have no correct answer
// to match: they are wrong, not right because two empty answers are equal.
TEST_F(Session, QuestionsThatNeverLoadedAreWrongAtTheTimeOut)
{
    begin(3, 1);
    answer(true);
    ASSERT_TRUE(QFile::remove(f.path(QStringLiteral("Mondai1.dat"))));
    f.clock.advanceSeconds(10 * 60 + 1);
    screen->Tim_ClockTimer();
    for (int q = 3; q <= 10; ++q)
        EXPECT_TRUE(item(q).Answer.isEmpty()) << "never shown: " << q;
    score();
    EXPECT_EQ(f.state.SessionCorrect, 1);
    EXPECT_EQ(history().size(), 52) << "recorded as a failed session";
    EXPECT_TRUE(f.messages.shown.contains(fileErrorMessage(QStringLiteral("Mondai1.dat"))))
        << "and the review, which needs the bank, reports it";
}

// A question whose target part is not 1, 2 or 3 comes from a damaged bank: the bank is named
// and the program ends, rather than some part being shown in red.
TEST_F(Session, AQuestionWithoutATargetPartEndsTheProgram)
{
    f.addPupils(1, 1, 1);
    f.state.SelectPupil(1);
    f.state.SessionKind = true;
    f.state.CurrentLevel = 1;
    f.state.StudyMode = 1;
    const QString bank = f.path(QStringLiteral("Mondai1.dat"));
    const QByteArray good = readFile(bank);
    for (const int target : {0, 4, -1}) {
        QByteArray bad = good;
        for (qsizetype r = 0; r + QuestionRecord::Size <= bad.size(); r += QuestionRecord::Size)
            bad.replace(r + 2, 2, Bytes().i16(target).data());
        writeFile(bank, bad);
        f.messages.shown.clear();
        QWidget other;
        other.show();
        screen = new TF_Shutsudai(f.program);
        screen->showScreen();
        click("Btn_Next");
        EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Mondai1.datでエラーがおこりました。 ")}) << target;
        EXPECT_FALSE(other.isVisible()) << "every window closes";
        EXPECT_TRUE(screen.isNull() || !screen->isVisible());
    }
    EXPECT_TRUE(history().isEmpty()) << "nothing is recorded";
}

TEST_F(Session, QuittingDuringTheReviewRecordsNothing)
{
    begin(1, 1);
    for (int q = 1; q <= 10; ++q)
        answer(q > 2);
    score();
    ASSERT_TRUE(screen && screen->inReview());
    f.messages.answerYes = false;
    screen->headerCommand(4);
    EXPECT_TRUE(screen && screen->isVisible()) << "No keeps the review going";
    f.messages.answerYes = true;
    screen->headerCommand(4);
    EXPECT_EQ(f.messages.shown.back(), QStringLiteral("がくしゅうをやめてもよいですか？"));
    EXPECT_TRUE(history().isEmpty());
    EXPECT_FALSE(f.state.RedoRound);
    EXPECT_EQ(f.navigator.shown.back(), Screen::ModeMenu);
}

// A pupil stuck on a review question is shown the answer after the second wrong try (the
// kanji with its numbered strokes in writing, the reading in reading) but must still enter it
// to move on; leaving the review then records nothing, as before.
TEST_F(Session, AStuckPupilIsShownTheAnswerAfterTwoWrongTries)
{
    QLabel* shown = nullptr;
    for (const int mode : {2, 1}) {
        begin(3, mode);
        shown = screen->findChild<QLabel*>(QStringLiteral("Lbl_Kotae_Oshie"));
        for (int q = 1; q <= 10; ++q)
            answer(q != 2 && q != 5);
        score();
        ASSERT_TRUE(screen && screen->inReview());
        ASSERT_EQ(screen->currentQuestion(), 2);
        const QString right = item(2).Answer.toUnicode();
        auto wrongTry = [&] {
            if (mode == 2)
                pickKanji(otherKanji(item(2).KanjiNo), Route::Strokes);
            else
                typeKana(QStringLiteral("ぬ"));
            checkInReview(*screen);
        };
        wrongTry();
        EXPECT_FALSE(shown->isVisible()) << mode << ": one wrong try is not yet stuck";
        EXPECT_TRUE(modals.closed.filter(QStringLiteral("TF_Kakijun")).isEmpty());
        wrongTry();
        EXPECT_TRUE(shown->isVisible()) << mode;
        EXPECT_TRUE(shown->text().contains(right)) << qPrintable(shown->text());
        EXPECT_EQ(screen->currentQuestion(), 2) << "the answer must still be entered";
        EXPECT_EQ(screen->answerText(), QString());
        const QStringList diagrams = modals.closed.filter(QStringLiteral("moji::TF_Kakijun:"));
        if (mode == 2) {
            ASSERT_EQ(diagrams.size(), 1);
            EXPECT_TRUE(diagrams[0].contains(QStringLiteral("「%1」の").arg(right))) << qPrintable(diagrams[0]);
            pickKanji(item(2).KanjiNo, Route::Candidates);
        } else {
            EXPECT_TRUE(diagrams.isEmpty()) << "a reading has no stroke order";
            typeKana(right);
        }
        checkInReview(*screen);
        EXPECT_EQ(screen->currentQuestion(), 5);
        EXPECT_FALSE(shown->isVisible()) << "the next question is the pupil's own again";
        screen->headerCommand(4);
        EXPECT_TRUE(history().isEmpty()) << mode << ": leaving the review of 8 right records nothing";
        modals.closed.clear();
        f.state.PlayerCount = 0;
    }
}

// In practice one wrong try of a writing question shows the kanji's stroke order; a parent's
// switch turns the help off altogether.
TEST_F(Session, PracticeShowsTheStrokeOrderAfterOneWrongTryUnlessSwitchedOff)
{
    for (const bool helpOn : {true, false}) {
        f.state.ReviewHelpOn = helpOn;
        begin(4, 2, false);
        for (int q = 1; q <= 10; ++q)
            answer(q != 1);
        score();
        ASSERT_TRUE(screen && screen->inReview());
        for (int i = 0; i < 3; ++i) {
            pickKanji(otherKanji(item(1).KanjiNo), Route::Part);
            checkInReview(*screen);
        }
        const QStringList diagrams = modals.closed.filter(QStringLiteral("moji::TF_Kakijun:"));
        EXPECT_EQ(diagrams.size(), helpOn ? 1 : 0) << "once, after the first wrong try";
        EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Lbl_Kotae_Oshie"))->isVisible(), helpOn);
        screen->headerCommand(4);
        modals.closed.clear();
        f.state.PlayerCount = 0;
    }
}

TEST_F(Session, GoingBackKeepsEveryAnswerAndNoOnTheLastQuestionStays)
{
    begin(4, 1);
    answer(true);
    const QString first = item(1).Given.toUnicode();
    typeKana(QStringLiteral("ぬ")); // typed on question 2, then the pupil goes back
    click("Btn_Prev");
    EXPECT_EQ(screen->currentQuestion(), 1);
    EXPECT_EQ(screen->answerText(), first);
    EXPECT_FALSE(button("Btn_Prev")->isVisible());
    click("Btn_Next");
    EXPECT_EQ(screen->currentQuestion(), 2);
    EXPECT_EQ(screen->answerText(), QStringLiteral("ぬ")) << "going back keeps what was typed";
    for (int q = 2; q <= 9; ++q)
        answer(true);
    typeKana(item(10).Answer.toUnicode());
    f.messages.answerYes = false;
    click("Btn_Next");
    EXPECT_EQ(screen->currentQuestion(), 10);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(item(10).Given, item(10).Answer) << "the answer is already stored";
    EXPECT_TRUE(screen->Tim_Clock().isActive()) << "the clock runs on";
}

// In a writing session the hint context follows the pickers.
TEST_F(Session, TheHintContextFollowsThePickers)
{
    int opened = 0;
    f.state.openHintHandler = [&] { ++opened; };
    begin(5, 2);
    screen->headerCommand(1);
    EXPECT_EQ(f.state.HintSection, 2);
    EXPECT_EQ(f.state.HintMode, 2);
    EXPECT_EQ(f.state.HintQuestion, 1);
    const KanjiEntry& k = f.state.KanjiTable[item(1).KanjiNo];
    click(screen->pickers()->radicalButton(k.Component1Group));
    click(screen->pickers()->partButton(k.Component1No));
    screen->headerCommand(1);
    EXPECT_EQ(f.state.HintSection, 5) << "the kanji list of a part";
    click("Btn_Cancel");
    screen->headerCommand(1);
    EXPECT_EQ(f.state.HintSection, 4) << "the parts";
    click("Btn_Cancel");
    screen->headerCommand(1);
    EXPECT_EQ(f.state.HintSection, 3) << "the groups, after a part was used";
    EXPECT_EQ(opened, 4);
}

// The scoring grid's rows and columns grow with the larger layout as the grid does, so the
// headings are not cut off and the columns fill the grid.
TEST(ScoringLayout, TheGridsColumnsGrowWithTheLargerLayout)
{
    std::map<double, std::pair<int, int>> measured; // scale -> (all columns, one row)
    for (const double scale : {1.0, 1.25}) {
        ScreenFixture f;
        f.state.LayoutKind = scale > 1.0 ? 1 : 2;
        f.state.LayoutScale = scale;
        TF_Saiten scoring(f.program);
        scoring.showScreen();
        const QTableWidget* grid = scoring.grid();
        int columns = 0;
        for (int c = 0; c < grid->columnCount(); ++c)
            columns += grid->columnWidth(c);
        EXPECT_LE(columns, grid->width()) << scale;
        EXPECT_LE(grid->rowHeight(0) * 11, grid->height()) << scale;
        EXPECT_TRUE(scoring.canvas()->rect().contains(grid->geometry())) << scale;
        measured[scale] = {columns, grid->rowHeight(0)};
        scoring.close();
    }
    EXPECT_GE(measured[1.25].first, int(measured[1.0].first * 1.2));
    EXPECT_GE(measured[1.25].second, int(measured[1.0].second * 1.2));
}

// ふくしゅう asks kanji of several levels in one session: each is among the candidates of its
// own level, and the session is recorded as practice that moves no step.
TEST_F(Session, AReviewOfSeveralLevelsOffersEachKanjiAmongItsCandidates)
{
    f.addPupils(1, 11, 1);
    f.state.SelectPupil(1);
    memory::ReviewPlan plan;
    plan.mode = 2;
    plan.level = 5;
    plan.kanji = {241, 262, 283, 304, 325, 331, 346, 367, 408, 440};
    memory::prepareReviewSession(f.state, plan);
    screen = new TF_Shutsudai(f.program);
    screen->showScreen();
    click("Btn_Next");
    std::set<int> asked;
    for (int q = 1; q <= 10; ++q) {
        asked.insert(item(q).KanjiNo);
        answer(true, Route::Candidates);
        EXPECT_EQ(f.state.QuizSet[q].Given.toUnicode(), f.state.KanjiTable[item(q).KanjiNo].Glyph.toUnicode()) << q;
    }
    EXPECT_EQ(asked, std::set<int>(plan.kanji.begin(), plan.kanji.end()));
    score();
    const QByteArray h = history();
    ASSERT_EQ(h.size(), 52);
    EXPECT_EQ(h.mid(0, 6), hex("0200 0500 0200")) << "practice, the plan's level and mode";
    EXPECT_EQ(f.state.Roster[1].Level, 11);
    EXPECT_TRUE(resultSaid(QStringLiteral("ふくしゅうで　わすれかけたかんじを　おもいだしたね。"))) << qPrintable(modals.closed.join(u'\n'));
}
