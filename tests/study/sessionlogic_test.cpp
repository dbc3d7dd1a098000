// The logic under the question session: choosing questions, the clock, the answer pickers and
// the review order.

#include "answerpanels.h"
#include "questionsession.h"
#include "scoring.h"
#include "screenfixture.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <array>
#include <set>

using namespace moji;
using namespace testing_support;

TEST(SessionLogic, AChallengeAsksTheKanjiWithFewestCorrectAnswersFirst)
{
    ScreenFixture f;
    f.loadDictionary();
    StudyState& s = f.state;
    s.SessionKind = true;
    s.CurrentLevel = 3;
    s.StudyMode = 2;
    // Twelve kanji of level 3 never answered right; the other eight right once or more.
    std::set<int> weakest;
    for (int i = 0; i < 20; ++i) {
        const int k = firstKanjiOfLevel(3) + i;
        const bool weak = i % 5 != 1 && i % 5 != 3; // 12 of 20
        s.KanjiProgress[k][2].Correct = int16_t(weak ? 0 : 1 + i % 3);
        if (weak)
            weakest.insert(k);
    }
    ASSERT_EQ(weakest.size(), 12u);
    QuestionSession session(s, f.random, f.clock);
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        f.random.seed(seed);
        session.chooseQuestions();
        std::set<int> asked;
        for (int q = 1; q <= 10; ++q) {
            const QuizItem& item = s.QuizSet[q];
            EXPECT_TRUE(weakest.count(item.KanjiNo)) << item.KanjiNo;
            asked.insert(item.KanjiNo);
            EXPECT_GE(item.QuestionNo, 1);
            EXPECT_LE(item.QuestionNo, s.QuestionIndex[item.KanjiNo].QuestionCount);
            EXPECT_TRUE(item.Given.isEmpty());
            EXPECT_EQ(item.TargetPiece, 0);
        }
        EXPECT_EQ(asked.size(), 10u) << "never the same kanji twice";
    }
}

// Among kanji tied for the fewest correct answers each is as likely to be asked, and as likely to
// come first: over 2,000 seeded challenges on a fresh level both spreads pass a chi-square test
// (19 degrees of freedom, below the 0.1 % critical value 43.82). Sequential coin tosses asked
// the end of the level far more often.
TEST(SessionLogic, TiedKanjiAreAskedUniformlyInARandomOrder)
{
    ScreenFixture f;
    f.loadDictionary();
    StudyState& s = f.state;
    s.SessionKind = true;
    s.CurrentLevel = 1;
    s.StudyMode = 1;
    f.random.seed(20261208);
    QuestionSession session(s, f.random, f.clock);
    constexpr int Draws = 2000;
    std::array<int, 20> asked{};
    std::array<int, 20> first{};
    for (int d = 0; d < Draws; ++d) {
        session.chooseQuestions();
        for (int q = 1; q <= 10; ++q)
            ++asked[std::size_t(s.QuizSet[q].KanjiNo - firstKanjiOfLevel(1))];
        ++first[std::size_t(s.QuizSet[1].KanjiNo - firstKanjiOfLevel(1))];
    }
    auto chiSquare = [](const std::array<int, 20>& seen, double expected) {
        double sum = 0;
        for (const int o : seen)
            sum += (o - expected) * (o - expected) / expected;
        return sum;
    };
    EXPECT_LT(chiSquare(asked, Draws * 10 / 20.0), 43.82);
    EXPECT_LT(chiSquare(first, Draws / 20.0), 43.82);
}

// A kanji's next question is one the pupil was not asked in their last three sessions, and the
// memory of them lives in a file of the pupil's own, so a restart keeps it.
TEST(SessionLogic, NoSentenceComesBackWithinThreeSessionsAcrossARestart)
{
    ScreenFixture f;
    f.loadDictionary();
    f.addPupils(1, 2, 1);
    f.state.SelectPupil(1);
    f.state.SessionKind = false;
    f.state.CurrentLevel = 2;
    std::vector<std::set<std::pair<int, int>>> sessions;
    for (int n = 0; n < 8; ++n) {
        // A new session object each time: nothing is carried over in memory.
        QuestionSession session(f.state, f.random, f.clock);
        session.chooseQuestions();
        session.rememberAsked();
        std::set<std::pair<int, int>> asked;
        for (int q = 1; q <= 10; ++q)
            asked.insert({f.state.QuizSet[q].KanjiNo, f.state.QuizSet[q].QuestionNo});
        for (std::size_t back = 1; back <= 3 && back <= sessions.size(); ++back) {
            for (const auto& question : asked)
                EXPECT_FALSE(sessions[sessions.size() - back].count(question))
                    << "kanji " << question.first << " question " << question.second << " again in session " << n;
        }
        sessions.push_back(asked);
    }
    EXPECT_EQ(QFileInfo(f.path(recentFileName(1))).size(), 30 * AskedQuestionRecord::Size) << "the last three sessions";
}

