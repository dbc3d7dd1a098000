#pragma once

#include <QLabel>

namespace moji {

// A text label that acts as a command: it reports clicks, and the mouse coming over it or
// leaving it, so that screens can light the command under the pointer.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    ClickableLabel(const QString& text, int tag, QWidget* parent);
    int tag() const { return m_tag; }
    void setTextColour(const QColor& colour);

signals:
    void clicked();
    void hovered();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    // Taken here, so that the window under the label does not clear the highlight.
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int m_tag;
};

// The image with the connected area around `seed` that has the seed's colour painted over
// with `colour`, as a paint bucket does.
QImage floodFilled(QImage image, QPoint seed, const QColor& colour);

} // namespace moji
