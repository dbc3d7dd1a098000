#pragma once

#include "clock.h"
#include "toplevel.h"
#include "fakes.h"
#include "navigator.h"
#include "program.h"
#include "randomsource.h"
#include "studystate.h"

#include <QApplication>
#include <QTemporaryDir>

#include <vector>

namespace testing_support {

// Records where the screens send the pupil.
class RecordingNavigator final : public moji::Navigator {
public:
    void show(moji::Screen screen) override { shown.push_back(screen); }
    void openSettings(QWidget*) override { ++settings; }
    std::vector<moji::Screen> shown;
    int settings = 0;
};

// A program for one screen under test: a temporary program folder, the study state, fake
// sound, help and message boxes, and a navigator that records.
class ScreenFixture {
public:
    ScreenFixture();

    QString path(const QString& name) const { return dir.filePath(name); }
    // Copies a file the build made (a picture, a dictionary) into the temporary folder.
    void useBuiltFile(const QString& name);
    // Pupils named あ, い, う … at the given level and mode, in memory only.
    void addPupils(int count, int level = 1, int mode = 1);
    // Loads the real kanji dictionary the build made.
    void loadDictionary();

    QTemporaryDir dir;
    moji::ManualClock clock{46363.5};
    moji::RandomSource random{1};
    moji::StudyState state;
    FakeAudio audio;
    RecordingHelp help;
    RecordingMessages messages;
    RecordingNavigator navigator;
    moji::Program program;
};

} // namespace testing_support

#include <QStringList>
#include <QTimer>

#include <functional>

namespace testing_support {

// Closes every modal dialog as soon as it opens (a result or hint dialog in the middle of a
// flow under test), remembering the class names and window titles it closed.
class ModalCloser {
public:
    ModalCloser();
    // Hands the next modal dialog of this class to `handler` instead, which answers it and
    // must close it (a dialog whose values the test sets, or whose contents it reads).
    void handleNext(const char* className, std::function<void(QWidget*)> handler);
    QStringList closed;

private:
    QTimer m_timer;
    QString m_handledClass;
    std::function<void(QWidget*)> m_handler;
};

using moji::topLevel;

} // namespace testing_support
