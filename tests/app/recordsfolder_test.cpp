// Where the program keeps what it writes, and one copy at a time per set of records, through
// the real program run as a process by an ordinary user (nobody, when the tests run as root,
// so that a folder the tests leave to root is one the program cannot write):
//   - a program folder the user can write to keeps the records, as it always did;
//   - a read-only one sends them to the user's data folder, or to the folder the settings
//     name, while the data is still read from the program folder;
//   - a records folder the user cannot write, one that is not there, and a lock that is no
//     lock are each reported by name with what a parent should check, never a crash, and
//     nothing is written or made anywhere;
//   - a second copy on the same records (another login) says so in kana and ends, touching
//     nothing; a crashed copy's lock is taken over; a copy on another computer is named, and
//     its lock is taken over only when the parent says yes to the second box;
//   - the pupils of the login's own folder are offered once to a newly named folder, and
//     copied without a byte of the originals changing.

#include "clock.h"
#include "errors.h"
#include "recordsopening.h"
#include "studystate.h"
#include "testfiles.h"
#include "testprogram.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

using namespace moji;
using namespace testing_support;

namespace {

const bool AsRoot = ::geteuid() == 0;
constexpr uid_t Nobody = 65534;
const QString Lock = QStringLiteral("Mojimaru.lock");
const QString Roster = QStringLiteral("Player1.dat");

// One login: its settings, data and runtime folders.
struct Login {
    QString home;
    QString config() const { return home + QStringLiteral("/config"); }
    QString data() const { return home + QStringLiteral("/data"); }
    QString records() const { return data() + QStringLiteral("/mojimaru"); }
};

class RecordsFolder : public ::testing::Test {
protected:
    RecordsFolder() { ::chmod(QFile::encodeName(base.path()).constData(), 0755); }
    ~RecordsFolder() override
    {
        // Folders made read-only for an ordinary user running the tests are given back, so that
        // the temporary folder can go.
        for (const QString& folder : m_readOnly)
            ::chmod(QFile::encodeName(folder).constData(), 0755);
    }

    QString path(const QString& name) const { return base.filePath(name); }

    // A folder the program's user may write to.
    QString writable(const QString& name)
    {
        QDir().mkpath(path(name));
        if (AsRoot) {
            EXPECT_EQ(::chown(QFile::encodeName(path(name)).constData(), Nobody, Nobody), 0);
        }
        return path(name);
    }
    // A folder the program's user may read but not write (root's own, when the tests run as root).
    QString readOnly(const QString& name)
    {
        QDir().mkpath(path(name));
        if (!AsRoot) {
            ::chmod(QFile::encodeName(path(name)).constData(), 0555);
            m_readOnly << path(name);
        }
        return path(name);
    }
    // A copy of the build's program folder, writable by the program's user or not.
    QString programFolder(const QString& name, bool userMayWrite)
    {
        const QString folder = makeProgramFolder(path(name));
        if (userMayWrite) {
            writable(name + QStringLiteral("/mojimaru"));
        } else if (!AsRoot) {
            ::chmod(QFile::encodeName(folder).constData(), 0555);
            m_readOnly << folder;
        }
        return folder;
    }
    Login login(const QString& name, const QByteArray& settings = "[Mojimaru3]\nWrite_Time=10\nRead_Time=10\n")
    {
        Login l{writable(name)};
        writable(name + QStringLiteral("/config"));
        writable(name + QStringLiteral("/data"));
        writable(name + QStringLiteral("/run"));
        ::chmod(QFile::encodeName(l.home + QStringLiteral("/run")).constData(), 0700);
        writeFile(l.config() + QStringLiteral("/Mojimaru.ini"), settings);
        if (AsRoot) {
            EXPECT_EQ(::chown(QFile::encodeName(l.config() + QStringLiteral("/Mojimaru.ini")).constData(), Nobody, Nobody), 0);
        }
        return l;
    }

