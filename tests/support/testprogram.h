#pragma once

#include "appnavigator.h"
#include "clock.h"
#include "fakes.h"
#include "messages.h"
#include "program.h"
#include "randomsource.h"
#include "screenfixture.h"
#include "studystate.h"
#include "tf_main.h"

#include <QString>

namespace testing_support {

// A program folder in `parent` made from the build's data files, without the executable and
// without anything a run of the program may have written there. Returns its path.
QString makeProgramFolder(const QString& parent);

// One run of the program over a program folder: the study state, fake sound, the help window
// stand-in, message boxes, the shared services, the main menu and the navigator that opens the
// real screens, wired as the program wires them. Message boxes are recorded and answered Yes at
// once, or real ones that wait for an answer.
struct ProgramRun {
    enum class Boxes { Recorded, Real };

    ProgramRun(const QString& folder, const QString& settingsPath, const moji::Clock& clock,
               Boxes boxes = Boxes::Recorded, const moji::ScreenInfo& screen = {1920, 1080, 32, 60, 96});
    ~ProgramRun();

    // Runs start-up and shows the main menu as the program does; false when start-up failed.
    bool start();

    // Messages that report a failure (recorded boxes only).
    QStringList errors() const;

    moji::RandomSource random{20261207};
    moji::StudyState state;
    FakeAudio audio;
    RecordingHelp help;
    RecordingMessages messages;
    moji::MessageBoxes boxes;
    moji::Program program;
    moji::TF_Main mainMenu;
    moji::AppNavigator navigator;
};

} // namespace testing_support

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace moji {
class TF_Mode;
}

namespace testing_support {

// What the event loop does between two clicks: screens closed are deleted.
inline void settle()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The screen of type T on view.
template <typename T>
T* onView()
{
    settle();
    T* screen = topLevel<T>();
    EXPECT_NE(screen, nullptr) << T::staticMetaObject.className() << " is not on view";
    return screen;
}

inline void click(QWidget* w)
{
    ASSERT_TRUE(w && w->isVisible());
    QTest::mouseClick(w, Qt::LeftButton);
}

template <typename T = QPushButton>
T* child(QWidget* screen, const char* name)
{
    return screen->findChild<T*>(QLatin1String(name));
}

// The header's back button.
inline void back(QWidget* screen)
{
    ASSERT_NE(screen, nullptr);
    click(child<QWidget>(screen, "Img_Button4"));
}

// From the main menu to the mode menu of pupil n.
moji::TF_Mode* choosePupil(ProgramRun& run, int n);

} // namespace testing_support
