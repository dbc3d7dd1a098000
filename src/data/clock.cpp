#include "clock.h"

#include "daynumber.h"

#include <QDateTime>

namespace moji {

double SystemClock::now() const
{
    return daynumber::fromDateTime(QDateTime::currentDateTime());
}

} // namespace moji
