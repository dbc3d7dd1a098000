// Two logins of a family share one records folder as the README tells a parent to set it up: a
// group holding both logins, a folder of that group with mode 2775, a Records_Folder line in
// each login's settings, and Debian's umask of 022. Real logins are made for the test (so it
// needs root) and removed however it ends; each runs the whole program as that login, through
// the real screens and the scoring screen's own timer:
//   - A registers たろう and finishes a challenge, B registers じろう and finishes one, A
//     finishes another: each sees the other's pupil, and nobody meets a file they cannot write;
//   - A is killed with SIGKILL, and B's next start takes over the lock A left;
//   - every history holds every session, and every file of the folder is the group's,
//     readable and writable by it, and writable by nobody else.

#include "clock.h"
#include "studystate.h"
#include "testfiles.h"
#include "testprogram.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

using namespace moji;
using namespace testing_support;

namespace {

// Runs a system command to its end; whether it succeeded.
bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A family's group and two of its logins, made for the test and removed with it. Their names
// carry the test's process number, so that two test runs on one machine keep apart; those of
// a run that was killed are removed by the next.
class Family {
public:
    Family()
    {
        removeLeftovers();
        made = run(QStringLiteral("groupadd"), {group});
        for (const QString& login : {a, b}) {
            made = made && run(QStringLiteral("useradd"), {QStringLiteral("--no-create-home"), QStringLiteral("--shell"),
                                                           QStringLiteral("/usr/sbin/nologin"), QStringLiteral("--groups"), group,
                                                           login});
        }
    }
    ~Family() { remove(::getpid()); }

    const QString group = QStringLiteral("mojimaru-t%1").arg(::getpid());
    const QString a = group + QStringLiteral("-a");
    const QString b = group + QStringLiteral("-b");
    bool made = false;

private:
    static void remove(qint64 pid)
    {
        const QString group = QStringLiteral("mojimaru-t%1").arg(pid);
        for (const QString& login : {group + QStringLiteral("-a"), group + QStringLiteral("-b")}) {
            if (::getpwnam(login.toUtf8().constData()))
                run(QStringLiteral("userdel"), {login});
        }
        if (::getgrnam(group.toUtf8().constData()))
            run(QStringLiteral("groupdel"), {group});
    }
    static void removeLeftovers()
    {
        const QRegularExpression ours(QStringLiteral("^mojimaru-t(\\d+):"), QRegularExpression::MultilineOption);
        auto found = ours.globalMatch(QString::fromUtf8(readFile(QStringLiteral("/etc/group"))));
        while (found.hasNext()) {
            const qint64 pid = found.next().captured(1).toLongLong();
            if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
                remove(pid);
        }
    }
};

class SharedLogins : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root: it makes two logins and a group for them";
        family.emplace();
        ASSERT_TRUE(family->made) << "the logins or their group could not be made";
        ::chmod(QFile::encodeName(base.path()).constData(), 0755);
        program = makeProgramFolder(base.path()); // root's: a login cannot write it, as installed
        shared = base.filePath(QStringLiteral("shared"));
        QDir().mkpath(shared);
        const group* g = ::getgrnam(family->group.toUtf8().constData());
        ASSERT_NE(g, nullptr);
        groupId = g->gr_gid;
        ASSERT_EQ(::chown(QFile::encodeName(shared).constData(), 0, groupId), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 02775), 0);
        for (const QString& login : {family->a, family->b}) {
            const passwd* user = ::getpwnam(login.toUtf8().constData());
            ASSERT_NE(user, nullptr);
            const QString home = base.filePath(login);
            for (const char* sub : {"", "/.config", "/.local/share", "/run"}) {
                const QString folder = home + QLatin1String(sub);
                QDir().mkpath(folder);
                ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), user->pw_uid, user->pw_gid), 0);
            }
            ::chmod(QFile::encodeName(home + QStringLiteral("/run")).constData(), 0700);
            const QString settings = home + QStringLiteral("/.config/Mojimaru.ini");
            writeFile(settings, "[Mojimaru3]\nRecords_Folder=" + QFile::encodeName(shared) + "\n");
            ASSERT_EQ(::chown(QFile::encodeName(settings).constData(), user->pw_uid, user->pw_gid), 0);
        }
    }

    // The program as `login`, for the pupil `name`, with Debian's umask; started.
    std::unique_ptr<QProcess> start(const QString& login, const QString& name)
    {
        const passwd* user = ::getpwnam(login.toUtf8().constData());
        const uid_t uid = user->pw_uid;
        const gid_t gid = user->pw_gid;
        // Found here: the child may only make system calls before it runs the program.
        std::vector<gid_t> groups(64);
        int count = int(groups.size());
        EXPECT_GE(::getgrouplist(login.toUtf8().constData(), gid, groups.data(), &count), 0);
        groups.resize(std::size_t(std::max(count, 0)));
        const QString home = base.filePath(login);
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env;
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("USER"), login);
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        process->setProcessEnvironment(env);
        process->setChildProcessModifier([groups, uid, gid] {
            for (const int s : {SIGTERM, SIGINT, SIGHUP})
                ::signal(s, SIG_DFL);
            if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                ::_exit(127);
            ::umask(022);
        });
        process->start(QStringLiteral(MOJIMARU_FAMILY), {program, name});
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    // What the copy printed until it said "ready" (or ended, or a minute passed).
    static QStringList untilReady(QProcess& process)
    {
        QStringList lines;
        QDeadlineTimer deadline(90000);
        while (!deadline.hasExpired() && !lines.contains(QStringLiteral("ready"))) {
            if (!process.canReadLine() && !process.waitForReadyRead(500) && process.state() == QProcess::NotRunning)
                break;
            while (process.canReadLine())
                lines << QString::fromUtf8(process.readLine()).trimmed();
        }
        EXPECT_TRUE(lines.contains(QStringLiteral("ready"))) << lines.join(u'\n').toStdString()
                                                              << QString::fromUtf8(process.readAllStandardError()).toStdString();
        for (const QString& line : lines)
            EXPECT_FALSE(line.contains(QStringLiteral("エラー")) || line.contains(QStringLiteral("かきこめません")))
                << line.toStdString();
        return lines;
    }

    static void end(QProcess& process)
    {
        ASSERT_GT(process.processId(), 0) << "the copy has ended already";
        ::kill(pid_t(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 0);
    }

    qint64 lockHolder() const
    {
        qint64 pid = 0;
        QString host, application;
        return QLockFile(QDir(shared).filePath(QStringLiteral("Mojimaru.lock"))).getLockInfo(&pid, &host, &application) ? pid : 0;
    }

    std::optional<Family> family;
    QTemporaryDir base;
    QString program;
    QString shared;
    gid_t groupId = 0;
};

} // namespace

