#pragma once

#include <QStringList>

#include <optional>

namespace moji {

class RandomSource;
class StudyState;
struct HintIndexEntry;

// The ten lines a hint shows: five red prompt lines and five blue explanation lines.
struct HintText {
    QStringList level1;
    QStringList level2;
};

// What the hint screen decides, over the study state: the index of Hint.dat (read once per
// run), which hint fits the context the last screen set, paging within that context, and the
// answer hint computed from the question on screen.
class HintBook {
public:
    static constexpr int MaxHints = 100;
    static constexpr int AnswerHintTopic = 12; // the question session

    HintBook(StudyState& state, RandomSource& random);

    // Reads the index unless this run has read it already. FileError("Hint.dat") when the file
    // cannot be read or holds no whole record; RangeError when a hint number lies outside 1 to
    // 100 or differs from its record's position. A failed load leaves the index as it was.
    void loadIndex();

    // The first hint of the current context, or hint 1 when none matches.
    int firstHint() const;
    // The hint `step` (+1 or -1) away from `current`, when it belongs to the current context.
    std::optional<int> adjacentHint(int current, int step) const;

    // Hint n's lines, decoded from CP932 up to the first NUL of each field; nullopt when
    // Hint.dat is no longer there (the dialog then leaves its texts as they are). FileError
    // when the record cannot be read.
    std::optional<HintText> readHint(int n) const;

    // The answer hint is offered in a practice question session while a question is on screen.
    bool answerHintOffered() const;
    // The answer hint for the question on screen: its length, first or last kana (reading, at
    // random), or the kanji's stroke count (writing). nullopt when no question is on screen.
    std::optional<HintText> answerHint();

private:
    bool matchesContext(const HintIndexEntry& entry) const;

    StudyState& m_state;
    RandomSource& m_random;
};

} // namespace moji
