#pragma once

#include "clock.h"
#include "testprogram.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace moji {
class TF_Shutsudai;
}

namespace testing_support {

// The program on the tests' desktop: a program folder made from the build's data files with
// one pupil, real message boxes that wait for an answer, real timers, and a clock the test
// moves on by hand (the real timers read it). A box left open far longer than any test leaves
// one is closed with a failure, so that a box nobody expected fails the test instead of
// hanging it.
class DesktopProgram : public ::testing::Test {
protected:
    DesktopProgram();
    ~DesktopProgram() override;

    // Start-up as the program runs it, until the main menu is on view and active.
    void start();
    moji::StudyState& state() { return run->state; }
    QString path(const QString& name) const;
    // From the main menu (or the mode menu on view) to a challenge of pupil 1 with its clock
    // running on question 1.
    moji::TF_Shutsudai* startChallenge();
    // Records in pupil 1's history file.
    int historyRecords() const;
    // Full screens of type T that exist, shown or hidden.
    template <typename T>
    static int screensOf()
    {
        settle();
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<T*>(w) ? 1 : 0;
        return n;
    }

    QTemporaryDir dir;
    QString folder;
    moji::ManualClock clock{46364.4};
    std::unique_ptr<ProgramRun> run;

private:
    QTimer m_watchdog;
    QWidget* m_box = nullptr;
    int m_boxTicks = 0;
};

} // namespace testing_support
