#include "answerpanels.h"

#include "randomsource.h"
#include "studystate.h"

namespace moji {

void AnswerPanels::prepare(int studyMode)
{
    m_writing = studyMode == 2;
    m_state0 = 0;
    m_previous = 0;
    m_cancel = false;
    m_parts.clear();
    m_kanji.clear();
}

void AnswerPanels::resetView()
{
    m_state0 = 0;
    m_previous = 0;
    m_cancel = false;
}

bool AnswerPanels::addKana(const QString& kana)
{
    if (length() >= MaxKana)
        return false;
    m_answer += kana;
    return true;
}

bool AnswerPanels::addKanji(const QString& kanji)
{
    m_cancel = true;
    if (length() >= MaxKanji)
        return false;
    m_answer += kanji;
    return true;
}

void AnswerPanels::deleteLast()
{
    if (!m_answer.isEmpty())
        m_answer.chop(1);
}

void AnswerPanels::chooseGroup(int group)
{
    m_previous = m_state0;
    m_state0 = 1;
    m_group = group;
    m_cancel = true;
    m_parts.clear();
    for (int slot = 1; slot <= PartButtons && m_state.RadicalPictures[group][slot] != 0; ++slot)
        m_parts.push_back(m_state.RadicalPictures[group][slot]);
}

void AnswerPanels::choosePart(int slot)
{
    m_slot = slot;
    std::vector<int> list;
    const auto& kanji = m_state.KanjiByComponent[m_group][slot];
    for (int i = 1; i <= 50 && kanji[i] != 0; ++i)
        list.push_back(kanji[i]);
    showList(Source::Part, std::move(list));
}

void AnswerPanels::chooseStrokes(int strokes)
{
    m_strokes = strokes;
    std::vector<int> list;
    const auto& kanji = m_state.KanjiByStrokes[strokes];
    for (int i = 1; i <= 100 && kanji[i] != 0; ++i)
        list.push_back(kanji[i]);
    showList(Source::Strokes, std::move(list));
}

int AnswerPanels::candidateWindowStart(int level)
{
    if (level <= 4)
        return 241;
    if (level <= 6)
        return 321;
    return 361;
}

void AnswerPanels::chooseCandidates(int level)
{
    std::vector<int> ordered;
    const int first = candidateWindowStart(level);
    for (int k = first; k < first + KanjiButtons; ++k)
        ordered.push_back(k);
    // A fresh order on every press: draw the next button's kanji from those left.
    std::vector<int> shuffled;
    while (!ordered.empty()) {
        const auto pick = ordered.begin() + m_random.Random(int(ordered.size()));
        shuffled.push_back(*pick);
        ordered.erase(pick);
    }
    showList(Source::Candidates, std::move(shuffled));
}

void AnswerPanels::choosePad()
{
    m_previous = m_state0;
    m_state0 = 3;
    m_cancel = true;
}

void AnswerPanels::showList(Source source, std::vector<int> list)
{
    m_source = source;
    m_previous = m_state0;
    m_state0 = 2;
    m_cancel = true;
    if (list.size() > std::size_t(KanjiButtons))
        list.resize(KanjiButtons);
    m_kanji = std::move(list);
}

void AnswerPanels::back()
{
    switch (m_state0) {
    case 1:
    case 3:
        m_state0 = m_previous = 0;
        m_cancel = false;
        break;
    case 2:
        if (m_previous == 1) {
            m_previous = 0;
            m_state0 = 1;
        } else {
            m_state0 = m_previous = 0;
            m_cancel = false;
        }
        break;
    default: break;
    }
}

} // namespace moji
