// The matching game: the deal, the turns of both sides, the computer's memory, the endings and
// the level rise, and one game played through the screen.

#include "gamedriver.h"
#include "matchinggame.h"
#include "screenfixture.h"
#include "tf_game1.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <map>
#include <set>

using namespace moji;
using namespace testing_support;

namespace {

class Matching : public ::testing::Test {
protected:
    Matching() : game(f.state, f.random, f.clock)
    {
        f.addPupils(1, 5, 1);
        f.state.PlayerNo = 1;
        f.state.CurrentLevel = 5;
    }
    // Deals until the pupil starts.
    void dealPupilFirst(MatchingGame::Strength s = MatchingGame::Strength::Normal)
    {
        do
            game.deal(s);
        while (!game.playerTurn());
    }
    // Two cards with the same kanji, and one card with another, all face down.
    std::pair<int, int> aPair() const { return faceDownPair(game); }
    std::pair<int, int> aMiss() const
    {
        for (int a = 1; a <= 36; ++a)
            for (int b = a + 1; b <= 36; ++b)
                if (game.card(a) == MatchingGame::Card::FaceDown && game.card(b) == MatchingGame::Card::FaceDown
                    && game.cardKanji(a) != game.cardKanji(b))
                    return {a, b};
        return {0, 0};
    }

    ScreenFixture f;
    MatchingGame game;
};

} // namespace

TEST_F(Matching, NineKanjiOnFourCardsEachAndAnyCardCanHoldAny)
{
    std::map<int, std::set<int>> kanjiSeenAt; // card -> kanji slots seen there
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        f.random.seed(seed);
        f.state.CurrentGame1Level = 2;
        game.deal(MatchingGame::Strength::Normal);
        std::map<int, int> counts;
        for (int k = 1; k <= 36; ++k) {
            const int kanji = game.cardKanji(k);
            ASSERT_GE(kanji, 281);
            ASSERT_LE(kanji, 300);
            ++counts[kanji];
        }
        ASSERT_EQ(counts.size(), 9u);
        for (const auto& [kanji, n] : counts)
            ASSERT_EQ(n, 4) << kanji;
        // Which of the nine (by order of their numbers) lies on each card.
        std::vector<int> kinds;
        for (const auto& [kanji, n] : counts)
            kinds.push_back(kanji);
        for (int k = 1; k <= 36; ++k)
            kanjiSeenAt[k].insert(int(std::find(kinds.begin(), kinds.end(), game.cardKanji(k)) - kinds.begin()));
    }
    for (int k = 1; k <= 36; ++k)
        EXPECT_EQ(kanjiSeenAt[k].size(), 9u) << "card " << k;
    EXPECT_EQ(MatchingGame::poolStart(0), 241);
    EXPECT_EQ(MatchingGame::poolStart(9), 421);
    EXPECT_EQ(MatchingGame::poolStart(12), 421);
}

TEST_F(Matching, ClicksCountOnlyOnTheirTurnAndOnFaceDownCards)
{
    do
        game.deal(MatchingGame::Strength::Normal);
    while (game.playerTurn());
    EXPECT_FALSE(game.clickCard(1)) << "the computer starts";

    dealPupilFirst();
    const auto [a, b] = aMiss();
    EXPECT_TRUE(game.clickCard(a));
    EXPECT_FALSE(game.timerRunning()) << "the first card stops the clock";
    EXPECT_FALSE(game.clickCard(a)) << "a face-up card";
    EXPECT_EQ(game.faceLabelCard(1), a);
    EXPECT_EQ(game.sentenceKanji(), game.cardKanji(a));
    EXPECT_TRUE(game.clickCard(b));
    EXPECT_FALSE(game.playerTurn());
    EXPECT_TRUE(game.computerIsNext());
    EXPECT_FALSE(game.clickCard(aMiss().first)) << "the computer's turn";

    // The next tick turns the pupil's cards back and the computer's first card at once.
    game.tick();
    EXPECT_EQ(game.card(a), MatchingGame::Card::FaceDown);
    EXPECT_NE(game.faceLabelCard(1), 0);
    EXPECT_EQ(game.faceLabelCard(2), 0);
    game.tick();
    EXPECT_NE(game.faceLabelCard(2), 0);
    game.tick();
    EXPECT_EQ(game.faceLabelCard(1), 0);
}

