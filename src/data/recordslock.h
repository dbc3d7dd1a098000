#pragma once

#include <QByteArray>
#include <QString>

namespace moji {

// The mark by which one copy of the program holds a records folder: Mojimaru.lock, naming the
// process, the program and the computer (the layout of QLockFile, which earlier versions wrote
// and read). The copy that holds it keeps it locked with flock() while it runs, so that on
// this computer a mark whose holder has gone, however it ended, is known to be stale. Any login
// that may write the folder then replaces it in one rename, without writing into a file another
// login made. A mark from another computer (a folder on a network share) is never taken unless
// a parent has made sure that the copy there is not running.
class RecordsLock {
public:
    enum class Outcome {
        Acquired,          // this copy holds the folder
        HeldHere,          // a running copy on this computer holds it
        HeldElsewhere,     // a copy on another computer holds it: holderHost()
        FolderNotWritable, // this login may not make or replace files in the folder
        InTheWay,          // Mojimaru.lock is something this program cannot read or replace
        Failed,            // another input or output failure: errorText()
    };

    explicit RecordsLock(const QString& folder);
    ~RecordsLock();
    RecordsLock(const RecordsLock&) = delete;
    RecordsLock& operator=(const RecordsLock&) = delete;

    Outcome acquire();
    // After HeldElsewhere, once a parent has made sure the copy on that computer has ended:
    // replaces the mark with this copy's, provided it is still the one acquire() found; should it
    // have changed meanwhile, it is looked at afresh as acquire() does.
    Outcome takeOver();
    // Gives the folder back (the destructor does too). A mark another copy has put in its place
    // is left to that copy.
    void release();

    QString path() const { return m_path; }
    const QString& holderHost() const { return m_holderHost; }
    const QString& errorText() const { return m_error; }

private:
    // What the mark open as `fd` shows; `contents` is what it says. It stays flocked by this
    // copy, when nobody else held it, until `fd` is closed.
    enum class Look { Stale, Held, Foreign, Unreadable, Unsettled, Failed };
    Look look(int fd, QByteArray& contents);
    // Makes the mark where there is none: 0, or the errno of the failure (EEXIST: there is one).
    int create();
    // Puts this copy's mark in the place of the one looked at, which the caller holds flocked.
    Outcome replace();
    Outcome fail(int error);
    Outcome attempt(bool takeOverForeign);
    // Writes this copy's mark into a new file `fd` and holds it.
    bool writeMark(int fd);

    QString m_folder;
    QString m_path;
    QString m_holderHost;
    QByteArray m_foreignMark; // what acquire() found from another computer
    QString m_error;
    int m_fd = -1;
};

} // namespace moji
