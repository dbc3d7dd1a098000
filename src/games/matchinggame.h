#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace moji {

class Clock;
class RandomSource;
class StudyState;

// The card-matching game against the computer: 36 cards, 9 kanji of the pupil's game level on
// four cards each. A side turns two cards; a pair scores and plays again. The computer plays on
// the 2-second ticks and remembers cards it has seen with a chance set by its strength.
class MatchingGame {
public:
    static constexpr int Cards = 36;
    static constexpr int Kinds = 9;
    static constexpr int Taken = 999; // a pick that formed a pair, or none

    enum class Card { FaceDown, Turned, TakenByPupil, TakenByComputer };
    enum class Strength { Strong = 1, Normal = 2, Weak = 3 };
    enum class Ending { None, ComputerWins, Draw, PupilWins };

    MatchingGame(StudyState& state, RandomSource& random, const Clock& clock);

    // The first KanjiNo of the 20-kanji pool of a game level (0 → 241, 9 → 421, 10 and up → 421).
    static int poolStart(int level);
    // The chance in percent that a side's two cards are remembered, by strength and cards left.
    static int pupilMemoryChance(Strength strength, int cardsLeft);
    static int computerMemoryChance(Strength strength, int cardsLeft);

    // Whether a finished game raises the pupil's matching level: a win, not against the weak
    // computer, and never above the study level − 1.
    static bool raisesLevel(Ending ending, Strength strength, int gameLevel, int studyLevel)
    {
        return ending == Ending::PupilWins && strength != Strength::Weak && gameLevel < studyLevel - 1;
    }

    // Deals a new game at this strength and decides who starts.
    void deal(Strength strength);

    // The pupil turns card k (1 to 36). False when the click does nothing: not the pupil's
    // turn, a card face up or taken.
    bool clickCard(int k);
    // One 2-second tick: the end of the pupil's turn, or one step of the computer's.
    void tick();

    // What the screen shows.
    Card card(int k) const { return m_card[std::size_t(k - 1)]; }
    int cardKanji(int k) const { return m_kanji[std::size_t(k - 1)]; }
    // The card face label i (1 or 2) sits on, 0 when hidden.
    int faceLabelCard(int i) const { return m_face[std::size_t(i - 1)]; }
    // The kanji whose example sentence is showing (0: none) and how many times it was set,
    // so that each turned card shows a fresh sentence.
    int sentenceKanji() const { return m_sentenceKanji; }
    int sentenceSerial() const { return m_sentenceSerial; }
    bool playerTurn() const { return m_playerTurn; }
    // Whose turn the turn line names: the computer's, or the pupil's.
    bool computerIsNext() const { return m_computerTurnShown; }
    bool timerRunning() const { return m_timerRunning; }
    int manScore() const { return m_manScore; }
    int comScore() const { return m_comScore; }
    int cardsLeft() const { return m_cardsLeft; }
    Strength strength() const { return m_strength; }
    bool finished() const { return m_ending != Ending::None; }
    Ending ending() const { return m_ending; }
    // The computer took the last pair and did not lose.
    bool failedAtTheEnd() const { return m_endedByComputer && m_comScore >= m_manScore; }
    // Whether the idle pupil should be shown a notice on this tick (with notices on).
    bool idleNoticeDue() const { return m_idleNotice; }
    // Cards the computer remembers (its KanjiNo), for tests.
    int remembered(int k) const { return m_memory[std::size_t(k - 1)]; }
    void setRemembered(int k, int kanjiNo) { m_memory[std::size_t(k - 1)] = kanjiNo; }

private:
    void turn(int k, int faceLabel);
    void showAgain(int k);
    void removeFromPlay(int a, int b);
    void chooseComputerCards();
    void end(bool byComputer);

    StudyState& m_state;
    RandomSource& m_random;
    const Clock& m_clock;
    std::array<int, Cards> m_kanji{};
    std::array<int, Cards> m_memory{};
    std::array<Card, Cards> m_card{};
    std::array<int, Cards> m_faceDown{};
    int m_cardsLeft = 0;
    int m_manScore = 0;
    int m_comScore = 0;
    Strength m_strength = Strength::Normal;
    bool m_playerTurn = false;
    bool m_computerTurnShown = false;
    bool m_timerRunning = false;
    int m_pickCount = 0;
    std::array<int, 2> m_manPick{};
    std::array<int, 2> m_comPick{Taken, Taken};
    std::array<int, 2> m_face{};
    int m_sentenceKanji = 0;
    int m_sentenceSerial = 0;
    double m_lastAction = 0;
    bool m_idleNotice = false;
    bool m_endedByComputer = false;
    Ending m_ending = Ending::None;
};

} // namespace moji
