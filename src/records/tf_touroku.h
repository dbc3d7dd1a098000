#pragma once

#include "screenframe.h"

#include <array>

class QLabel;
class QPushButton;

namespace moji {

// Player registration: a name of up to five kana built by pressing kana buttons, added to the
// roster (and written to disk at once) with "とうろくする".
class TF_Touroku : public ScreenFrame {
    Q_OBJECT
public:
    explicit TF_Touroku(Program& program, QWidget* parent = nullptr);

    void Btn_MojiClick(int button); // 1 to 80
    void btn_clearClick();
    void btn_TourokuClick();

    QString name() const;
    QPushButton* kanaButton(int i) const { return m_kana[std::size_t(i - 1)]; }

protected:
    void onBack() override;

private:
    void leave();

    QLabel* m_instruction;
    QLabel* lbl_Name;
    QPushButton* btn_clear;
    QPushButton* btn_Touroku;
    std::array<QPushButton*, 80> m_kana{};
    int m_length = 0;
};

} // namespace moji
