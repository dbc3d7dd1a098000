#pragma once

#include <QPoint>
#include <QSize>

#include <functional>

class QWidget;

namespace moji {

struct Program;

// Where a dialog of this size, window frame included, goes on the screen.
using DialogPlace = std::function<QPoint(QSize frame)>;

// Shows the result and level-up dialog for the session just marked, modally over `parent`
// (centred on it, or where `place` says), and returns when the pupil closes it.
void showSessionResult(Program& program, QWidget* parent, const DialogPlace& place = {});

} // namespace moji
