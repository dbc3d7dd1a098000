#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace moji {

// Dates in the history and score files are 8-byte day numbers: whole days since
// 30 December 1899 (so 1 January 1900 is 2), with the local time of day as the fraction.
// Before the epoch the whole part is negative and the fraction still counts forward from
// midnight by its absolute value (-1.25 is 29 December 1899, 06:00).
namespace daynumber {

double fromDateTime(const QDateTime& localDateTime);
double fromDate(const QDate& date);

// nullopt for a value that names no representable date (NaN, infinities, far out of range).
std::optional<QDateTime> toDateTime(double dayNumber);
std::optional<QDate> toDate(double dayNumber);

// A date as Japanese write it, whatever the system's locale: 2026/12/08. Empty for an invalid
// date.
QString japanese(const QDate& date);

} // namespace daynumber
} // namespace moji
