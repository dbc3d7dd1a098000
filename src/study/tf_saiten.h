#pragma once

#include "scoring.h"
#include "screenframe.h"

#include <QTimer>

class QLabel;
class QTableWidget;

namespace moji {

// The scoring screen: the ten answers marked one row every 1.5 seconds with ○ or × and the
// matching sound, the score counting up; then the result, the review of wrong answers, or both.
// It has no header buttons and no way back: it goes on by itself.
class TF_Saiten : public ScreenFrame {
    Q_OBJECT
public:
    static constexpr int RevealMilliseconds = 1500;

    explicit TF_Saiten(Program& program, QWidget* parent = nullptr);

    // One tick: the next row, or after the tenth the finishing step.
    void Tim_SaitenTimer();
    // A click anywhere: every row left is shown at once and the score is final.
    void skipReveal();
    QTableWidget* grid() const { return m_grid; }
    QLabel* scoreLabel() const { return m_score; }
    QTimer& Tim_Saiten() { return m_timer; }
    // Where the result dialog, window frame included, goes: clear of the score and the marks.
    QPoint resultPlace(QSize frame) const;

protected:
    void onBack() override {}
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRow(const Scoring::Row& row);
    void finish();

    Scoring m_scoring;
    QLabel* m_title;
    QLabel* m_score;
    QTableWidget* m_grid;
    QTimer m_timer;
    bool m_finished = false;
};

} // namespace moji
