#include "examplesentence.h"

#include "randomsource.h"
#include "studystate.h"

#include <algorithm>

namespace moji {

SentenceView exampleSentence(const StudyState& state, RandomSource& random, int kanjiNo)
{
    const int count = std::max<int>(1, state.QuestionIndex[kanjiNo].QuestionCount);
    const QuestionRecord record = state.ReadQuestion(kanjiNo, 1 + random.Random(count));
    SentenceView view;
    view.target = record.TargetPart;
    for (int i = 0; i < 3; ++i)
        view.parts[std::size_t(i)] = cp932::decodeLossy(record.Parts[std::size_t(i)]);
    return view;
}

} // namespace moji
