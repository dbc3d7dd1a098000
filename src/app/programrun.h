#pragma once

#include <QString>

#include <functional>

namespace moji {

class TF_Main;

// What a caller other than the program itself may watch: the benchmark measures the time to
// the main menu's first paint.
struct RunHooks {
    std::function<void(TF_Main&)> firstPaint;
    // The program folder; empty for the executable's own folder.
    QString programFolder;
};

// The whole program: one copy only, the display scaled to the design, the shared services,
// then the main menu, whose creation runs start-up, and the event loop.
int runProgram(int argc, char** argv, const RunHooks& hooks = {});

} // namespace moji
