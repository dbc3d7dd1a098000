#pragma once

// A pupil's hands in the matching game: one who remembers every card and takes a pair each
// turn. Header-only, for the test programs that link the game screens.

#include "matchinggame.h"
#include "tf_game1.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <utility>

namespace testing_support {

// Two face-down cards with the same kanji, or {0, 0}.
inline std::pair<int, int> faceDownPair(const moji::MatchingGame& game)
{
    using Card = moji::MatchingGame::Card;
    for (int a = 1; a <= moji::MatchingGame::Cards; ++a)
        for (int b = a + 1; b <= moji::MatchingGame::Cards; ++b)
            if (game.card(a) == Card::FaceDown && game.card(b) == Card::FaceDown && game.cardKanji(a) == game.cardKanji(b))
                return {a, b};
    return {0, 0};
}

// Plays a dealt game on the screen to its end: the computer's turns on the timer's ticks, the
// pupil's by clicking a pair of cards each turn. The end (its messages and the score table)
// runs inside the last click or tick.
inline void playMatchingGame(moji::TF_Game1& screen)
{
    const QPointer<moji::TF_Game1> alive = &screen;
    const moji::MatchingGame& game = screen.game();
    for (int step = 0; step < 3000 && alive && !game.finished(); ++step) {
        if (!game.playerTurn()) {
            screen.Timer1Timer();
            continue;
        }
        const auto [first, second] = faceDownPair(game);
        ASSERT_NE(first, 0);
        QTest::mouseClick(screen.cardButton(first), Qt::LeftButton);
        EXPECT_TRUE(screen.faceLabel(1)->isVisible());
        EXPECT_FALSE(screen.sentence().isEmpty()) << "a turned card shows its example sentence";
        QTest::mouseClick(screen.cardButton(second), Qt::LeftButton);
    }
    EXPECT_TRUE(!alive || game.finished()) << "the game ends";
}

} // namespace testing_support
