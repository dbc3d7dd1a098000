#pragma once

#include "answerpanels.h"
#include "loopingtune.h"
#include "questionsession.h"
#include "screenframe.h"

#include <QTimer>

#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;

namespace moji {

class AnswerMark;
class HandwritingPanel;
class PickerPanels;

// The question session: ten questions against the clock, each a sentence with one part in red,
// answered with the pickers; then scoring, and a review of the wrong answers until each is
// right. The same screen is shown again for the review.
class TF_Shutsudai : public ScreenFrame {
    Q_OBJECT
public:
    explicit TF_Shutsudai(Program& program, QWidget* parent = nullptr);
    ~TF_Shutsudai() override;

    // "はじめ" / "つぎ": start, or store the answer and go on; after question 10, ask to
    // score.
    void btn_NextClick();
    void Btn_PrevClick();
    // Review: check the answer being corrected.
    void btn_awaseClick();
    void Tim_ClockTimer();
    void Btn_DebugClick();

    int currentQuestion() const { return m_current; }
    bool inReview() const { return m_review; }
    const AnswerPanels& panels() const { return m_panels; }
    PickerPanels* pickers() const { return m_pickers; }
    // The handwriting pad, or nullptr in reading, without a recogniser or when switched off.
    HandwritingPanel* handwriting() const { return m_handwriting; }
    QString answerText() const;
    QString sentenceText(int part) const; // 1 to 3
    QColor sentenceColour(int part) const;
    QTimer& Tim_Clock() { return m_clock; }

protected:
    void onBack() override;
    void onHint() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void prepareNewSession();
    void startReview();
    void startSession();
    void showQuestion(int n);
    void showSentence(const SentenceView& view);
    void updateAnswer();
    void moveOnInReview();
    void showAnswerInReview();
    void endReview();
    void goToScoring();
    bool loadOrFail(int n);

    QuestionSession m_session;
    AnswerPanels m_panels;
    PickerPanels* m_pickers = nullptr;
    HandwritingPanel* m_handwriting = nullptr;
    int m_current = 0;
    bool m_review = false;
    bool m_started = false;
    bool m_finished = false;

    QLabel* m_title;
    QGroupBox* m_questionBox;
    std::array<QLabel*, 3> m_sentence{};
    QLabel* m_answer;
    AnswerMark* m_mark;
    QLabel* m_timeLeft;
    QPushButton* m_next;
    QPushButton* m_check;
    QPushButton* m_prev;
    QPushButton* m_cancel;
    QPushButton* m_deletePart;
    QPushButton* m_deleteAll;
    QPushButton* m_debug;
    // The answer shown in the review to a pupil who keeps getting it wrong.
    QLabel* m_shownAnswer;
    QPushButton* m_shownStrokeOrder;
    QTimer m_clock;
    LoopingTune m_music;
};

} // namespace moji
