#pragma once

#include "screenframe.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QList>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace testing_support {

// A desktop of the tests' own: a virtual X server and the Openbox window manager, started
// before the tests and ended after them, so that windows are mapped, framed, focused and
// closed as on a family's computer.
class Desktop {
public:
    explicit Desktop(QSize size = {640, 480});
    ~Desktop();

    // False (with the reason on stderr) when the server or the window manager did not start.
    bool start();
    const QString& display() const { return m_display; }

private:
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
    QString m_display;
    QSize m_size;
};

// Starts the program driver (the real program that walks to `where` and says "ready") over a
// program folder, as a family's desktop starts it: its settings and runtime folders in `home`,
// the X display, quiet sound, and the signals a desktop's menu leaves in place.
void startDriver(QProcess& program, const QString& home, const QString& folder, const QString& where);

// Runs a desktop tool (xdotool, wmctrl) to its end and returns what it printed; the test
// fails when it does not succeed.
QString desktopTool(const QString& program, const QStringList& arguments);

// Spins the real event loop until `done` holds or `milliseconds` pass; whether it held.
bool waitFor(const std::function<bool()>& done, int milliseconds = 5000);

// Alt+F4 on a window as a person presses it: the window is brought to the front and given the
// focus through the window manager first (as a click on it would), then the keys go to the X
// server, where the window manager takes them for its own.
void pressAltF4(QWidget* window);
// A click as a person makes it: the pointer moved over the middle of the widget and the
// button pressed there, through the X server (whatever lies on top at that point gets it).
void clickOnScreen(const QWidget* widget);
// What a task bar sends to close a window: the window manager's close request for it.
void closeFromTaskBar(const QWidget* window);

// Answers the next message box or dialog that opens, from inside its own event loop: the
// handler may look around, wait (the screen's timers run meanwhile) and must answer the box.
void whenBoxOpens(std::function<void(QWidget* box)> handler);
// Forgets the answers still waiting for their box; how many there were.
int forgetUnansweredBoxes();
// The text of a message box, or empty for another kind of dialog.
QString boxText(const QWidget* box);
// Presses the message box's button with this text (はい, いいえ, OK …).
void pressBoxButton(QWidget* box, const QString& text);

// The full screens on view: shown and not minimised, as the program sees them.
QList<moji::ScreenFrame*> screensOnView();

// Exactly one full screen on view, of type T.
template <typename T>
T* theOnlyScreen()
{
    const QList<moji::ScreenFrame*> shown = screensOnView();
    return shown.size() == 1 ? qobject_cast<T*>(shown.front()) : nullptr;
}

template <typename T>
T* waitForTheOnlyScreen()
{
    waitFor([] { return theOnlyScreen<T>() != nullptr; });
    T* screen = theOnlyScreen<T>();
    EXPECT_NE(screen, nullptr) << "expected " << T::staticMetaObject.className() << " alone on view";
    return screen;
}

// The colour the desktop shows at a point of the screen, as a pupil sees it.
QColor seenAt(int x, int y);

// How the window manager holds a window of the program (or of any client, by its X id):
// "Normal", "Iconic" (on the task bar), or empty when it does not manage it (not shown).
QString managedState(quint64 windowId);

} // namespace testing_support