TEST(SessionLogic, PracticeAsksTenDistinctKanjiOfTheLevelInRandomOrder)
{
    ScreenFixture f;
    f.loadDictionary();
    f.state.SessionKind = false;
    f.state.CurrentLevel = 10;
    f.state.StudyMode = 1;
    QuestionSession session(f.state, f.random, f.clock);
    std::set<int> firsts;
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        f.random.seed(seed);
        session.chooseQuestions();
        std::set<int> asked;
        for (int q = 1; q <= 10; ++q) {
            const int k = f.state.QuizSet[q].KanjiNo;
            EXPECT_GE(k, 421);
            EXPECT_LE(k, 440);
            asked.insert(k);
        }
        EXPECT_EQ(asked.size(), 10u);
        firsts.insert(f.state.QuizSet[1].KanjiNo);
    }
    EXPECT_GT(firsts.size(), 5u) << "a random order";
}

TEST(SessionLogic, TheClockShowsMinutesOnlyWhileThereAreAny)
{
    ScreenFixture f;
    f.state.StudyMode = 1;
    f.state.ReadTimeLimit = 11;
    QuestionSession session(f.state, f.random, f.clock);
    session.startClock();
    EXPECT_EQ(session.clockText(), QStringLiteral("のこり11ふん0びょう"));
    f.clock.advanceSeconds(55);
    EXPECT_EQ(session.clockText(), QStringLiteral("のこり10ふん5びょう"));
    f.clock.advanceSeconds(600);
    EXPECT_EQ(session.clockText(), QStringLiteral("のこり5びょう"));
    f.clock.advanceSeconds(5);
    EXPECT_FALSE(session.clockText().has_value());

    // Limits from a hand-edited settings file are kept within 1 to 59 minutes.
    f.state.ReadTimeLimit = 0;
    EXPECT_EQ(session.timeLimitMinutes(), 1);
    f.state.ReadTimeLimit = 500;
    EXPECT_EQ(session.timeLimitMinutes(), 59);
    f.state.StudyMode = 2;
    f.state.WriteTimeLimit = -3;
    EXPECT_EQ(session.timeLimitMinutes(), 1);
}

