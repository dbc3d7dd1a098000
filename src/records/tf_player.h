#pragma once

#include "screenframe.h"

#include <vector>

class QLabel;

namespace moji {

class ClickableLabel;

// Player selection: "べんきょうするのはだれかな？" over a table of the pupils, five to a
// column, with their level and whether they read or write; clicking a name selects the pupil
// and opens the mode menu.
class TF_Player : public ScreenFrame {
    Q_OBJECT
public:
    explicit TF_Player(Program& program, QWidget* parent = nullptr);

    void Lbl_PlayerClick(int pupil);
    // The labels of one pupil's row: name, level, kind (nullptr beyond the roster).
    ClickableLabel* nameLabel(int pupil) const;
    QLabel* levelLabel(int pupil) const;
    QLabel* kindLabel(int pupil) const;
    // The column heads: three for the left column, three more once there is a sixth pupil.
    const std::vector<QLabel*>& heads() const { return m_heads; }

protected:
    void onBack() override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildTable();
    void highlight(int pupil);

    std::vector<QLabel*> m_heads;
    std::vector<ClickableLabel*> m_names;
    std::vector<QLabel*> m_levels;
    std::vector<QLabel*> m_kinds;
    bool m_built = false;
};

} // namespace moji
