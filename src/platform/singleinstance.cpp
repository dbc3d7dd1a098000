#include "singleinstance.h"

#include "localchannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <csignal>

namespace moji {

SingleInstance::SingleInstance(const QString& name, const QString& folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    m_lock = std::make_unique<QLockFile>(QDir(dir).filePath(name + QStringLiteral(".lock")));
    // Only a lock whose process is gone is stale; a live copy keeps it however long it runs.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

namespace {
const QByteArray ComeForward = QByteArrayLiteral("come forward\n");
const QByteArray Done = QByteArrayLiteral("ok\n");
} // namespace

QString SingleInstance::socketPath() const
{
    QString path = m_lock->fileName();
    path.chop(int(qstrlen(".lock")));
    return path + QStringLiteral(".socket");
}

bool SingleInstance::askHolderToComeForward(int milliseconds) const
{
    // A copy still starting listens only once its main menu is on the screen.
    return LocalChannel(socketPath()).ask(ComeForward, milliseconds) == Done;
}

bool SingleInstance::listenForLaterStarts(std::function<void()> comeForward)
{
    // Holding the lock, this copy owns the name: a socket left there by a copy that crashed
    // is replaced.
    m_channel = std::make_unique<LocalChannel>(socketPath());
    QString error;
    const bool listening = m_channel->listen(
        [comeForward = std::move(comeForward)](const QByteArray& line) {
            if (line != ComeForward)
                return QByteArray();
            comeForward();
            return Done;
        },
        &error);
    if (!listening) {
        qWarning("A later start cannot bring this copy forward: %s", qPrintable(error));
        m_channel.reset();
    }
    return listening;
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (m_lock->tryLock(0))
        return Outcome::Acquired;
    // Only a lock held by a live copy means "already running"; anything else is a failure to
    // be reported, never a reason to end in silence. Qt also reports a lock it cannot read, or
    // a stale one it cannot remove, as held by another process.
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock->error() != QLockFile::LockFailedError || !m_lock->getLockInfo(&pid, &host, &application) || pid <= 0)
        return Outcome::Failed;
    // A process number means nothing here when the lock was written on another computer.
    if (!host.isEmpty() && host != QSysInfo::machineHostName()) {
        m_holderHost = host;
        return Outcome::HeldByAnotherCopy;
    }
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return Outcome::Failed;
    return Outcome::HeldByAnotherCopy;
}

} // namespace moji
