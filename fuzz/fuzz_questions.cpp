// Mondai1.dat records through ReadQuestion, as a study session shows them (reading and
// writing, the review's stored sentences, the time-out fill) and as the games show an
// example sentence.

#include "examplesentence.h"
#include "fuzzsupport.h"
#include "questionsession.h"
#include "randomsource.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::writeInput(QStringLiteral("Mondai1.dat"), data, size);
    const auto state = fuzz::makeState();
    fuzz::fillKanjiTable(*state);
    // Every kanji's questions are the whole bank, so the session reads its first records.
    const int records = int(std::min<std::size_t>(size / moji::QuestionRecord::Size, 32767));
    for (int k = moji::FirstKanjiNo; k <= moji::LastKanjiSlot; ++k) {
        state->QuestionIndex[k].FirstQuestion = 1;
        state->QuestionIndex[k].QuestionCount = int16_t(records);
    }
    moji::RandomSource random{uint32_t(size)};
    moji::QuestionSession session(*state, random, fuzz::fixedClock());
    for (int mode = 1; mode <= 2; ++mode) {
        state->SessionKind = false;
        state->CurrentLevel = 1;
        state->StudyMode = int16_t(mode);
        try {
            session.chooseQuestions();
            for (int n = 1; n <= moji::QuestionSession::Questions; ++n) {
                state->QuizSet[n].QuestionNo = int16_t(1 + (n - 1) % std::max(1, records));
                const moji::SentenceView view = session.loadQuestion(n);
                FUZZ_CHECK(view.target >= 1 && view.target <= 3);
                session.commitAnswer(n, view.parts[std::size_t(view.target - 1)]);
                (void)session.isAnswer(n, state->QuizSet[n].Answer.toUnicode());
                (void)session.storedSentence(n);
            }
            // A time-out after the first question fills the rest from the bank.
            session.fillRemaining(1);
        } catch (const moji::DataError&) {
        }
    }
    try {
        const moji::SentenceView view = moji::exampleSentence(*state, random, moji::FirstKanjiNo);
        FUZZ_CHECK(view.target >= 1 && view.target <= 3);
    } catch (const moji::DataError&) {
    }
    return 0;
}
