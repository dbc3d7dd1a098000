#include "catchergame.h"

#include "clock.h"
#include "errors.h"
#include "randomsource.h"
#include "studystate.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace moji {

namespace {

constexpr int DesignFieldWidth = 360;
constexpr int DesignFieldHeight = 320;
constexpr int PaddleWidth = 72;
// A catch counts when the object overlaps the paddle by more than this margin on the left.
constexpr int CatchMargin = 24;
constexpr double SecondsPerDay = 86400.0;

struct LevelParameters {
    int objectBase;  // ObjectCount = objectBase + Random(objectSpread)
    int objectSpread;
    int driftStep;
    int catchPoints;
};

// By catcher level 0-1, 2-3, 4-5, 6-7, 8-9 and 10 on.
constexpr std::array<LevelParameters, 6> Levels = {{
    {7, 3, 1, 1},
    {10, 3, 10, 2},
    {13, 5, 12, 2},
    {15, 5, 16, 3},
    {18, 5, 20, 4},
    {20, 5, 24, 5},
}};

constexpr std::array<double, CatcherGame::MaxExtensions> ExtensionRates = {0.7, 0.75, 0.8, 0.83, 0.87, 0.9};

} // namespace

CatcherGame::CatcherGame(StudyState& state, RandomSource& random, const Clock& clock)
    : m_state(state), m_random(random), m_countdown(clock)
{
    const double scale = state.LayoutScale > 0 ? state.LayoutScale : 1.0;
    m_fieldWidth = int16_t(DesignFieldWidth * scale);
    m_fieldHeight = int16_t(DesignFieldHeight * scale);
    // A level a damaged roster made negative plays as level 0.
    m_level = std::max<int>(0, state.CurrentGame3Level);
    const LevelParameters& p = Levels[std::size_t(std::min(m_level, 10) / 2)];
    m_objectCount = p.objectBase + random.Random(p.objectSpread);
    m_driftStep = p.driftStep;
    m_catchPoints = p.catchPoints;
    const int first = firstKanjiOfPool(m_level);
    for (int i = 1; i <= PoolSize; ++i)
        m_levelKanji[i] = first + i - 1;
    m_paddleX = (m_fieldWidth - PaddleWidth) / 2;
    m_timeText = timeText(GameSeconds / SecondsPerDay);
}

int CatcherGame::firstKanjiOfPool(int game3Level)
{
    const int level = std::max(0, game3Level);
    return level <= 9 ? 240 + KanjisPerLevel * level + 1 : 421;
}

void CatcherGame::setObjectCount(int count)
{
    m_objectCount = std::clamp(count, 1, SlotCount);
}

void CatcherGame::start(int speed)
{
    speed = std::clamp(speed, 1, 5);
    m_pointsDue = 0;
    for (FallObject& o : m_objects) {
        o = FallObject();
        o.Counter = uint8_t(m_random.Random(50) + 1);
        o.Drift = m_random.Random(2) + 1;
    }
    m_subTick = speed;
    m_stepTicks = 7 - speed;
    m_answerQuota = m_random.Random(4) + 5;
    m_answersInPlay = 0;
    m_lastSlot1 = 0;
    m_lastSlot2 = 0;
    m_questionSlot = m_random.Random(PoolSize) + 1;
    // The first step replaces this question at once.
    m_newQuestionDue = true;
    m_countdown.start(GameSeconds / SecondsPerDay);
    m_score = 0;
    m_paddleWidth = PaddleWidth;
    m_paddleX = (m_fieldWidth - m_paddleWidth) / 2;
    m_moveLeft = m_moveRight = false;
    m_extensions = 0;
    m_outcome.reset();
    m_timeText = timeText(m_countdown.remaining());
    m_running = true;
}

CatcherEvents CatcherGame::tick()
{
    CatcherEvents events;
    if (!m_running)
        return events;
    if (m_subTick >= m_stepTicks) {
        events = step();
        if (events.ended)
            return events;
    }
    movePaddle();
    ++m_subTick;
    return events;
}

