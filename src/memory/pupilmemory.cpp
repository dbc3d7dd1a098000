#include "pupilmemory.h"

#include "clock.h"

#include <algorithm>
#include <cmath>

namespace moji::memory {

namespace {

// 31 December 9999: the last day a history date can sensibly name.
constexpr double LastDay = 2958465;

} // namespace

std::optional<qint64> dayOf(double when)
{
    if (!std::isfinite(when) || when < 0 || when > LastDay)
        return std::nullopt;
    return qint64(std::floor(when));
}

qint64 today(const Clock& clock)
{
    return dayOf(clock.now()).value_or(0);
}

void PupilMemory::pupilSelected(int playerNo, const std::vector<HistoryRecord>& history)
{
    clear();
    replay(history);
    m_pupil = playerNo;
}

void PupilMemory::sessionRecorded(int playerNo, const HistoryRecord& record)
{
    // A session of a pupil it does not follow is left to the rebuild at that pupil's turn.
    if (playerNo == m_pupil)
        add(record);
}

void PupilMemory::clear()
{
    m_items.fill({});
    m_lastDay = 0;
    m_pupil = 0;
}

void PupilMemory::replay(const std::vector<HistoryRecord>& history)
{
    for (const HistoryRecord& r : history)
        add(r);
}

void PupilMemory::add(const HistoryRecord& record)
{
    requireRange(record.Mode, 1, 2, QString(), "history mode");
    for (const int16_t k : record.KanjiNo)
        requireRange(k, FirstKanjiNo, LastKanjiSlot, QString(), "history KanjiNo");
    const qint64 day = dayOf(record.When).value_or(m_lastDay);
    m_lastDay = day;
    for (std::size_t i = 0; i < record.KanjiNo.size(); ++i) {
        Item& item = m_items[record.KanjiNo[i]][record.Mode];
        const Grade grade = record.Correct[i] ? Grade::Good : Grade::Again;
        // A clock set back counts as the same day, never as negative time.
        item.state = item.asked ? m_model.next(item.state, int(std::max<qint64>(0, day - item.lastDay)), grade)
                                : m_model.first(grade);
        item.lastDay = day;
        item.asked = true;
    }
}

std::optional<double> PupilMemory::recall(int kanjiNo, int mode, qint64 day) const
{
    const Item& i = item(kanjiNo, mode);
    if (!i.asked)
        return std::nullopt;
    return m_model.retrievability(double(std::max<qint64>(0, day - i.lastDay)), i.state.stability);
}

} // namespace moji::memory
