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
// first, buttons that take back a stroke or clear the square, and a line of messages. A
// candidate goes into the answer as a kanji button of the pickers does. In practice the
// strokes are then compared with the kanji's stroke order, and "かきじゅん" shows the
// numbered strokes of the answer's last kanji. Made only where the program has a recogniser
// and a parent has not switched the pad off.
class HandwritingPanel : public QObject {
    Q_OBJECT
public:
    HandwritingPanel(Program& program, AnswerPanels& answer, QWidget* canvas);

    // Shows the button or the pad as the pickers' view calls for; a pad that closes is
    // emptied.
    void refresh();
    void hideAll();

    QGroupBox* openGroup() const { return m_openGroup; }
    QToolButton* openButton() const { return m_open; }
    QGroupBox* padGroup() const { return m_padGroup; }
    WritingSquare* square() const { return m_square; }
    // Candidate button i, 1 to 8.
    QPushButton* candidateButton(int i) const { return m_candidates[std::size_t(i - 1)]; }
    QPushButton* undoButton() const { return m_undo; }
    QPushButton* clearButton() const { return m_clear; }
    QPushButton* strokeOrderButton() const { return m_strokeOrder; }
    QLabel* messageLabel() const { return m_message; }
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
    void sayUnavailable();
    void say(const QString& text, const QColor& colour);

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
    QLabel* m_message = nullptr;
};

} // namespace moji
