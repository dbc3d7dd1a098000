#pragma once

#include <QString>

namespace moji {

class ManualClock;

// A demonstration program folder for the screenshot tour and the benchmarks: the built data
// files of `built` (the executable left out), four pupils, histories of a few weeks and game
// tables, recorded as of `clock`'s day (which it moves on the way and sets back). Raises
// DataError when a built file cannot be read.
void prepareDemoFolder(const QString& built, const QString& folder, ManualClock& clock);

} // namespace moji
