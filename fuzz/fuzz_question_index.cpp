// Mondai2.dat through the question-index loader, then a practice and a challenge session of
// one level and a game's example sentence, which read the question bank where the index
// points.

#include "examplesentence.h"
#include "fuzzsupport.h"
#include "questionsession.h"
#include "randomsource.h"

namespace {

// A small valid bank of 40 questions, so that the index decides which record is read.
QByteArray questionBank()
{
    QByteArray bank;
    for (int q = 1; q <= 40; ++q) {
        moji::QuestionRecord r;
        r.TargetPart = int16_t(1 + q % 3);
        r.Parts = {moji::cp932::encodeLossy(QStringLiteral("あさ")), moji::cp932::encodeLossy(QStringLiteral("はやく")),
                   moji::cp932::encodeLossy(QStringLiteral("おきる。"))};
        bank += r.encode();
    }
    return bank;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::writeFixed(QStringLiteral("Mondai1.dat"), questionBank());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::writeInput(QStringLiteral("Mondai2.dat"), data, size);
    const auto state = fuzz::makeState();
    fuzz::fillKanjiTable(*state);
    try {
        state->LoadQuestionIndex();
    } catch (const moji::DataError&) {
        return 0;
    }
    const int level = 1 + int(size / moji::QuestionIndexRecord::Size) % moji::MaxLevel;
    moji::RandomSource random{uint32_t(size)};
    moji::QuestionSession session(*state, random, fuzz::fixedClock());
    for (const bool challenge : {false, true}) {
        state->SessionKind = challenge;
        state->CurrentLevel = int16_t(level);
        state->StudyMode = challenge ? 2 : 1;
        try {
            session.chooseQuestions();
            for (int n = 1; n <= moji::QuestionSession::Questions; ++n)
                session.loadQuestion(n);
        } catch (const moji::DataError&) {
        }
    }
    try {
        moji::exampleSentence(*state, random, moji::firstKanjiOfLevel(level));
    } catch (const moji::DataError&) {
    }
    return 0;
}
