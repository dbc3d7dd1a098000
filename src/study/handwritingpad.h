#pragma once

#include "recognizer.h"
#include "strokeorder.h"
#include "strokes.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

namespace moji {

// The handwriting pad without its widget: the strokes written so far in the 0..255 writing
// square, the stroke the pen is drawing, and the kanji the recogniser reads in them, best
// first. Each finished, undone or cleared stroke reads them afresh.
class HandwritingPad {
public:
    static constexpr int MaxCandidates = 8;
    // More than any kanji of the grade has, with room for slips: beyond it a child scribbles.
    static constexpr int MaxStrokes = 30;
    // A pen held down and moving adds no more than this to one stroke.
    static constexpr int MaxPoints = 2000;

    explicit HandwritingPad(handwriting::Recognizer& recognizer) : m_recognizer(recognizer) {}

    // A point of a writing area of this size, in the 0..255 square (outside points are
    // pulled to its edge).
    static handwriting::Point toSquare(QPointF at, QSizeF area);

    // The pad is opened: the recogniser readies its model now rather than at the first stroke.
    void open();
    void penDown(handwriting::Point at);
    void penMove(handwriting::Point at);
    // The stroke is finished and the candidates are read again.
    void penUp();
    // Takes back the last finished stroke.
    void undo();
    void clear();

    const handwriting::Strokes& strokes() const { return m_strokes; }
    // The stroke being drawn (empty while the pen is up).
    const handwriting::Stroke& drawing() const { return m_drawing; }
    bool isEmpty() const { return m_strokes.empty() && m_drawing.empty(); }
    // At most MaxCandidates kanji, best first.
    const std::vector<QString>& candidates() const { return m_candidates; }
    // The recogniser could not read with its model: the pad has nothing to offer.
    bool unavailable() const { return m_unavailable; }

    // The pupil took candidate i (from 0) into the answer: its kanji, and how the strokes
    // compare with its school stroke order when `order` is given and holds it. The square is
    // emptied for the next kanji; the strokes stay on view, faint, until the pen writes again
    // or the square is cleared, so that a remark on one of them can be seen.
    struct Taken {
        QString kanji;
        std::optional<handwriting::StrokeCheck> check;
    };
    Taken take(int i, const handwriting::StrokeOrderTable* order);
    // The strokes of the kanji last taken, while they stay on view.
    const handwriting::Strokes& takenStrokes() const { return m_taken; }
    // The stroke (from 1) of those that the stroke-order check blamed, or 0.
    int blamedStroke() const { return m_blamed; }

private:
    void read();

    handwriting::Recognizer& m_recognizer;
    handwriting::Strokes m_strokes;
    handwriting::Stroke m_drawing;
    bool m_penDown = false;
    std::vector<QString> m_candidates;
    bool m_unavailable = false;
    handwriting::Strokes m_taken;
    int m_blamed = 0;
};

} // namespace moji
