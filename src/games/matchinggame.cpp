#include "matchinggame.h"

#include "clock.h"
#include "randomsource.h"
#include "studystate.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace moji {

namespace {

// Chance in percent by band of cards left (fewest first) and strength (strong, normal, weak).
constexpr int Chances[4][3] = {{80, 60, 50}, {60, 40, 25}, {40, 30, 15}, {30, 15, 10}};

int band(int cardsLeft)
{
    if (cardsLeft < 4)
        return 0;
    if (cardsLeft < 12)
        return 1;
    if (cardsLeft < 24)
        return 2;
    return 3;
}

} // namespace

MatchingGame::MatchingGame(StudyState& state, RandomSource& random, const Clock& clock)
    : m_state(state), m_random(random), m_clock(clock)
{
    m_card.fill(Card::FaceDown);
}

int MatchingGame::poolStart(int level)
{
    return level >= 10 ? 421 : FirstKanjiNo + KanjisPerLevel * std::max(0, level);
}

int MatchingGame::pupilMemoryChance(Strength strength, int cardsLeft)
{
    return Chances[band(cardsLeft)][int(strength) - 1];
}

int MatchingGame::computerMemoryChance(Strength strength, int cardsLeft)
{
    return Chances[band(cardsLeft - 1)][int(strength) - 1];
}

void MatchingGame::deal(Strength strength)
{
    m_kanji.fill(0);
    m_memory.fill(0);
    m_card.fill(Card::FaceDown);

    std::vector<int> pool;
    const int first = poolStart(m_state.CurrentGame1Level);
    for (int k = first; k < first + KanjisPerLevel; ++k)
        pool.push_back(k);
    std::vector<int> drawn;
    for (int m = 1; m <= Kinds; ++m) {
        const auto pick = pool.begin() + m_random.Random(21 - m);
        drawn.push_back(*pick);
        pool.erase(pick);
    }
    std::vector<int> free;
    for (int k = 1; k <= Cards; ++k)
        free.push_back(k);
    for (const int kanji : drawn) {
        for (int copy = 0; copy < 4; ++copy) {
            const auto place = free.begin() + m_random.Random(int(free.size()));
            m_kanji[std::size_t(*place - 1)] = kanji;
            free.erase(place);
        }
    }

    m_manScore = m_comScore = 0;
    m_cardsLeft = Cards;
    for (int k = 1; k <= Cards; ++k)
        m_faceDown[std::size_t(k - 1)] = k;
    m_strength = strength;
    m_timerRunning = true;
    m_lastAction = m_clock.now();
    m_playerTurn = m_random.Random(2) == 0;
    m_computerTurnShown = !m_playerTurn;
    m_pickCount = 0;
    m_manPick = {0, 0};
    m_comPick = {Taken, Taken};
    m_face = {0, 0};
    m_sentenceKanji = 0;
    m_ending = Ending::None;
    m_endedByComputer = false;
}

void MatchingGame::turn(int k, int faceLabel)
{
    m_face[std::size_t(faceLabel - 1)] = k;
    m_card[std::size_t(k - 1)] = Card::Turned;
    m_sentenceKanji = cardKanji(k);
    ++m_sentenceSerial;
}

void MatchingGame::showAgain(int k)
{
    // A card the computer took stays blank; only a turned card goes face down again.
    if (k >= 1 && k <= Cards && card(k) == Card::Turned)
        m_card[std::size_t(k - 1)] = Card::FaceDown;
}

void MatchingGame::removeFromPlay(int a, int b)
{
    m_cardsLeft -= 2;
    const auto end = std::remove_if(m_faceDown.begin(), m_faceDown.begin() + m_cardsLeft + 2,
                                    [a, b](int k) { return k == a || k == b; });
    std::fill(end, m_faceDown.end(), 0);
}

