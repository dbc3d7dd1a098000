#include "systemsignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace moji {

namespace {

constexpr std::array<int, 3> Caught = {SIGTERM, SIGINT, SIGHUP};

// [0] is written by the handler, [1] read by the event loop.
int g_socket[2] = {-1, -1};
std::array<struct sigaction, Caught.size()> g_previous{};

void onSignal(int number)
{
    const int saved = errno;
    const char byte = char(number);
    // A full socket already holds a request to end; one more adds nothing.
    [[maybe_unused]] const ssize_t written = ::write(g_socket[0], &byte, 1);
    errno = saved;
}

} // namespace

SystemSignals::SystemSignals(QObject* parent) : QObject(parent)
{
    Q_ASSERT(g_socket[0] < 0);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_socket) != 0) {
        g_socket[0] = g_socket[1] = -1;
        qWarning("No socket for system signals: the program cannot be ended by a signal.");
        return;
    }
    for (std::size_t i = 0; i < Caught.size(); ++i) {
        ::sigaction(Caught[i], nullptr, &g_previous[i]);
        // A signal the program was started to ignore (nohup, a background job) stays ignored.
        if (g_previous[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = &onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART; // file writes under way finish before the loop sees it
        ::sigaction(Caught[i], &action, nullptr);
    }
}

SystemSignals::~SystemSignals()
{
    if (g_socket[0] < 0)
        return;
    for (std::size_t i = 0; i < Caught.size(); ++i)
        ::sigaction(Caught[i], &g_previous[i], nullptr);
    delete m_notifier;
    ::close(g_socket[0]);
    ::close(g_socket[1]);
    g_socket[0] = g_socket[1] = -1;
}

void SystemSignals::listen()
{
    if (g_socket[1] < 0 || m_notifier)
        return;
    m_notifier = new QSocketNotifier(g_socket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SystemSignals::readSignals);
    // What came before listening is handled as soon as the loop runs.
    QMetaObject::invokeMethod(this, &SystemSignals::readSignals, Qt::QueuedConnection);
}

void SystemSignals::readSignals()
{
    char byte = 0;
    int last = 0;
    while (::read(g_socket[1], &byte, 1) == 1)
        last = byte;
    if (last != 0)
        emit endRequested(last);
}

} // namespace moji
