#pragma once

#include "hintbook.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace moji {

class ClickableLabel;
class DataError;
struct Program;

// The hint screen: a small dialog over the current screen with the hints Hint.dat holds for
// the situation the pupil is in, paging within that situation, and in a practice question
// session an answer hint for the question on screen.
class TF_Hint : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 30;

    explicit TF_Hint(Program& program, QWidget* parent = nullptr);

    // Loads the index and shows the first hint, then runs modally. When Hint.dat cannot be
    // read it reports the file, closes every window and ends the program without showing.
    int exec() override;

    // The hint shown now.
    int hintNo() const { return m_hintNo; }

    void Btn_NextPrevClick(int tag); // 0 previous, 1 next
    void Btn_Kotae_HintClick();
    void Image1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Loads the index if needed, picks and shows the hint of the context, shows or hides the
    // answer-hint button. False when it failed and the dialog must not stay.
    bool FormShow();
    void showHint(int n);
    void display(const HintText& text);
    // Reports a failure: a file error ends the program, any other stops what was under way.
    // Always false, for the callers' convenience.
    bool fail(const DataError& error);

    Program& m_program;
    HintBook m_book;
    int m_hintNo = 1;
    bool m_prepared = false;

    ClickableLabel* m_image;
    QPlainTextEdit* m_level1;
    QPlainTextEdit* m_level2;
    QPushButton* m_prev;
    QPushButton* m_next;
    QPushButton* m_back;
    QPushButton* m_answerHint;
};

// Makes every screen's hint button open the hint screen modally over the active window.
void installHints(Program& program);

} // namespace moji
