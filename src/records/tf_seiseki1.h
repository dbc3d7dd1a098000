#pragma once

#include "screenframe.h"

namespace moji {

class GradeGrid;

// The grades overview "みんなのせいせきひょう": every registered pupil with their level.
// Clicking a pupil's row opens that pupil's study history; this screen waits hidden and is
// shown again, unchanged, when the pupil comes back.
class TF_Seiseki1 : public ScreenFrame {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 10;

    explicit TF_Seiseki1(Program& program, QWidget* parent = nullptr);

    GradeGrid* grid() const { return m_grid; }
    // A click on grid row r (0 = the heading row, which does nothing).
    void Grd_SeisekiClick(int r);

protected:
    void onBack() override;

private:
    GradeGrid* m_grid;
};

} // namespace moji
