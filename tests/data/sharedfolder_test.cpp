// Files in a records folder that a family's group shares (mode 2775): whatever the login's
// umask, every file the program makes there, and every rewrite of one, is readable and
// writable by the group and by nobody else; a folder of one login keeps the umask's modes.
// A file an earlier copy kept to its own login is given back to the group at the next start,
// by its owner, or (run as root) by another login of the group, which replaces it with a copy.

#include "clock.h"
#include "filestore.h"
#include "recordslock.h"
#include "sharedfolder.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace moji;
using namespace testing_support;

namespace {

mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Registers a pupil, records a session, remembers its questions, rewrites a score table and
// holds the lock, with this umask, in `folder`; the modes of what it made, by name.
QMap<QString, mode_t> writeEverything(const QString& folder, mode_t umask)
{
    const mode_t old = ::umask(umask);
    ManualClock clock(46364.5);
    StudyState state(folder, clock);
    state.ReadRoster();
    state.RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("たろう")));
    filestore::appendRecord(state.recordPath(historyFileName(1)), historyFileName(1), historyRun(1, 1, 1, FirstKanjiNo, 9, true));
    state.RememberAskedQuestions(1, {AskedQuestionRecord{int16_t(FirstKanjiNo), 1}});
    filestore::writeAtomically(state.recordPath(QStringLiteral("Game1.dat")), QStringLiteral("Game1.dat"), QByteArray(24, '\0'));
    QMap<QString, mode_t> modes;
    {
        RecordsLock lock(folder);
        EXPECT_EQ(lock.acquire(), RecordsLock::Outcome::Acquired);
        modes[QStringLiteral("Mojimaru.lock")] = modeOf(lock.path());
    }
    state.WriteRoster(); // a rewrite
    ::umask(old);
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        modes[name] = modeOf(QDir(folder).filePath(name));
    return modes;
}

} // namespace

TEST(SharedFolder, EveryFileIsTheGroupsWhateverTheUmaskAndAPrivateFolderKeepsIt)
{
    QTemporaryDir dir;
    for (const mode_t umask : {mode_t(022), mode_t(077), mode_t(0)}) {
        SCOPED_TRACE(testing::Message() << "umask " << std::oct << umask);
        const QString shared = dir.filePath(QStringLiteral("shared%1").arg(umask));
        QDir().mkpath(shared);
        ::chmod(QFile::encodeName(shared).constData(), 02775);
        const QMap<QString, mode_t> modes = writeEverything(shared, umask);
        EXPECT_EQ(modes.size(), 5) << QStringList(modes.keys()).join(u' ').toStdString();
        for (auto it = modes.begin(); it != modes.end(); ++it) {
            EXPECT_EQ(it.value() & 0660, 0660u) << it.key().toStdString();
            EXPECT_EQ(it.value() & 0002, 0u) << it.key().toStdString();
        }
    }
    const QString own = dir.filePath(QStringLiteral("own"));
    QDir().mkpath(own);
    ::chmod(QFile::encodeName(own).constData(), 0755);
    for (const mode_t mode : writeEverything(own, 022))
        EXPECT_EQ(mode, 0644u);
}

TEST(SharedFolder, FilesKeptToOneLoginAreGivenBackToTheGroup)
{
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const QString shared = dir.filePath(QStringLiteral("shared"));
    QDir().mkpath(shared);
    ::chmod(QFile::encodeName(shared).constData(), 02775);
    const QString roster = QDir(shared).filePath(QStringLiteral("Player1.dat"));
    const QString history = QDir(shared).filePath(historyFileName(1));
    const QByteArray historyBytes = historyRun(1, 1, 1, FirstKanjiNo, 9, true);
    writeFile(roster, QByteArray(28, '\0'));
    writeFile(history, historyBytes);
    writeFile(QDir(shared).filePath(QStringLiteral("notes.txt")), "a parent's");
    for (const QString& name : {roster, history, QDir(shared).filePath(QStringLiteral("notes.txt"))})
        ::chmod(QFile::encodeName(name).constData(), 0644);

    // Their owner: the modes are mended in place. Files not of the program stay as they are.
    sharedfolder::repairSharing(shared, {QStringLiteral("Player1.dat")});
    EXPECT_EQ(modeOf(roster), 0664u);
    EXPECT_EQ(modeOf(history), 0644u) << "only the names asked for";
    EXPECT_EQ(modeOf(QDir(shared).filePath(QStringLiteral("notes.txt"))), 0644u);

    if (::geteuid() != 0)
        GTEST_SKIP() << "the rest needs root, to be another login of the group";
    // Another login of the folder's group, who cannot write the history, replaces it with a
    // copy the group may write, and can then add to it.
    constexpr uid_t Nobody = 65534;
    ASSERT_EQ(::chown(QFile::encodeName(shared).constData(), 0, Nobody), 0);
    ASSERT_EQ(::chown(QFile::encodeName(history).constData(), 0, 0), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            _exit(2);
        sharedfolder::repairSharing(shared, {QStringLiteral("Kiroku*.dat")});
        try {
            filestore::appendRecord(history, historyFileName(1), historyBytes);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other login could not add to the history";
    EXPECT_EQ(readFile(history), historyBytes + historyBytes);
    EXPECT_EQ(modeOf(history), 0664u);
    EXPECT_EQ(QDir(shared).entryList({QStringLiteral(".*shared")}, QDir::Files | QDir::Hidden).size(), 0);
}
