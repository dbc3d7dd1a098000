#pragma once

#include <QApplication>
#include <QWidget>

namespace moji {

// The first visible top-level window of type T, or nullptr: the screen or dialog that is up, for
// the programs that drive the real screens (the tour, the benchmarks, the tests).
template <typename T>
T* topLevel()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    }
    return nullptr;
}

} // namespace moji
