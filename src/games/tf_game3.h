#pragma once

#include "catcherfield.h"
#include "catchergame.h"
#include "loopingtune.h"
#include "screenframe.h"

#include <QTimer>

#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace moji {

class MediaPlayer;
struct SentenceView;

// The kanji catcher game: a sentence with one word in red along the top, stars that turn
// into kanji and fall in the field, and a red paddle the pupil moves with the arrow buttons
// or keys to catch the kanji read as the red word, against the clock. The rules live in
// CatcherGame and the pictures in CatcherField; this window shows them, plays the sounds and
// forwards the pupil's presses.
class TF_Game3 : public ScreenFrame {
    Q_OBJECT
public:
    static constexpr int TickMilliseconds = 30;

    explicit TF_Game3(Program& program, QWidget* parent = nullptr);
    ~TF_Game3() override;

    // "ゲームはじめ": starts a game; during a game the same button leaves (Cancel).
    void Btn_StartClick();
    // The game loop, every 30 ms while a game runs.
    void Timer1Timer();
    // Leaves for the mode menu; also the back button.
    void Cancel();
    void Btn_LeftMouseDown();
    void Btn_RightMouseDown();
    // Bound to the release of both arrow buttons: the paddle stops.
    void Btn_RightMouseUp();

    CatcherGame& game() { return *m_game; }
    const CatcherField& field() const { return *m_field; }
    QTimer& Timer1() { return m_timer; }
    QString sentenceText(int part) const; // 1 to 3
    QColor sentenceColour(int part) const;

protected:
    void onBack() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildPictures();
    void openSounds();
    void showQuestion();
    void showSentence(const SentenceView& view);
    void showScore();
    void playCatch();
    void endGame();
    void releaseSounds();
    // Shows a media error without letting the game run on behind the message box.
    void reportMediaError(const QString& message);
    void failOnData(const QString& report);

    std::unique_ptr<CatcherGame> m_game;
    std::unique_ptr<CatcherField> m_field;

    QWidget* m_img1 = nullptr;
    QLabel* m_enchou = nullptr;
    QLabel* m_timeLeft = nullptr;
    QLabel* m_score = nullptr;
    QLabel* m_seikai = nullptr;
    QSlider* m_speed = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_left = nullptr;
    QPushButton* m_right = nullptr;
    std::array<QLabel*, 3> m_sentence{};

    QTimer m_timer;
    bool m_inTick = false;
    bool m_keyPreview = false;
    bool m_leaving = false;
    int m_flashTicks = 0;

    std::unique_ptr<MediaPlayer> m_atari; // MP_Atari
    std::unique_ptr<MediaPlayer> m_hazure; // MP_Hazure
    LoopingTune m_music; // MP_MO_1
};

} // namespace moji
