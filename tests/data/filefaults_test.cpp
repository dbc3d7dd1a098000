// A failing or full disk: every writer reports the file by name and leaves the old, valid
// file in place; the history keeps whole records only.

#include "clock.h"
#include "errors.h"
#include "filestore.h"
#include "inifile.h"
#include "sessionsetup.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <functional>

using namespace moji;
using namespace testing_support;
using Operation = filestore::FaultPlan::Operation;

namespace {

QString hexOf(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

const char* operationName(Operation op)
{
    switch (op) {
    case Operation::Read: return "read";
    case Operation::Write: return "write";
    case Operation::Flush: return "flush";
    case Operation::Sync: return "sync";
    case Operation::Rename: return "rename";
    }
    return "?";
}

// Installs a plan for the life of the guard.
class Fault {
public:
    Fault(Operation op, int error, int occurrence = 1)
    {
        m_plan.operation = op;
        m_plan.error = error;
        m_plan.occurrence = occurrence;
        filestore::setFaultPlan(&m_plan);
    }
    ~Fault() { filestore::setFaultPlan(nullptr); }
    Fault(const Fault&) = delete;
    Fault& operator=(const Fault&) = delete;

    bool fired() const { return m_plan.seen >= m_plan.occurrence; }

private:
    filestore::FaultPlan m_plan;
};

// Runs `write` under a fault and checks the report: a FileError naming `file` with the exact
// message and the system's reason.
void expectReported(Operation op, int error, const QString& file, const std::function<void()>& write, int occurrence = 1)
{
    SCOPED_TRACE(testing::Message() << operationName(op) << " #" << occurrence << " fails with " << strerrorname_np(error));
    Fault fault(op, error, occurrence);
    try {
        write();
        ADD_FAILURE() << "a failed " << operationName(op) << " was not reported";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), file);
        EXPECT_EQ(fileErrorMessage(e.fileName()), file + QStringLiteral("でエラーがおこりました。 "));
        EXPECT_EQ(errorReportText(e), file + QStringLiteral("でエラーがおこりました。 "));
        EXPECT_EQ(e.detail(), qt_error_string(error));
    }
    EXPECT_TRUE(fault.fired()) << "the planned " << operationName(op) << " never happened";
}

constexpr Operation RewriteSteps[] = {Operation::Write, Operation::Flush, Operation::Sync, Operation::Rename};
constexpr Operation AppendSteps[] = {Operation::Write, Operation::Flush, Operation::Sync};
constexpr int Errors[] = {EIO, ENOSPC};

class FileFaults : public ::testing::Test {
protected:
    FileFaults() : state(dir.path(), clock) { state.settingsPath = settingsPath(); }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString settingsPath() const { return dir.filePath(QStringLiteral("config/Mojimaru.ini")); }
    // Every file in the program folder and the settings folder: a failed rewrite leaves no
    // temporary file behind.
    QStringList files() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString& n : QDir(dir.filePath(QStringLiteral("config"))).entryList(QDir::Files | QDir::Hidden, QDir::Name))
            names << QStringLiteral("config/") + n;
        return names;
    }
    void addPupil(StudyState& s, const char* name, int level, int mode)
    {
        ++s.PlayerCount;
        s.Roster[s.PlayerCount].Name = SjisString<10>::fromUnicode(QString::fromUtf8(name));
        s.Roster[s.PlayerCount].Level = int16_t(level);
        s.Roster[s.PlayerCount].Mode = int16_t(mode);
    }
    // A session of ten kanji from `first`, the first `correct` of them right.
    void setSession(bool challenge, int first, int correct)
    {
        state.PlayerNo = 1;
        setFinishedSession(state, challenge, 1, 1, first, correct);
    }

    QTemporaryDir dir;
    ManualClock clock{46363.5};
    StudyState state;
};

} // namespace

TEST_F(FileFaults, ARosterRewriteThatFailsKeepsTheOldRoster)
{
    addPupil(state, "たろう", 3, 2);
    addPupil(state, "はなこ", 5, 1);
    state.WriteRoster();
    const QByteArray old = readFile(path(QStringLiteral("Player1.dat")));
    ASSERT_EQ(old.size(), 2 * PlayerRecord::Size);

    // The exit command writes a changed roster.
    state.Roster[1].Level = 4;
    addPupil(state, "ゆうき", 1, 1);
    for (const Operation op : RewriteSteps) {
        for (const int error : Errors) {
            expectReported(op, error, QStringLiteral("Player1.dat"), [&] { state.WriteRoster(); });
            EXPECT_EQ(hexOf(readFile(path(QStringLiteral("Player1.dat")))), hexOf(old));
            EXPECT_EQ(files(), QStringList{QStringLiteral("Player1.dat")});
        }
    }
    StudyState restarted(dir.path(), clock);
    EXPECT_EQ(restarted.ReadRoster().playerCount, 2);
    EXPECT_EQ(restarted.Roster[1].Level, 3);

    expectReported(Operation::Read, EIO, QStringLiteral("Player1.dat"), [&] { restarted.ReadRoster(); });

    state.WriteRoster(); // the disk works again
    EXPECT_EQ(restarted.ReadRoster().playerCount, 3);
    EXPECT_EQ(restarted.Roster[1].Level, 4);
}

