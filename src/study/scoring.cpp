#include "scoring.h"

#include "studystate.h"

namespace moji {

Scoring::Scoring(StudyState& state) : m_state(state)
{
    m_state.SessionCorrect = 0;
}

std::optional<Scoring::Row> Scoring::nextRow()
{
    if (m_rows >= Rows)
        return std::nullopt;
    ++m_rows;
    QuizItem& item = m_state.QuizSet[m_rows];
    Row row;
    row.number = m_rows;
    row.question = cp932::decodeLossy(cp932::cutToBytes(item.Piece1.bytes() + item.Piece2.bytes() + item.Piece3.bytes(), 60));
    row.pieces = {item.Piece1.toUnicode(), item.Piece2.toUnicode(), item.Piece3.toUnicode()};
    row.target = item.TargetPiece >= 1 && item.TargetPiece <= 3 ? item.TargetPiece : 0;
    row.given = item.Given.toUnicode();
    row.answer = item.Answer.toUnicode();
    // Byte for byte, lengths included: no trimming or folding here. A question whose correct
    // answer never loaded (the bank was missing at the time-out) cannot have been answered.
    row.correct = !item.Answer.bytes().isEmpty() && item.Given.bytes() == item.Answer.bytes();
    item.Correct = row.correct;
    if (row.correct)
        addChecked(m_state.SessionCorrect);
    return row;
}

QString Scoring::scoreText() const
{
    if (m_state.SessionCorrect == 0)
        return {};
    return QString::number(m_state.SessionCorrect * PointsPerAnswer) + QStringLiteral("点");
}

bool Scoring::scoreIsRed() const
{
    return m_state.SessionCorrect >= PassMark;
}

Scoring::Ending Scoring::ending() const
{
    if (m_state.SessionCorrect >= Rows)
        return Ending::Perfect;
    if (m_state.SessionCorrect < PassMark)
        return Ending::Failed;
    return Ending::Passed;
}

} // namespace moji