TEST(SessionLogic, TheReviewVisitsOnlyTheWrongAnswers)
{
    ScreenFixture f;
    QuestionSession session(f.state, f.random, f.clock);
    auto wrongOnly = [&](std::initializer_list<int> wrong) {
        for (int q = 1; q <= 10; ++q)
            f.state.QuizSet[q].Correct = std::find(wrong.begin(), wrong.end(), q) == wrong.end();
    };
    wrongOnly({10});
    EXPECT_EQ(session.nextWrong(0), 10);
    EXPECT_EQ(session.nextWrong(10), 0);
    wrongOnly({2, 6});
    EXPECT_EQ(session.nextWrong(0), 2);
    EXPECT_EQ(session.nextWrong(2), 6);
    EXPECT_EQ(session.nextWrong(6), 0) << "questions 7 to 10 were right";
    wrongOnly({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(session.nextWrong(0), 1);
    EXPECT_EQ(session.nextWrong(9), 10);
}

TEST(SessionLogic, ScoringComparesBytesAndCountsByTens)
{
    ScreenFixture f;
    for (int q = 1; q <= 10; ++q) {
        f.state.QuizSet[q].Answer = SjisString<10>::fromUnicode(QStringLiteral("かん"));
        f.state.QuizSet[q].Given = SjisString<10>::fromUnicode(QStringLiteral("かん"));
    }
    f.state.QuizSet[2].Given = SjisString<10>::fromUnicode(QStringLiteral("かんじ")); // an extra kana
    f.state.QuizSet[5].Given = SjisString<10>();                                        // empty
    f.state.QuizSet[7].Given = SjisString<10>::fromBytes("\x82\xa9\x82\xf1 ");          // trailing blank
    f.state.SessionCorrect = 4;
    Scoring scoring(f.state);
    EXPECT_EQ(f.state.SessionCorrect, 0);
    std::vector<bool> marks;
    QString redAt;
    while (const auto row = scoring.nextRow()) {
        marks.push_back(row->correct);
        if (scoring.scoreIsRed() && redAt.isEmpty())
            redAt = scoring.scoreText();
    }
    EXPECT_EQ(marks, (std::vector<bool>{true, false, true, true, false, true, false, true, true, true}));
    EXPECT_EQ(scoring.scoreText(), QStringLiteral("70点"));
    EXPECT_EQ(redAt, QStringLiteral("70点"));
    EXPECT_EQ(scoring.ending(), Scoring::Ending::Passed);
    EXPECT_FALSE(f.state.QuizSet[2].Correct);
    EXPECT_FALSE(scoring.nextRow().has_value());
}

TEST(AnswerPanels, ReadingTakesFourKanaAndDeletesFromTheEnd)
{
    ScreenFixture f;
    AnswerPanels p(f.state, f.random);
    p.prepare(1);
    for (const char* kana : {"か", "ん", "じ", "は", "か"})
        p.addKana(QString::fromUtf8(kana));
    EXPECT_EQ(p.answer(), QStringLiteral("かんじは")) << "the fifth kana is ignored";
    p.deleteLast();
    p.deleteLast();
    EXPECT_EQ(p.answer(), QStringLiteral("かん"));
    p.addKana(QStringLiteral("き"));
    p.addKana(QStringLiteral("ょ"));
    EXPECT_EQ(p.length(), 4);
    p.deleteAll();
    p.deleteLast();
    EXPECT_EQ(p.answer(), QString());
    EXPECT_TRUE(p.kanjiVisible());
    EXPECT_FALSE(p.groupsVisible());
}

TEST(AnswerPanels, WritingMovesBetweenGroupsPartsAndKanji)
{
    ScreenFixture f;
    StudyState& s = f.state;
    // Group 1: three parts; part 2 lists exactly 50 kanji; 12 strokes list 90 kanji.
    s.RadicalPictures[1][1] = 5;
    s.RadicalPictures[1][2] = 6;
    s.RadicalPictures[1][3] = 9;
    for (int i = 1; i <= 50; ++i)
        s.KanjiByComponent[1][2][i] = int16_t(240 + i);
    for (int i = 1; i <= 90; ++i)
        s.KanjiByStrokes[12][i] = int16_t(200 + i);
    AnswerPanels p(s, f.random);
    p.prepare(2);
    EXPECT_TRUE(p.groupsVisible() && p.strokesVisible());
    EXPECT_FALSE(p.partsVisible() || p.kanjiVisible() || p.cancelVisible());

    p.chooseGroup(1);
    EXPECT_EQ(p.parts(), (std::vector<int>{5, 6, 9}));
    EXPECT_TRUE(p.partsVisible() && p.strokesVisible() && p.cancelVisible());
    p.choosePart(2);
    EXPECT_EQ(p.kanjiList().size(), 50u) << "all fifty, and nothing past the list";
    EXPECT_EQ(p.kanjiList().back(), 290);
    EXPECT_EQ(p.listSource(), AnswerPanels::Source::Part);
    EXPECT_TRUE(p.kanjiVisible());
    EXPECT_FALSE(p.strokesVisible());
    p.back();
    EXPECT_EQ(p.panelState(), 1) << "back to the parts of the same group";
    EXPECT_EQ(p.selectedGroup(), 1);
    EXPECT_TRUE(p.cancelVisible());
    p.back();
    EXPECT_EQ(p.panelState(), 0) << "then to the groups";
    EXPECT_FALSE(p.cancelVisible());

    p.chooseStrokes(12);
    EXPECT_EQ(p.kanjiList().size(), 80u) << "the first 80";
    EXPECT_EQ(p.kanjiList().front(), 201);
    p.back();
    EXPECT_EQ(p.panelState(), 0);
    p.chooseStrokes(20);
    EXPECT_TRUE(p.kanjiList().empty());

    for (const char* k : {"漢", "字", "力", "人"})
        p.addKanji(QString::fromUtf8(k));
    EXPECT_EQ(p.answer(), QStringLiteral("漢字力")) << "three kanji at most";
}

TEST(AnswerPanels, CandidatesHoldTheLevelInAFreshOrderEachTime)
{
    ScreenFixture f;
    AnswerPanels p(f.state, f.random);
    p.prepare(2);
    p.chooseCandidates(6);
    const std::vector<int> first = p.kanjiList();
    ASSERT_EQ(first.size(), 80u);
    EXPECT_EQ(std::set<int>(first.begin(), first.end()).size(), 80u);
    EXPECT_EQ(*std::min_element(first.begin(), first.end()), 321);
    EXPECT_EQ(*std::max_element(first.begin(), first.end()), 400);
    p.back();
    p.chooseCandidates(6);
    EXPECT_NE(p.kanjiList(), first) << "a new order on every press";
    for (int level = 1; level <= 10; ++level) {
        const int start = AnswerPanels::candidateWindowStart(level);
        EXPECT_LE(start, firstKanjiOfLevel(level));
        EXPECT_GE(start + 79, lastKanjiOfLevel(level)) << "the level's own kanji are always there";
    }
}
