#pragma once

#include "screenframe.h"

namespace moji {

// Stands in for a screen that is not built yet: the frame, a friendly note, and back to the
// main menu.
class PlaceholderScreen final : public ScreenFrame {
    Q_OBJECT
public:
    PlaceholderScreen(Program& program, const QString& title, QWidget* parent = nullptr);

protected:
    void onBack() override;
};

} // namespace moji
