#pragma once

class QWidget;

namespace moji {

struct Program;

// Shows the result and level-up dialog for the session just marked, modally over `parent`,
// and returns when the pupil closes it.
void showSessionResult(Program& program, QWidget* parent);

} // namespace moji
