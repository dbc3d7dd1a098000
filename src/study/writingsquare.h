#pragma once

#include "strokecheck.h"

#include <QWidget>

class QPainter;

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
    // The pen was put down (on a full square it draws nothing: see HandwritingPad::refused()).
    void strokeStarted();
    // A stroke was finished: the pad has read its candidates again.
    void strokeFinished();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // A stroke the writing lacks, faint and dashed where it belongs, with its number.
    void drawMissing(QPainter& p, const handwriting::ReferenceStroke& stroke, int number, double inkWidth) const;

    HandwritingPad& m_pad;
};

} // namespace moji
