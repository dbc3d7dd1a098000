#pragma once

#include <QString>

#include <stdexcept>

namespace moji {

// Every failure the data layer raises derives from DataError, so a screen catches one type
// and shows one kind of report.
class DataError : public std::runtime_error {
public:
    DataError(const QString& fileName, const QString& detail);

    // Bare file name (no folder) the failure concerns; empty for a purely in-memory value.
    const QString& fileName() const { return m_fileName; }
    const QString& detail() const { return m_detail; }

private:
    QString m_fileName;
    QString m_detail;
};

// An input or output failure on a file: it could not be opened, read, written or renamed.
class FileError : public DataError {
public:
    using DataError::DataError;
};

// A value outside its declared range, read from a file or met in memory.
class RangeError : public DataError {
public:
    using DataError::DataError;
    explicit RangeError(const QString& detail) : DataError(QString(), detail) {}
};

// Runs `work`. A RangeError that names no file is raised again naming `fileName`: the values
// that went out of range came from that file, and the report must say which one.
template <typename Work>
decltype(auto) blamingFile(const QString& fileName, Work&& work)
{
    try {
        return work();
    } catch (const RangeError& e) {
        if (!e.fileName().isEmpty())
            throw;
        throw RangeError(fileName, e.detail());
    }
}

// The exact text shown for a failing data file: the name, then the fixed sentence with its
// trailing blank.
QString fileErrorMessage(const QString& fileName);

// The one error report the program shows for any DataError: the file message when a file is
// involved, otherwise a short notice with the detail for whoever reads it to us.
QString errorReportText(const DataError& error);

} // namespace moji
