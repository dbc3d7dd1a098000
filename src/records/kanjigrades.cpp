#include "kanjigrades.h"

#include "studystate.h"

namespace moji {

bool kanjiCleared(const StudyState& state, int kanjiNo, int mode)
{
    return state.KanjiProgress[kanjiNo][mode].Passed || stepCompleted(state.CurrentLevel, state.StudyMode, kanjiNo, mode);
}

std::vector<KanjiGradeRow> kanjiGradeRows(const StudyState& state)
{
    std::vector<KanjiGradeRow> rows;
    rows.reserve(std::size_t(2 * KanjiCount));
    for (int j = 1; j <= KanjiCount; ++j) {
        const int k = FirstKanjiNo - 1 + j;
        for (int m = 1; m <= 2; ++m) {
            const KanjiProgressEntry& e = state.KanjiProgress[k][m];
            KanjiGradeRow row;
            row.rowNo = 2 * (j - 1) + m;
            row.level = (j - 1) / KanjisPerLevel + 1;
            row.glyph = state.KanjiTable[k].Glyph.toUnicode();
            row.kind = m == 1 ? QStringLiteral("読む") : QStringLiteral("書く");
            row.asked = e.Asked;
            row.correct = e.Correct;
            row.cleared = kanjiCleared(state, k, m);
            rows.push_back(row);
        }
    }
    return rows;
}

} // namespace moji
