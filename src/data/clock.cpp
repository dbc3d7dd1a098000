#include "clock.h"

#include "daynumber.h"

#include <QDateTime>

namespace moji {

double SystemClock::now() const
{
    return daynumber::fromDateTime(QDateTime::currentDateTime());
}

void Countdown::start(double days)
{
    m_lastRunningTick = m_clock.now();
    m_end = m_lastRunningTick + days;
    m_stoodSince.reset();
}

double Countdown::remaining() const
{
    return m_end - m_stoodSince.value_or(m_clock.now());
}

void Countdown::tick(bool standStill)
{
    const double now = m_clock.now();
    if (standStill) {
        if (!m_stoodSince)
            m_stoodSince = m_lastRunningTick;
        m_stoodUntil = now;
        return;
    }
    if (m_stoodSince) {
        m_end += m_stoodUntil - *m_stoodSince;
        m_stoodSince.reset();
    }
    m_lastRunningTick = now;
}

} // namespace moji