CatcherEvents CatcherGame::step()
{
    CatcherEvents events;
    if (!m_running)
        return events;
    m_subTick = 0;
    const double left = m_countdown.remaining();
    m_timeText = timeText(left);
    if (left <= 0) {
        if (!timeUp()) {
            events.ended = true;
            return events;
        }
        events.extended = true;
        m_timeText = timeText(m_countdown.remaining());
    }
    events.stepped = true;
    if (m_newQuestionDue && m_answersInPlay == 0) {
        changeQuestion();
        events.questionChanged = true;
    }
    for (int i = 1; i <= m_objectCount; ++i) {
        FallObject& o = m_objects[i];
        if (o.Counter < 255)
            ++o.Counter;
        if (o.State == FallObject::Idle)
            release(o);
        else
            advance(o, events);
    }
    return events;
}

void CatcherGame::changeQuestion()
{
    m_lastSlot2 = m_lastSlot1;
    m_lastSlot1 = m_questionSlot;
    int slot;
    do {
        slot = m_random.Random(PoolSize) + 1;
    } while (slot == m_lastSlot1 || slot == m_lastSlot2);
    m_questionSlot = slot;
    m_answerQuota = m_random.Random(4) + 5;
    m_newQuestionDue = false;
    // A kanji released as a decoy may be the new question's kanji: it reads as the red word,
    // so catching it must count, and missing it costs as any answer does.
    for (FallObject& o : m_objects) {
        if (o.active() && !o.IsAnswer && o.KanjiSlot == slot) {
            o.IsAnswer = true;
            ++m_answersInPlay;
        }
    }
}

void CatcherGame::release(FallObject& o)
{
    if (o.Counter <= 50 || m_random.Random(50) >= 5)
        return;
    o.State = FallObject::Waiting;
    o.Blink = true;
    o.Counter = uint8_t(m_random.Random(40) + 1);
    o.X = m_random.Random(m_fieldWidth - ObjectSize);
    o.Y = m_random.Random(m_fieldHeight / 3);
    o.Drift = m_random.Random(2) + 1;
    const bool answer = m_random.RandomReal() < 0.3;
    if (answer && !m_newQuestionDue) {
        o.KanjiSlot = uint8_t(m_questionSlot);
        o.IsAnswer = true;
        ++m_answersInPlay;
        if (--m_answerQuota <= 0)
            m_newQuestionDue = true; // no more answers until every one in play has left
        return;
    }
    int slot;
    do {
        slot = m_random.Random(PoolSize) + 1;
    } while (slot == m_questionSlot);
    o.KanjiSlot = uint8_t(slot);
    o.IsAnswer = false;
}

void CatcherGame::advance(FallObject& o, CatcherEvents& events)
{
    switch (o.State) {
    case FallObject::Waiting:
        if (o.Counter > 16) {
            o.State = FallObject::Twinkling;
            o.Counter = uint8_t(m_random.Random(10) + 1);
        }
        break;
    case FallObject::Twinkling:
        o.Blink = !o.Blink;
        if (o.Counter > 15) {
            o.State = FallObject::Hanging;
            o.Counter = uint8_t(m_random.Random(10) + 1);
        }
        break;
    case FallObject::Hanging:
        o.Y += 1;
        if (o.Counter > 15) {
            o.State = FallObject::Falling;
            o.Counter = 0;
        }
        break;
    case FallObject::Falling:
        // Faster and faster, now and then in a jump, drifting to and fro.
        o.Y += m_random.RandomReal() < 0.3 ? o.Counter * 2 : o.Counter;
        if (m_random.RandomReal() < 0.5) {
            if (o.Drift == 1) {
                if (o.X < m_fieldWidth - ObjectSize - (m_driftStep - 1))
                    o.X += m_random.Random(m_driftStep);
                else
                    o.Drift = 2;
            } else {
                if (o.X > m_driftStep - 1)
                    o.X -= m_random.Random(m_driftStep);
                else
                    o.Drift = 1;
            }
        }
        break;
    default: break;
    }
    if (o.Y > m_fieldHeight - ObjectSize)
        leave(o, events);
}

