#include "menuanimation.h"

#include "randomsource.h"
#include "studystate.h"

#include <algorithm>
#include <limits>

namespace moji {

MenuAnimation::MenuAnimation(RandomSource& random, const StudyState& state, int highestLevel)
    : m_random(random), m_state(state), m_highestLevel(std::clamp(highestLevel, 1, MaxLevel + 1)),
      m_used(std::min(SlotCount, 2 * m_highestLevel))
{
}

QColor MenuAnimation::colour(int n)
{
    static const QColor colours[] = {QColor(255, 255, 0), QColor(0, 128, 0), QColor(255, 0, 0), QColor(192, 192, 192),
                                     QColor(0, 255, 0), QColor(0, 255, 255), QColor(128, 0, 128), QColor(0, 0, 255)};
    return colours[std::clamp(n, 0, 7)];
}

int16_t MenuAnimation::nextNotice(int16_t popNo)
{
    switch (popNo) {
    case 2: return 3;
    case 3: return 4;
    case 4: return 9;
    case 9: return 6;
    case 6: return 7;
    case 7: return 8;
    case 8: return 5;
    case 5: return 2;
    default: return popNo;
    }
}

MenuAnimation::Step MenuAnimation::tick(bool popupsOn, int16_t& popNo)
{
    if (m_counter == TicksBeforeNotice && popupsOn) {
        popNo = nextNotice(popNo);
        m_counter = 0;
        return Step::Notice;
    }
    // The counter stops at its 16-bit limit (hours on the menu) instead of wrapping.
    if (m_counter < std::numeric_limits<int16_t>::max())
        ++m_counter;
    for (int i = 0; i < m_used; ++i) {
        TKanji_State& s = m_slots[std::size_t(i)];
        if (s.State == 0) {
            if (m_random.Random(10) == 0)
                start(s);
        } else {
            move(s);
        }
    }
    return Step::Frame;
}

void MenuAnimation::start(TKanji_State& s)
{
    const int w = m_area.width();
    const int h = m_area.height();
    s.State = 1;
    s.Direction = int16_t(1 + m_random.Random(8));
    const bool first = [&] {
        switch (s.Direction) {
        case 2: case 4: case 6: case 8: return m_random.Random(2) == 0;
        default: return true;
        }
    }();
    int x = 0, y = 0;
    switch (s.Direction) {
    case 1: x = 10 + m_random.Random(w - 20); y = h; break;
    case 2:
        if (first) { x = 0; y = h / 2 + m_random.Random(h / 2); }
        else { x = 20 + m_random.Random(w / 2); y = h; }
        break;
    case 3: x = 0; y = 20 + m_random.Random(h - 20); break;
    case 4:
        if (first) { x = 0; y = 20 + m_random.Random(h / 2); }
        else { x = 20 + m_random.Random(w / 2); y = 0; }
        break;
    case 5: x = 20 + m_random.Random(w / 2); y = 0; break;
    case 6:
        if (first) { x = w; y = 20 + m_random.Random(h / 2); }
        else { x = w / 2 + m_random.Random(w / 2); y = 10 + m_random.Random(h / 2); }
        break;
    case 7: x = w; y = 20 + m_random.Random(h / 2); break;
    default:
        if (first) { x = w; y = h / 2 + m_random.Random(h / 2); }
        else { x = w / 2 + m_random.Random(w / 2); y = h; }
        break;
    }
    s.X = int16_t(x);
    s.Y = int16_t(y);
    // Kanji of the levels the pupils have reached; a finished pupil's level 11 has none of
    // its own, so the range stops at level 10.
    const int levels = std::min(m_highestLevel, MaxLevel);
    s.Glyph = m_state.KanjiTable[FirstKanjiNo + m_random.Random(KanjisPerLevel * levels)].Glyph.toUnicode();
    s.Colour = colour(m_random.Random(8));
    s.Speed = int16_t(2 + 2 * m_random.Random(5));
    s.HasPicture = true;
}

void MenuAnimation::move(TKanji_State& s)
{
    if (m_random.Random(5) == 0) {
        s.Direction = int16_t(s.Direction == 8 ? 1 : s.Direction + 1);
    } else if (m_random.Random(5) == 0) {
        s.Direction = int16_t(s.Direction == 1 ? 8 : s.Direction - 1);
    } else if (m_random.Random(3) == 0) {
        s.Speed = int16_t(s.Speed + 2 > 10 ? 2 : s.Speed + 2);
    }
    static const int dx[] = {0, 1, 1, 1, 0, -1, -1, -1};
    static const int dy[] = {-1, -1, 0, 1, 1, 1, 0, -1};
    const int d = std::clamp<int>(s.Direction, 1, 8) - 1;
    s.X = int16_t(s.X + dx[d] * s.Speed);
    s.Y = int16_t(s.Y + dy[d] * s.Speed);
    if (!(0 < s.Y && s.Y < m_area.height() && 0 < s.X && s.X < m_area.width()))
        s.State = 0;
}

} // namespace moji
