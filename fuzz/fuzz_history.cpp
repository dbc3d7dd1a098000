// Kiroku1.dat through everything that reads a history: the start-up rebuild of the pupils'
// steps, selecting the pupil, the study-history pages forward and back, and appending the
// next session behind whatever the file ends with.

#include "fuzzsupport.h"
#include "historypages.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::writeInput(moji::historyFileName(1), data, size);
    const auto state = fuzz::makeState();
    fuzz::fillKanjiTable(*state);
    state->PlayerCount = 1;
    state->Roster[1].Level = 1;
    state->Roster[1].Mode = 1;
    state->Roster[1].Name = moji::SjisString<10>::fromUnicode(QStringLiteral("はなこ"));

    try {
        state->RebuildLevelsFromHistory();
        FUZZ_CHECK(state->Roster[1].Level >= 1 && state->Roster[1].Level <= moji::MaxLevel + 1);
        FUZZ_CHECK(state->Roster[1].Mode == 1 || state->Roster[1].Mode == 2);
    } catch (const moji::DataError&) {
    }
    try {
        state->SelectPupil(1);
    } catch (const moji::DataError&) {
    }

    qsizetype wholeRecords = -1;
    try {
        state->PlayerNo = 1;
        moji::HistoryPages pages(*state, state->ReadHistory(1));
        wholeRecords = pages.recordCount();
        FUZZ_CHECK(wholeRecords == qsizetype(size / moji::HistoryRecord::Size));
        while (pages.hasNext())
            FUZZ_CHECK(pages.nextPage().size() <= std::size_t(moji::HistoryPages::RowsPerPage));
        FUZZ_CHECK(pages.counter() == pages.recordCount());
        while (pages.hasPrevious())
            FUZZ_CHECK(!pages.previousPage().empty());
    } catch (const moji::DataError&) {
    }

    // The next challenge, as the session records it.
    try {
        state->PlayerNo = 1;
        const int level = std::clamp<int>(state->Roster[1].Level, 1, moji::MaxLevel);
        state->SessionKind = true;
        state->CurrentLevel = int16_t(level);
        state->StudyMode = state->Roster[1].Mode;
        for (int i = 1; i <= 10; ++i) {
            state->QuizSet[i].KanjiNo = int16_t(moji::firstKanjiOfLevel(level) + i - 1);
            state->QuizSet[i].Correct = i % 3 != 0;
        }
        state->RecordSessionResult(true);
        // A torn tail is cut, so the new session is one more whole record.
        if (wholeRecords >= 0)
            FUZZ_CHECK(qsizetype(state->ReadHistory(1).size()) == wholeRecords + 1);
    } catch (const moji::DataError&) {
    }
    return 0;
}
