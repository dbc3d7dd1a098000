#pragma once

#include <optional>

namespace moji {

// The one clock of the program: the current local date and time as a day number (see
// daynumber.h). Screens and logic take it by reference so tests can drive time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

class SystemClock final : public Clock {
public:
    double now() const override;
};

// A clock that moves only when told; used by tests and by anything replayed.
class ManualClock final : public Clock {
public:
    explicit ManualClock(double start = 0) : m_now(start) {}
    double now() const override { return m_now; }
    void set(double dayNumber) { m_now = dayNumber; }
    void advanceSeconds(double seconds) { m_now += seconds / 86400.0; }

private:
    double m_now;
};

// A moment on the clock to count down to, which can stand still: while a box is open over a
// screen its countdown waits, and the time it stood is added on when it goes on. The screen's
// timer tells it on every tick whether a box is open; it stands still from the last tick that
// found none to the last tick that found one, so it is never out by more than one tick.
class Countdown {
public:
    explicit Countdown(const Clock& clock) : m_clock(clock) {}

    // Ends `days` from now, running.
    void start(double days);
    // Days left (negative once over); frozen while standing still.
    double remaining() const;
    void tick(bool standStill);
    double endTime() const { return m_end; }

private:
    const Clock& m_clock;
    double m_end = 0;
    double m_lastRunningTick = 0;
    std::optional<double> m_stoodSince;
    double m_stoodUntil = 0;
};

} // namespace moji