// Registration writes the roster at once; when that fails the pupil is taken out again, so
// memory and disk both still hold the old roster.
TEST_F(FileFaults, ARegistrationThatCannotBeWrittenKeepsTheOldRoster)
{
    addPupil(state, "たろう", 3, 2);
    state.WriteRoster();
    const QByteArray old = readFile(path(QStringLiteral("Player1.dat")));
    for (const Operation op : RewriteSteps) {
        for (const int error : Errors) {
            StudyState s(dir.path(), clock);
            ASSERT_EQ(s.ReadRoster().playerCount, 1);
            expectReported(op, error, QStringLiteral("Player1.dat"),
                           [&] { s.RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("ゆうき"))); });
            EXPECT_EQ(s.PlayerCount, 1);
            EXPECT_TRUE(s.Roster[2].Name.isEmpty());
            EXPECT_EQ(hexOf(readFile(path(QStringLiteral("Player1.dat")))), hexOf(old));
            EXPECT_EQ(files(), QStringList{QStringLiteral("Player1.dat")});
        }
    }

    StudyState s(dir.path(), clock);
    s.ReadRoster();
    expectReported(Operation::Sync, ENOSPC, QStringLiteral("Player1.dat"),
                   [&] { s.RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("ゆうき"))); });
    // The disk works again: the next registration takes number 2.
    EXPECT_EQ(s.RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("さくら"))), 2);
    StudyState restarted(dir.path(), clock);
    EXPECT_EQ(restarted.ReadRoster().playerCount, 2);
    EXPECT_EQ(restarted.Roster[2].Name.toUnicode(), QStringLiteral("さくら"));
}

// A failed append leaves the records before it whole and nothing of the new one; the pupil's
// progress in memory does not count a session that is not on disk.
TEST_F(FileFaults, AHistoryAppendThatFailsLeavesOnlyTheOldRecords)
{
    addPupil(state, "たろう", 1, 1);
    state.SelectPupil(1);
    setSession(true, 241, 10);
    state.RecordSessionResult(true);
    setSession(false, 251, 4);
    state.RecordSessionResult(false);
    const QString history = path(QStringLiteral("Kiroku1.dat"));
    const QByteArray old = readFile(history);
    ASSERT_EQ(old.size(), 2 * HistoryRecord::Size);
    ASSERT_EQ(state.LevelPoints, 10);

    setSession(true, 261, 10);
    const KanjiProgressTable progress = state.KanjiProgress;
    for (const Operation op : AppendSteps) {
        for (const int error : Errors) {
            expectReported(op, error, QStringLiteral("Kiroku1.dat"), [&] { state.RecordSessionResult(true); });
            EXPECT_EQ(hexOf(readFile(history)), hexOf(old));
            EXPECT_EQ(state.LevelPoints, 10);
            EXPECT_EQ(state.KanjiProgress[261][1], progress[261][1]);
            EXPECT_EQ(state.ReadHistory(1).size(), 2u);
        }
    }
    expectReported(Operation::Read, EIO, QStringLiteral("Kiroku1.dat"), [&] { state.ReadHistory(1); });

    // A torn last record from a power cut: a failure to cut it leaves the file as it was (the
    // readers skip the torn part), a failure after the cut leaves the whole records.
    const QByteArray torn = old + old.left(20);
    writeFile(history, torn);
    expectReported(Operation::Write, ENOSPC, QStringLiteral("Kiroku1.dat"), [&] { state.RecordSessionResult(true); });
    EXPECT_EQ(hexOf(readFile(history)), hexOf(torn));
    EXPECT_EQ(state.ReadHistory(1).size(), 2u);
    expectReported(Operation::Write, ENOSPC, QStringLiteral("Kiroku1.dat"), [&] { state.RecordSessionResult(true); }, 2);
    EXPECT_EQ(hexOf(readFile(history)), hexOf(old));

    writeFile(history, torn);
    state.RecordSessionResult(true); // the disk works again
    const QByteArray after = readFile(history);
    ASSERT_EQ(after.size(), 3 * HistoryRecord::Size);
    EXPECT_EQ(after.left(old.size()), old);
    EXPECT_EQ(state.ReadHistory(1).back().KanjiNo[0], 261);
    EXPECT_EQ(state.LevelPoints, 20);

    // The first session of a new pupil: nothing of a failed record is left either.
    addPupil(state, "はなこ", 1, 1);
    state.SelectPupil(2);
    setSession(true, 241, 10);
    state.PlayerNo = 2;
    expectReported(Operation::Write, EIO, QStringLiteral("Kiroku2.dat"), [&] { state.RecordSessionResult(true); });
    EXPECT_TRUE(state.ReadHistory(2).empty());
    EXPECT_EQ(readFile(path(QStringLiteral("Kiroku2.dat"))), QByteArray());
}