bool MatchingGame::clickCard(int k)
{
    if (!m_playerTurn || finished() || k < 1 || k > Cards || card(k) != Card::FaceDown)
        return false;
    m_lastAction = m_clock.now();
    ++m_pickCount;
    m_manPick[std::size_t(m_pickCount - 1)] = k;
    turn(k, m_pickCount);
    if (m_pickCount == 1) {
        m_timerRunning = false;
        return true;
    }

    const int a = m_manPick[0];
    const int b = m_manPick[1];
    if (m_random.Random(100) < pupilMemoryChance(m_strength, m_cardsLeft)) {
        m_memory[std::size_t(a - 1)] = cardKanji(a);
        m_memory[std::size_t(b - 1)] = cardKanji(b);
    }
    const bool pair = cardKanji(a) == cardKanji(b);
    if (pair) {
        ++m_manScore;
        m_card[std::size_t(a - 1)] = Card::TakenByPupil;
        m_card[std::size_t(b - 1)] = Card::TakenByPupil;
        removeFromPlay(a, b);
        m_manPick = {Taken, Taken};
        if (m_cardsLeft == 0) {
            end(false);
            return true;
        }
    }
    m_pickCount = 0;
    if (!pair)
        m_computerTurnShown = true;
    m_playerTurn = false;
    m_timerRunning = true;
    return true;
}

void MatchingGame::tick()
{
    m_idleNotice = false;
    if (finished())
        return;
    if (m_playerTurn) {
        // Only the seconds part of the idle time, as a clock shows it.
        const double idle = (m_clock.now() - m_lastAction) * 86400.0;
        const int seconds = int(std::fmod(std::floor(idle + 1e-6), 60.0));
        m_idleNotice = seconds > 10;
        return;
    }
    if (m_pickCount == 0 && m_manPick[0] == Taken) {
        m_face = {0, 0};
        m_sentenceKanji = 0;
        m_playerTurn = true;
        return;
    }
    if (m_pickCount == 0 && m_manPick[0] >= 1 && m_manPick[0] < Taken) {
        showAgain(m_manPick[0]);
        showAgain(m_manPick[1]);
    }

    ++m_pickCount;
    if (m_pickCount == 1) {
        m_face = {0, 0};
        chooseComputerCards();
        turn(m_comPick[0], 1);
    } else if (m_pickCount == 2) {
        const int a = m_comPick[0];
        const int b = m_comPick[1];
        turn(b, 2);
        if (cardKanji(a) == cardKanji(b)) {
            ++m_comScore;
            m_card[std::size_t(a - 1)] = Card::TakenByComputer;
            m_card[std::size_t(b - 1)] = Card::TakenByComputer;
            removeFromPlay(a, b);
            if (m_cardsLeft == 0) {
                end(true);
                return;
            }
            m_comPick = {Taken, Taken};
        }
    } else {
        m_face = {0, 0};
        if (m_comPick[0] != Taken) {
            showAgain(m_comPick[0]);
            showAgain(m_comPick[1]);
            m_playerTurn = true;
            m_computerTurnShown = false;
        }
        m_sentenceKanji = 0;
        m_pickCount = 0;
        m_lastAction = m_clock.now();
    }
}

void MatchingGame::chooseComputerCards()
{
    m_comPick = {Taken, Taken};
    for (int i = 0; i < m_cardsLeft && m_comPick[0] == Taken; ++i) {
        const int a = m_faceDown[std::size_t(i)];
        if (m_memory[std::size_t(a - 1)] == 0)
            continue;
        for (int j = i + 1; j < m_cardsLeft; ++j) {
            const int b = m_faceDown[std::size_t(j)];
            if (m_memory[std::size_t(b - 1)] == m_memory[std::size_t(a - 1)]) {
                m_comPick = {a, b};
                break;
            }
        }
    }
    if (m_comPick[0] == Taken) {
        int a = 0, b = 0;
        do {
            a = m_faceDown[std::size_t(m_random.Random(m_cardsLeft))];
            b = m_faceDown[std::size_t(m_random.Random(m_cardsLeft))];
        } while (a == b);
        m_comPick = {a, b};
    }
    if (m_random.Random(100) < computerMemoryChance(m_strength, m_cardsLeft)) {
        m_memory[std::size_t(m_comPick[0] - 1)] = cardKanji(m_comPick[0]);
        m_memory[std::size_t(m_comPick[1] - 1)] = cardKanji(m_comPick[1]);
    }
}

void MatchingGame::end(bool byComputer)
{
    m_endedByComputer = byComputer;
    m_timerRunning = false;
    m_playerTurn = false;
    if (m_comScore > m_manScore)
        m_ending = Ending::ComputerWins;
    else if (m_comScore == m_manScore)
        m_ending = Ending::Draw;
    else
        m_ending = Ending::PupilWins;
}

} // namespace moji
