#pragma once

namespace moji {

// Marks a step of start-up in the log category "mojimaru.startup", off unless asked for
// (QT_LOGGING_RULES="mojimaru.startup=true"): each line holds the steady clock in milliseconds
// (the system's monotonic clock, which a parent process shares) and the step just finished.
// The start-up benchmark reads them for its breakdown; a developer reads them to see where
// start-up spends its time. Nothing in the program depends on them.
void traceStartup(const char* step);

} // namespace moji