TEST_F(Matching, APairLetsThePupilPlayAgainAfterOneTick)
{
    dealPupilFirst();
    const auto [a, b] = aPair();
    game.clickCard(a);
    game.clickCard(b);
    EXPECT_EQ(game.manScore(), 1);
    EXPECT_EQ(game.cardsLeft(), 34);
    EXPECT_EQ(game.card(a), MatchingGame::Card::TakenByPupil);
    EXPECT_FALSE(game.computerIsNext());
    EXPECT_FALSE(game.clickCard(aMiss().first)) << "until the next tick";
    game.tick();
    EXPECT_TRUE(game.playerTurn());
    EXPECT_EQ(game.faceLabelCard(1), 0);
    EXPECT_EQ(game.sentenceKanji(), 0);
    EXPECT_FALSE(game.clickCard(a)) << "a taken card";
}

TEST_F(Matching, TheComputerTakesAPairItRemembers)
{
    dealPupilFirst(MatchingGame::Strength::Strong);
    const auto [x, y] = aMiss();
    game.clickCard(x);
    game.clickCard(y);
    // Teach it a pair.
    const auto [a, b] = aPair();
    game.setRemembered(a, game.cardKanji(a));
    game.setRemembered(b, game.cardKanji(b));
    game.tick();
    game.tick();
    EXPECT_EQ(game.comScore(), 1);
    EXPECT_EQ(game.card(a), MatchingGame::Card::TakenByComputer);
    EXPECT_EQ(game.card(b), MatchingGame::Card::TakenByComputer);
    game.tick();
    EXPECT_FALSE(game.playerTurn()) << "after a pair the computer plays again";
    EXPECT_TRUE(game.computerIsNext());

    EXPECT_EQ(MatchingGame::pupilMemoryChance(MatchingGame::Strength::Strong, 2), 80);
    EXPECT_EQ(MatchingGame::pupilMemoryChance(MatchingGame::Strength::Weak, 4), 25);
    EXPECT_EQ(MatchingGame::computerMemoryChance(MatchingGame::Strength::Normal, 4), 60);
    EXPECT_EQ(MatchingGame::computerMemoryChance(MatchingGame::Strength::Normal, 24), 30);
    EXPECT_EQ(MatchingGame::computerMemoryChance(MatchingGame::Strength::Weak, 26), 10);
}

