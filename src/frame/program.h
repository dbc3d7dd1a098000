#pragma once

#include "audio.h"
#include "helpviewer.h"
#include "messages.h"
#include "metafile.h"
#include "navigator.h"
#include "pupilmemory.h"
#include "recognizer.h"
#include "strokeorder.h"

#include <QCursor>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

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
        state.historyFollower = &memory;
    }
    ~Program()
    {
        if (state.historyFollower == &memory)
            state.historyFollower = nullptr;
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    StudyState& state;
    const Clock& clock;
    RandomSource& random;
    AudioSystem& audio;
    HelpViewer& help;
    Messages& messages;
    Navigator* navigator = nullptr;
    // The selected pupil's memory of every kanji, following their history through the state.
    memory::PupilMemory memory;

    // The eight header pictures cut from ButtonX.bmp (1 hint, 2 help, 3 minimise, 4 back,
    // 5 study, 6 grades, 7 registration, 8 settings), white made transparent.
    std::array<QPixmap, 8> headerImages;
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

    // The handwriting recogniser for the 440 kanji of grades 1 to 3, made once start-up has
    // read the kanji dictionary (its model opens as the pad first opens); null where there
    // is none, and then no pad is offered.
    std::unique_ptr<handwriting::Recognizer> recognizer;

    QPixmap headerImage(int tag) const;
    // The ten notice and card-back pictures Pop1.wmf … Pop10.wmf (index 0 to 9), read at
    // start-up, each drawn on a white square of `side` pixels, white transparent, when first
    // shown: nothing on the way to the main menu shows them.
    void setNoticePictures(std::array<std::optional<Metafile>, 10> pictures, int side);
    QPixmap noticePicture(int index);
    // Plays the correct (true) or wrong (false) answer sound from the start.
    void playAnswerSound(bool correct);

    // Kakijun.dat, read at its first need. A file that cannot be read is reported once (over
    // `parent`) and the stroke-order checks are then left out for the rest of the run: they
    // only comment on the writing, and the session in progress matters more. Null then.
    const handwriting::StrokeOrderTable* strokeOrder(QWidget* parent);

private:
    std::array<std::optional<Metafile>, 10> m_noticeMetafiles;
    std::array<QPixmap, 10> m_noticePictures;
    int m_noticeSide = 48;
    enum class TableState { NotRead, Read, Failed };
    handwriting::StrokeOrderTable m_strokeOrder;
    TableState m_strokeOrderState = TableState::NotRead;
};

// The picture with its white made transparent, as every shared picture is.
QPixmap whiteTransparent(const QImage& image);

// The kanji of the loaded dictionary in order, with their stroke counts: what Kakijun.dat must
// hold.
std::vector<handwriting::DictionaryKanji> dictionaryKanji(const StudyState& state);

// Zinnia for the kanji of the loaded dictionary, the 440 of grades 1 to 3: only they are
// offered as candidates. Its model is not read yet (see Recognizer::prepare()).
std::unique_ptr<handwriting::Recognizer> createSchoolRecognizer(const StudyState& state);

} // namespace moji
