#pragma once

#include "checked.h"
#include "records.h"
#include "textcodec.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace moji {

class Clock;

constexpr int KanjiCount = 200;
constexpr int KanjisPerLevel = 20;
constexpr int MaxLevel = 10;
constexpr int PassMark = 7;
constexpr int LevelStep = 40;
// This grade's kanji are 241 to 440; the per-kanji tables hold one spare slot, 441.
constexpr int FirstKanjiNo = 241;
constexpr int LastKanjiSlot = 441;
constexpr int MaxPlayers = 10;
// A kanji counts as passed in a mode from its second correct answer in that mode.
constexpr int CorrectToPass = LevelStep / 20;

// First and last KanjiNo of a level (1 to 10).
constexpr int firstKanjiOfLevel(int level) { return 240 + KanjisPerLevel * (level - 1) + 1; }
constexpr int lastKanjiOfLevel(int level) { return 240 + KanjisPerLevel * level; }

// "Kiroku" + N + ".dat": pupil N's study history.
QString historyFileName(int playerNo);
// "Saikin" + N + ".dat": the questions pupil N was asked in their last sessions.
QString recentFileName(int playerNo);

struct KanjiEntry {
    SjisString<2> Glyph;
    int16_t StrokeCount = 0;
    int16_t Component1Group = 0;
    int16_t Component1No = 0;
    int16_t Component2Group = 0;
    int16_t Component2No = 0;

    friend bool operator==(const KanjiEntry&, const KanjiEntry&) = default;
};

struct QuizItem {
    int16_t KanjiNo = 0;
    int16_t QuestionNo = 0;
    SjisString<10> Answer;
    SjisString<10> Given;
    SjisString<20> Piece1;
    SjisString<20> Piece2;
    SjisString<20> Piece3;
    int16_t TargetPiece = 0;
    bool Correct = false;
};

struct KanjiProgressEntry {
    int16_t Asked = 0;
    int16_t Correct = 0;
    bool Passed = false;

    friend bool operator==(const KanjiProgressEntry&, const KanjiProgressEntry&) = default;
};

struct HintIndexEntry {
    int16_t Topic = 0;
    int16_t Section = 0;
    int16_t Mode = 0;
    int16_t Reserved = 0;
    int16_t HintNo = 0;
};

using KanjiProgressTable = CheckedArray<CheckedArray<KanjiProgressEntry, 1, 2>, FirstKanjiNo, LastKanjiSlot>;

// Follows the selected pupil's history: told the whole of it when a pupil is selected, then
// each session as it is recorded, so that what it derives stays what a rebuild from the file
// would make (the pupil's memory model is one).
class HistoryFollower {
public:
    virtual ~HistoryFollower() = default;
    virtual void pupilSelected(int playerNo, const std::vector<HistoryRecord>& history) = 0;
    virtual void sessionRecorded(int playerNo, const HistoryRecord& record) = 0;
};

// A pupil's step followed through their history record by record, as the rebuilds derive it:
// the (level, mode) pair of the last challenge, and the correct answers of the trailing run
// of challenges with that pair.
class StepTracker {
public:
    // A challenge record (practice records leave the step as it is). Its correct answers count
    // toward the step when `countPoints` is true and it was recorded as counted. Raises
    // RangeError when the points overflow.
    void add(const HistoryRecord& record, bool countPoints = true);
    int16_t level() const { return m_level; }
    int16_t mode() const { return m_mode; }
    int16_t points() const { return m_points; }
    // The step reached: the run's pair, one step on once its points reach LevelStep.
    PlayerRecord step() const;

private:
    int16_t m_level = 1;
    int16_t m_mode = 1;
    int16_t m_points = 0;
};

// What reading the roster found, besides filling the roster itself.
struct RosterSummary {
    int playerCount = 0;
    int highestLevel = 1; // the largest stored Level, at least 1
};

// Everything more than one screen reads or writes, for the whole life of the process: the
// dictionaries, the roster, the running session, the selected pupil's progress, the settings
// values and the flags by which screens hand over to each other. Screens hold a reference to
// the one instance; tests make their own.
class StudyState {
public:
    // `programFolder` holds the read-only data files and, until start-up chooses the records
    // folder, the files the program writes; `clock` stamps history records. The clock must
    // outlive the state.
    StudyState(QString programFolder, const Clock& clock);

