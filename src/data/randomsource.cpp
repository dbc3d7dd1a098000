#include "randomsource.h"

#include "clock.h"

#include <cmath>

namespace moji {

void RandomSource::seedFromClock(const Clock& clock)
{
    // Milliseconds of the day, like the classic Randomize.
    const double now = clock.now();
    const double millis = std::fmod(std::fabs(now - std::trunc(now)) * 86400000.0, 4294967296.0);
    seed(static_cast<uint32_t>(millis) ^ static_cast<uint32_t>(std::fabs(std::trunc(now))));
}

int RandomSource::Random(int n)
{
    if (n <= 0)
        return 0;
    // Multiply-shift keeps the result uniform enough for n far below 2^32 and identical on
    // every standard library, unlike std::uniform_int_distribution.
    return int((uint64_t(m_engine()) * uint64_t(n)) >> 32);
}

double RandomSource::RandomReal()
{
    return double(m_engine()) / 4294967296.0;
}

} // namespace moji
