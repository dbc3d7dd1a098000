#pragma once

#include "screenframe.h"

namespace moji {

class GradeGrid;

// The per-kanji grades "かんじべつのせいせきひょう" of the current pupil: every kanji of the
// grade in reading and in writing, with its level, how often it was asked and answered
// correctly in challenges, and "○" when it counts as cleared. A snapshot taken when the
// screen opens; the pupil scrolls through its 400 rows.
class TF_KSeiseki1 : public ScreenFrame {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 10;
    static constexpr int Columns = 7;

    explicit TF_KSeiseki1(Program& program, QWidget* parent = nullptr);

    GradeGrid* grid() const { return m_grid; }

protected:
    void onBack() override;

private:
    GradeGrid* m_grid;
};

} // namespace moji
