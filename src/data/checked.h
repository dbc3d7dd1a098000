#pragma once

#include "errors.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace moji {

// A table indexed from Lo to Hi, as the study state declares it. An index outside that range
// raises RangeError instead of touching memory outside the table.
template <typename T, int Lo, int Hi>
class CheckedArray {
    static_assert(Lo <= Hi);

public:
    static constexpr int First = Lo;
    static constexpr int Last = Hi;
    static constexpr int Count = Hi - Lo + 1;

    T& operator[](int i) { return m_items[slot(i)]; }
    const T& operator[](int i) const { return m_items[slot(i)]; }

    static constexpr bool contains(int i) { return i >= Lo && i <= Hi; }
    void fill(const T& value) { m_items.fill(value); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    friend bool operator==(const CheckedArray&, const CheckedArray&) = default;

private:
    static std::size_t slot(int i)
    {
        if (!contains(i))
            throw RangeError(QStringLiteral("index %1 outside %2..%3").arg(i).arg(Lo).arg(Hi));
        return std::size_t(i - Lo);
    }
    std::array<T, Count> m_items{};
};

// Adds to a 16-bit counter, refusing to pass 32767.
inline void addChecked(int16_t& counter, int amount = 1)
{
    const int sum = int(counter) + amount;
    if (sum > std::numeric_limits<int16_t>::max() || sum < std::numeric_limits<int16_t>::min())
        throw RangeError(QStringLiteral("16-bit counter overflow at %1 + %2").arg(counter).arg(amount));
    counter = int16_t(sum);
}

// Raises RangeError unless lo <= value <= hi; `what` names the value in the report.
inline void requireRange(qint64 value, int lo, int hi, const QString& fileName, const char* what)
{
    if (value < lo || value > hi)
        throw RangeError(fileName, QStringLiteral("%1 = %2 outside %3..%4").arg(QLatin1String(what)).arg(value).arg(lo).arg(hi));
}

} // namespace moji
