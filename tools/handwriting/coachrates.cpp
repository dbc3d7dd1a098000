#include "coachrates.h"

#include "errors.h"
#include "randomsource.h"
#include "synthetic.h"

#include <cmath>

namespace moji::handwriting {

namespace {

constexpr int Examples = 12;
// A stroke shorter than this (a tenth of the square) is a dot: no child can be told its way.
constexpr double ShortestWithAWay = 25.6;

using Verdict = StrokeCheck::Verdict;

QString said(const StrokeCheck& check)
{
    return strokeCheckMessage(check);
}

void count(CoachLine& line, bool named, const QString& kanji, const StrokeCheck& check, const QString& what = {})
{
    ++line.tried;
    if (named)
        ++line.named;
    else if (line.examples.size() < Examples)
        line.examples << kanji + what + QStringLiteral(": ") + said(check);
}

} // namespace

std::vector<CoachLine> measureCoach(const StrokeOrderTable& table, const QStringList& kanji, uint32_t seed)
{
    RandomSource random(seed);
    CoachLine missing{QStringLiteral("one stroke left out"), 0, 0, {}};
    CoachLine swapped{QStringLiteral("two strokes swapped"), 0, 0, {}};
    CoachLine reversed{QStringLiteral("one stroke reversed"), 0, 0, {}};
    CoachLine steady{QStringLiteral("right, steady hand"), 0, 0, {}};
    CoachLine loose{QStringLiteral("right, loose hand"), 0, 0, {}};
    CoachLine cornerMissing{QStringLiteral("left out, 40 % corner"), 0, 0, {}};
    CoachLine cornerLoose{QStringLiteral("loose, 40 % corner"), 0, 0, {}};
    CoachLine other{QStringLiteral("another kanji"), 0, 0, {}};
    auto strokesOf = [&table](const QString& k) -> const std::vector<ReferenceStroke>& {
        const std::vector<ReferenceStroke>* reference = table.strokesOf(k);
        if (!reference)
            throw FileError(QStringLiteral("Kakijun.dat"), QStringLiteral("no strokes for %1").arg(k));
        return *reference;
    };
    for (qsizetype n = 0; n < kanji.size(); ++n) {
        const QString& k = kanji[n];
        const std::vector<ReferenceStroke>& reference = strokesOf(k);
        const int strokes = int(reference.size());
        const Strokes written = handwritten(reference, random);
        const StrokeCheck right = checkStrokes(written, reference);
        count(steady, right.verdict == Verdict::Right, k, right);
        const Strokes looseHand = handwritten(reference, random, LooseEnds);
        const StrokeCheck poor = checkStrokes(looseHand, reference);
        count(loose, poor.verdict == Verdict::Right, k, poor);
        // Small in a corner, a different one for each kanji.
        constexpr double Small = 0.4;
        const double left = (n % 2) * 256 * (1 - Small);
        const double top = (n / 2 % 2) * 256 * (1 - Small);
        const StrokeCheck cornered = checkStrokes(placed(looseHand, Small, left, top), reference);
        count(cornerLoose, cornered.verdict == Verdict::Right, k, cornered);
        for (int s = 1; s <= strokes && strokes > 1; ++s) {
            Strokes fewer = written;
            fewer.erase(fewer.begin() + (s - 1));
            const StrokeCheck check = checkStrokes(fewer, reference);
            count(missing, check.verdict == Verdict::Missing && check.stroke == s, k, check, QStringLiteral(" -%1").arg(s));
            const StrokeCheck small = checkStrokes(placed(fewer, Small, left, top), reference);
            count(cornerMissing, small.verdict == Verdict::Missing && small.stroke == s, k, small, QStringLiteral(" -%1").arg(s));
        }
        for (int s = 1; s < strokes; ++s) {
            Strokes turned = written;
            std::swap(turned[std::size_t(s - 1)], turned[std::size_t(s)]);
            const StrokeCheck check = checkStrokes(turned, reference);
            count(swapped, check.verdict == Verdict::Order && check.stroke == s, k, check, QStringLiteral(" %1<>%2").arg(s).arg(s + 1));
        }
        for (int s = 1; s <= strokes; ++s) {
            const ReferenceStroke& r = reference[std::size_t(s - 1)];
            if (std::hypot(r.end.x - r.start.x, r.end.y - r.start.y) < ShortestWithAWay)
                continue;
            Strokes back = written;
            std::reverse(back[std::size_t(s - 1)].begin(), back[std::size_t(s - 1)].end());
            const StrokeCheck check = checkStrokes(back, reference);
            count(reversed, check.verdict == Verdict::Direction && check.stroke == s, k, check, QStringLiteral(" ~%1").arg(s));
        }
        // The next kanji with as many strokes, written and checked against this one.
        for (qsizetype m = 1; m < kanji.size(); ++m) {
            const QString& o = kanji[(n + m) % kanji.size()];
            if (int(strokesOf(o).size()) != strokes)
                continue;
            const StrokeCheck check = checkStrokes(handwritten(strokesOf(o), random), reference);
            count(other, check.verdict == Verdict::Far || check.verdict == Verdict::TooFew || check.verdict == Verdict::TooMany, k, check, QStringLiteral(" as ") + o);
            break;
        }
    }
    return {missing, swapped, reversed, steady, loose, cornerMissing, cornerLoose, other};
}

} // namespace moji::handwriting
