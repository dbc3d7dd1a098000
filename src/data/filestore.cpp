#include "filestore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace moji::filestore {

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QByteArray readAll(const QString& path, const QString& displayName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(displayName, file.errorString());
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
    if (index < 0 || !file.seek(index * recordSize))
        throw FileError(displayName, QStringLiteral("no record %1").arg(index + 1));
    QByteArray bytes = file.read(recordSize);
    if (bytes.size() != recordSize)
        throw FileError(displayName, QStringLiteral("no record %1").arg(index + 1));
    return bytes;
}

void writeAtomically(const QString& path, const QString& displayName, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(displayName, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw FileError(displayName, file.errorString());
    }
    // commit() flushes, syncs the temporary file to disk and renames it over the old file.
    if (!file.commit())
        throw FileError(displayName, file.errorString());
}

void appendRecord(const QString& path, const QString& displayName, const QByteArray& record)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw FileError(displayName, file.errorString());
    const qint64 size = file.size();
    const qint64 aligned = size - size % record.size();
    if (aligned != size && !file.resize(aligned))
        throw FileError(displayName, file.errorString());
    if (!file.seek(aligned) || file.write(record) != record.size() || !file.flush())
        throw FileError(displayName, file.errorString());
    if (::fsync(file.handle()) != 0)
        throw FileError(displayName, QStringLiteral("sync failed"));
}

} // namespace moji::filestore
