#pragma once

#include <QString>

#include <vector>

namespace moji {

class RandomSource;
class StudyState;

// The answer being built and the pickers that build it. A reading answer is up to four kana
// from the kana chart; a writing answer up to three kanji found by radical group and part, by
// stroke count, among the candidates of the level, or written by hand on the pad. The pickers
// move between four views:
//   0 radical groups and stroke counts,
//   1 the parts of a group and stroke counts,
//   2 a kanji list,
//   3 the handwriting pad (reached from the first view only).
class AnswerPanels {
public:
    static constexpr int MaxKana = 4;
    static constexpr int MaxKanji = 3;
    static constexpr int KanjiButtons = 80;
    static constexpr int PartButtons = 40;

    enum class Source { None, Part, Strokes, Candidates };

    AnswerPanels(const StudyState& state, RandomSource& random) : m_state(state), m_random(random) {}

    // Prepares the panels for a session of this study mode (1 reading, 2 writing).
    void prepare(int studyMode);
    // Back to the first view: a new question, a return to an earlier one, each review step.
    void resetView();

    // The answer as text (two bytes per character in the files).
    const QString& answer() const { return m_answer; }
    int length() const { return int(m_answer.size()); }
    void setAnswer(const QString& answer) { m_answer = answer; }
    // Appends a kana (reading) or a kanji (writing) unless the answer is full; false when
    // ignored.
    bool addKana(const QString& kana);
    bool addKanji(const QString& kanji);
    void deleteLast();
    void deleteAll() { m_answer.clear(); }

    // Writing pickers.
    void chooseGroup(int group);
    void choosePart(int slot);
    void chooseStrokes(int strokes);
    void chooseCandidates(int level);
    void choosePad();
    void back();

    int panelState() const { return m_state0; }
    Source listSource() const { return m_source; }
    int selectedGroup() const { return m_group; }
    // Picture numbers of the part buttons shown (at most 40, in slot order).
    const std::vector<int>& parts() const { return m_parts; }
    // KanjiNo of the kanji buttons shown (at most 80, in button order).
    const std::vector<int>& kanjiList() const { return m_kanji; }

    bool groupsVisible() const { return m_writing && m_state0 == 0; }
    bool partsVisible() const { return m_writing && m_state0 == 1; }
    bool strokesVisible() const { return m_writing && m_state0 <= 1; }
    bool kanjiVisible() const { return !m_writing || m_state0 == 2; }
    bool padVisible() const { return m_writing && m_state0 == 3; }
    bool cancelVisible() const { return m_cancel; }

    // The first KanjiNo of the candidate window of a level: levels 1 to 4 → 241, 5 and 6 →
    // 321, 7 to 10 → 361. The window is 80 kanji and always holds the level's own 20.
    static int candidateWindowStart(int level);

private:
    void showList(Source source, std::vector<int> list);

    const StudyState& m_state;
    RandomSource& m_random;
    bool m_writing = false;
    QString m_answer;
    int m_state0 = 0;
    int m_previous = 0;
    Source m_source = Source::None;
    int m_group = 0;
    int m_slot = 0;
    int m_strokes = 0;
    bool m_cancel = false;
    std::vector<int> m_parts;
    std::vector<int> m_kanji;
};

} // namespace moji
