#pragma once

#include "checked.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>

namespace moji {

class RandomSource;
class StudyState;

// The kanji list board: the grade's kanji scattered at random over a 20 x 12 grid, then
// gliding into order, the passed ones gathering from the first slot and the others filling
// the board from the last. Cells run down each column, then on to the next column.
class KanjiBoard {
public:
    // One kanji on the board: where it is scattered, where it ends when sorted, and its
    // colour. (Nested: the main menu's drifting kanji have a record of the same name.)
    struct TKanji_State {
        bool passed = false;
        int16_t scatteredX = 0;
        int16_t scatteredY = 0;
        int16_t sortedX = 0;
        int16_t sortedY = 0;
        QString kanji;
    };

    static constexpr int Columns = 20;
    static constexpr int Rows = 12;
    static constexpr int CellCount = Columns * Rows;
    static constexpr int ScatteredTicks = 17;
    static constexpr int GlidingTicks = 30;
    static constexpr int ScatteredInterval = 10; // milliseconds
    static constexpr int GlidingInterval = 200;

    enum class Phase { Idle, Scattered, Gliding };
    // What a tick asks of the screen: draw the board (scattered or at the current gliding
    // positions), and whether the timer's interval changes or the animation is over.
    enum class Step { Draw, SlowDown, Finished, None };

    // `scale` multiplies the cell size (1 in the 640 x 480 layout).
    explicit KanjiBoard(double scale = 1.0);

    QSize cellSize() const { return m_cell; }
    QSize boardSize() const { return {m_cell.width() * Columns, m_cell.height() * Rows}; }
    // Top left of cell (or slot) c, 1 to 240.
    QPoint cellTopLeft(int c) const;

    // Lays out the reading (listMode 1) or writing (2) list for the current pupil: each
    // kanji, in KanjiNo order, takes a random free cell; passed kanji take slots 1, 2, …
    // and the others slots N, N - 1, …. The animation starts scattered.
    void build(const StudyState& state, RandomSource& random, int listMode);

    // One timer tick.
    Step tick();

    Phase phase() const { return m_phase; }
    int tickCount() const { return m_ticks; }
    int interval() const { return m_phase == Phase::Gliding ? GlidingInterval : ScatteredInterval; }
    int kanjiCount() const { return m_count; }
    // Kanji i (1 to kanjiCount(), in KanjiNo order).
    const TKanji_State& kanji(int i) const { return m_cells[i]; }
    // Where kanji i is drawn now: its scattered cell, a point on its straight way to its
    // slot, or the slot itself once the glide is over.
    QPoint positionOf(int i) const;
    // The slot (1 to kanjiCount()) kanji i ends in.
    int slotOf(int i) const;
    // The kanji (1 to kanjiCount()) whose cell holds this point of the sorted board, or 0:
    // while the kanji move, or over an empty cell.
    int kanjiAt(QPoint at) const;
    // The board as it stands now: every kanji at positionOf() on the ground colour, passed
    // ones in red and the others in yellow.
    QImage render(const QFont& font, const QColor& ground) const;

private:
    QSize m_cell;
    CheckedArray<TKanji_State, 1, CellCount> m_cells;
    int m_count = 0;
    Phase m_phase = Phase::Idle;
    int m_ticks = 0;
    bool m_sorted = false;
};

} // namespace moji
