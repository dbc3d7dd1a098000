#pragma once

#include "navigator.h"

namespace moji {

struct Program;
class TF_Main;

// Opens the full screens on the program's behalf.
class AppNavigator final : public Navigator {
public:
    AppNavigator(Program& program, TF_Main& mainMenu) : m_program(program), m_main(mainMenu) {}
    void show(Screen screen) override;
    void openSettings(QWidget* parent) override;

private:
    Program& m_program;
    TF_Main& m_main;
};

} // namespace moji
