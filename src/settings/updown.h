#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace moji {

// Up and down arrows bound to an edit box, changing its number by one within a range
// without wrapping. The box still takes typed text; the arrows start from whatever number
// it holds.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }
    // Moves the number by `step` (+1 up, -1 down).
    void stepBy(int step);

private:
    QLineEdit* m_buddy;
    int m_minimum;
    int m_maximum;
    int m_position;
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace moji
