#pragma once

#include "navigator.h"
#include "screenframe.h"

namespace moji {

// Stands in for a screen that is not built yet: the frame, a friendly note, and the way back.
class PlaceholderScreen final : public ScreenFrame {
    Q_OBJECT
public:
    PlaceholderScreen(Program& program, const QString& title, Screen backTo, QWidget* parent = nullptr);

protected:
    void onBack() override;

private:
    Screen m_backTo;
};

} // namespace moji
