#include "filestore.h"

#include "sharedfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace moji::filestore {

namespace {

using Operation = FaultPlan::Operation;

FaultPlan* g_faultPlan = nullptr;

// True when the installed test plan makes this occurrence of `operation` fail.
bool planned(Operation operation)
{
    return g_faultPlan && g_faultPlan->operation == operation && ++g_faultPlan->seen == g_faultPlan->occurrence;
}

QString plannedError()
{
    return qt_error_string(g_faultPlan->error);
}

// Makes a rename or a new file's name durable, so that a power cut soon after cannot bring
// the old file back. Some file systems refuse to sync a folder; the data is in place anyway,
// so that is not reported.
QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

void syncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(folderOf(path));
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void setFaultPlan(FaultPlan* plan)
{
    g_faultPlan = plan;
}

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool occupied(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

QByteArray readAll(const QString& path, const QString& displayName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(displayName, file.errorString());
    if (planned(Operation::Read))
        throw FileError(displayName, plannedError());
    const qint64 size = file.size();
    QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError || bytes.size() != size)
        throw FileError(displayName, file.errorString());
    return bytes;
}

std::vector<QByteArrayView> splitRecords(const QByteArray& bytes, int recordSize)
{
    std::vector<QByteArrayView> records;
    const qsizetype whole = bytes.size() / recordSize;
    records.reserve(std::size_t(whole));
    for (qsizetype i = 0; i < whole; ++i)
        records.emplace_back(bytes.constData() + i * recordSize, recordSize);
    return records;
}

QByteArray readRecordBytes(const QString& path, const QString& displayName, qint64 index, int recordSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(displayName, file.errorString());
    if (planned(Operation::Read))
        throw FileError(displayName, plannedError());
    if (index < 0 || !file.seek(index * recordSize))
        throw FileError(displayName, QStringLiteral("no record %1").arg(index + 1));
    QByteArray bytes = file.read(recordSize);
    if (bytes.size() != recordSize)
        throw FileError(displayName, QStringLiteral("no record %1").arg(index + 1));
    return bytes;
}

// Writes `bytes` at the file's position and forces them onto the disk. On any failure it
// throws what `fail` makes of the detail, after `fail` has undone the caller's part.
template <typename Fail>
void writeToDisk(QFileDevice& file, const QByteArray& bytes, const Fail& fail)
{
    if (planned(Operation::Write)) {
        file.write(bytes.first(bytes.size() / 2));
        throw fail(plannedError());
    }
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw fail(file.errorString());
    if (planned(Operation::Flush))
        throw fail(plannedError());
    if (::fsync(file.handle()) != 0)
        throw fail(qt_error_string(errno));
    if (planned(Operation::Sync))
        throw fail(plannedError());
}

void writeAtomically(const QString& path, const QString& displayName, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(displayName, file.errorString());
    // The temporary file becomes the file: it must be the folder's group's as the old one was.
    sharedfolder::shareNewFile(file.handle(), folderOf(path));
    // Until commit() the old file is untouched; an abandoned temporary file is removed when
    // `file` goes out of scope. The detail is taken before cancelWriting() replaces it.
    const auto abandon = [&](const QString& detail) {
        file.cancelWriting();
        return FileError(displayName, detail);
    };
    // commit() syncs too, but renames even when the sync fails: a file that may not be on the
    // disk must never replace the good one.
    writeToDisk(file, bytes, abandon);
    if (planned(Operation::Rename))
        throw abandon(plannedError());
    if (!file.commit())
        throw FileError(displayName, file.errorString());
    syncFolderOf(path);
}

void rename(const QString& from, const QString& to, const QString& displayName)
{
    if (planned(Operation::Rename))
        throw FileError(displayName, plannedError());
    // std::rename replaces `to` in one step; QFile::rename would refuse an existing target.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw FileError(displayName, qt_error_string(errno));
    syncFolderOf(to);
}

void remove(const QString& path, const QString& displayName)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.remove())
        throw FileError(displayName, file.errorString());
    syncFolderOf(path);
}

void appendRecord(const QString& path, const QString& displayName, const QByteArray& record)
{
    const bool created = !exists(path);
    // Unbuffered, so that nothing of a failed record is left in a buffer to reach the file
    // when it is closed.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw FileError(displayName, file.errorString());
    if (created)
        sharedfolder::shareNewFile(file.handle(), folderOf(path));
    const qint64 size = file.size();
    const qint64 aligned = size - size % record.size();
    if (aligned != size) {
        if (planned(Operation::Write))
            throw FileError(displayName, plannedError());
        if (!file.resize(aligned))
            throw FileError(displayName, file.errorString());
    }
    if (!file.seek(aligned))
        throw FileError(displayName, file.errorString());
    // A record not written whole is cut again; the detail is taken before the cut.
    const auto undo = [&](const QString& detail) {
        file.resize(aligned);
        return FileError(displayName, detail);
    };
    writeToDisk(file, record, undo);
    if (created)
        syncFolderOf(path);
}

} // namespace moji::filestore
