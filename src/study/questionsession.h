#pragma once

#include "clock.h"
#include "records.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace moji {

class RandomSource;
class StudyState;

// A question as shown: the three parts of the sentence and which one is red.
struct SentenceView {
    std::array<QString, 3> parts;
    int target = 0; // 1 to 3
};

// The logic of one study session of ten questions: choosing them, reading them from the
// question bank, the countdown, storing answers, the time-out, and the order of the review.
class QuestionSession {
public:
    static constexpr int Questions = 10;

    QuestionSession(StudyState& state, RandomSource& random, const Clock& clock)
        : m_state(state), m_random(random), m_countdown(clock)
    {
    }

    // Fills the ten QuizSet items: in a challenge the kanji of the level with the fewest
    // correct answers (a uniform choice among those tied), in practice ten distinct kanji, in
    // ふくしゅう the ten of ReviewKanji; always in a random order, each with a question of its
    // kanji the pupil was not asked in their last sessions where there is one.
    void chooseQuestions();
    // Keeps the session's questions among the pupil's recent ones (Saikin<N>.dat). Raises
    // FileError naming the file when it cannot be written.
    void rememberAsked();

    // Reads question n's record from Mondai1.dat, sets its Answer, TargetPiece and pieces, and
    // returns the sentence as displayed (in reading the target shows the kanji). Raises
    // FileError naming Mondai1.dat.
    SentenceView loadQuestion(int n);
    // The sentence stored for question n, without reading the file.
    SentenceView storedSentence(int n) const;

    // The minutes allowed for this session's kind, kept within 1 to 59.
    int timeLimitMinutes() const;
    void startClock();
    // Every tick of the screen's clock, with whether a box is open: the time a box is open
    // is not counted.
    void clockTick(bool boxOpen) { m_countdown.tick(boxOpen); }
    // "のこり" + m + "ふん" + s + "びょう" (the minutes left out at 0), or nullopt when the
    // time is up.
    std::optional<QString> clockText() const;

    // Stores the answer label's text as question n's Given (trimmed, at most 10 bytes).
    void commitAnswer(int n, const QString& label);
    // At time-out: the questions after `current` get their answers and sentences from the
    // bank (when it exists), their Given left empty.
    void fillRemaining(int current);

    // Whether the answer label holds question n's answer.
    bool isAnswer(int n, const QString& label) const;
    // The next question after n that was answered wrongly, or 0 when the review is over.
    int nextWrong(int n) const;

    // A wrong correction of question n in the review. True at the try after which the pupil
    // is shown the right answer (it stays shown): the second, or the first of a writing
    // question in practice, where seeing how the kanji is written is the lesson; never when
    // a parent switched this help off. The pupil must still enter the answer.
    bool wrongCorrection(int n);

private:
    void shuffle(std::array<int, Questions>& kanji);
    int freshQuestion(int kanjiNo, const std::vector<AskedQuestionRecord>& recent);

    StudyState& m_state;
    RandomSource& m_random;
    Countdown m_countdown;
    std::array<int, Questions + 1> m_wrongTries{};
};

} // namespace moji
