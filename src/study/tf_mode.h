#pragma once

#include "review.h"
#include "screenframe.h"

#include <QImage>

#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;

namespace moji {

class ClickableLabel;

// The pupil's home screen: their name, their progress as rows of stars (reading, writing and
// each game), and the commands to look at the kanji list and the per-kanji grades, to study in
// challenge or practice mode, and to play either game. Beside the stars, unless a parent
// switched it off, ふくしゅう: how many learned kanji are due for review today, and the
// command to review the ones the pupil is most likely to have forgotten.
class TF_Mode : public ScreenFrame {
    Q_OBJECT
public:
    explicit TF_Mode(Program& program, QWidget* parent = nullptr);

    // Command labels 1 to 4, and the two game labels.
    void Lbl_Command1Click(int tag);
    void Lbl_GameClick(int game); // 1 matching, 3 catcher
    // ふくしゅう: a review session of the ten learned kanji of lowest recall, or, when none
    // is due, a kind word and the offer of practice.
    void Btn_FukushuuClick();

    ClickableLabel* commandLabel(int tag) const { return m_commands[std::size_t(tag - 1)]; }
    ClickableLabel* gameLabel(int game) const { return game == 1 ? m_game1 : m_game3; }
    // The four star pictures as drawn: reading, writing, matching game, catcher game.
    QImage starImage(int row) const;
    QLabel* nameLine() const { return m_name; }
    QPushButton* reviewButton() const { return m_review; }
    // What the review button says, as one line: "きょうの　ふくしゅう　１２こ".
    QString reviewLine() const;

    // The lit and unlit star tiles from Stars.bmp, on navy.
    static std::array<QImage, 2> loadStars(const QString& path);

protected:
    void onBack() override;
    void activated() override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void loadPupil();
    void drawStars();
    void closeLeftovers();
    void highlightCommand(int tag);
    void highlightGame(int game);
    void leaveFor(Screen screen);
    void showReview();
    // The learned kanji of the pupil, lowest recall today first. Raises DataError when their
    // history cannot be read.
    std::vector<memory::LearnedKanji> learnedToday() const;
    void startPractice();

    QLabel* m_name;
    std::array<QLabel*, 4> m_starImages{}; // Img_Yomi_Level, Img_Kaki_Level, Img_Game1_Level, Img_Game3_Level
    std::array<ClickableLabel*, 4> m_commands{};
    ClickableLabel* m_game1;
    ClickableLabel* m_game3;
    std::array<QImage, 2> m_stars;
    QPushButton* m_review;
    // The button's three lines: "きょうの", "ふくしゅう", "１２こ".
    std::array<QLabel*, 3> m_reviewLines{};
    int m_due = 0;
    bool m_learnedAny = false;
};

} // namespace moji