    // The program (message boxes printed, questions answered `answer`) over `program`, as `l`
    // on this computer.
    std::unique_ptr<QProcess> start(const QString& program, const Login& l, const char* answer = "no")
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), l.home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), l.config());
        env.insert(QStringLiteral("XDG_DATA_HOME"), l.data());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), l.home + QStringLiteral("/run"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        process->setProcessEnvironment(env);
        process->setChildProcessModifier([] {
            for (const int s : {SIGTERM, SIGINT, SIGHUP})
                ::signal(s, SIG_DFL);
            if (AsRoot && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
                ::_exit(127);
        });
        process->start(QStringLiteral(MOJIMARU_PRINTING), {program, QLatin1String(answer)});
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    // The process that holds the lock in `folder`, or 0; waits up to `milliseconds` for `pid`.
    static qint64 lockHolder(const QString& folder, qint64 pid = 0, int milliseconds = 15000)
    {
        QDeadlineTimer deadline(milliseconds);
        qint64 holder = 0;
        do {
            QString host, application;
            if (!QLockFile(QDir(folder).filePath(Lock)).getLockInfo(&holder, &host, &application))
                holder = 0;
            if (holder != 0 && (pid == 0 || holder == pid))
                return holder;
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return holder;
    }

    // Ends a running copy as the system would; it writes the roster and gives the lock back.
    static void end(QProcess& process)
    {
        // A copy that has ended has no process number: kill(0) would end the tests themselves.
        ASSERT_GT(process.processId(), 0) << "the copy has ended already";
        ::kill(pid_t(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }

    // What a copy that started said, once it holds the lock in `folder` and has been ended.
    static QString saidAndEnded(QProcess& process, const QString& folder)
    {
        EXPECT_EQ(lockHolder(folder, process.processId()), process.processId());
        end(process);
        return QString::fromUtf8(process.readAllStandardOutput()).chopped(1);
    }

    // What a copy that could not start said; it must end by itself, without crashing.
    static QString refusal(QProcess& process)
    {
        EXPECT_TRUE(process.waitForFinished(15000)) << "the copy kept running";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return QString::fromUtf8(process.readAllStandardOutput()).chopped(1);
    }

    static void registerPupil(const QString& folder, const char* name)
    {
        ManualClock clock(46364.5);
        StudyState state(folder, clock);
        state.ReadRoster();
        state.RegisterPupil(SjisString<10>::fromUnicode(QString::fromUtf8(name)));
    }

    QTemporaryDir base;

private:
    QStringList m_readOnly;
};

} // namespace

TEST_F(RecordsFolder, TheProgramFolderWhenItCanBeWrittenElseTheUsersOrTheNamedOne)
{
    const QString shared = writable(QStringLiteral("shared"));
    const QByteArray naming = "[Mojimaru3]\nWrite_Time=10\nRead_Time=10\nRecords_Folder=" + QFile::encodeName(shared) + "\n";

    {
        SCOPED_TRACE("a program folder the user can write to");
        const QString program = programFolder(QStringLiteral("own"), true);
        const Login l = login(QStringLiteral("a"), naming);
        auto copy = start(program, l);
        EXPECT_EQ(lockHolder(program), copy->processId());
        end(*copy);
        EXPECT_TRUE(QFileInfo::exists(QDir(program).filePath(Roster)));
        EXPECT_FALSE(QFileInfo::exists(QDir(program).filePath(Lock))) << "the lock is given back";
        EXPECT_FALSE(QFileInfo::exists(l.records()));
        EXPECT_TRUE(QDir(shared).isEmpty()) << "the named folder is for a program folder that cannot be written";
        EXPECT_TRUE(copy->readAllStandardOutput().isEmpty());
    }

    const QString installed = programFolder(QStringLiteral("installed"), false);
    const QMap<QString, QByteArray> programFiles = folderContents(installed);
    {
        SCOPED_TRACE("a read-only program folder: the user's data folder");
        const Login l = login(QStringLiteral("b"));
        auto copy = start(installed, l);
        EXPECT_EQ(lockHolder(l.records()), copy->processId());
        end(*copy);
        EXPECT_TRUE(QFileInfo::exists(QDir(l.records()).filePath(Roster)));
        EXPECT_TRUE(copy->readAllStandardOutput().isEmpty()) << "every data file was read from the program folder";
    }
    {
        SCOPED_TRACE("a read-only program folder and a folder named in the settings");
        registerPupil(shared, "はなこ");
        const Login l = login(QStringLiteral("c"), naming);
        auto copy = start(installed, l);
        EXPECT_EQ(lockHolder(shared), copy->processId());
        end(*copy);
        ManualClock clock(46364.6);
        StudyState after(shared, clock);
        ASSERT_EQ(after.ReadRoster().playerCount, 1) << "the pupil was read from the named folder and written back";
        EXPECT_EQ(after.Roster[1].Name.toUnicode(), QStringLiteral("はなこ"));
        EXPECT_FALSE(QFileInfo::exists(l.records()));
    }
    {
        SCOPED_TRACE("a named folder the user cannot write");
        const QString closed = readOnly(QStringLiteral("closed"));
        const Login l = login(QStringLiteral("d"), "[Mojimaru3]\nWrite_Time=10\nRead_Time=10\nRecords_Folder="
                                                        + QFile::encodeName(closed) + "\n");
        auto copy = start(installed, l);
        EXPECT_EQ(refusal(*copy), folderNotWritableMessage(closed));
        EXPECT_TRUE(QDir(closed).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(l.records()));
    }
    {
        SCOPED_TRACE("a named folder that is not there (a typing mistake, a share not mounted)");
        const Login l = login(QStringLiteral("e"), "[Mojimaru3]\nRecords_Folder=~/shared/records\n");
        auto copy = start(installed, l);
        EXPECT_EQ(refusal(*copy), folderMissingMessage(l.home + QStringLiteral("/shared/records"),
                                                       l.config() + QStringLiteral("/Mojimaru.ini")));
        EXPECT_FALSE(QFileInfo::exists(l.home + QStringLiteral("/shared"))) << "nothing is made";
        EXPECT_FALSE(QFileInfo::exists(l.records()));
    }
    EXPECT_TRUE(folderContents(installed) == programFiles) << "nothing was ever written to the read-only program folder";
}

TEST_F(RecordsFolder, OneCopyAtATimeUsesTheRecords)
{
    const QString program = programFolder(QStringLiteral("family"), true);
    registerPupil(program, "たろう");
    const QByteArray roster = readFile(QDir(program).filePath(Roster));

    // Two logins of one family start the program on the same records.
    const Login first = login(QStringLiteral("first"));
    const Login second = login(QStringLiteral("second"));
    auto running = start(program, first);
    ASSERT_EQ(lockHolder(program), running->processId());
    auto another = start(program, second);
    EXPECT_EQ(refusal(*another), recordsInUseMessage(QString()));
    EXPECT_EQ(running->state(), QProcess::Running);
    EXPECT_EQ(lockHolder(program), running->processId()) << "the lock stays with the copy that holds it";
    EXPECT_EQ(readFile(QDir(program).filePath(Roster)), roster);

    // The first copy crashes: its lock is left behind, and the next copy takes it over.
    ::kill(pid_t(running->processId()), SIGKILL);
    ASSERT_TRUE(running->waitForFinished(5000));
    ASSERT_TRUE(QFileInfo::exists(QDir(program).filePath(Lock)));
    auto next = start(program, second);
    EXPECT_EQ(lockHolder(program, next->processId()), next->processId());
    end(*next);
    ManualClock clock(46364.6);
    StudyState after(program, clock);
    ASSERT_EQ(after.ReadRoster().playerCount, 1);
    EXPECT_EQ(after.Roster[1].Name.toUnicode(), QStringLiteral("たろう"));

    // A copy on another computer (the records on a network share) holds them: its lock is
    // not taken, whatever its process number means here; the parent is told where it runs and
    // asked whether it is running there. No (the default) changes nothing.
    const QByteArray foreign = "1\nmojimaru\nschool-pc-2\n";
    writeFile(QDir(program).filePath(Lock), foreign);
    const QMap<QString, QByteArray> before = folderContents(program);
    auto third = start(program, first);
    const QString parentAsked = recordsInUseMessage(QStringLiteral("school-pc-2")) + QLatin1Char('\n')
                                + takeOverQuestion(QStringLiteral("school-pc-2"));
    EXPECT_EQ(refusal(*third), parentAsked);
    EXPECT_TRUE(folderContents(program) == before) << "no changed nothing";
    // Yes: this copy takes the records over, and gives them back when it ends.
    auto fourth = start(program, first, "yes");
    EXPECT_EQ(saidAndEnded(*fourth, program), parentAsked);
    EXPECT_FALSE(QFileInfo::exists(QDir(program).filePath(Lock)));

    // A folder where the lock goes is named, and the parent is told what to do with it.
    ASSERT_TRUE(QDir(program).mkdir(Lock));
    auto fifth = start(program, second);
    EXPECT_EQ(refusal(*fifth), lockInTheWayMessage(QDir(program).filePath(Lock)));
}

TEST_F(RecordsFolder, TheOwnFoldersPupilsAreOfferedOnceToANewlyNamedFolder)
{
    const QString installed = programFolder(QStringLiteral("installed"), false);
    const QString shared = writable(QStringLiteral("shared"));
    const QByteArray naming = "[Mojimaru3]\nRecords_Folder=" + QFile::encodeName(shared) + "\n";
    const QStringList pupils{QStringLiteral("たろう"), QStringLiteral("はなこ")};
    const auto ownPupils = [&](const Login& l) {
        writable(l.home.mid(base.path().size() + 1) + QStringLiteral("/data/mojimaru"));
        for (const QString& name : pupils)
            registerPupil(l.records(), name.toUtf8().constData());
        writeFile(QDir(l.records()).filePath(historyFileName(2)), historyRun(1, 1, 1, FirstKanjiNo, 9, true));
        writeFile(QDir(l.records()).filePath(QStringLiteral("Game1.dat")), QByteArray(24, '\1'));
        return folderContents(l.records());
    };

    {
        SCOPED_TRACE("no: nothing is copied, and it is not asked again");
        const Login l = login(QStringLiteral("a"), naming);
        const auto own = ownPupils(l);
        auto copy = start(installed, l, "no");
        EXPECT_EQ(saidAndEnded(*copy, shared), copyPupilsQuestion(shared, l.records(), pupils));
        EXPECT_TRUE(folderContents(l.records()) == own);
        EXPECT_FALSE(QFileInfo::exists(QDir(shared).filePath(historyFileName(2))));
        auto again = start(installed, l, "yes");
        EXPECT_EQ(saidAndEnded(*again, shared), QString());
        EXPECT_EQ(QDir(shared).entryList(QDir::Files), QStringList{Roster}) << "only the empty roster of the exit";
        QFile::remove(QDir(shared).filePath(Roster));
    }
    {
        SCOPED_TRACE("yes: the pupils are copied, the originals untouched");
        const Login l = login(QStringLiteral("b"), naming);
        const auto own = ownPupils(l);
        auto copy = start(installed, l, "yes");
        EXPECT_EQ(saidAndEnded(*copy, shared), copyPupilsQuestion(shared, l.records(), pupils) + QLatin1Char('\n')
                                                   + pupilsCopiedMessage(pupils));
        EXPECT_TRUE(folderContents(l.records()) == own) << "the originals were changed";
        for (const QString& name : {Roster, historyFileName(2), QStringLiteral("Game1.dat")})
            EXPECT_EQ(readFile(QDir(shared).filePath(name)), own.value(name)) << name.toStdString();
    }
    {
        SCOPED_TRACE("both folders have pupils: the parent is told once where the others are");
        const Login l = login(QStringLiteral("c"), naming);
        ownPupils(l);
        auto copy = start(installed, l, "yes");
        EXPECT_EQ(saidAndEnded(*copy, shared), otherPupilsMessage(shared, l.records(), pupils));
        auto again = start(installed, l, "yes");
        EXPECT_EQ(saidAndEnded(*again, shared), QString());
    }
}
