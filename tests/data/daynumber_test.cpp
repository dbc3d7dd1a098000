#include "daynumber.h"

#include <gtest/gtest.h>

using namespace moji;

TEST(DayNumber, CountsDaysFromThirtiethOfDecember1899)
{
    EXPECT_EQ(daynumber::fromDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(daynumber::fromDate(QDate(1900, 1, 1)), 2.0);
    EXPECT_EQ(daynumber::fromDate(QDate(2000, 1, 1)), 36526.0);
    EXPECT_EQ(daynumber::fromDateTime(QDateTime(QDate(2023, 3, 15), QTime(12, 0))), 45000.5);
    EXPECT_EQ(daynumber::fromDateTime(QDateTime(QDate(2026, 12, 7), QTime(18, 0))), 46363.75);
    // Before the epoch the time of day still counts forward by the fraction's size.
    EXPECT_EQ(daynumber::fromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(DayNumber, ConvertsBackToLocalDateAndTime)
{
    EXPECT_EQ(daynumber::toDateTime(45000.5).value(), QDateTime(QDate(2023, 3, 15), QTime(12, 0)));
    EXPECT_EQ(daynumber::toDateTime(-1.25).value(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(daynumber::toDate(45996.0).value(), QDate(2025, 12, 5));
    // A fraction that rounds to the next midnight moves to the next day, not to 24:00.
    EXPECT_EQ(daynumber::toDateTime(45000.9999999999).value(), QDateTime(QDate(2023, 3, 16), QTime(0, 0)));

    const QDateTime t(QDate(2026, 12, 7), QTime(20, 31, 52, 125));
    EXPECT_EQ(daynumber::toDateTime(daynumber::fromDateTime(t)).value(), t);
}

TEST(DayNumber, RejectsValuesThatNameNoDate)
{
    EXPECT_FALSE(daynumber::toDateTime(std::nan("")).has_value());
    EXPECT_FALSE(daynumber::toDateTime(1e300).has_value());
    EXPECT_FALSE(daynumber::toDateTime(-1e300).has_value());
    EXPECT_FALSE(daynumber::toDate(HUGE_VAL).has_value());
}