void CatcherGame::leave(FallObject& o, CatcherEvents& events)
{
    o.State = FallObject::Idle;
    o.Counter = 0;
    if (!o.IsAnswer)
        return; // decoys are never caught and cost nothing
    o.IsAnswer = false;
    m_pointsDue += m_catchPoints;
    m_answersInPlay = std::max(0, m_answersInPlay - 1);
    if (o.X + CatchMargin > m_paddleX && o.X < m_paddleX + m_paddleWidth) {
        addScore(m_catchPoints);
        ++events.catches;
    }
}

void CatcherGame::addScore(int points)
{
    // Far beyond what a game can reach; the shown 16-bit score stops rather than wraps.
    m_score = int16_t(std::min<int>(m_score + points, std::numeric_limits<int16_t>::max()));
}

double CatcherGame::extensionRate(int extensions)
{
    return ExtensionRates[std::size_t(std::clamp(extensions, 0, MaxExtensions - 1))];
}

bool CatcherGame::timeUp()
{
    if (m_extensions < MaxExtensions && m_score > extensionRate(m_extensions) * m_pointsDue) {
        m_countdown.start(ExtensionSeconds / SecondsPerDay);
        ++m_extensions;
        if (m_stepTicks > 2)
            --m_stepTicks;
        if (m_objectCount < 26)
            m_objectCount += 5;
        return true;
    }
    endGame();
    return false;
}

void CatcherGame::endGame()
{
    m_running = false;
    m_moveLeft = m_moveRight = false;
    CatcherOutcome outcome;
    // With no points due nothing was there to catch: 0 > 0 fails.
    outcome.passed = m_score > PassRate * m_pointsDue;
    if (outcome.passed) {
        try {
            if (m_level < m_state.CurrentLevel - 1) {
                PlayerRecord& pupil = m_state.Roster[m_state.PlayerNo];
                m_state.CurrentGame3Level = int16_t(m_level + 1);
                pupil.Game3Level = m_state.CurrentGame3Level;
                m_state.PopGroup = 2;
                m_state.PopNo = 1;
                outcome.levelRaised = true;
                // Written at once: a program closed without its exit command keeps the level.
                m_state.WriteRoster();
            } else {
                m_state.PopGroup = 2;
                m_state.PopNo = 2;
            }
        } catch (const DataError& e) {
            outcome.saveError = errorReportText(e);
        }
    }
    m_outcome = outcome;
}

void CatcherGame::movePaddle()
{
    if (m_moveLeft && m_paddleX > PaddleStep)
        m_paddleX -= PaddleStep;
    else if (m_moveRight && m_paddleX < m_fieldWidth - m_paddleWidth)
        m_paddleX = std::min(m_paddleX + PaddleStep, m_fieldWidth - m_paddleWidth); // never past the edge
}

void CatcherGame::moveLeft()
{
    m_moveLeft = true;
    m_moveRight = false;
}

void CatcherGame::moveRight()
{
    m_moveRight = true;
    m_moveLeft = false;
}

void CatcherGame::stopPaddle()
{
    m_moveLeft = m_moveRight = false;
}

void CatcherGame::setPaddleX(int x)
{
    m_paddleX = std::clamp(x, 0, m_fieldWidth - m_paddleWidth);
}

QString CatcherGame::timeText(double daysLeft)
{
    double ms = std::floor(daysLeft * SecondsPerDay * 1000.0 + 0.5);
    if (!(ms > 0))
        ms = 0;
    const qint64 seconds = qint64(std::min(ms, 1e12)) / 1000;
    const qint64 minutes = seconds / 60 % 60;
    QString text = QStringLiteral("のこり");
    if (minutes % 10 != 0)
        text += QString::number(minutes) + QStringLiteral("ふん");
    return text + QString::number(seconds % 60) + QStringLiteral("びょう");
}

} // namespace moji
