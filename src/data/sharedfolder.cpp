#include "sharedfolder.h"

#include "errors.h"
#include "filestore.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace moji::sharedfolder {

namespace {

// What the folder's group and this login may do there; false when it cannot be looked at.
bool statFolder(const QString& folder, struct stat& info)
{
    return ::stat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

constexpr mode_t Shared = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP;

} // namespace


void shareNewFile(int fd, const QString& folder)
{
    struct stat dir {};
    struct stat file {};
    if (!statFolder(folder, dir) || (dir.st_mode & S_IWGRP) == 0 || ::fstat(fd, &file) != 0)
        return;
    // A folder without the setgid bit gives a new file the login's own group; the family's
    // group is given back (a login outside it cannot, and then only the mode helps).
    if (file.st_gid != dir.st_gid && ::fchown(fd, uid_t(-1), dir.st_gid) == 0)
        file.st_gid = dir.st_gid;
    const mode_t mode = ((file.st_mode & 07777) | Shared) & ~mode_t(S_IWOTH);
    if (mode != (file.st_mode & 07777))
        ::fchmod(fd, mode);
}

void repairSharing(const QString& folder, const QStringList& names)
{
    struct stat dirInfo {};
    if (!statFolder(folder, dirInfo) || (dirInfo.st_mode & S_IWGRP) == 0)
        return;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(names, QDir::Files | QDir::Hidden)) {
        const QString path = dir.filePath(name);
        const QByteArray native = QFile::encodeName(path);
        struct stat file {};
        if (::lstat(native.constData(), &file) != 0 || !S_ISREG(file.st_mode))
            continue;
        const mode_t mode = ((file.st_mode & 07777) | Shared) & ~mode_t(S_IWOTH);
        if (mode == (file.st_mode & 07777) && file.st_gid == dirInfo.st_gid)
            continue;
        if (file.st_uid == ::geteuid()) {
            // A login outside the folder's group cannot give it away: the mode alone helps then.
            (void)!::chown(native.constData(), uid_t(-1), dirInfo.st_gid);
            ::chmod(native.constData(), mode);
            continue;
        }
        if (::access(native.constData(), R_OK | W_OK) == 0)
            continue; // writable by this login already, through another of its groups
        // Another login's file this one cannot write: a shared copy takes its place in one
        // step, so that a failure leaves the original.
        const QString copy = dir.filePath(QStringLiteral(".%1.shared").arg(name));
        try {
            filestore::writeAtomically(copy, name, filestore::readAll(path, name));
            filestore::rename(copy, path, name);
        } catch (const DataError&) {
            QFile::remove(copy);
        }
    }
}

} // namespace moji::sharedfolder
