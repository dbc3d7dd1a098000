#pragma once

#include <QString>

namespace moji {

class StudyState;

// What the result and level-up dialog shows, decided from the state the session's recording
// has just updated.
struct LevelUpView {
    QString caption;      // "がんばれ！  " and the pupil's name, at most 22 bytes in CP932
    QString scoreMessage; // praise or encouragement by the score
    QString levelMessage; // the level news, or a nudge toward challenge after practice
    // The picture file beside the program, or empty for the built-in picture of a session
    // that did not pass.
    QString pictureFile;
    // The progress toward the next step, shown only while levels remain.
    bool showProgress = false;
    QString progressTitle;
    QString levelLine;
    QString kindLine;
    int barValue = 0; // 0 to LevelStep
};

// Raises RangeError when no pupil is selected.
LevelUpView levelUpView(const StudyState& state);

} // namespace moji
