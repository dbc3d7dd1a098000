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
//
// The journal also keeps the roster's names and a fingerprint of every history as they were at
// step 1, and a checksum. Before a change is finished, the roster and each history must be
// exactly what the recorded step leaves (the step under way either done or not): a journal
// damaged, or left beside other files, is refused by name and changes nothing.

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

namespace {

using FilePrint = RosterJournalRecord::FilePrint;

// What history file `name` holds now; a folder or anything else in its place is reported by
// its name, since no change can go on through it.
FilePrint historyPrint(const QString& path, const QString& name)
{
    if (!filestore::occupied(path))
        return {};
    if (!filestore::exists(path))
        throw FileError(name, QStringLiteral("something that is not a file is in the way"));
    return FilePrint::of(filestore::readAll(path, name));
}

} // namespace

QString StudyState::StartRosterChange(int16_t action, int p)
{
    requireRange(p, 1, PlayerCount, RosterFile, "PlayerNo");
    RosterJournalRecord journal;
    journal.Action = action;
    journal.PupilNo = int16_t(p);
    journal.OldCount = PlayerCount;
    journal.When = m_clock.now();
    for (int i = 1; i <= PlayerCount; ++i) {
        journal.Names[std::size_t(i - 1)] = Roster[i].Name;
        journal.Histories[std::size_t(i - 1)] = historyPrint(recordPath(historyFileName(i)), historyFileName(i));
    }
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
    // in the same second as another, or a name something else already has, is not written over.
    const auto when = daynumber::toDateTime(journal.When);
    const QString base = QStringLiteral("Kiroku-%1-%2")
                             .arg(journal.Names[std::size_t(journal.PupilNo - 1)].toUnicode().trimmed(),
                                  when ? when->toString(QStringLiteral("yyyyMMdd-HHmmss")) : QStringLiteral("0"));
    QString name = base + QStringLiteral(".bak");
    for (int n = 2; filestore::occupied(recordPath(name)); ++n)
        name = base + QStringLiteral("-%1.bak").arg(n);
    return name;
}

bool StudyState::RosterMatchesJournal(const RosterJournalRecord& journal, bool& rosterChanged) const
{
    const int p = journal.PupilNo;
    const int oldCount = journal.OldCount;
    const auto sameNames = [&](int skipped) {
        for (int i = 1, j = 1; j <= oldCount; ++j) {
            if (j == skipped)
                continue;
            if (i > PlayerCount || Roster[i].Name != journal.Names[std::size_t(j - 1)])
                return false;
            ++i;
        }
        return true;
    };
    if (PlayerCount == oldCount && sameNames(0)) {
        rosterChanged = false;
        return true;
    }
    // Rewritten (step 4), which only a removal does once every move is done.
    rosterChanged = journal.Action == Remove && PlayerCount == oldCount - 1 && journal.Step == oldCount && sameNames(p);
    return rosterChanged;
}

void StudyState::CheckHistoriesAgainstJournal(const RosterJournalRecord& journal) const
{
    const int p = journal.PupilNo;
    const int oldCount = journal.OldCount;
    const int step = journal.Step;
    const FilePrint none;
    const auto before = [&](int slot) { return journal.Histories[std::size_t(slot - 1)]; };
    std::vector<FilePrint> now(std::size_t(oldCount) + 1);
    for (int slot = 1; slot <= oldCount; ++slot)
        now[std::size_t(slot)] = historyPrint(recordPath(historyFileName(slot)), historyFileName(slot));
    const auto mismatch = [&](int slot) {
        return RangeError(JournalFile, QStringLiteral("%1 is not what the change left there").arg(historyFileName(slot)));
    };
    // The step under way may be done or not: the pupil's history made a backup, or the move
    // into `step` from the slot above it.
    const bool backupPhase = step < p;
    const int moving = backupPhase ? p : step + 1;
    for (int slot = 1; slot <= oldCount; ++slot) {
        const FilePrint& seen = now[std::size_t(slot)];
        bool fits = false;
        if (slot < p || (journal.Action == Reset && slot != p)) {
            fits = seen == before(slot);
        } else if (backupPhase) {
            fits = seen == before(slot) || (slot == p && seen == none);
        } else if (journal.Action == Reset) {
            fits = seen == none;
        } else if (slot < step) {
            fits = seen == before(slot + 1);
        } else if (slot == step) {
            fits = seen == none || (moving <= oldCount && seen == before(moving));
        } else if (slot == moving) {
            fits = seen == before(moving) || seen == none;
        } else {
            fits = seen == before(slot);
        }
        if (!fits)
            throw mismatch(slot);
    }
    // A move is one rename: the moving history is in exactly one of its two places.
    if (!backupPhase && journal.Action == Remove && moving <= oldCount && before(moving) != none
        && (now[std::size_t(step)] == before(moving)) == (now[std::size_t(moving)] == before(moving)))
        throw mismatch(moving);
}

QString StudyState::FinishRosterChange(RosterJournalRecord journal)
{
    if (!journal.intact())
        throw RangeError(JournalFile, QStringLiteral("its checksum does not match"));
    const int p = journal.PupilNo;
    const int oldCount = journal.OldCount;
    requireRange(oldCount, 1, MaxPlayers, JournalFile, "OldCount");
    requireRange(p, 1, oldCount, JournalFile, "PupilNo");
    requireRange(journal.Action, Reset, Remove, JournalFile, "Action");
    requireRange(journal.Step, 0, journal.Action == Reset ? p : oldCount, JournalFile, "Step");
    // The roster as it stood before the change, or already changed (step 4 done).
    bool rosterChanged = false;
    if (!RosterMatchesJournal(journal, rosterChanged))
        throw RangeError(JournalFile, QStringLiteral("the roster does not match the change"));
    CheckHistoriesAgainstJournal(journal);

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
            // The slot below was emptied by the step before: whatever is there now is in the
            // way, and it is what the parent is told of.
            if (filestore::occupied(recordPath(target)))
                throw FileError(target, QStringLiteral("in the way"));
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
