#include "daynumber.h"

#include <cmath>

namespace moji::daynumber {

namespace {

constexpr double MillisecondsPerDay = 86400000.0;
// Years 1 to 9999, as the classic date type allows.
constexpr double FirstDay = -693593.0;
constexpr double LastDay = 2958465.0;

QDate epoch()
{
    return QDate(1899, 12, 30);
}

} // namespace

double fromDate(const QDate& date)
{
    return double(epoch().daysTo(date));
}

double fromDateTime(const QDateTime& localDateTime)
{
    const double days = fromDate(localDateTime.date());
    const double fraction = localDateTime.time().msecsSinceStartOfDay() / MillisecondsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}

std::optional<QDateTime> toDateTime(double dayNumber)
{
    if (!std::isfinite(dayNumber) || dayNumber < FirstDay - 1 || dayNumber >= LastDay + 1)
        return std::nullopt;
    double whole = std::trunc(dayNumber);
    double millis = std::round(std::fabs(dayNumber - whole) * MillisecondsPerDay);
    if (millis >= MillisecondsPerDay) {
        // Rounding reached the next midnight: carry into the date, away from the epoch.
        whole += dayNumber < 0 ? -1.0 : 1.0;
        millis = 0;
    }
    const QDate date = epoch().addDays(qint64(whole));
    if (!date.isValid())
        return std::nullopt;
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(millis)));
}

std::optional<QDate> toDate(double dayNumber)
{
    const auto dateTime = toDateTime(dayNumber);
    if (!dateTime)
        return std::nullopt;
    return dateTime->date();
}

QString japanese(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

} // namespace moji::daynumber
