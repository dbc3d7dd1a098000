// A parent's changes to the roster. The history files are numbered by roster position, so
// removing a pupil renames every later pupil's files; a journal records how far that has gone,
// and the next ReadRoster finishes a change a kill cut short. The order of the steps is what
// makes that safe:
//   1. the journal is written: nothing has changed yet;
//   2. the pupil's history becomes a backup and their recent questions go;
//   3. (remove) each later pupil's files move down one number, lowest first, into the slot
//      emptied just before, and the journal records each move once it is done;
//   4. the roster is rewritten;
//   5. the journal is removed.
// Redoing the step under way is harmless: a move whose source has gone was done already, and
// the roster's length tells whether it was rewritten. No step is ever redone after the next
// one has begun, so a file is never moved twice.

#include "clock.h"
#include "daynumber.h"
#include "filestore.h"
#include "studystate.h"

#include <algorithm>
#include <utility>

namespace moji {

namespace {

const QString RosterFile = QStringLiteral("Player1.dat");
const QString JournalFile = QStringLiteral("Player1.jnl");

enum Action : int16_t { Reset = 1, Remove = 2 };

} // namespace

void StudyState::RenamePupil(int p, const SjisString<10>& name)
{
    requireRange(p, 1, PlayerCount, RosterFile, "PlayerNo");
    const PlayerRecord before = Roster[p];
    Roster[p].Name = name;
    try {
        WriteRoster();
    } catch (const DataError&) {
        Roster[p] = before;
        throw;
    }
}

QString StudyState::StartRosterChange(int16_t action, int p)
{
    requireRange(p, 1, PlayerCount, RosterFile, "PlayerNo");
    RosterJournalRecord journal;
    journal.Action = action;
    journal.PupilNo = int16_t(p);
    journal.OldCount = PlayerCount;
    journal.When = m_clock.now();
    filestore::writeAtomically(recordPath(JournalFile), JournalFile, journal.encode());
    return FinishRosterChange(journal);
}

QString StudyState::ResetPupil(int p)
{
    const QString backup = StartRosterChange(Reset, p);
    if (PlayerNo == p)
        SelectPupil(p);
    return backup;
}

QString StudyState::RemovePupil(int p)
{
    const QString backup = StartRosterChange(Remove, p);
    if (PlayerNo == p)
        PlayerNo = 0;
    else if (PlayerNo > p)
        --PlayerNo;
    return backup;
}

bool StudyState::FinishInterruptedRosterChange()
{
    const QString path = recordPath(JournalFile);
    if (!filestore::exists(path))
        return false;
    FinishRosterChange(filestore::readRecordAt<RosterJournalRecord>(path, JournalFile, 0));
    return true;
}

QString StudyState::backupFileName(const RosterJournalRecord& journal) const
{
    // Named after the pupil and the moment, so a parent can tell the copies apart; a copy made
    // in the same second as another is not written over.
    const auto when = daynumber::toDateTime(journal.When);
    const QString base = QStringLiteral("Kiroku-%1-%2")
                             .arg(Roster[journal.PupilNo].Name.toUnicode().trimmed(),
                                  when ? when->toString(QStringLiteral("yyyyMMdd-HHmmss")) : QStringLiteral("0"));
    QString name = base + QStringLiteral(".bak");
    for (int n = 2; filestore::exists(recordPath(name)); ++n)
        name = base + QStringLiteral("-%1.bak").arg(n);
    return name;
}

QString StudyState::FinishRosterChange(RosterJournalRecord journal)
{
    const int p = journal.PupilNo;
    const int oldCount = journal.OldCount;
    requireRange(oldCount, 1, MaxPlayers, JournalFile, "OldCount");
    requireRange(p, 1, oldCount, JournalFile, "PupilNo");
    requireRange(journal.Action, Reset, Remove, JournalFile, "Action");
    requireRange(journal.Step, 0, oldCount, JournalFile, "Step");
    // The roster as it stood before the change, or already changed (step 4 done).
    const bool rosterChanged = journal.Action == Remove && PlayerCount == oldCount - 1;
    if (!rosterChanged && PlayerCount != oldCount)
        throw RangeError(JournalFile, QStringLiteral("the roster does not match the change"));

    const auto writeStep = [&](int step) {
        journal.Step = int16_t(step);
        filestore::writeAtomically(recordPath(JournalFile), JournalFile, journal.encode());
    };
    const auto moveDown = [&](int from) {
        const std::pair<QString, QString> files[] = {{historyFileName(from), historyFileName(from - 1)},
                                                     {recentFileName(from), recentFileName(from - 1)}};
        for (const auto& [name, target] : files) {
            if (!filestore::exists(recordPath(name)))
                continue;
            // The slot below was emptied by the step before; a file there means the journal
            // does not describe these files (damaged), and moving on would write over a history.
            if (filestore::exists(recordPath(target)))
                throw RangeError(JournalFile, QStringLiteral("%1 is in the way").arg(target));
            filestore::rename(recordPath(name), recordPath(target), name);
        }
    };

    QString backup;
    if (journal.Step < p) {
        const QString history = historyFileName(p);
        if (!rosterChanged && filestore::exists(recordPath(history))) {
            backup = backupFileName(journal);
            filestore::rename(recordPath(history), recordPath(backup), history);
        }
        filestore::remove(recordPath(recentFileName(p)), recentFileName(p));
        writeStep(p);
    }
    if (journal.Action == Remove) {
        for (int from = std::max<int>(journal.Step, p) + 1; from <= oldCount; ++from) {
            moveDown(from);
            writeStep(from);
        }
    }

    if (!rosterChanged) {
        if (journal.Action == Remove) {
            for (int i = p; i < oldCount; ++i)
                Roster[i] = Roster[i + 1];
            Roster[oldCount] = PlayerRecord();
            PlayerCount = int16_t(oldCount - 1);
        } else {
            const SjisString<10> name = Roster[p].Name;
            Roster[p] = PlayerRecord();
            Roster[p].Name = name;
            Roster[p].Level = 1;
            Roster[p].Mode = 1;
        }
        WriteRoster();
    }
    filestore::remove(recordPath(JournalFile), JournalFile);
    return backup;
}

} // namespace moji
