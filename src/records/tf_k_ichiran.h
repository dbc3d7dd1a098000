#pragma once

#include "kanjiboard.h"
#include "loopingtune.h"
#include "screenframe.h"

#include <QImage>
#include <QTimer>

#include <memory>

class QLabel;
class QPushButton;

namespace moji {


// The kanji list "かんじのいちらん": the grade's kanji appear scattered over a board and,
// to music, glide into order, the ones the pupil has passed in red from the first slot and
// the others in yellow from the last. "読む" and "書く" choose the list.
class TF_K_ichiran : public ScreenFrame {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 310;

    explicit TF_K_ichiran(Program& program, QWidget* parent = nullptr);
    ~TF_K_ichiran() override;

    // Builds the board for the reading (1) or writing (2) list and starts the animation.
    void BtnClick(int listMode);
    void Tim_KanjiTimer();

    const KanjiBoard& board() const { return m_board; }
    const QTimer& timer() const { return m_timer; }
    bool animating() const { return m_board.phase() != KanjiBoard::Phase::Idle; }
    // What the board shows now.
    QImage boardImage() const;
    // The board drawn as the logic places the kanji now.
    QImage renderBoard() const;

    // A click on the board at this point of it: once the kanji are in order, the clicked one
    // is shown with its numbered strokes.
    void Img_KanjiClick(QPoint at);

protected:
    void onBack() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showBoard(const QImage& image);
    void showIdlePrompt();
    void setAnimating(bool on);

    KanjiBoard m_board;
    QTimer m_timer;
    QImage m_scattered;
    QLabel* m_image;
    QLabel* m_legendRed;
    QLabel* m_legendWhite;
    QLabel* m_clickHint;
    QPushButton* m_yomi;
    QPushButton* m_kaki;
    LoopingTune m_music;
};

} // namespace moji