TEST_F(FileFaults, ASettingsSaveThatFailsKeepsTheOldSettings)
{
    QDir().mkpath(dir.filePath(QStringLiteral("config")));
    writeFile(settingsPath(), "; parents' notes\r\n[Mojimaru3]\r\nWrite_Time=12\r\nRead_Time=8\r\nDebug=0\r\n");
    const QByteArray old = readFile(settingsPath());
    state.ReadSettings();
    ASSERT_EQ(state.WriteTimeLimit, 12);

    state.WriteTimeLimit = 20;
    state.ReadTimeLimit = 15;
    state.PopupsOn = true;
    for (const Operation op : RewriteSteps) {
        for (const int error : Errors) {
            expectReported(op, error, QStringLiteral("Mojimaru.ini"), [&] { state.SaveSettings(); });
            EXPECT_EQ(QString::fromLatin1(readFile(settingsPath())), QString::fromLatin1(old));
            EXPECT_EQ(files(), QStringList{QStringLiteral("config/Mojimaru.ini")});
        }
    }
    expectReported(Operation::Read, EIO, QStringLiteral("Mojimaru.ini"), [&] { state.SaveSettings(); });
    EXPECT_EQ(QString::fromLatin1(readFile(settingsPath())), QString::fromLatin1(old));

    StudyState restarted(dir.path(), clock);
    restarted.settingsPath = settingsPath();
    restarted.ReadSettings();
    EXPECT_EQ(restarted.WriteTimeLimit, 12);
    EXPECT_EQ(restarted.ReadTimeLimit, 8);

    // Start-up writes missing time limits back; that write failing is reported the same way.
    const QByteArray partial = "[Mojimaru3]\nDebug=1\n";
    writeFile(settingsPath(), partial);
    expectReported(Operation::Rename, ENOSPC, QStringLiteral("Mojimaru.ini"), [&] { restarted.ReadSettings(); });
    EXPECT_EQ(QString::fromLatin1(readFile(settingsPath())), QString::fromLatin1(partial));

    state.SaveSettings(); // the disk works again
    restarted.ReadSettings();
    EXPECT_EQ(restarted.WriteTimeLimit, 20);
    EXPECT_EQ(restarted.ReadTimeLimit, 15);
}

// The layer itself: a plan fails only its one operation, and whole-file rewrites of other
// files (the game score tables) behave like those above.
TEST_F(FileFaults, OnlyThePlannedOperationFails)
{
    const QString table = path(QStringLiteral("Game1.dat"));
    GameScoreRecord r;
    r.Score = 12;
    r.Name = SjisString<10>::fromUnicode(QStringLiteral("あ"));
    r.Date = 46363;
    filestore::writeAtomically(table, QStringLiteral("Game1.dat"), r.encode());
    const QByteArray old = readFile(table);

    expectReported(Operation::Rename, EIO, QStringLiteral("Game1.dat"), [&] {
        filestore::writeAtomically(table, QStringLiteral("Game1.dat"), r.encode() + r.encode()); // the 1st, fails
    });
    EXPECT_EQ(hexOf(readFile(table)), hexOf(old));

    // The second rewrite fails; the first and the third go through.
    Fault fault(Operation::Write, ENOSPC, 2);
    filestore::writeAtomically(table, QStringLiteral("Game1.dat"), r.encode().repeated(2));
    EXPECT_THROW(filestore::writeAtomically(table, QStringLiteral("Game1.dat"), r.encode().repeated(3)), FileError);
    EXPECT_EQ(hexOf(readFile(table)), hexOf(r.encode().repeated(2)));
    filestore::writeAtomically(table, QStringLiteral("Game1.dat"), r.encode().repeated(4));
    EXPECT_EQ(filestore::readRecords<GameScoreRecord>(table, QStringLiteral("Game1.dat")).size(), 4u);
    EXPECT_EQ(files(), QStringList{QStringLiteral("Game1.dat")});
}
