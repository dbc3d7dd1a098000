#pragma once

#include "records.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace moji {

class StudyState;

// One shown session of a pupil's study history.
struct HistoryRow {
    QString number;  // the record's place in the file, from 1
    QString date;    // the system's short date format; empty for a day number naming no date
    QString level;
    QString kanji;   // the twenty kanji of the session's level, one after another
    QString mode;    // "読む" or "書く"
    QString kind;    // "チャレンジ" or "れんしゅう"
    QString counted; // "○" or "×"
};

// A pupil's history shown ten sessions to a page. The counter is the number of the last
// record shown (0 before the first page); pages are filled forward from it.
class HistoryPages {
public:
    static constexpr int RowsPerPage = 10;

    HistoryPages(const StudyState& state, std::vector<HistoryRecord> records);

    // The page after the counter (at most ten rows), moving the counter past it. Raises
    // RangeError for a record whose level names kanji outside the dictionary.
    std::vector<HistoryRow> nextPage();
    // Steps back to the start of the page before the current one and fills it. From a
    // full page or a short last one alike: 20 and 13 both go back to 0, 21 to 10.
    std::vector<HistoryRow> previousPage();

    bool hasNext() const { return std::size_t(m_counter) < m_records.size(); }
    bool hasPrevious() const { return m_counter >= RowsPerPage + 1; }
    int counter() const { return m_counter; }
    int recordCount() const { return int(m_records.size()); }

    // The texts of record `number` (from 1).
    HistoryRow rowFor(int number) const;

private:
    const StudyState& m_state;
    std::vector<HistoryRecord> m_records;
    int16_t m_counter = 0;
};

} // namespace moji
