#pragma once

#include "checked.h"
#include "clock.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace moji {

class RandomSource;
class StudyState;

// One of the 30 things that can be in the catcher's field: a waiting or twinkling star, then
// a kanji that hangs and falls.
struct FallObject {
    enum : uint8_t { Idle = 0, Waiting = 1, Twinkling = 2, Hanging = 3, Falling = 4 };

    uint8_t State = Idle;
    bool Blink = false;   // while waiting or twinkling the star shows only when false
    uint8_t Counter = 0;  // steps in the current state, stops at 255
    uint8_t KanjiSlot = 0; // 1 to 20 into the level pool, 0 before the first release
    bool IsAnswer = false;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Drift = 1; // 1 drifting right, 2 drifting left

    bool active() const { return State != Idle; }
    bool showsStar() const { return (State == Waiting || State == Twinkling) && !Blink; }
    bool showsKanji() const { return State == Hanging || State == Falling; }
};

// What one timer tick (or one step) brought about, for the screen to show and play.
struct CatcherEvents {
    bool stepped = false;         // the objects moved: compose a new frame
    bool questionChanged = false; // show the new question's sentence
    int catches = 0;              // play the catch sound
    bool extended = false;        // time was added
    bool ended = false;           // the game is over: see outcome()
};

// How a finished game came out.
struct CatcherOutcome {
    bool passed = false;
    bool levelRaised = false;
    // The error report when the raised level could not be written to the roster file; the
    // level stays raised in memory and the exit command writes the roster again.
    std::optional<QString> saveError;
};

// The kanji catcher game without its window: stars appear in the field, twinkle, turn into
// kanji and fall; the pupil moves the paddle along the bottom and catches the kanji read as
// the red word of the current question. The game runs against the clock, with extensions
// for a good catch rate, and may raise the pupil's catcher level. The screen calls tick()
// every 30 ms; tests call tick() or step() directly with a hand-driven clock.
class CatcherGame {
public:
    static constexpr int SlotCount = 30;
    static constexpr int PoolSize = 20;
    static constexpr int ObjectSize = 32;
    static constexpr int StarSize = 24;
    static constexpr int PaddleHeight = 24;
    static constexpr int PaddleStep = 10;
    static constexpr int MaxExtensions = 6;
    static constexpr double GameSeconds = 90;
    static constexpr double ExtensionSeconds = 30;
    // The share of the points due that must be caught to pass.
    static constexpr double PassRate = 0.7;

    // Fixes the field size (from LayoutScale), the level pool and the level parameters (from
    // CurrentGame3Level). The references must outlive the game.
    CatcherGame(StudyState& state, RandomSource& random, const Clock& clock);

    // Starts a game at speed 1 (slow) to 5 (fast).
    void start(int speed);
    bool running() const { return m_running; }
    bool finished() const { return m_outcome.has_value(); }

    // One 30 ms tick: a step when one is due, then the paddle moves.
    CatcherEvents tick();
    // Every tick of the screen's timer, with whether a box is open: the game clock stands
    // still while one is.
    void clockTick(bool boxOpen) { m_countdown.tick(boxOpen); }
    // One step of the game: the clock, a question change, every object once.
    CatcherEvents step();
    // The paddle's share of a tick.
    void movePaddle();

    // Paddle control: a direction stays in force until another one or stop().
    void moveLeft();
    void moveRight();
    void stopPaddle();
    // Puts the paddle at x, kept within the field.
    void setPaddleX(int x);

    // Field and level.
    int fieldWidth() const { return m_fieldWidth; }
    int fieldHeight() const { return m_fieldHeight; }
    int level() const { return m_level; }
    int objectCount() const { return m_objectCount; }
    int driftStep() const { return m_driftStep; }
    int catchPoints() const { return m_catchPoints; }
    // KanjiNo of pool slot 1 to 20.
    int levelKanji(int slot) const { return m_levelKanji[slot]; }
    // The level pool of a catcher level: 20 consecutive kanji, 421 to 440 from level 10 on.
    static int firstKanjiOfPool(int game3Level);

    // Objects 1 to 30; the first objectCount() take part.
    const FallObject& object(int i) const { return m_objects[i]; }
    FallObject& object(int i) { return m_objects[i]; }
    // Plays with this many of the 30 slots (1 to 30), as extensions do; for tests and the
    // benchmark that need a busy field at once.
    void setObjectCount(int count);

    // Game state.
    int score() const { return m_score; }
    int pointsDue() const { return m_pointsDue; }
    int questionSlot() const { return m_questionSlot; }
    int questionKanji() const { return m_levelKanji[m_questionSlot]; }
    int lastSlot1() const { return m_lastSlot1; }
    int lastSlot2() const { return m_lastSlot2; }
    int answerQuota() const { return m_answerQuota; }
    int answersInPlay() const { return m_answersInPlay; }
    bool newQuestionDue() const { return m_newQuestionDue; }
    int stepTicks() const { return m_stepTicks; }
    int subTick() const { return m_subTick; }
    int paddleX() const { return m_paddleX; }
    int paddleWidth() const { return m_paddleWidth; }
    bool movingLeft() const { return m_moveLeft; }
    bool movingRight() const { return m_moveRight; }
    int extensions() const { return m_extensions; }
    double endTime() const { return m_countdown.endTime(); }
    // The time-left text written at the last step.
    const QString& timeText() const { return m_timeText; }
    const std::optional<CatcherOutcome>& outcome() const { return m_outcome; }

    // "のこり" + minutes + "ふん" + seconds + "びょう" for a time left in days; the minutes are
    // left out when they are a multiple of 10 (so under one minute). Nothing below 0.
    static QString timeText(double daysLeft);
    // The catch rate needed for an extension after `extensions` of them.
    static double extensionRate(int extensions);

private:
    void changeQuestion();
    void release(FallObject& o);
    void advance(FallObject& o, CatcherEvents& events);
    void leave(FallObject& o, CatcherEvents& events);
    bool timeUp();
    void endGame();
    void addScore(int points);

    StudyState& m_state;
    RandomSource& m_random;
    Countdown m_countdown;

    int m_fieldWidth;
    int m_fieldHeight;
    int m_level;
    int m_objectCount;
    int m_driftStep;
    int m_catchPoints;
    CheckedArray<int, 1, PoolSize> m_levelKanji;
    CheckedArray<FallObject, 1, SlotCount> m_objects;

    bool m_running = false;
    int16_t m_score = 0;
    int32_t m_pointsDue = 0;
    int32_t m_questionSlot = 1;
    int32_t m_lastSlot1 = 0;
    int32_t m_lastSlot2 = 0;
    int32_t m_answerQuota = 0;
    int32_t m_answersInPlay = 0;
    bool m_newQuestionDue = false;
    int32_t m_stepTicks = 4;
    int32_t m_subTick = 0;
    int32_t m_paddleX = 0;
    int32_t m_paddleWidth = 72;
    bool m_moveLeft = false;
    bool m_moveRight = false;
    int32_t m_extensions = 0;
    QString m_timeText;
    std::optional<CatcherOutcome> m_outcome;
};

} // namespace moji
