#include "memoryweeks.h"

#include "review.h"

namespace moji::memory {

std::vector<WeekCount> rememberedByWeek(const std::vector<HistoryRecord>& history, qint64 day, int weeks)
{
    std::vector<WeekCount> result;
    if (history.empty() || weeks <= 0)
        return result;
    PupilMemory memory;
    StepTracker steps;
    std::size_t next = 0;
    qint64 recordDay = dayOf(history.front().When).value_or(0);
    const qint64 firstDay = recordDay;
    for (int w = weeks - 1; w >= 0; --w) {
        const qint64 weekEnd = day - 7 * qint64(w);
        for (; next < history.size(); ++next) {
            const HistoryRecord& r = history[next];
            recordDay = dayOf(r.When).value_or(recordDay);
            if (recordDay > weekEnd)
                break;
            memory.add(r);
            steps.add(r);
        }
        if (weekEnd < firstDay)
            continue;
        WeekCount week;
        week.lastDay = weekEnd;
        const PlayerRecord step = steps.step();
        for (const LearnedKanji& l : learnedByRecall(memory, step.Level, step.Mode, weekEnd)) {
            ++week.learned[std::size_t(l.mode - 1)];
            if (l.recall >= TargetRecall)
                ++week.remembered[std::size_t(l.mode - 1)];
        }
        result.push_back(week);
    }
    return result;
}

} // namespace moji::memory
