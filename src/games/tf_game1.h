#pragma once

#include "loopingtune.h"
#include "matchinggame.h"
#include "screenframe.h"

#include <QTimer>

#include <array>
#include <memory>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace moji {

class PictureButton;

// The matching game screen: the strength choice, the 6 x 6 cards with their backs, the
// example sentence of every turned card, the two scores, and the result and best-ten table at
// the end.
class TF_Game1 : public ScreenFrame {
    Q_OBJECT
public:
    explicit TF_Game1(Program& program, QWidget* parent = nullptr);
    ~TF_Game1() override;

    void Btn_StartClick();
    void Btn_EClick(int k);
    void Timer1Timer();

    const MatchingGame& game() const { return m_game; }
    QTimer& Timer1() { return m_timer; }
    QPushButton* cardButton(int k) const { return m_cards[std::size_t(k - 1)]; }
    QLabel* faceLabel(int i) const { return m_faces[std::size_t(i - 1)]; }
    QLabel* turnLabel() const { return m_turn; }
    QString sentence() const;

protected:
    void onBack() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void refresh();
    void showSentence();
    void finishGame();
    QPixmap cardBack();

    MatchingGame m_game;
    QTimer m_timer;
    int m_cardSize;
    QGroupBox* m_strengthGroup;
    QButtonGroup* m_strengths;
    QLabel* m_strengthLabel;
    QLabel* m_manScore;
    QLabel* m_comScore;
    QFrame* m_manFrame;
    QFrame* m_comFrame;
    QFrame* m_manBar;
    QFrame* m_comBar;
    QLabel* m_turn;
    QPushButton* m_start;
    QGroupBox* m_board;
    std::array<QPushButton*, MatchingGame::Cards> m_cards{};
    std::array<QLabel*, 2> m_faces{};
    std::array<QLabel*, 3> m_sentence{};
    int m_shownSentence = -1;
    LoopingTune m_music;
    bool m_dealt = false;
};

} // namespace moji
