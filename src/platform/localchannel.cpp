#include "localchannel.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace moji {

namespace {

// A line longer than this is no request of ours.
constexpr qsizetype LongestLine = 1024;

bool addressOf(const QString& path, sockaddr_un& address)
{
    const QByteArray name = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || std::size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    return true;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool sendAll(int fd, const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, std::size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

} // namespace

struct LocalChannel::Caller {
    int fd;
    QSocketNotifier* notifier; // deleted later: it may be the one whose signal is running
    QByteArray received;
};

LocalChannel::LocalChannel(QString path) : m_path(std::move(path)) {}

LocalChannel::~LocalChannel()
{
    for (const auto& [fd, caller] : m_callers) {
        delete caller->notifier; // no signal of theirs runs now
        ::close(fd);
    }
    if (m_listening >= 0) {
        m_notifier.reset();
        ::close(m_listening);
        ::unlink(QFile::encodeName(m_path).constData());
    }
}

QByteArray LocalChannel::ask(const QByteArray& line, int milliseconds) const
{
    sockaddr_un address;
    if (!addressOf(m_path, address))
        return {};
    // The listener may still be starting: try again until the time is up.
    QDeadlineTimer connecting(milliseconds);
    int fd = -1;
    for (;;) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return {};
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            break;
        ::close(fd);
        if (connecting.hasExpired())
            return {};
        QThread::msleep(50);
    }
    const Descriptor socket(fd);
    if (!sendAll(fd, line))
        return {};
    QDeadlineTimer answering(milliseconds);
    QByteArray answer;
    while (!answer.endsWith('\n')) {
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(answering.remainingTime()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return {};
        char buffer[256];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || answer.size() + n > LongestLine)
            return {};
        answer.append(buffer, n);
    }
    return answer;
}

bool LocalChannel::listen(std::function<QByteArray(const QByteArray&)> answer, QString* error)
{
    const QByteArray name = QFile::encodeName(m_path);
    sockaddr_un address;
    if (!addressOf(m_path, address)) {
        *error = QStringLiteral("the path is too long for a socket: %1").arg(m_path);
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ::unlink(name.constData());
    // For this user alone (the runtime folder is the user's own as well).
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || ::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 8) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    m_listening = fd;
    m_answer = std::move(answer);
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { acceptCallers(); });
    return true;
}

void LocalChannel::acceptCallers()
{
    for (;;) {
        const int fd = ::accept4(m_listening, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return; // none left waiting (or one that went away meanwhile)
        }
        auto caller = std::make_unique<Caller>(Caller{fd, new QSocketNotifier(fd, QSocketNotifier::Read), {}});
        QObject::connect(caller->notifier, &QSocketNotifier::activated, caller->notifier, [this, fd] { readFrom(fd); });
        m_callers[fd] = std::move(caller);
    }
}

void LocalChannel::readFrom(int fd)
{
    const auto found = m_callers.find(fd);
    if (found == m_callers.end())
        return;
    Caller& caller = *found->second;
    for (;;) {
        char buffer[256];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return; // the rest of the line comes later
        if (n <= 0 || caller.received.size() + n > LongestLine) {
            drop(fd);
            return;
        }
        caller.received.append(buffer, n);
        const qsizetype end = caller.received.indexOf('\n');
        if (end >= 0) {
            const QByteArray reply = m_answer(caller.received.left(end + 1));
            sendAll(fd, reply); // a caller that has gone needs no answer
            drop(fd);
            return;
        }
    }
}

void LocalChannel::drop(int fd)
{
    const auto found = m_callers.find(fd);
    if (found == m_callers.end())
        return;
    found->second->notifier->setEnabled(false);
    found->second->notifier->deleteLater();
    ::close(fd);
    m_callers.erase(found);
}

} // namespace moji
