#pragma once

#include "audio.h"
#include "helpviewer.h"
#include "messages.h"
#include "navigator.h"

#include <QCursor>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <array>
#include <memory>

namespace moji {

class Clock;
class RandomSource;
class StudyState;

// What every screen shares for the life of the program: the study state, the clock and the
// random source, the platform services, and the pictures and sounds loaded at start-up.
struct Program {
    Program(StudyState& state, const Clock& clock, RandomSource& random, AudioSystem& audio, HelpViewer& help,
            Messages& messages)
        : state(state), clock(clock), random(random), audio(audio), help(help), messages(messages)
    {
    }

    StudyState& state;
    const Clock& clock;
    RandomSource& random;
    AudioSystem& audio;
    HelpViewer& help;
    Messages& messages;
    Navigator* navigator = nullptr;

    // The eight header pictures cut from ButtonX.bmp (1 hint, 2 help, 3 minimise, 4 back,
    // 5 study, 6 grades, 7 registration, 8 settings), white made transparent.
    std::array<QPixmap, 8> headerImages;
    // The ten notice and card-back pictures drawn from Pop1.wmf … Pop10.wmf.
    std::array<QPixmap, 10> popImages;
    // The correct and wrong answer sounds.
    std::unique_ptr<MediaPlayer> maruPlayer;
    std::unique_ptr<MediaPlayer> batsuPlayer;
    // The program's own hand pointer for buttons.
    QCursor handCursor{Qt::PointingHandCursor};
    // The whole screen in the program's scaled pixels, when known: every full-screen window
    // covers at least this much.
    QSize screenCover;
    // The highest level stored in the roster at start-up, at least 1.
    int highestLevel = 1;
    // The program is ending (its exit command, or the system asking it to end): whatever a
    // box, a timer or a screen would start next is not started.
    bool ending = false;
    // The session and game windows while they exist, so that the mode menu can close one
    // left behind (its Alive flag in the study state tells whether it should).
    QPointer<QWidget> sessionScreen;
    QPointer<QWidget> matchingGameScreen;
    QPointer<QWidget> catcherGameScreen;

    QPixmap headerImage(int tag) const;
    // Plays the correct (true) or wrong (false) answer sound from the start.
    void playAnswerSound(bool correct);
};

} // namespace moji
