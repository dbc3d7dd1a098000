#pragma once

#include <QLabel>
#include <QTimer>

namespace moji {

// The large ○ or × the review shows over the answer for about a second after each check, so a
// child sees the verdict on a machine without sound too. It takes no clicks.
class AnswerMark : public QLabel {
    Q_OBJECT
public:
    static constexpr int ShowMilliseconds = 1000;

    // Centred on `centre` (in the parent's coordinates).
    AnswerMark(QWidget* parent, QPoint centre);

    void showVerdict(bool correct);

private:
    QTimer m_hide;
};

} // namespace moji
