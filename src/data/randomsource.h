#pragma once

#include <cstdint>
#include <random>

namespace moji {

class Clock;

// The one pseudo-random generator of the program. Screens that deal or choose at random seed
// it from the clock; tests seed it with a fixed number.
class RandomSource {
public:
    explicit RandomSource(uint32_t seed = 1) : m_engine(seed) {}

    void seed(uint32_t value) { m_engine.seed(value); }
    void seedFromClock(const Clock& clock);

    // A uniform integer in 0 .. n - 1; 0 when n is not positive.
    int Random(int n);
    // A uniform real in [0, 1).
    double RandomReal();

private:
    std::mt19937 m_engine;
};

} // namespace moji
