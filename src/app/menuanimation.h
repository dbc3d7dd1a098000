#pragma once

#include <QColor>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>

namespace moji {

class RandomSource;
class StudyState;

// One drifting kanji of the main menu.
struct TKanji_State {
    int16_t State = 0; // 0 idle, 1 moving
    int16_t X = 0;
    int16_t Y = 0;
    int16_t Direction = 1; // 1 up, then clockwise to 8 up-left
    int16_t Speed = 2;     // pixels per tick, even, 2 to 10
    QColor Colour;
    QString Glyph;
    bool HasPicture = false; // false until the slot first starts: nothing to draw
};

// The main menu's kanji drifting across the board: up to 24 slots, of which 2 x HighestLevel
// are used, each starting at random from an edge, turning and changing speed at random, and
// going idle when it leaves the area. Also counts the ticks that time the notices.
class MenuAnimation {
public:
    static constexpr int SlotCount = 24;
    static constexpr int TicksBeforeNotice = 30;

    MenuAnimation(RandomSource& random, const StudyState& state, int highestLevel);

    // The animation area in pixels (the board's size).
    void setArea(QSize area) { m_area = area; }
    // Each time the menu is shown.
    void restart() { m_counter = 20; }

    enum class Step { Frame, Notice };
    // One 200 ms tick. Notice: the counter reached 30 with notices on; PopNo was advanced and
    // nothing moves on this tick.
    Step tick(bool popupsOn, int16_t& popNo);

    int usedSlots() const { return m_used; }
    const TKanji_State& slot(int i) const { return m_slots[std::size_t(i)]; }
    int16_t counter() const { return m_counter; }

    static QColor colour(int n);
    // The notice cycle 2 -> 3 -> 4 -> 9 -> 6 -> 7 -> 8 -> 5 -> 2; other values stay.
    static int16_t nextNotice(int16_t popNo);

private:
    void start(TKanji_State& s);
    void move(TKanji_State& s);

    RandomSource& m_random;
    const StudyState& m_state;
    int m_highestLevel;
    int m_used;
    QSize m_area{600, 360};
    int16_t m_counter = 20;
    std::array<TKanji_State, SlotCount> m_slots;
};

} // namespace moji
