#include "kanjiboard.h"

#include "kanjigrades.h"
#include "randomsource.h"
#include "studystate.h"

#include <QPainter>

#include <cmath>
#include <vector>

namespace moji {

static_assert(KanjiCount <= KanjiBoard::CellCount, "every kanji of the grade needs a cell");

KanjiBoard::KanjiBoard(double scale)
    : m_cell(int(std::lround(24 * scale)), int(std::lround(30 * scale)))
{
}

QPoint KanjiBoard::cellTopLeft(int c) const
{
    requireRange(c, 1, CellCount, QString(), "board cell");
    return {(c - 1) / Rows * m_cell.width(), (c - 1) % Rows * m_cell.height()};
}

void KanjiBoard::build(const StudyState& state, RandomSource& random, int listMode)
{
    requireRange(listMode, 1, 2, QString(), "list mode");
    m_cells.fill(TKanji_State{});
    m_count = KanjiCount;
    int passedCount = 0;
    int back = KanjiCount + 1;
    std::vector<int> pool;
    pool.reserve(std::size_t(KanjiCount));
    for (int c = 1; c <= KanjiCount; ++c)
        pool.push_back(c);

    for (int j = 1; j <= KanjiCount; ++j) {
        const int k = FirstKanjiNo - 1 + j;
        const std::size_t r = std::size_t(random.Random(int(pool.size())));
        const int cell = pool[r];
        pool.erase(pool.begin() + std::ptrdiff_t(r));

        TKanji_State& s = m_cells[j];
        s.passed = kanjiCleared(state, k, listMode);
        s.kanji = state.KanjiTable[k].Glyph.toUnicode();
        const QPoint scattered = cellTopLeft(cell);
        s.scatteredX = int16_t(scattered.x());
        s.scatteredY = int16_t(scattered.y());
        const QPoint sorted = cellTopLeft(s.passed ? ++passedCount : --back);
        s.sortedX = int16_t(sorted.x());
        s.sortedY = int16_t(sorted.y());
    }
    m_phase = Phase::Scattered;
    m_ticks = 0;
    m_sorted = false;
}

KanjiBoard::Step KanjiBoard::tick()
{
    switch (m_phase) {
    case Phase::Idle: return Step::None;
    case Phase::Scattered:
        ++m_ticks;
        if (m_ticks < ScatteredTicks)
            return Step::Draw;
        m_phase = Phase::Gliding;
        m_ticks = 0;
        return Step::SlowDown;
    case Phase::Gliding:
        ++m_ticks;
        if (m_ticks < GlidingTicks)
            return Step::Draw;
        m_phase = Phase::Idle;
        m_sorted = true;
        return Step::Finished;
    }
    return Step::None;
}

QPoint KanjiBoard::positionOf(int i) const
{
    const TKanji_State& s = m_cells[i];
    if (m_sorted)
        return {s.sortedX, s.sortedY};
    if (m_phase != Phase::Gliding)
        return {s.scatteredX, s.scatteredY};
    // Integer division truncates toward zero, as the glide wants.
    const int left = GlidingTicks - m_ticks;
    return {s.sortedX + left * (s.scatteredX - s.sortedX) / GlidingTicks,
            s.sortedY + left * (s.scatteredY - s.sortedY) / GlidingTicks};
}

int KanjiBoard::slotOf(int i) const
{
    const TKanji_State& s = m_cells[i];
    return s.sortedX / m_cell.width() * Rows + s.sortedY / m_cell.height() + 1;
}

int KanjiBoard::kanjiAt(QPoint at) const
{
    if (!m_sorted || m_phase != Phase::Idle)
        return 0;
    for (int i = 1; i <= m_count; ++i) {
        if (QRect(positionOf(i), m_cell).contains(at))
            return i;
    }
    return 0;
}

QImage KanjiBoard::render(const QFont& font, const QColor& ground) const
{
    QImage image(boardSize(), QImage::Format_RGB32);
    image.fill(ground);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    for (int i = 1; i <= m_count; ++i) {
        const TKanji_State& k = m_cells[i];
        p.setPen(k.passed ? QColor(Qt::red) : QColor(Qt::yellow));
        // On a transparent ground: where two gliding kanji cross, both stay visible.
        p.drawText(QRect(positionOf(i), m_cell), Qt::AlignCenter, k.kanji);
    }
    return image;
}

} // namespace moji
