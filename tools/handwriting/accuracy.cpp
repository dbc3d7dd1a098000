#include "accuracy.h"

#include "errors.h"
#include "randomsource.h"
#include "synthetic.h"

namespace moji::handwriting {

namespace {

constexpr int Shown = 5;

void count(AccuracyLine& line, Recognizer& recognizer, const Strokes& strokes, const QString& kanji)
{
    const std::vector<Candidate> candidates = recognizer.recognize(strokes, Shown);
    ++line.tried;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].kanji != kanji)
            continue;
        line.first += i == 0;
        ++line.inFive;
        return;
    }
    line.missed << kanji + QStringLiteral(" -> ") + (candidates.empty() ? QStringLiteral("(none)") : candidates.front().kanji);
}

} // namespace

std::vector<AccuracyLine> measureAccuracy(Recognizer& recognizer, const StrokeOrderTable& table,
                                          const QStringList& kanji, uint32_t seed)
{
    RandomSource random(seed);
    AccuracyLine whole, missing, joined;
    whole.writing = QStringLiteral("whole strokes");
    missing.writing = QStringLiteral("one stroke missing");
    joined.writing = QStringLiteral("two strokes joined");
    // Where a child writes: across the square, or at 40 % of its size in a corner or the middle.
    const struct {
        const char* name;
        double left, top;
    } corners[] = {{"40 % top left", 0, 0}, {"40 % top right", 1, 0}, {"40 % bottom left", 0, 1},
                   {"40 % bottom right", 1, 1}, {"40 % centre", 0.5, 0.5}};
    constexpr double Small = 0.4;
    constexpr double Room = 256 * (1 - Small);
    std::vector<AccuracyLine> small(std::size(corners));
    for (std::size_t i = 0; i < small.size(); ++i)
        small[i].writing = QString::fromUtf8(corners[i].name);
    for (const QString& k : kanji) {
        const std::vector<ReferenceStroke>* reference = table.strokesOf(k);
        if (!reference)
            throw FileError(QStringLiteral("Kakijun.dat"), QStringLiteral("no strokes for %1").arg(k));
        const Strokes written = handwritten(*reference, random);
        count(whole, recognizer, written, k);
        for (std::size_t i = 0; i < small.size(); ++i)
            count(small[i], recognizer, placed(written, Small, corners[i].left * Room, corners[i].top * Room), k);
        if (written.size() < 2)
            continue;
        Strokes fewer = written;
        fewer.erase(fewer.begin() + random.Random(int(fewer.size())));
        count(missing, recognizer, fewer, k);
        // The pen stays down from the end of one stroke to the start of the next.
        Strokes together = written;
        const auto first = together.begin() + random.Random(int(together.size()) - 1);
        first->insert(first->end(), std::next(first)->begin(), std::next(first)->end());
        together.erase(std::next(first));
        count(joined, recognizer, together, k);
    }
    std::vector<AccuracyLine> lines{whole};
    lines.insert(lines.end(), small.begin(), small.end());
    lines.push_back(missing);
    lines.push_back(joined);
    return lines;
}

} // namespace moji::handwriting
