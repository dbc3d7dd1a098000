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

void HandwritingPad::setAnswer(const QString& kanji, const std::vector<handwriting::ReferenceStroke>* strokes)
{
    m_answerKanji = strokes ? kanji : QString();
    m_answer = strokes;
}

void HandwritingPad::penDown(Point at)
{
    m_penDown = int(m_strokes.size()) < MaxStrokes;
    m_refused = !m_penDown;
    m_drawing.clear();
    if (!m_penDown)
        return;
    // New writing: what was said of the old is said no more.
    m_taken.clear();
    m_remark.reset();
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
    m_refused = false;
    m_remark.reset();
    read();
}

void HandwritingPad::clear()
{
    m_taken.clear();
    m_remark.reset();
    m_refused = false;
    m_strokes.clear();
    m_drawing.clear();
    m_penDown = false;
    m_candidates.clear();
}

void HandwritingPad::forgetTaken()
{
    if (m_taken.empty())
        return;
    m_taken.clear();
    m_remark.reset();
}

int HandwritingPad::blamedStroke() const
{
    using Verdict = handwriting::StrokeCheck::Verdict;
    if (!m_remark)
        return 0;
    switch (m_remark->verdict) {
    case Verdict::Order:
    case Verdict::Direction:
    case Verdict::Extra: return m_remark->stroke;
    default: return 0;
    }
}

void HandwritingPad::read()
{
    m_candidates.clear();
    if (m_strokes.empty())
        return;
    for (const handwriting::Candidate& c : m_recognizer.recognize(m_strokes, MaxCandidates))
        m_candidates.push_back(c.kanji);
    m_unavailable = m_candidates.empty() && !m_recognizer.error().isEmpty();
    if (!m_unavailable)
        coach();
}

void HandwritingPad::coach()
{
    using Verdict = handwriting::StrokeCheck::Verdict;
    const int written = int(m_strokes.size());
    // Only writing that is whole, or one stroke short, is compared unasked: the pupil may
    // still be writing.
    if (!m_answer || written + 1 < int(m_answer->size()))
        return;
    if (std::find(m_candidates.begin(), m_candidates.end(), m_answerKanji) != m_candidates.end())
        return;
    const handwriting::StrokeCheck check = handwriting::checkStrokes(m_strokes, *m_answer);
    if (check.verdict == Verdict::Right) {
        offerAnswer();
        return;
    }
    // A stroke still to come is not missing yet.
    const bool stillWriting = check.verdict == Verdict::Missing && check.stroke > written;
    if (check.close() && !stillWriting)
        m_remark = check;
}

void HandwritingPad::offerAnswer()
{
    // The writing is the answer exactly, stroke for stroke, though the recogniser missed it.
    m_candidates.insert(m_candidates.begin(), m_answerKanji);
    if (int(m_candidates.size()) > MaxCandidates)
        m_candidates.pop_back();
}

std::optional<handwriting::StrokeCheck> HandwritingPad::check()
{
    using Verdict = handwriting::StrokeCheck::Verdict;
    if (!m_answer || m_strokes.empty())
        return std::nullopt;
    handwriting::StrokeCheck check = handwriting::checkStrokes(m_strokes, *m_answer);
    const int written = int(m_strokes.size());
    const int whole = int(m_answer->size());
    if (!check.close() && written < whole) {
        // Unfinished writing, right as far as it goes?
        const std::vector<handwriting::ReferenceStroke> begun(m_answer->begin(), m_answer->begin() + written);
        if (handwriting::checkStrokes(m_strokes, begun).verdict == Verdict::Right) {
            check = {};
            check.difference = whole - written;
            return check;
        }
    }
    if (check.verdict == Verdict::Right) {
        if (std::find(m_candidates.begin(), m_candidates.end(), m_answerKanji) == m_candidates.end())
            offerAnswer();
    } else if (check.close()) {
        m_remark = check;
    }
    return check;
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
    if (taken.check && taken.check->close() && taken.check->verdict != handwriting::StrokeCheck::Verdict::Right)
        m_remark = taken.check;
    return taken;
}

} // namespace moji
