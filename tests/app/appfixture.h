#pragma once

#include "clock.h"
#include "display.h"
#include "fakes.h"
#include "program.h"
#include "randomsource.h"
#include "studystate.h"
#include "tf_main.h"

#include <QTemporaryDir>

#include <memory>

// A program folder made by hand with every file start-up reads, and the program's shared
// services with fakes for sound, help and message boxes.
class AppFixture {
public:
    AppFixture();
    ~AppFixture();

    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes);
    void remove(const QString& name);
    // A roster of `count` pupils at the given level, reading.
    void writeRoster(int count, int level = 1);

    // Creates the main menu and runs start-up.
    bool start(const moji::ScreenInfo& screen = {1920, 1080, 32, 60, 96});

    // Mojimaru1.dat with kanji 1 to 440, but for `leaveOut`.
    static QByteArray kanjiDictionary(int leaveOut = 0);
    static QByteArray metafile();

    QTemporaryDir dir;
    moji::ManualClock clock{46363.5};
    moji::RandomSource random{1};
    moji::StudyState state;
    testing_support::FakeAudio audio;
    testing_support::RecordingHelp help;
    testing_support::RecordingMessages messages;
    moji::Program program;
    std::unique_ptr<moji::TF_Main> mainMenu;
};
