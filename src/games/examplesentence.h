#pragma once

#include "questionsession.h"

namespace moji {

class RandomSource;
class StudyState;

// A random question of a kanji from the bank, as the games show it: three parts with the
// reading in red. Raises FileError naming Mondai1.dat.
SentenceView exampleSentence(const StudyState& state, RandomSource& random, int kanjiNo);

} // namespace moji
