#pragma once

#include "screenframe.h"

namespace moji {

class GradeGrid;

// The per-kanji grades "かんじべつのせいせきひょう" of the current pupil: every kanji of the
// grade in reading and in writing, with its level, how often it was asked and answered
// correctly in challenges, and "○" when it counts as cleared. A snapshot taken when the
// screen opens; the pupil scrolls through its 400 rows. With ふくしゅう on, a learned kanji
// the pupil is starting to forget (recall below the target) is marked in orange.
class TF_KSeiseki1 : public ScreenFrame {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 10;
    static constexpr int Columns = 7;

    explicit TF_KSeiseki1(Program& program, QWidget* parent = nullptr);

    static const QColor FadingColour;

    GradeGrid* grid() const { return m_grid; }
    // Whether row `rowNo` (1 to 400) is marked as fading.
    bool fading(int rowNo) const;

protected:
    void onBack() override;

private:
    void markFading();

    GradeGrid* m_grid;
};

} // namespace moji
