#include "recordslock.h"

#include "sharedfolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QList>
#include <QSysInfo>

#include <cerrno>
#include <chrono>
#include <optional>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace moji {

namespace {

// How long a mark may look unsettled (being written, or being replaced by another copy)
// before it counts as held, or as in the way.
constexpr int SettleMilliseconds = 3000;
// A mark that is still empty or unreadable after this long was left by a copy that ended
// while writing it.
constexpr int AbandonedSeconds = 5;

// What a mark says, in QLockFile's layout: process number, program, computer, and the
// machine's and the boot's identities.
struct Mark {
    qint64 pid = 0;
    QString host;
    QByteArray machine;
    QByteArray boot;
};

std::optional<Mark> parseMark(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() < 3)
        return std::nullopt;
    bool ok = false;
    Mark mark;
    mark.pid = lines[0].toLongLong(&ok);
    if (!ok || mark.pid <= 0)
        return std::nullopt;
    mark.host = QString::fromUtf8(lines[2]);
    if (lines.size() > 3)
        mark.machine = lines[3];
    if (lines.size() > 4)
        mark.boot = lines[4];
    return mark;
}

QByteArray ownMark()
{
    return QByteArray::number(qint64(::getpid())) + '\n' + QByteArray(program_invocation_short_name) + '\n'
           + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n'
           + QSysInfo::bootUniqueId() + '\n';
}

// The same machine: its name, and its identity where the mark has one (two computers can
// share a name; machines made from one disk image share an identity).
bool thisComputer(const Mark& mark)
{
    return mark.host == QSysInfo::machineHostName() && (mark.machine.isEmpty() || mark.machine == QSysInfo::machineUniqueId());
}

bool processAlive(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool sameFile(int fd, const QByteArray& path)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 && open.st_dev == named.st_dev
           && open.st_ino == named.st_ino;
}

QByteArray readMark(int fd)
{
    QByteArray bytes(4096, Qt::Uninitialized);
    const ssize_t n = ::pread(fd, bytes.data(), std::size_t(bytes.size()), 0);
    bytes.truncate(n > 0 ? qsizetype(n) : 0);
    return bytes;
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

RecordsLock::RecordsLock(const QString& folder)
    : m_folder(QDir::cleanPath(folder)), m_path(QDir(m_folder).filePath(QStringLiteral("Mojimaru.lock")))
{
}

RecordsLock::~RecordsLock()
{
    release();
}

RecordsLock::Outcome RecordsLock::acquire()
{
    return attempt(false);
}

RecordsLock::Outcome RecordsLock::takeOver()
{
    return attempt(true);
}

void RecordsLock::release()
{
    if (m_fd < 0)
        return;
    // Only a copy holding the flock can have replaced the file, and this one holds it: the
    // name is still this copy's unless a parent gave it to a copy on another computer.
    const QByteArray path = QFile::encodeName(m_path);
    if (sameFile(m_fd, path))
        ::unlink(path.constData());
    closeFd(m_fd);
}

RecordsLock::Outcome RecordsLock::fail(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return Outcome::FolderNotWritable;
    default:
        m_error = qt_error_string(error);
        return Outcome::Failed;
    }
}

bool RecordsLock::writeMark(int fd)
{
    sharedfolder::shareNewFile(fd, m_folder);
    // Some network file systems hold no flock; the mark's process number then stands alone.
    ::flock(fd, LOCK_EX);
    const QByteArray mark = ownMark();
    return ::write(fd, mark.constData(), std::size_t(mark.size())) == ssize_t(mark.size()) && ::fsync(fd) == 0;
}

int RecordsLock::create()
{
    const QByteArray path = QFile::encodeName(m_path);
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    if (!writeMark(fd)) {
        const int error = errno;
        ::unlink(path.constData());
        closeFd(fd);
        return error;
    }
    syncFolder(m_folder);
    m_fd = fd;
    return 0;
}

