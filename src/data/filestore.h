#pragma once

#include "errors.h"

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <vector>

// The one place where data files touch the disk. Every failure raises FileError naming the
// file (without its folder), so callers show the same message whatever went wrong. A file made
// in a folder that a group shares is made readable and writable by that group (sharedfolder.h).
namespace moji::filestore {

// A file (not a folder) is there.
bool exists(const QString& path);
// Anything is there under that name: a file, a folder, a link, even one that leads nowhere.
bool occupied(const QString& path);

// The whole file. Raises FileError when it cannot be opened or read.
QByteArray readAll(const QString& path, const QString& displayName);

// Splits the bytes into whole records of `recordSize`; a torn tail shorter than a record is
// not used (an interrupted append leaves one, and the next append cuts it).
std::vector<QByteArrayView> splitRecords(const QByteArray& bytes, int recordSize);

// Every whole record of a file, decoded. A record the codec rejects raises RangeError naming
// the file.
template <typename Record>
std::vector<Record> readRecords(const QString& path, const QString& displayName)
{
    const QByteArray bytes = readAll(path, displayName);
    std::vector<Record> records;
    records.reserve(std::size_t(bytes.size() / Record::Size));
    blamingFile(displayName, [&] {
        for (const QByteArrayView raw : splitRecords(bytes, Record::Size))
            records.push_back(Record::decode(raw));
    });
    return records;
}

// Record `index` (from 0) of a file, reading only that record. Raises FileError when the file
// is too short to hold it.
QByteArray readRecordBytes(const QString& path, const QString& displayName, qint64 index, int recordSize);

template <typename Record>
Record readRecordAt(const QString& path, const QString& displayName, qint64 index)
{
    return blamingFile(displayName, [&] { return Record::decode(readRecordBytes(path, displayName, index, Record::Size)); });
}

// Replaces the file with `bytes` through a temporary file in the same folder that is flushed
// to disk and renamed over the old one: a crash leaves either the old file or the new one,
// and a failure (reported as FileError) leaves the old one and no temporary file.
void writeAtomically(const QString& path, const QString& displayName, const QByteArray& bytes);

// Gives the file `from` the name `to` in the same folder, replacing any file of that name, and
// makes the new name durable. Raises FileError naming `displayName`.
void rename(const QString& from, const QString& to, const QString& displayName);

// Removes the file when it is there, durably. Raises FileError naming `displayName` when it
// stays.
void remove(const QString& path, const QString& displayName);

// Appends one record, creating the file when missing. A torn last record (a size that is not
// a multiple of the record size) is cut first, so every later record stays aligned; the
// record is flushed to disk before returning. A record that fails to be written whole is cut
// again before FileError is raised (and should that cut fail too, the next append cuts it).
void appendRecord(const QString& path, const QString& displayName, const QByteArray& record);

// Test seam, never set by the program (which then pays one null pointer test per operation):
// makes one operation of this layer fail as a failing or full disk would, so tests can prove
// that every writer reports the file and leaves the old data whole. A failing write first
// writes half of its bytes; a failing flush or sync has done its work before it reports.
struct FaultPlan {
    enum class Operation { Read, Write, Flush, Sync, Rename };
    Operation operation = Operation::Write;
    int occurrence = 1; // the n-th such operation after the plan is set fails, and only that one
    int error = EIO;    // the errno it fails with, e.g. EIO or ENOSPC
    int seen = 0;       // such operations so far
};

// Installs `plan` (nullptr removes it); it must outlive its use.
void setFaultPlan(FaultPlan* plan);

} // namespace moji::filestore
