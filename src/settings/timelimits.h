#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace moji {

// The answer-time limits a parent may set, in minutes. The question session counts them as
// minutes of one hour, so more than 59 cannot work, and 0 would end every session at once.
constexpr int MinMinutes = 1;
constexpr int MaxMinutes = 59;

// The limit typed into a box: a whole number from 1 to 59 (blanks around it and full-width
// digits allowed), or nullopt for anything else.
std::optional<int16_t> parseMinutes(const QString& text);

// The refusal shown for a box whose text is not an allowed limit; `box` names the box.
QString minutesRefusal(const QString& box);

} // namespace moji
