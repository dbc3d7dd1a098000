// The three operations that keep a pupil's step and per-kanji progress: recording a session,
// and rebuilding both from the history. Recording and the rebuilds follow the same two rules,
// so what a pupil sees never changes when the program restarts:
//   - a kanji is passed in a mode from its second correct challenge answer in that mode;
//   - a challenge's correct answers count toward the step only when it was recorded as
//     counted (all ten right at once, or at least seven once the mistakes were corrected).

#include "clock.h"
#include "filestore.h"
#include "studystate.h"

namespace moji {

namespace {

void checkHistoryRecord(const HistoryRecord& r, const QString& file)
{
    requireRange(r.Kind, 1, 2, file, "history kind");
    requireRange(r.Level, 1, MaxLevel, file, "history level");
    requireRange(r.Mode, 1, 2, file, "history mode");
    for (const int16_t k : r.KanjiNo)
        requireRange(k, FirstKanjiNo, LastKanjiSlot, file, "history KanjiNo");
}

bool isChallenge(const HistoryRecord& r)
{
    return r.Kind == 1;
}

} // namespace

void StepTracker::add(const HistoryRecord& r, bool countPoints)
{
    if (!isChallenge(r))
        return;
    if (r.Level != m_level || r.Mode != m_mode) {
        m_level = r.Level;
        m_mode = r.Mode;
        m_points = 0;
    }
    if (countPoints && r.Counted)
        addChecked(m_points, r.correctCount());
}

PlayerRecord StepTracker::step() const
{
    PlayerRecord player;
    player.Level = m_level;
    player.Mode = m_mode;
    if (m_points >= LevelStep)
        advanceStep(player);
    return player;
}

std::vector<HistoryRecord> StudyState::ReadHistory(int playerNo) const
{
    requireRange(playerNo, 1, MaxPlayers, QString(), "PlayerNo");
    const QString name = historyFileName(playerNo);
    const QString path = recordPath(name);
    if (!filestore::exists(path))
        return {};
    std::vector<HistoryRecord> records = filestore::readRecords<HistoryRecord>(path, name);
    for (const HistoryRecord& r : records)
        checkHistoryRecord(r, name);
    return records;
}

void StudyState::RecordSessionResult(bool countsTowardLevel)
{
    LevelRaised = false;

    // Everything is checked before the file is touched: a bad value in memory must never
    // reach the history, where it would stop every later start.
    PlayerRecord& player = Roster[PlayerNo];
    HistoryRecord record;
    record.Kind = SessionKind ? 1 : 2;
    record.Level = CurrentLevel;
    record.Mode = StudyMode;
    record.When = m_clock.now();
    for (int i = 1; i <= 10; ++i) {
        record.KanjiNo[std::size_t(i - 1)] = QuizSet[i].KanjiNo;
        record.Correct[std::size_t(i - 1)] = QuizSet[i].Correct;
    }
    record.Reserved = 0;
    record.Counted = countsTowardLevel;
    checkHistoryRecord(record, QString());

    // Work on copies so that a counter overflow leaves the state as it was. The counters were
    // rebuilt from the history, so an overflow is blamed on it.
    const QString name = historyFileName(PlayerNo);
    KanjiProgressTable progress = KanjiProgress;
    int16_t points = LevelPoints;
    blamingFile(name, [&] {
        if (!SessionKind)
            return;
        for (int i = 1; i <= 10; ++i) {
            const QuizItem& item = QuizSet[i];
            KanjiProgressEntry& e = progress[item.KanjiNo][StudyMode];
            addChecked(e.Asked);
            if (item.Correct) {
                addChecked(e.Correct);
                if (countsTowardLevel)
                    addChecked(points);
                if (e.Correct >= CorrectToPass)
                    e.Passed = true;
            }
        }
    });

    filestore::appendRecord(recordPath(name), name, record.encode());
    if (historyFollower)
        historyFollower->sessionRecorded(PlayerNo, record);

    if (!SessionKind)
        return;
    KanjiProgress = progress;
    LevelPoints = points;
    if (LevelPoints >= LevelStep) {
        advanceStep(player);
        LevelPoints = 0;
        LevelRaised = true;
    }
}

void StudyState::RebuildLevelsFromHistory()
{
    requireRange(PlayerCount, 0, MaxPlayers, QString(), "PlayerCount");
    for (int k = 1; k <= PlayerCount; ++k) {
        StepTracker steps;
        const std::vector<HistoryRecord> history = ReadHistory(k);
        blamingFile(historyFileName(k), [&] {
            for (const HistoryRecord& r : history)
                steps.add(r);
        });
        const PlayerRecord reached = steps.step();
        Roster[k].Level = reached.Level;
        Roster[k].Mode = reached.Mode;
    }
}

void StudyState::SelectPupil(int p)
{
    requireRange(p, 1, MaxPlayers, QString(), "PlayerNo");
    const PlayerRecord& player = Roster[p];
    const std::vector<HistoryRecord> history = ReadHistory(p);

    KanjiProgressTable progress;
    StepTracker run;
    blamingFile(historyFileName(p), [&] {
        for (const HistoryRecord& r : history) {
            if (!isChallenge(r))
                continue;
            // Points count only in the run of the pupil's current step.
            run.add(r, r.Level == player.Level && r.Mode == player.Mode);
            for (std::size_t i = 0; i < r.KanjiNo.size(); ++i) {
                KanjiProgressEntry& e = progress[r.KanjiNo[i]][r.Mode];
                addChecked(e.Asked);
                if (r.Correct[i]) {
                    addChecked(e.Correct);
                    if (e.Correct >= CorrectToPass)
                        e.Passed = true;
                }
            }
        }
    });

    PlayerNo = int16_t(p);
    CurrentLevel = player.Level;
    StudyMode = player.Mode;
    KanjiProgress = progress;
    LevelPoints = run.points();
    RedoRound = false;
    if (historyFollower)
        historyFollower->pupilSelected(p, history);
}

} // namespace moji