TEST_F(SharedLogins, TwoLoginsTakeTurnsOnOneFolderAndTakeOverACrashedCopysLock)
{
    const QString taro = QStringLiteral("たろう");
    const QString jiro = QStringLiteral("じろう");
    {
        SCOPED_TRACE("A registers たろう and finishes a challenge");
        auto copy = start(family->a, taro);
        const QStringList said = untilReady(*copy);
        EXPECT_TRUE(said.contains(QStringLiteral("pupils: たろう")));
        EXPECT_TRUE(said.contains(QStringLiteral("sessions: 1")));
        end(*copy);
    }
    {
        SCOPED_TRACE("B sees たろう, registers じろう and finishes a challenge");
        auto copy = start(family->b, jiro);
        const QStringList said = untilReady(*copy);
        EXPECT_TRUE(said.contains(QStringLiteral("pupils: たろう,じろう")));
        EXPECT_TRUE(said.contains(QStringLiteral("sessions: 1")));
        end(*copy);
    }
    {
        SCOPED_TRACE("A sees じろう and finishes another; then A is killed");
        auto copy = start(family->a, taro);
        const QStringList said = untilReady(*copy);
        EXPECT_TRUE(said.contains(QStringLiteral("pupils: たろう,じろう")));
        EXPECT_TRUE(said.contains(QStringLiteral("sessions: 2")));
        EXPECT_EQ(lockHolder(), copy->processId());
        ASSERT_GT(copy->processId(), 0);
        ::kill(pid_t(copy->processId()), SIGKILL);
        ASSERT_TRUE(copy->waitForFinished(5000));
        EXPECT_NE(lockHolder(), 0) << "the killed copy left its lock";
    }
    {
        SCOPED_TRACE("B takes over the lock A left and finishes another");
        auto copy = start(family->b, jiro);
        const QStringList said = untilReady(*copy);
        EXPECT_TRUE(said.contains(QStringLiteral("sessions: 2")));
        EXPECT_EQ(lockHolder(), copy->processId());
        end(*copy);
    }

    ManualClock clock(46364.5);
    StudyState after(shared, clock);
    ASSERT_EQ(after.ReadRoster().playerCount, 2);
    EXPECT_EQ(after.Roster[1].Name.toUnicode(), taro);
    EXPECT_EQ(after.Roster[2].Name.toUnicode(), jiro);
    EXPECT_EQ(after.ReadHistory(1).size(), 2u);
    EXPECT_EQ(after.ReadHistory(2).size(), 2u);
    EXPECT_FALSE(QFileInfo::exists(QDir(shared).filePath(QStringLiteral("Mojimaru.lock"))));
    QSet<uid_t> owners;
    for (const QString& name : QDir(shared).entryList(QDir::Files | QDir::Hidden)) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(QDir(shared).filePath(name)).constData(), &info), 0);
        owners.insert(info.st_uid);
        EXPECT_EQ(info.st_mode & 0660, 0660u) << name.toStdString() << " is not the group's to read and write";
        EXPECT_EQ(info.st_mode & 0002, 0u) << name.toStdString() << " is writable by everyone";
        EXPECT_EQ(info.st_gid, groupId) << name.toStdString() << " is not in the family's group";
    }
    EXPECT_EQ(owners.size(), 2) << "both logins wrote files";
}
