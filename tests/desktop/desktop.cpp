#include "desktop.h"

#include "wordbreaks.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <csignal>

namespace testing_support {

Desktop::Desktop(QSize size) : m_size(size) {}

Desktop::~Desktop()
{
    for (auto* process : {m_windowManager.get(), m_server.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(1000);
        }
    }
}

bool Desktop::start()
{
    // The server picks a free display and writes its number on its output.
    m_server = std::make_unique<QProcess>();
    m_server->setProcessChannelMode(QProcess::SeparateChannels);
    m_server->start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                             QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(m_size.width()).arg(m_size.height()), QStringLiteral("-nolisten"),
                                             QStringLiteral("tcp")});
    if (!m_server->waitForStarted(5000)) {
        fprintf(stderr, "Xvfb did not start\n");
        return false;
    }
    QDeadlineTimer deadline(20000);
    while (!m_server->canReadLine() && !deadline.hasExpired())
        m_server->waitForReadyRead(100);
    const QString number = QString::fromLatin1(m_server->readLine()).trimmed();
    if (number.isEmpty()) {
        fprintf(stderr, "Xvfb gave no display number\n");
        return false;
    }
    m_display = QLatin1Char(':') + number;
    qputenv("DISPLAY", m_display.toLatin1());

    // The window manager is ready once it answers for itself. One that gave up at once (the
    // display was not yet taking clients) is started again.
    int starts = 0;
    while (!deadline.hasExpired()) {
        if (m_windowManager)
            m_windowManager->waitForFinished(0); // notices a window manager that has ended
        if (!m_windowManager || m_windowManager->state() == QProcess::NotRunning) {
            if (m_windowManager)
                fprintf(stderr, "openbox ended (%d): %s\n", m_windowManager->exitCode(),
                        m_windowManager->readAllStandardError().constData());
            if (++starts > 3)
                break;
            m_windowManager = std::make_unique<QProcess>();
            m_windowManager->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
            if (!m_windowManager->waitForStarted(5000)) {
                fprintf(stderr, "openbox did not start\n");
                return false;
            }
        }
        QProcess check;
        check.start(QStringLiteral("wmctrl"), {QStringLiteral("-m")});
        if (check.waitForFinished(2000) && check.exitCode() == 0 && check.readAll().contains("Openbox"))
            return true;
        QThread::msleep(50);
    }
    fprintf(stderr, "openbox did not take the display %s: %s\n", qPrintable(m_display),
            m_windowManager ? m_windowManager->readAllStandardError().constData() : "");
    return false;
}

void startDriver(QProcess& program, const QString& home, const QString& folder, const QString& where)
{
    const QDir base(home);
    base.mkpath(QStringLiteral("run"));
    QFile::setPermissions(base.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), base.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), base.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Started as from a desktop's menu, whatever this test run was started from: a background
    // job would hand its ignored SIGINT on, which the program keeps ignoring.
    program.setChildProcessModifier([] {
        for (const int s : {SIGTERM, SIGINT, SIGHUP})
            ::signal(s, SIG_DFL);
    });
    program.start(QStringLiteral(MOJIMARU_DRIVER), {folder, where});
    EXPECT_TRUE(program.waitForStarted(5000));
}

QString desktopTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    const bool finished = tool.waitForFinished(10000);
    EXPECT_TRUE(finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0)
        << qPrintable(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '))) << ": "
        << tool.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

bool waitFor(const std::function<bool()>& done, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}

namespace {
// Notes that the window system asked a window to close.
class CloseWatch : public QObject {
public:
    using QObject::QObject;
    bool asked = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close && event->spontaneous())
            asked = true;
        return false;
    }
};
} // namespace

void pressAltF4(QWidget* window)
{
    // Under load the window manager now and then lets a key press pass without acting on it,
    // as a person sometimes sees; they press again, and so does this, but only while no close
    // request has reached the window, so a slow request is never doubled.
    QPointer<CloseWatch> watch = new CloseWatch(window);
    window->installEventFilter(watch);
    for (int attempt = 0; attempt < 3 && watch && !watch->asked; ++attempt) {
        if (attempt > 0)
            fprintf(stderr, "Alt+F4 not acted on; pressed again\n");
        QApplication::processEvents();
        desktopTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window->winId())});
        QApplication::processEvents();
        desktopTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("alt+F4")});
        waitFor([&watch] { return !watch || watch->asked; }, 2000);
    }
    if (watch)
        watch->deleteLater();
}

void clickOnScreen(const QWidget* widget)
{
    // Qt's pixels are the screen's divided by the program's scale.
    const QPointF at = QPointF(widget->mapToGlobal(widget->rect().center())) * widget->devicePixelRatioF();
    desktopTool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(qRound(at.x())),
                                             QString::number(qRound(at.y())), QStringLiteral("click"), QStringLiteral("1")});
}

void closeFromTaskBar(const QWidget* window)
{
    desktopTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), QString::number(window->winId())});
}

namespace {
QList<QPointer<QTimer>> g_waitingAnswers;
} // namespace

void whenBoxOpens(std::function<void(QWidget* box)> handler)
{
    auto* poll = new QTimer(qApp);
    g_waitingAnswers << poll;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, handler = std::move(handler)] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        handler(box);
    });
    poll->start();
}

int forgetUnansweredBoxes()
{
    int waiting = 0;
    for (const QPointer<QTimer>& poll : std::as_const(g_waitingAnswers)) {
        if (poll && poll->isActive()) {
            ++waiting;
            poll->stop();
            poll->deleteLater();
        }
    }
    g_waitingAnswers.clear();
    return waiting;
}

QString boxText(const QWidget* box)
{
    const auto* message = qobject_cast<const QMessageBox*>(box);
    return message ? moji::withoutWordJoiners(message->text()) : QString();
}

void pressBoxButton(QWidget* box, const QString& text)
{
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')).startsWith(text)) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " on the box " << boxText(box).toStdString();
    box->close();
}

QList<moji::ScreenFrame*> screensOnView()
{
    QList<moji::ScreenFrame*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* s = qobject_cast<moji::ScreenFrame*>(w); s && s->isVisible() && !s->isMinimized())
            shown << s;
    }
    return shown;
}

QColor seenAt(int x, int y)
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(x, y);
}

QString managedState(quint64 windowId)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(windowId), QStringLiteral("WM_STATE")});
    xprop.waitForFinished(5000);
    const QString said = QString::fromLatin1(xprop.readAllStandardOutput());
    const qsizetype at = said.indexOf(QLatin1String("window state: "));
    if (at < 0)
        return {};
    return said.mid(at + 14).section(QLatin1Char('\n'), 0, 0).trimmed();
}

} // namespace testing_support
