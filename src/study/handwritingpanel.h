#pragma once

#include "handwritingpad.h"

#include <QObject>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

namespace moji {

class AnswerPanels;
class WritingSquare;
struct Program;

// The handwriting pad of a writing session, one more way to the answer beside the pickers:
// the "てがき" button in the first view of the pickers opens the pad in the picker space
// (Grp_Tegaki): the writing square, up to eight candidate kanji after each stroke, best
// first, buttons that take back a stroke or clear the square, and a few lines of messages. A
// candidate goes into the answer as a kanji button of the pickers does. In practice the
// strokes are then compared with the kanji's stroke order; the pad coaches against the
// question's answer (unasked when the writing is nearly whole but not among the candidates,
// or when the pupil presses "あってる？"); and "かきじゅん" shows the numbered strokes of the
// answer's last kanji beside the writing, where the review shows the answer too. A message
// belongs to the writing or the diagram it speaks of and goes with it. Made only where the
// program has a recogniser and a parent has not switched the pad off.
class HandwritingPanel : public QObject {
    Q_OBJECT
public:
    HandwritingPanel(Program& program, AnswerPanels& answer, QWidget* canvas);

    // Shows the button or the pad as the pickers' view calls for; a pad that closes is
    // emptied. An answer changed by other means than the pad (deleted, checked in the review)
    // takes with it what was said of the kanji taken last.
    void refresh();
    void hideAll();
    // The kanji the question asks for: the pad coaches against it in practice, never in a
    // challenge.
    void setAnswer(const QString& kanji);
    // The review shows the answer: the pad opens with the kanji's numbered strokes beside the
    // square.
    void showAnswer(const QString& kanji);

    QGroupBox* openGroup() const { return m_openGroup; }
    QToolButton* openButton() const { return m_open; }
    QGroupBox* padGroup() const { return m_padGroup; }
    WritingSquare* square() const { return m_square; }
    // Candidate button i, 1 to 8.
    QPushButton* candidateButton(int i) const { return m_candidates[std::size_t(i - 1)]; }
    QPushButton* undoButton() const { return m_undo; }
    QPushButton* clearButton() const { return m_clear; }
    QPushButton* strokeOrderButton() const { return m_strokeOrder; }
    QPushButton* checkButton() const { return m_check; }
    QLabel* messageLabel() const { return m_message; }
    // What the message line says, as said (its line breaks aside).
    QString message() const;
    // The stroke-order diagram beside the square, and the kanji it shows (empty while hidden).
    QLabel* diagram() const { return m_diagram; }
    const QString& diagramKanji() const { return m_diagramKanji; }
    const HandwritingPad& pad() const { return m_pad; }

signals:
    // The answer or the view changed (the screen updates its label and the cancel button).
    void changed();

private:
    void buildOpenButton(QWidget* canvas);
    void buildPad(QWidget* canvas);
    void showCandidates();
    void takeCandidate(int i);
    void showStrokeOrder();
    void showDiagram(const QString& kanji, const QString& note);
    void hideDiagram();
    void afterStroke();
    void checkWriting();
    void useAnswer();
    void sayUnavailable();
    // What a message speaks of: it goes when that goes.
    enum class About { Nothing, Writing, Diagram };
    void say(const QString& text, const QColor& colour, About about = About::Writing);
    void forget(About about);
    QRect inLayout(const QRect& design) const;

    Program& m_program;
    AnswerPanels& m_answer;
    HandwritingPad m_pad;
    bool m_practice;
    QGroupBox* m_openGroup = nullptr;
    QToolButton* m_open = nullptr;
    QGroupBox* m_padGroup = nullptr;
    WritingSquare* m_square = nullptr;
    std::array<QPushButton*, HandwritingPad::MaxCandidates> m_candidates{};
    QPushButton* m_undo = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_strokeOrder = nullptr;
    QPushButton* m_check = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_diagram = nullptr;
    About m_about = About::Nothing;
    QString m_diagramKanji;
    // The kanji the question asks for, and the answer as the pad last saw it.
    QString m_answerKanji;
    QString m_lastAnswer;
    bool m_answerReady = false;
};

} // namespace moji
