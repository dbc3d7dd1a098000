#pragma once

#include "fsrs.h"
#include "studystate.h"

#include <QtGlobal>

#include <optional>
#include <vector>

namespace moji {
class Clock;
}

namespace moji::memory {

// The day of a history date (days since 30 December 1899), or nullopt for a value that names
// no day of the calendar (a damaged record).
std::optional<qint64> dayOf(double when);
// Today, on the program's one clock.
qint64 today(const Clock& clock);

// The memory of one pupil: for every kanji in each mode, the state the memory model reaches by
// replaying the answers of their history at the first try (right: Good, wrong: Again), in the
// order they were recorded, challenge and practice alike. Nothing of it is stored: it is
// rebuilt whenever the pupil is selected and follows each session as it is recorded.
class PupilMemory final : public HistoryFollower {
public:
    struct Item {
        MemoryState state;
        qint64 lastDay = 0;
        bool asked = false;

        friend bool operator==(const Item&, const Item&) = default;
    };

    explicit PupilMemory(const Fsrs& model = Fsrs()) : m_model(model) {}

    // HistoryFollower: the selected pupil's whole history, then each new session.
    void pupilSelected(int playerNo, const std::vector<HistoryRecord>& history) override;
    void sessionRecorded(int playerNo, const HistoryRecord& record) override;

    void clear();
    // One session's ten answers. Raises RangeError for a KanjiNo outside 241..441 or a mode
    // other than 1 or 2, before anything changes.
    void add(const HistoryRecord& record);
    void replay(const std::vector<HistoryRecord>& history);

    // The pupil it follows (0 before any).
    int pupil() const { return m_pupil; }
    const Item& item(int kanjiNo, int mode) const { return m_items[kanjiNo][mode]; }
    // The probability that the pupil recalls the kanji in that mode on `day`; nullopt for a
    // kanji never asked in that mode.
    std::optional<double> recall(int kanjiNo, int mode, qint64 day) const;
    const Fsrs& model() const { return m_model; }

    friend bool operator==(const PupilMemory& a, const PupilMemory& b) { return a.m_items == b.m_items; }

private:
    Fsrs m_model;
    CheckedArray<CheckedArray<Item, 1, 2>, FirstKanjiNo, LastKanjiSlot> m_items;
    // The day of the last record, which a record without a valid date is taken to share.
    qint64 m_lastDay = 0;
    int m_pupil = 0;
};

} // namespace moji::memory