    // A data file the program only reads (dictionaries, questions, hints, pictures, sounds,
    // help): always from the program folder, where the program was built or installed.
    QString dataPath(const QString& fileName) const;
    // A file the program writes (the roster, the histories, the game score tables): in the
    // records folder.
    QString recordPath(const QString& fileName) const;
    QString dataFolder() const { return m_dataFolder; }
    QString recordsFolder() const { return m_recordsFolder; }
    // Chooses the records folder, once the settings are read: the program folder while it is
    // not an installed one and can be written (the build's folder, or a copy a family keeps
    // in their home), as it always was; otherwise the folder named in the settings, so that
    // several logins or a school share one set of records; otherwise `userFolder`, the
    // user's own data folder. Says which it chose; nothing is made on the disk.
    enum class RecordsFolderKind { Program, Named, Own };
    RecordsFolderKind chooseRecordsFolder(const QString& userFolder);
    const Clock& clock() const { return m_clock; }
    // The program folder is an installed one (under /usr): nothing is ever written there,
    // whoever runs the program, so the records go to a folder of the user's.
    bool installed = false;

    // Dictionaries (filled once at start-up).
    CheckedArray<KanjiEntry, 1, 1024> KanjiTable;
    CheckedArray<CheckedArray<int16_t, 1, 50>, 1, 10> RadicalPictures;
    CheckedArray<CheckedArray<int16_t, 1, 100>, 1, 20> KanjiByStrokes;
    CheckedArray<CheckedArray<CheckedArray<int16_t, 1, 50>, 1, 50>, 1, 10> KanjiByComponent;
    CheckedArray<QuestionIndexRecord, FirstKanjiNo, LastKanjiSlot> QuestionIndex;

    // Pupils.
    CheckedArray<PlayerRecord, 1, MaxPlayers> Roster;
    int16_t PlayerCount = 0;
    int16_t PlayerNo = 0;

    // Current session.
    bool SessionKind = false; // true = challenge, false = practice
    int16_t CurrentLevel = 0;
    int16_t StudyMode = 0; // 1 reading, 2 writing
    CheckedArray<QuizItem, 1, 10> QuizSet;
    int16_t SessionCorrect = 0;
    bool RedoRound = false;
    bool LevelRaised = false;
    // A ふくしゅう session: a practice session (SessionKind false) asking these ten learned
    // kanji, chosen by the pupil's memory model, in StudyMode; CurrentLevel is the level most
    // of them belong to, for the history record. The mode menu sets both.
    bool ReviewSession = false;
    std::array<int16_t, 10> ReviewKanji{};

    // Progress of the selected pupil.
    KanjiProgressTable KanjiProgress;
    int16_t LevelPoints = 0;

    // Games.
    int16_t CurrentGame1Level = 0;
    int16_t CurrentGame3Level = 0;

    // Screen hand-over.
    bool Game1Alive = false;
    bool Game3Alive = false;
    bool SessionAlive = false;
    int16_t HintTopic = 0;
    int16_t HintSection = 0;
    int16_t HintMode = 0;
    int16_t HintQuestion = 0;
    CheckedArray<HintIndexEntry, 1, 100> HintIndex;
    bool HintIndexLoaded = false;
    int16_t HintIndexCount = 0;
    int16_t PopGroup = 0;
    int16_t PopNo = 0;
    // A notice pop-up is on screen (the matching game waits for it; the mode menu clears it).
    bool PopupShowing = false;

    // Display and devices.
    int16_t LayoutKind = 0;
    double LayoutScale = 1.0;
    int32_t MidiDeviceCount = 0;

    // Settings.
    int16_t WriteTimeLimit = 0;
    int16_t ReadTimeLimit = 0;
    bool PopupsOn = false;
    bool DebugMode = false;
    // A parent's switches for what this program adds to the pickers and the review: the
    // handwriting pad in writing questions, and the right answer shown in the review to a
    // pupil who keeps getting a question wrong. Both on unless the settings file says 0.
    bool HandwritingOn = true;
    bool ReviewHelpOn = true;
    // A parent's switch for ふくしゅう, the spaced review of the kanji already learned: on
    // unless the settings file says 0.
    bool SpacedReviewOn = true;
    // Full path of the settings file; set by start-up (tests point it into a temporary folder).
    QString settingsPath;
    // The records folder a parent named in the settings (key "Records_Folder" of section
    // Mojimaru3), made absolute; empty when none is named.
    QString NamedRecordsFolder;
    // The named folder for which the parent was last asked about the pupils of the login's own
    // folder (key "Records_Asked"), so that they are asked once.
    QString AskedRecordsFolder;

