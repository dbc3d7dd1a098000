#include "windowfront.h"

#include <QWidget>
#include <QWindow>

namespace moji {

void showInFront(QWidget* window, bool fullScreen)
{
    // Qt marks a window it minimised to start minimised (X11's initial state) and keeps that
    // mark after the desktop has restored the window, so its next show would hide the program
    // again. A window shown anew passes through the normal state first, which clears the mark.
    if (!window->isVisible() && window->windowHandle())
        window->windowHandle()->setWindowStates(Qt::WindowNoState);
    Qt::WindowStates state = window->windowState() & ~Qt::WindowMinimized;
    if (fullScreen)
        state |= Qt::WindowFullScreen;
    window->setWindowState(state);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace moji
