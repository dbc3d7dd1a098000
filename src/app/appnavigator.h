#pragma once

#include "navigator.h"

#include <QPointer>

namespace moji {

struct Program;
class TF_Main;
class TF_Mode;
class TF_Seiseki1;

// Opens the full screens on the program's behalf. The mode menu is kept while the pupil is in
// a screen reached from it, and shown again (reloading the pupil) when they come back.
class AppNavigator final : public Navigator {
public:
    AppNavigator(Program& program, TF_Main& mainMenu) : m_program(program), m_main(mainMenu) {}
    void show(Screen screen) override;
    void openSettings(QWidget* parent) override;

private:
    // Builds and shows the screen; a screen whose files are damaged raises DataError.
    void open(Screen screen);

    Program& m_program;
    TF_Main& m_main;
    QPointer<TF_Mode> m_modeMenu;
    // The grades overview waits hidden while a pupil's history is in front.
    QPointer<TF_Seiseki1> m_gradesOverview;
};

} // namespace moji