    // Appends the running session to the selected pupil's history and, for a challenge,
    // updates KanjiProgress, LevelPoints and the pupil's step.
    void RecordSessionResult(bool countsTowardLevel);
    // Recomputes every registered pupil's Level and Mode from their history.
    void RebuildLevelsFromHistory();
    // Makes pupil p current and rebuilds their KanjiProgress and LevelPoints.
    void SelectPupil(int p);

    // Told of the selected pupil's history by SelectPupil and RecordSessionResult, when set.
    HistoryFollower* historyFollower = nullptr;

    // Opens the hint screen modally; the hint screen installs itself here.
    std::function<void()> openHintHandler;
    void OpenHint();

    // Dictionary loaders, in start-up order. LoadRadicals returns false when Bushu1.dat is
    // missing (the caller reports it); every other failure raises DataError.
    bool LoadRadicals();
    void LoadKanji();
    void LoadQuestionIndex();

    // Player1.dat. A missing file means no pupils. A roster change cut short is finished first.
    RosterSummary ReadRoster();
    void WriteRoster() const;
    // Adds a pupil with this name at level 1 reading and writes the roster at once, so that
    // a pupil is never lost when the program ends without its exit command. Returns the
    // pupil's number. When the write fails (FileError) the pupil is taken out again: the
    // roster in memory never holds a pupil the file does not.
    int RegisterPupil(const SjisString<10>& name);

    // A parent's changes to pupil p. Each is written at once, and a failure (FileError) leaves
    // the files as they were or finishes at the next ReadRoster. Reset takes the history away
    // (keeping it as a backup beside it) and starts the pupil again at level 1 under the same
    // name; remove takes the pupil out and moves every later pupil's files down one number,
    // keeping the removed history as a backup. Both return the backup's file name, empty when
    // the pupil had no history. The selected pupil (PlayerNo) follows the change.
    void RenamePupil(int p, const SjisString<10>& name);
    QString ResetPupil(int p);
    QString RemovePupil(int p);

    // Every record of pupil n's history, checked (KanjiNo 241..441, Mode 1..2, Level 1..10,
    // Kind 1..2). An empty list when the file does not exist.
    std::vector<HistoryRecord> ReadHistory(int playerNo) const;

    // The questions pupil n was asked in their last RecentSessions sessions, oldest first, so
    // that a kanji's next question can be one they have not just seen. Only a preference: a
    // missing or damaged file is an empty list, and the next session writes it anew.
    static constexpr int RecentSessions = 3;
    std::vector<AskedQuestionRecord> ReadRecentQuestions(int playerNo) const;
    // Adds a session's questions and keeps the last RecentSessions sessions' worth.
    void RememberAskedQuestions(int playerNo, const std::vector<AskedQuestionRecord>& session);

    // Question q (from 1) of a kanji, read from Mondai1.dat. Raises FileError naming the bank,
    // and RangeError naming it when the target part is not 1, 2 or 3.
    QuestionRecord ReadQuestion(int kanjiNo, int questionNo) const;

    // Mojimaru.ini.
    void ReadSettings();
    void SaveSettings() const;
    // Writes AskedRecordsFolder alone, leaving every other setting as the file has it.
    void SaveAskedRecordsFolder() const;

private:
    // Carries out the journalled change from its recorded step to the end, and removes the
    // journal. Safe to repeat from any point a kill can leave. Returns the name of the backup
    // it made of the pupil's history, empty when it made none.
    QString FinishRosterChange(RosterJournalRecord journal);
    // Finishes a change the journal shows was cut short; whether there was one.
    bool FinishInterruptedRosterChange();
    QString StartRosterChange(int16_t action, int p);
    // Whether the roster is the one the journal began from, or (rosterChanged) the one its
    // removal has already written.
    bool RosterMatchesJournal(const RosterJournalRecord& journal, bool& rosterChanged) const;
    // Raises RangeError naming the journal unless every history is what the journal's step
    // leaves in its place.
    void CheckHistoriesAgainstJournal(const RosterJournalRecord& journal) const;
    RosterSummary ReadRosterFile();
    QString backupFileName(const RosterJournalRecord& journal) const;

    QString m_dataFolder;
    QString m_recordsFolder;
    const Clock& m_clock;
};

// Moves a pupil one step on: level L reading -> L writing -> L + 1 reading. Level 11 (every
// level finished) is the last step.
void advanceStep(PlayerRecord& player);

// Whether a pupil on step (level, stepMode) has completed kanji `kanjiNo` in `mode`: its step
// lies behind theirs. A pupil on writing has completed the reading of their level too.
bool stepCompleted(int level, int stepMode, int kanjiNo, int mode);

} // namespace moji
