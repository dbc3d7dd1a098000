#pragma once

#include "pupilmemory.h"

#include <array>
#include <vector>

namespace moji::memory {

// One week of a parent's chart: at the end of day `lastDay`, how many kanji the pupil had
// learned (the levels passed by then) and how many of those they remembered (recall at or
// above the target), reading and writing.
struct WeekCount {
    qint64 lastDay = 0;
    std::array<int, 2> learned{};
    std::array<int, 2> remembered{};
};

// The last `weeks` weeks of a pupil's history, the last of them ending on `day`, oldest
// first; weeks that end before the pupil's first session are left out. Raises RangeError for
// a record the history checks would refuse.
std::vector<WeekCount> rememberedByWeek(const std::vector<HistoryRecord>& history, qint64 day, int weeks);

} // namespace moji::memory
