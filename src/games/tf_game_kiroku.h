#pragma once

#include "scoretable.h"

#include <QDialog>

class QLabel;
class QTreeWidget;

namespace moji {

struct Program;

// A game's best-ten table after a game: the result ranked among the stored ones, the new row
// marked "＊", whether it got in, and the table written back before the pupil sees it.
class TF_Game_Kiroku : public QDialog {
    Q_OBJECT
public:
    // `gameHintTopic` names the game (2 matching, 14 catcher); `score` is its result.
    TF_Game_Kiroku(Program& program, int gameHintTopic, int score, QWidget* parent = nullptr);

    // False when the table could not be read or written (the program then ends).
    bool ok() const { return m_ok; }
    QTreeWidget* list() const { return m_list; }
    QLabel* messageLabel() const { return m_message; }

    // Shows the table full screen and waits until the pupil presses "もどる".
    int exec() override;

private:
    Program& m_program;
    bool m_ok = false;
    QLabel* m_message;
    QTreeWidget* m_list;
};

} // namespace moji
