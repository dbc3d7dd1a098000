#pragma once

#include "screenframe.h"

#include <array>

class QGroupBox;
class QPushButton;

namespace moji {

// Practice level selection: ten level buttons for reading and ten for writing, each with the
// level's twenty kanji as its tool-tip. A button starts a practice session at that level,
// whatever the pupil's own step.
class TF_Renshuu : public ScreenFrame {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 10;

    explicit TF_Renshuu(Program& program, QWidget* parent = nullptr);

    void Btn_Level_YomuClick(int level);
    void Btn_Level_KakuClick(int level);

    // Level button 1 to 10 of the reading (mode 1) or writing (mode 2) group.
    QPushButton* levelButton(int mode, int level) const;
    QGroupBox* group(int mode) const { return mode == 1 ? m_yomu : m_kaku; }

protected:
    void onBack() override;
    void closeEvent(QCloseEvent* event) override;

private:
    QGroupBox* makeGroup(int mode, const QString& title, int left);
    void startSession(int level, int mode);

    QGroupBox* m_yomu;
    QGroupBox* m_kaku;
    std::array<std::array<QPushButton*, 10>, 2> m_buttons{};
    bool m_busyPointer = false;
};

} // namespace moji
