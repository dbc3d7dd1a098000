#pragma once

#include <QLabel>
#include <QTimer>

#include <functional>

namespace moji {

// The large ○ or × the review shows over the answer for about a second after each check, so a
// child sees the verdict on a machine without sound too. The answer checked stays under it for
// that second, untouched: clicks on the answer's part of the screen wait until the mark has
// gone, and only then does the screen go on (emptying a wrong answer, or the next question).
class AnswerMark : public QLabel {
    Q_OBJECT
public:
    static constexpr int ShowMilliseconds = 1000;

    // Centred on `centre`; clicks are held back within `guarded` (both in the parent's
    // coordinates).
    AnswerMark(QWidget* parent, QPoint centre, const QRect& guarded);

    // Shows the mark, then runs `then` once it has gone. A box opened meanwhile (the question
    // before quitting, the hints) keeps the mark up until it is answered.
    void showVerdict(bool correct, std::function<void()> then);

private:
    void timeUp();

    QWidget* m_guard;
    QTimer m_hide;
    std::function<void()> m_then;
};

} // namespace moji
