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
//
// Where the pad knows the kanji the pupil is to write (in practice), it coaches against it:
// when the writing is nearly whole but the recogniser does not list that kanji, the strokes are
// compared with its school strokes directly, and a stroke missing, one too many, a swap or a
// reversal becomes a remark on the writing; writing that is that kanji exactly is offered as
// the first candidate.
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
    // The school strokes of the kanji the pupil is to write, which the pad coaches against, or
    // nullptr (a challenge: the candidates alone decide and nothing tells the answer).
    void setAnswer(const QString& kanji, const std::vector<handwriting::ReferenceStroke>* strokes);
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

    // A pen put down on a square holding MaxStrokes strokes draws nothing: true until the pen
    // is next put down on room, or the square is cleared.
    bool refused() const { return m_refused; }

    // What the coach or the stroke check has to say about the writing on view, with the stroke
    // it concerns (marked, or drawn faintly where it belongs when missing); none while there
    // is nothing to say. Writing again, taking back a stroke or clearing forgets it.
    const std::optional<handwriting::StrokeCheck>& remark() const { return m_remark; }
    void forgetRemark() { m_remark.reset(); }
    // The pupil asks whether the writing is right: it is compared with the answer's strokes.
    // Right, or the one difference that matters most; Far, TooFew or TooMany for writing too
    // far from the answer to say more; nullopt without an answer or writing. Writing that is
    // right so far but not finished is Right with `difference` the strokes still to write.
    std::optional<handwriting::StrokeCheck> check();

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
    // The strokes the remark is about: those being written, or those of the kanji just taken.
    const handwriting::Strokes& remarkedStrokes() const { return m_strokes.empty() ? m_taken : m_strokes; }
    // The written stroke (from 1) the remark blames, or 0.
    int blamedStroke() const;
    // Forgets the kanji just taken and what was said about it: the answer no longer holds it.
    void forgetTaken();

private:
    void read();
    void coach();
    void offerAnswer();

    handwriting::Recognizer& m_recognizer;
    handwriting::Strokes m_strokes;
    handwriting::Stroke m_drawing;
    bool m_penDown = false;
    std::vector<QString> m_candidates;
    bool m_unavailable = false;
    bool m_refused = false;
    const std::vector<handwriting::ReferenceStroke>* m_answer = nullptr;
    QString m_answerKanji;
    std::optional<handwriting::StrokeCheck> m_remark;
    handwriting::Strokes m_taken;
};

} // namespace moji
