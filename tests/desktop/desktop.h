#pragma once

#include <QProcess>
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
    Desktop();
    ~Desktop();

    // False (with the reason on stderr) when the server or the window manager did not start.
    bool start();
    const QString& display() const { return m_display; }

private:
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
    QString m_display;
};

// Runs a desktop tool (xdotool, wmctrl) to its end and returns what it printed; the test
// fails when it does not succeed.
QString desktopTool(const QString& program, const QStringList& arguments);

// Spins the real event loop until `done` holds or `milliseconds` pass; whether it held.
bool waitFor(const std::function<bool()>& done, int milliseconds = 5000);

// Alt+F4 on a window as a person presses it: the window is brought to the front and given the
// focus through the window manager first (as a click on it would), then the keys go to the X
// server, where the window manager takes them for its own.
void pressAltF4(QWidget* window);
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

} // namespace testing_support
