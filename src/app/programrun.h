#pragma once

#include "appnavigator.h"
#include "audio.h"
#include "clock.h"
#include "display.h"
#include "helpviewer.h"
#include "messages.h"
#include "program.h"
#include "randomsource.h"
#include "studystate.h"
#include "tf_main.h"

#include <QString>

#include <functional>
#include <memory>

namespace moji {

// Application-wide settings every run needs once the QApplication exists: the font the layout
// was drawn for and Japanese message-box buttons.
void setUpApplication();
// The windows' own icon, so that a task bar shows the program as the desktop's menu does. Set
// once the main menu is on the screen: every window then has it, and start-up does not wait
// for the pictures to be decoded and scaled.
void setApplicationIcon();

// The program's shared services and its main menu, wired together, for a program folder.
class ProgramServices {
public:
    // `clock` replaces the system clock when given (the screenshot tour moves time by hand),
    // `messages` the program's message boxes; see RunHooks for `musicOnSilentOutputs`.
    ProgramServices(const QString& programFolder, const QString& settingsPath, const ScreenInfo& screen,
                    const Clock* clock = nullptr, Messages* messages = nullptr, bool musicOnSilentOutputs = false);

    // Start-up, as the main menu's creation runs it. False when start-up failed.
    bool start();
    // What waits until the main menu's first frame is out: the handwriting recogniser for the
    // 440 kanji of grades 1 to 3 (its model is not opened until the pad first opens).
    void finishStart();

    Program& program() { return m_program; }
    StudyState& state() { return m_state; }
    TF_Main& mainMenu() { return m_mainMenu; }
    AppNavigator& navigator() { return m_navigator; }
    HelpWindow& helpWindow() { return m_help; }

private:
    SystemClock m_systemClock;
    const Clock& m_clock;
    RandomSource m_random;
    StudyState m_state;
    std::unique_ptr<AudioSystem> m_audio;
    HelpWindow m_help;
    MessageBoxes m_messages;
    Program m_program;
    TF_Main m_mainMenu;
    AppNavigator m_navigator;
};

// What a caller other than the program itself may watch: the benchmark measures the time to
// the main menu's first paint.
struct RunHooks {
    std::function<void(TF_Main&)> firstPaint;
    // The program folder; empty for the executable's own folder.
    QString programFolder;
    // Shows the program's messages in place of its message boxes (a test reads them); null
    // for the message boxes.
    Messages* messages = nullptr;
    // Plays the music through SDL's dummy output too, as the benchmark does on a machine
    // without a sound card.
    bool musicOnSilentOutputs = false;
};

// The whole program: one copy only, the display scaled to the design, the shared services,
// then the main menu, whose creation runs start-up, and the event loop. Ends with 0 at once
// while another copy runs, and with 1 after the error report when the single-instance lock
// cannot be made.
int runProgram(int argc, char** argv, const RunHooks& hooks = {});

} // namespace moji
