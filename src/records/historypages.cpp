#include "historypages.h"

#include "checked.h"
#include "daynumber.h"
#include "studystate.h"


#include <algorithm>

namespace moji {

HistoryPages::HistoryPages(const StudyState& state, std::vector<HistoryRecord> records)
    : m_state(state), m_records(std::move(records))
{
}

HistoryRow HistoryPages::rowFor(int number) const
{
    if (number < 1 || std::size_t(number) > m_records.size())
        throw RangeError(QStringLiteral("history record %1 outside 1..%2").arg(number).arg(m_records.size()));
    const HistoryRecord& r = m_records[std::size_t(number - 1)];
    HistoryRow row;
    row.number = QString::number(number);
    if (const auto date = daynumber::toDate(r.When))
        row.date = daynumber::japanese(*date);
    row.level = QString::number(r.Level);
    // Checked before any glyph is read, so a bad level stops the page at once.
    const int first = firstKanjiOfLevel(r.Level);
    const int last = lastKanjiOfLevel(r.Level);
    if (!m_state.KanjiTable.contains(first) || !m_state.KanjiTable.contains(last))
        throw RangeError(historyFileName(m_state.PlayerNo), QStringLiteral("history level %1 names no kanji").arg(r.Level));
    for (int k = first; k <= last; ++k)
        row.kanji += m_state.KanjiTable[k].Glyph.toUnicode();
    row.mode = r.Mode == 1 ? QStringLiteral("読む") : QStringLiteral("書く");
    row.kind = r.Kind == 1 ? QStringLiteral("チャレンジ") : QStringLiteral("れんしゅう");
    row.counted = r.Counted ? QStringLiteral("○") : QStringLiteral("×");
    return row;
}

std::vector<HistoryRow> HistoryPages::nextPage()
{
    std::vector<HistoryRow> rows;
    while (rows.size() < std::size_t(RowsPerPage) && hasNext()) {
        int16_t next = m_counter;
        addChecked(next);
        rows.push_back(rowFor(next));
        m_counter = next;
    }
    return rows;
}

std::vector<HistoryRow> HistoryPages::previousPage()
{
    // Truncation toward zero as the page arithmetic wants; never before the first record.
    m_counter = int16_t(std::max(0, (m_counter - (RowsPerPage + 1)) / RowsPerPage * RowsPerPage));
    return nextPage();
}

} // namespace moji