// Plays whole games, the pupil taking every pair it can see and the computer as it will, and
// checks each ending against the scores.
TEST_F(Matching, EveryGameEndsWithTheRightVerdict)
{
    std::set<MatchingGame::Ending> seen;
    bool computerDrawAtTheEnd = false;
    for (uint32_t seed = 1; seed <= 3000 && !(seen.size() == 3 && computerDrawAtTheEnd); ++seed) {
        f.random.seed(seed);
        game.deal(MatchingGame::Strength(1 + seed % 3));
        for (int step = 0; step < 2000 && !game.finished(); ++step) {
            if (game.playerTurn()) {
                // A pupil who finds a pair one turn in three.
                const auto pick = (seed + step) % 3 == 0 ? aPair() : aMiss();
                const auto use = pick.first ? pick : aPair();
                game.clickCard(use.first);
                if (!game.finished())
                    game.clickCard(use.second);
            } else {
                game.tick();
            }
        }
        ASSERT_TRUE(game.finished()) << "seed " << seed;
        EXPECT_EQ(game.manScore() + game.comScore(), 18);
        const auto expected = game.comScore() > game.manScore()   ? MatchingGame::Ending::ComputerWins
                              : game.comScore() == game.manScore() ? MatchingGame::Ending::Draw
                                                                    : MatchingGame::Ending::PupilWins;
        EXPECT_EQ(game.ending(), expected);
        seen.insert(game.ending());
        if (game.ending() == MatchingGame::Ending::Draw && game.failedAtTheEnd())
            computerDrawAtTheEnd = true;
        if (game.ending() == MatchingGame::Ending::PupilWins) {
            EXPECT_FALSE(game.failedAtTheEnd());
        }
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_TRUE(computerDrawAtTheEnd) << "a draw ended by the computer's last pair";
}

TEST(MatchingLevels, RiseOnlyOnAWinAgainstAStrongerComputerAndBelowTheStudyLevel)
{
    using E = MatchingGame::Ending;
    using S = MatchingGame::Strength;
    EXPECT_TRUE(MatchingGame::raisesLevel(E::PupilWins, S::Strong, 2, 5));
    EXPECT_TRUE(MatchingGame::raisesLevel(E::PupilWins, S::Normal, 3, 5));
    EXPECT_FALSE(MatchingGame::raisesLevel(E::PupilWins, S::Normal, 4, 5)) << "never above level − 1";
    EXPECT_FALSE(MatchingGame::raisesLevel(E::PupilWins, S::Weak, 0, 5));
    EXPECT_FALSE(MatchingGame::raisesLevel(E::Draw, S::Strong, 0, 5));
    EXPECT_FALSE(MatchingGame::raisesLevel(E::PupilWins, S::Strong, 0, 1)) << "a pupil at level 1 stays at 0";
}

// One game through the screen: dealt by the real button, played by clicking the real cards,
// ended with the verdict, the level written to disk, the table and the way back.
TEST_F(Matching, AGamePlayedOnTheScreen)
{
    f.loadDictionary();
    f.state.CurrentGame1Level = 1;
    ModalCloser modals;
    QPointer<TF_Game1> screen = new TF_Game1(f.program);
    screen->showScreen();
    QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("Btn_Start")), Qt::LeftButton);
    // The pupil knows where everything is and takes a pair each turn.
    playMatchingGame(*screen);
    EXPECT_TRUE(f.messages.shown.contains(QStringLiteral("あああのかち")));
    EXPECT_EQ(f.state.CurrentGame1Level, 2);
    EXPECT_EQ(f.state.Roster[1].Game1Level, 2);
    EXPECT_EQ(QFileInfo(f.path(QStringLiteral("Player1.dat"))).size(), 28) << "the level rise is on disk at once";
    EXPECT_TRUE(QFileInfo::exists(f.path(QStringLiteral("Game1.dat"))));
    ASSERT_FALSE(modals.closed.isEmpty());
    EXPECT_TRUE(modals.closed.back().startsWith(QStringLiteral("moji::TF_Game_Kiroku")));
    EXPECT_EQ(f.navigator.shown.back(), Screen::ModeMenu);
    EXPECT_FALSE(f.state.Game1Alive);
}

// In the larger layout the cards are 70 pixels and the board holds them at 420 pixels, clear of
// the panels at its right, although the rest of the screen grows by 1.25 around it.
TEST_F(Matching, TheLargerLayoutBoardHoldsSeventyPixelCards)
{
    f.loadDictionary();
    f.state.LayoutKind = 1;
    f.state.LayoutScale = 1.25;
    TF_Game1 screen(f.program);
    screen.showScreen();
    screen.Btn_StartClick();
    const QWidget* board = screen.findChild<QWidget*>(QStringLiteral("Grp_E"));
    const QWidget* strength = screen.findChild<QWidget*>(QStringLiteral("Grp_Tsuyosa"));
    ASSERT_TRUE(board && strength);
    EXPECT_EQ(board->size(), QSize(420, 430));
    EXPECT_LT(board->geometry().right(), strength->x());
    for (int k = 1; k <= MatchingGame::Cards; ++k) {
        const QWidget* card = board->findChild<QWidget*>(QStringLiteral("Btn_E%1").arg(k));
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->size(), QSize(70, 70));
        EXPECT_TRUE(board->rect().contains(card->geometry())) << k;
    }
    EXPECT_TRUE(screen.canvas()->rect().contains(board->geometry()));
    screen.close();
}
