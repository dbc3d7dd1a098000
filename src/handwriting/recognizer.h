#pragma once

#include "strokes.h"

#include <QSet>
#include <QString>

#include <memory>
#include <vector>

namespace moji::handwriting {

// A kanji the recogniser reads in the strokes, with its score (higher is better).
struct Candidate {
    QString kanji;
    double score = 0;
};

// Reads a handwritten kanji. No widgets: the pad, the tests and the command-line tool use it
// alike.
class Recognizer {
public:
    virtual ~Recognizer() = default;
    // Up to `count` candidates, best first, only among the kanji it was made for; empty when
    // there are no strokes or the model cannot be read (see error()).
    virtual std::vector<Candidate> recognize(const Strokes& strokes, int count) = 0;
    // Readies the model now, so that the first stroke is read without a wait; false when it
    // cannot be read (see error()). Recognition readies it too where this was never called.
    virtual bool prepare() = 0;
    // Why the last recognition found nothing to read with; empty when all is well.
    virtual QString error() const = 0;
};

// Where Debian's tegaki-zinnia-japanese installs the Japanese model.
QString defaultModelPath();

// Zinnia with its model, opened by prepare() or the first recognition and kept: creating it
// costs nothing, so start-up stays as it is. Each stroke is resampled to at most 16 points,
// and the whole writing moved and scaled (keeping its proportions) to fill the middle of the
// square, before it is read. Candidates outside `allowed` (the 440 kanji of grades 1 to 3) are left
// out, and only those kanji of the model are kept in memory. Writing that never leaves one
// spot (a tap) gives none.
std::unique_ptr<Recognizer> createZinniaRecognizer(const QString& modelPath, const QSet<QString>& allowed);

} // namespace moji::handwriting