RecordsLock::Outcome RecordsLock::replace()
{
    // A new mark under a name of this process's own, renamed over the old one in one step: the
    // old file is never written (another login may own it), and no moment is without a mark.
    const QString temporary = QDir(m_folder).filePath(QStringLiteral(".Mojimaru.lock.%1").arg(::getpid()));
    const QByteArray temp = QFile::encodeName(temporary);
    ::unlink(temp.constData());
    int fd = ::open(temp.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(errno);
    if (!writeMark(fd) || ::rename(temp.constData(), QFile::encodeName(m_path).constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        closeFd(fd);
        return fail(error);
    }
    syncFolder(m_folder);
    m_fd = fd;
    return Outcome::Acquired;
}

RecordsLock::Look RecordsLock::look(int fd, QByteArray& contents)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Look::Failed;
    if (!S_ISREG(info.st_mode))
        return Look::Unreadable;
    // Whether a process on this computer (or, through the network's locks, on another) holds
    // it. Taken, it keeps every other copy from replacing the mark while this one decides.
    bool free = false;
    bool held = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        free = true;
    else
        held = errno == EWOULDBLOCK;
    if (free && !sameFile(fd, QFile::encodeName(m_path)))
        return Look::Unsettled; // replaced since it was opened: look at the new one
    contents = readMark(fd);
    const std::optional<Mark> mark = parseMark(contents);
    if (!mark) {
        // A copy writing its mark just now, or one that ended while writing it.
        const bool old = std::chrono::system_clock::now() - std::chrono::system_clock::from_time_t(info.st_mtime)
                         > std::chrono::seconds(AbandonedSeconds);
        return !held && old ? Look::Stale : Look::Unsettled;
    }
    if (!thisComputer(*mark)) {
        m_holderHost = mark->host;
        return held ? Look::Held : Look::Foreign;
    }
    if (!mark->boot.isEmpty() && mark->boot != QSysInfo::bootUniqueId())
        return Look::Stale; // written before this computer last started
    if (free)
        return Look::Stale;
    if (processAlive(mark->pid))
        return Look::Held;
    // Locked, but by no process of that number: another copy replacing it this moment.
    return held ? Look::Unsettled : Look::Stale;
}

RecordsLock::Outcome RecordsLock::attempt(bool takeOverForeign)
{
    const QByteArray path = QFile::encodeName(m_path);
    QDeadlineTimer deadline(SettleMilliseconds);
    for (;;) {
        if (m_fd >= 0)
            return Outcome::Acquired;
        if (const int error = create(); error != EEXIST)
            return error == 0 ? Outcome::Acquired : fail(error);
        int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            if (errno == ENOENT)
                continue; // gone since: make it again
            return errno == EACCES || errno == ELOOP ? Outcome::InTheWay : fail(errno);
        }
        m_holderHost.clear();
        QByteArray contents;
        Outcome outcome = Outcome::Failed;
        bool again = false;
        switch (look(fd, contents)) {
        case Look::Stale: outcome = replace(); break;
        case Look::Foreign:
            // Taken over only as the parent saw it: a mark that changed meanwhile is asked about anew.
            if (takeOverForeign && contents == m_foreignMark) {
                outcome = replace();
            } else {
                m_foreignMark = contents;
                outcome = Outcome::HeldElsewhere;
            }
            break;
        case Look::Held: outcome = m_holderHost.isEmpty() ? Outcome::HeldHere : Outcome::HeldElsewhere; break;
        case Look::Unreadable: outcome = Outcome::InTheWay; break;
        case Look::Unsettled:
            again = !deadline.hasExpired();
            outcome = parseMark(contents) ? Outcome::HeldHere : Outcome::InTheWay;
            break;
        case Look::Failed: outcome = fail(errno); break;
        }
        // Closing it gives up its flock: only now may another copy look at the new mark.
        closeFd(fd);
        if (!again)
            return outcome;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace moji
