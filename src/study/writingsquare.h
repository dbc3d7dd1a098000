#pragma once

#include <QWidget>

namespace moji {

class HandwritingPad;

// The square a pupil writes in, with the mouse, a pen or a finger (Qt turns pen and touch
// into mouse events the widget takes alike): it passes the pen on to the pad's logic and
// draws the strokes over writing-paper guide lines.
class WritingSquare : public QWidget {
    Q_OBJECT
public:
    WritingSquare(HandwritingPad& pad, QWidget* parent);

signals:
    // A stroke was finished: the pad has read its candidates again.
    void strokeFinished();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    HandwritingPad& m_pad;
};

} // namespace moji
