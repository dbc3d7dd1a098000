#pragma once

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

} // namespace moji
