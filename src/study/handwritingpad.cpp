#include "handwritingpad.h"

#include <algorithm>
#include <cmath>

namespace moji {

using handwriting::Point;

Point HandwritingPad::toSquare(QPointF at, QSizeF area)
{
    auto axis = [](double v, double length) {
        const double last = std::max(1.0, length - 1);
        return std::clamp(int(std::lround(v / last * 255)), 0, 255);
    };
    return {axis(at.x(), area.width()), axis(at.y(), area.height())};
}

void HandwritingPad::open()
{
    m_unavailable = !m_recognizer.prepare();
}

void HandwritingPad::penDown(Point at)
{
    m_taken.clear();
    m_blamed = 0;
    m_penDown = int(m_strokes.size()) < MaxStrokes;
    m_drawing.clear();
    if (m_penDown)
        m_drawing.push_back(at);
}

void HandwritingPad::penMove(Point at)
{
    if (!m_penDown || int(m_drawing.size()) >= MaxPoints || m_drawing.back() == at)
        return;
    m_drawing.push_back(at);
}

void HandwritingPad::penUp()
{
    if (!m_penDown)
        return;
    m_penDown = false;
    m_strokes.push_back(std::move(m_drawing));
    m_drawing.clear();
    read();
}

void HandwritingPad::undo()
{
    if (m_strokes.empty())
        return;
    m_strokes.pop_back();
    read();
}

void HandwritingPad::clear()
{
    m_taken.clear();
    m_blamed = 0;
    m_strokes.clear();
    m_drawing.clear();
    m_penDown = false;
    m_candidates.clear();
}

void HandwritingPad::read()
{
    m_candidates.clear();
    if (m_strokes.empty())
        return;
    for (const handwriting::Candidate& c : m_recognizer.recognize(m_strokes, MaxCandidates))
        m_candidates.push_back(c.kanji);
    m_unavailable = m_candidates.empty() && !m_recognizer.error().isEmpty();
}

HandwritingPad::Taken HandwritingPad::take(int i, const handwriting::StrokeOrderTable* order)
{
    Taken taken;
    if (i < 0 || i >= int(m_candidates.size()))
        return taken;
    taken.kanji = m_candidates[std::size_t(i)];
    if (order) {
        if (const auto* reference = order->strokesOf(taken.kanji))
            taken.check = handwriting::checkStrokes(m_strokes, *reference);
    }
    handwriting::Strokes written = std::move(m_strokes);
    clear();
    m_taken = std::move(written);
    using Verdict = handwriting::StrokeCheck::Verdict;
    if (taken.check && (taken.check->verdict == Verdict::Order || taken.check->verdict == Verdict::Direction))
        m_blamed = taken.check->stroke;
    return taken;
}

} // namespace moji
