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
    for (const QString& k : kanji) {
        const std::vector<ReferenceStroke>* reference = table.strokesOf(k);
        if (!reference)
            throw FileError(QStringLiteral("Kakijun.dat"), QStringLiteral("no strokes for %1").arg(k));
        const Strokes written = handwritten(*reference, random);
        count(whole, recognizer, written, k);
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
    return {whole, missing, joined};
}

} // namespace moji::handwriting
