// Player1.jnl, the journal of a parent's removal cut short, must belong to the roster and the
// histories in front of it before the next start follows it:
//   - any single byte of it changed, the same journal beside another roster, or a journal of
//     another step than the files show, is refused by name and changes nothing;
//   - the journal as the removal left it is finished, every history with its pupil;
//   - something in the way of a move (a folder under a file's name) is what the report names,
//     at every start until it is gone; a folder under the backup's name just takes another name.

#include "clock.h"
#include "errors.h"
#include "filestore.h"
#include "records.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace moji;
using namespace testing_support;

namespace {

const QString Journal = QStringLiteral("Player1.jnl");
const QString Names[] = {QStringLiteral("たろう"), QStringLiteral("はなこ"), QStringLiteral("じろう")};

class RosterJournal : public ::testing::Test {
protected:
    RosterJournal()
    {
        QByteArray roster;
        for (int p = 1; p <= 3; ++p) {
            PlayerRecord r;
            r.Level = 1;
            r.Mode = 1;
            r.Game3Level = int16_t(p);
            r.Name = SjisString<10>::fromUnicode(Names[p - 1]);
            roster += r.encode();
            history[p] = historyRun(1, 1, 1, FirstKanjiNo + p, 9, true).repeated(p);
            writeFile(path(historyFileName(p)), history[p]);
            writeFile(path(recentFileName(p)), AskedQuestionRecord{int16_t(FirstKanjiNo + p), 1}.encode());
        }
        writeFile(path(QStringLiteral("Player1.dat")), roster);
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Removes pupil p with the n-th rename of the removal failing, as a kill there would stop
    // it: the journal stays, at the step the removal reached.
    void removeCutShort(int p, int failingRename)
    {
        StudyState state(dir.path(), clock);
        state.ReadRoster();
        filestore::FaultPlan plan;
        plan.operation = filestore::FaultPlan::Operation::Rename;
        plan.occurrence = failingRename;
        filestore::setFaultPlan(&plan);
        EXPECT_THROW(state.RemovePupil(p), FileError);
        filestore::setFaultPlan(nullptr);
        ASSERT_TRUE(QFile::exists(path(Journal)));
    }

    // A start over the folder: the name of the file it refused, or empty when it went on.
    static QString startOn(StudyState& state)
    {
        try {
            state.ReadRoster();
        } catch (const DataError& e) {
            return e.fileName();
        }
        return {};
    }
    QString start()
    {
        StudyState state(dir.path(), clock);
        return startOn(state);
    }

    QTemporaryDir dir;
    ManualClock clock{46364.5};
    QByteArray history[4];
};

} // namespace

TEST_F(RosterJournal, OnlyTheJournalOfTheseFilesIsFollowed)
{
    // The renames of the removal: the journal, the backup, the journal, はなこ's history, then
    // her recent questions, which fail: the removal stops at step 1 with one move half done.
    removeCutShort(1, 5);
    const QByteArray journal = readFile(path(Journal));
    const QMap<QString, QByteArray> cutShort = folderContents(dir.path());

    for (int i = 0; i < journal.size(); ++i) {
        QByteArray changed = journal;
        changed[i] = char(changed[i] ^ 0x01);
        writeFile(path(Journal), changed);
        ASSERT_EQ(start(), Journal) << "byte " << i << " changed";
    }
    for (const int cut : {16, 255}) {
        writeFile(path(Journal), journal.first(cut));
        EXPECT_EQ(start(), Journal) << cut << " bytes";
    }

    // A journal whose checksum holds but whose step is not what the files show, or whose
    // roster is not this one.
    RosterJournalRecord record = RosterJournalRecord::decode(journal);
    ASSERT_TRUE(record.intact());
    for (const int step : {0, 3}) {
        RosterJournalRecord other = record;
        other.Step = int16_t(step);
        writeFile(path(Journal), other.encode());
        EXPECT_EQ(start(), Journal) << "step " << step;
    }
    RosterJournalRecord renamed = record;
    renamed.Names[1] = SjisString<10>::fromUnicode(QStringLiteral("はな"));
    writeFile(path(Journal), renamed.encode());
    EXPECT_EQ(start(), Journal);
    writeFile(path(Journal), journal);
    EXPECT_TRUE(folderContents(dir.path()) == cutShort) << "a refused journal changed nothing";

    // As the removal left it: finished.
    StudyState after(dir.path(), clock);
    after.ReadRoster();
    ASSERT_EQ(after.PlayerCount, 2);
    EXPECT_EQ(after.Roster[1].Name.toUnicode(), Names[1]);
    EXPECT_EQ(after.Roster[2].Name.toUnicode(), Names[2]);
    EXPECT_EQ(readFile(path(historyFileName(1))), history[2]);
    EXPECT_EQ(readFile(path(historyFileName(2))), history[3]);
    EXPECT_FALSE(QFile::exists(path(historyFileName(3))));
    EXPECT_FALSE(QFile::exists(path(Journal)));
    const QStringList backups = QDir(dir.path()).entryList({QStringLiteral("*.bak")});
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(readFile(path(backups[0])), history[1]);
}

TEST_F(RosterJournal, WhatIsInTheWayIsNamedUntilItIsGone)
{
    // たろう is removed; はなこ has no recent questions, but a folder has their name, where
    // じろう's are to move.
    QFile::remove(path(recentFileName(2)));
    ASSERT_TRUE(QDir(dir.path()).mkdir(recentFileName(2)));
    StudyState state(dir.path(), clock);
    state.ReadRoster();
    try {
        state.RemovePupil(1);
        ADD_FAILURE() << "the removal went through a folder";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), recentFileName(2));
    }
    EXPECT_EQ(start(), recentFileName(2)) << "the next start names it again";
    EXPECT_EQ(start(), recentFileName(2));
    ASSERT_TRUE(QDir(dir.path()).rmdir(recentFileName(2)));
    StudyState after(dir.path(), clock);
    EXPECT_EQ(startOn(after), QString());
    ASSERT_EQ(after.PlayerCount, 2);
    EXPECT_EQ(readFile(path(historyFileName(1))), history[2]);
    EXPECT_EQ(readFile(path(historyFileName(2))), history[3]);
    EXPECT_TRUE(QFile::exists(path(recentFileName(2))));

    // A folder under the name the backup would take: the backup takes the next name.
    const QString backup = QStringLiteral("Kiroku-はなこ-20261208-120000");
    ASSERT_TRUE(QDir(dir.path()).mkdir(backup + QStringLiteral(".bak")));
    EXPECT_EQ(after.RemovePupil(1), backup + QStringLiteral("-2.bak"));
    EXPECT_EQ(readFile(path(backup + QStringLiteral("-2.bak"))), history[2]);
    EXPECT_EQ(readFile(path(historyFileName(1))), history[3]);
}
