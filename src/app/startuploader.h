#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace moji {

struct Program;
class RecordsLock;

// The file-loading steps of start-up, in their order, each remembering the file it begins to
// handle so that a failure anywhere names the last file start-up was working on. Every step
// raises DataError on failure; the caller shows the file message and ends the program.
class StartupLoader {
public:
    explicit StartupLoader(Program& program) : m_program(program) {}

    // The name a failure is reported under.
    const QString& currentFile() const { return m_currentFile; }

    // ButtonX.bmp: the eight 48 x 48 header pictures, white transparent. Reported with its
    // leading separator ("\ButtonX.bmp").
    void loadHeaderPictures();
    // Mojimaru.ini; notices always start off.
    void loadSettings();
    // The records folder, chosen now that the settings are read, and its lock, kept in `lock`
    // for the run so that no other copy rewrites the same roster or histories
    // (openRecordsFolder). False when the program must end; the parent has been told why.
    bool openRecords(std::unique_ptr<RecordsLock>& lock);
    // Bushu1.dat then Mojimaru1.dat. False when Bushu1.dat is missing (the caller reports it
    // and ends the program once loading is done).
    bool loadDictionaries();
    // Player1.dat, then every pupil's history; sets the program's highest level.
    void loadRoster();
    // Mondai2.dat.
    void loadQuestionIndex();
    // Pop1.wmf … Pop10.wmf, read whole and checked now, drawn on squares of `side` pixels when
    // first shown (Program::noticePicture).
    void loadNoticePictures(int side);
    // Maru.wav and Batsu.wav in the two answer-sound players; the media error messages of
    // those that failed (start-up goes on without them).
    QStringList openAnswerSounds();

private:
    QString dataPath(const QString& name) const;
    void begin(const QString& file) { m_currentFile = file; }

    Program& m_program;
    QString m_currentFile;
};

} // namespace moji
