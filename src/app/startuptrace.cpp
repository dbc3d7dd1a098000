#include "startuptrace.h"

#include <QDeadlineTimer>
#include <QLoggingCategory>

namespace moji {

namespace {
Q_LOGGING_CATEGORY(lcStartup, "mojimaru.startup", QtWarningMsg)
} // namespace

void traceStartup(const char* step)
{
    if (!lcStartup().isInfoEnabled())
        return;
    const double ms = double(QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs()) / 1e6;
    qCInfo(lcStartup, "%.3f %s", ms, step);
}

} // namespace moji
