#include "strokecheck.h"

#include "textcodec.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace moji::handwriting {

namespace {

// Costs are distances in the 0..255 square of the school strokes: how far a written stroke's
// start and end lie from a school stroke's, added, once the writing is laid over the kanji.
struct Tolerance {
    // Leaving a stroke unmatched, as missing or as one too many, costs this: a written stroke
    // is taken for a school stroke whenever their ends lie closer together than twice this.
    double unmatched = 62;
    // What a swap of two strokes must gain over writing them in order before the order is
    // blamed, and what writing a stroke backwards must gain over the right way: a wrong remark
    // on right writing discourages more than a missed one.
    double swapMargin = 40;
    double reverseMargin = 30;
    // Dots are too short to have a direction a child can be told about: a tenth of the square.
    double shortestDirected = 25.6;

    // The tolerance for a hand `looseness` times as loose as a steady one: slower to blame the
    // order or a direction, but no readier to take one stroke for another.
    Tolerance grown(double looseness) const
    {
        return {unmatched * std::min(looseness, 1.1), swapMargin * looseness, reverseMargin * looseness, shortestDirected * looseness};
    }
};

// How far a steady hand's strokes land from the school strokes, typically (the median cost of
// the strokes matched in turn): a looser hand is given room in proportion, up to a point.
// Writing further out than that is not the kanji.
constexpr double SteadyHand = 15;
constexpr double LoosestHand = 3.5;
// A kanji squashed or stretched by more than this is not fitted so, but kept in proportion.
constexpr double MostSquash = 1.7;

struct Segment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

double distance(double ax, double ay, double bx, double by)
{
    return std::hypot(ax - bx, ay - by);
}

double length(const ReferenceStroke& r)
{
    return distance(r.start.x, r.start.y, r.end.x, r.end.y);
}

// How the writing is laid over the kanji: each axis scaled and moved.
struct Fit {
    double ax = 1, bx = 0, ay = 1, by = 0;

    Segment onKanji(const Segment& s) const { return {ax * s.x1 + bx, ay * s.y1 + by, ax * s.x2 + bx, ay * s.y2 + by}; }
    Point onWriting(const Point& p) const
    {
        return {int(std::lround((p.x - bx) / ax)), int(std::lround((p.y - by) / ay))};
    }
};

struct Box {
    double left = std::numeric_limits<double>::max();
    double top = std::numeric_limits<double>::max();
    double right = std::numeric_limits<double>::lowest();
    double bottom = std::numeric_limits<double>::lowest();

    void add(double x, double y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

// The writing's box laid on the kanji's, in proportion (or squashed as far as allowed).
Fit boxFit(const Box& from, const Box& to, bool squash)
{
    const double side = std::max(from.width(), from.height());
    const double toSide = std::max(to.width(), to.height());
    const double even = side > 0 && toSide > 0 ? toSide / side : 1.0;
    double sx = even, sy = even;
    if (squash) {
        if (from.width() > 0 && to.width() > 0)
            sx = to.width() / from.width();
        if (from.height() > 0 && to.height() > 0)
            sy = to.height() / from.height();
        if (sx > sy * MostSquash || sy > sx * MostSquash)
            sx = sy = even;
    }
    Fit f;
    f.ax = sx;
    f.ay = sy;
    f.bx = (to.left + to.right) / 2 - sx * (from.left + from.right) / 2;
    f.by = (to.top + to.bottom) / 2 - sy * (from.top + from.bottom) / 2;
    return f;
}

enum class Step { Match, Reversed, Extra, Missing, Swap };

// A written stroke taken for a school stroke.
struct Pair {
    int written = 0;
    int school = 0;
    bool reversed = false;
    bool outOfTurn = false; // see markStrokesOutOfTurn()
};

struct Alignment {
    double cost = std::numeric_limits<double>::max();
    Fit fit;
    std::vector<Pair> pairs;
    std::vector<int> extra;   // written strokes matched to nothing
    std::vector<int> missing; // school strokes nothing was matched to
};

class Comparison {
public:
    Comparison(const Strokes& written, const std::vector<ReferenceStroke>& reference, Tolerance tolerance)
        : m_reference(reference), m_tolerance(tolerance)
    {
        for (const Stroke& s : written) {
            if (s.empty())
                continue;
            m_written.push_back({double(s.front().x), double(s.front().y), double(s.back().x), double(s.back().y)});
            for (const Point& p : s)
                m_writtenBox.add(p.x, p.y);
        }
        for (const ReferenceStroke& r : reference) {
            m_schoolBox.add(r.start.x, r.start.y);
            m_schoolBox.add(r.end.x, r.end.y);
        }
    }

    int written() const { return int(m_written.size()); }
    int school() const { return int(m_reference.size()); }

    // The best alignment over several ways of laying the writing on the kanji, each improved
    // by fitting it to the strokes it matched.
    Alignment best() const
    {
        std::vector<Fit> starts{boxFit(m_writtenBox, m_schoolBox, false), boxFit(m_writtenBox, m_schoolBox, true), Fit{}};
        // With one stroke missing or one too many, the box misleads when that stroke lies on
        // its edge: lay the rest in order on the kanji, leaving out each stroke in turn.
        const int m = written(), n = school();
        if (std::abs(m - n) <= 1) {
            for (int skip = 0; skip < std::max(m, n); ++skip) {
                std::vector<Pair> pairs;
                for (int i = 0, j = 0; i < m && j < n; ++i, ++j) {
                    if (m > n && i == skip)
                        ++i;
                    if (n > m && j == skip)
                        ++j;
                    if (i < m && j < n)
                        pairs.push_back({i, j, false, false});
                }
                if (auto f = fitTo(pairs))
                    starts.push_back(*f);
                if (m == n)
                    break;
            }
        }
        Alignment best;
        for (const Fit& start : starts) {
            Alignment a = align(start);
            for (int round = 0; round < 2; ++round) {
                const auto refit = fitTo(a.pairs);
                if (!refit)
                    break;
                Alignment b = align(*refit);
                if (b.cost >= a.cost)
                    break;
                a = std::move(b);
            }
            if (a.cost < best.cost)
                best = std::move(a);
        }
        findStrokesOutOfTurn(best);
        markStrokesOutOfTurn(best.pairs);
        return best;
    }

    // The typical cost of the strokes matched in turn: how loose the hand is.
    double hand(const Alignment& a) const
    {
        std::vector<double> costs;
        for (const Pair& p : a.pairs) {
            if (!p.reversed && !p.outOfTurn)
                costs.push_back(forward(a.fit.onKanji(m_written[std::size_t(p.written)]), p.school));
        }
        if (costs.empty())
            return 0;
        std::nth_element(costs.begin(), costs.begin() + std::ptrdiff_t(costs.size() / 2), costs.end());
        return costs[costs.size() / 2];
    }

private:
    double forward(const Segment& w, int j) const
    {
        const ReferenceStroke& r = m_reference[std::size_t(j)];
        return distance(w.x1, w.y1, r.start.x, r.start.y) + distance(w.x2, w.y2, r.end.x, r.end.y);
    }
    double backward(const Segment& w, int j) const
    {
        const ReferenceStroke& r = m_reference[std::size_t(j)];
        return distance(w.x1, w.y1, r.end.x, r.end.y) + distance(w.x2, w.y2, r.start.x, r.start.y);
    }
    bool directed(int j) const { return length(m_reference[std::size_t(j)]) >= m_tolerance.shortestDirected; }

    // The written strokes matched to the school strokes in order, each at most once, with a
    // stroke left out, one too many, two consecutive ones swapped or one reversed where that
    // costs less (dynamic programming over both sequences).
    Alignment align(const Fit& fit) const
    {
        const int m = written(), n = school();
        // Each written stroke's cost as each school stroke, either way round.
        std::vector<double> ahead(std::size_t(m * n)), back(std::size_t(m * n));
        for (int i = 0; i < m; ++i) {
            const Segment s = fit.onKanji(m_written[std::size_t(i)]);
            for (int j = 0; j < n; ++j) {
                ahead[std::size_t(i * n + j)] = forward(s, j);
                back[std::size_t(i * n + j)] = backward(s, j);
            }
        }
        auto as = [&](int i, int j) { return ahead[std::size_t(i * n + j)]; };
        const double inf = std::numeric_limits<double>::max() / 4;
        std::vector<double> cost(std::size_t((m + 1) * (n + 1)), inf);
        std::vector<Step> step(cost.size(), Step::Match);
        auto at = [&](int i, int j) -> double& { return cost[std::size_t(i * (n + 1) + j)]; };
        auto offer = [&](int i, int j, double c, Step s) {
            if (c < at(i, j)) {
                at(i, j) = c;
                step[std::size_t(i * (n + 1) + j)] = s;
            }
        };
        at(0, 0) = 0;
        for (int i = 0; i <= m; ++i) {
            for (int j = 0; j <= n; ++j) {
                if (i > 0)
                    offer(i, j, at(i - 1, j) + m_tolerance.unmatched, Step::Extra);
                if (j > 0)
                    offer(i, j, at(i, j - 1) + m_tolerance.unmatched, Step::Missing);
                if (i > 0 && j > 0) {
                    offer(i, j, at(i - 1, j - 1) + as(i - 1, j - 1), Step::Match);
                    if (directed(j - 1))
                        offer(i, j, at(i - 1, j - 1) + back[std::size_t((i - 1) * n + j - 1)] + m_tolerance.reverseMargin, Step::Reversed);
                }
                if (i > 1 && j > 1)
                    offer(i, j, at(i - 2, j - 2) + as(i - 2, j - 1) + as(i - 1, j - 2) + m_tolerance.swapMargin, Step::Swap);
            }
        }
        Alignment a;
        a.cost = at(m, n);
        a.fit = fit;
        for (int i = m, j = n; i > 0 || j > 0;) {
            switch (step[std::size_t(i * (n + 1) + j)]) {
            case Step::Extra: a.extra.push_back(--i); break;
            case Step::Missing: a.missing.push_back(--j); break;
            case Step::Match: a.pairs.push_back({--i, --j, false, false}); break;
            case Step::Reversed: a.pairs.push_back({--i, --j, true, false}); break;
            case Step::Swap:
                a.pairs.push_back({i - 1, j - 2, false, false});
                a.pairs.push_back({i - 2, j - 1, false, false});
                i -= 2;
                j -= 2;
                break;
            }
        }
        std::reverse(a.pairs.begin(), a.pairs.end());
        std::reverse(a.extra.begin(), a.extra.end());
        std::reverse(a.missing.begin(), a.missing.end());
        return a;
    }

    // A stroke written far out of its turn is left unmatched twice over by the in-order
    // alignment, as one too many where it was written and missing where it belongs: such
    // strokes are paired again, as strokes out of turn.
    void findStrokesOutOfTurn(Alignment& a) const
    {
        std::vector<Segment> w;
        for (const Segment& s : m_written)
            w.push_back(a.fit.onKanji(s));
        for (auto e = a.extra.begin(); e != a.extra.end();) {
            int bestMissing = -1;
            double bestCost = 2 * m_tolerance.unmatched;
            for (int j : a.missing) {
                const double c = forward(w[std::size_t(*e)], j);
                if (c < bestCost && outOfOrder(a.pairs, *e, j)) {
                    bestCost = c;
                    bestMissing = j;
                }
            }
            if (bestMissing < 0) {
                ++e;
                continue;
            }
            a.pairs.push_back({*e, bestMissing, false, false});
            a.missing.erase(std::find(a.missing.begin(), a.missing.end(), bestMissing));
            e = a.extra.erase(e);
        }
    }

    // Puts the pairs in the order written and marks as out of turn the fewest strokes whose
    // removal leaves the rest in the school order (those off a longest increasing run).
    static void markStrokesOutOfTurn(std::vector<Pair>& pairs)
    {
        std::sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) { return a.written < b.written; });
        const std::size_t n = pairs.size();
        std::vector<int> run(n, 1), before(n, -1);
        std::size_t end = 0;
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t k = 0; k < i; ++k) {
                if (pairs[k].school < pairs[i].school && run[k] + 1 > run[i]) {
                    run[i] = run[k] + 1;
                    before[i] = int(k);
                }
            }
            if (run[i] > run[end])
                end = i;
        }
        for (Pair& p : pairs)
            p.outOfTurn = true;
        for (int i = n > 0 ? int(end) : -1; i >= 0; i = before[std::size_t(i)])
            pairs[std::size_t(i)].outOfTurn = false;
    }

    // Whether matching written stroke i to school stroke j goes against the order of the pairs.
    static bool outOfOrder(const std::vector<Pair>& pairs, int i, int j)
    {
        return std::any_of(pairs.begin(), pairs.end(), [&](const Pair& p) {
            return (p.written < i && p.school > j) || (p.written > i && p.school < j);
        });
    }

    // The way of laying the writing on the kanji that brings the matched strokes' ends closest
    // (least squares for each axis), kept in proportion where the axes disagree too much or
    // say too little; nullopt without a pair to fit to.
    std::optional<Fit> fitTo(const std::vector<Pair>& pairs) const
    {
        if (pairs.empty())
            return std::nullopt;
        struct Sums {
            double n = 0, u = 0, v = 0, uu = 0, uv = 0;
            void add(double from, double to)
            {
                ++n;
                u += from;
                v += to;
                uu += from * from;
                uv += from * to;
            }
            double spread() const { return uu - u * u / n; }
            double together() const { return uv - u * v / n; }
        } x, y;
        for (const Pair& p : pairs) {
            const Segment& s = m_written[std::size_t(p.written)];
            const ReferenceStroke& r = m_reference[std::size_t(p.school)];
            const Point& to1 = p.reversed ? r.end : r.start;
            const Point& to2 = p.reversed ? r.start : r.end;
            x.add(s.x1, to1.x);
            x.add(s.x2, to2.x);
            y.add(s.y1, to1.y);
            y.add(s.y2, to2.y);
        }
        // An axis along which the matched strokes hardly spread says nothing of its scale.
        constexpr double Spread = 8.0 * 8.0;
        const bool xSays = x.spread() > Spread * x.n;
        const bool ySays = y.spread() > Spread * y.n;
        const double even = (x.spread() + y.spread()) > 0 ? (x.together() + y.together()) / (x.spread() + y.spread()) : 0;
        double sx = xSays ? x.together() / x.spread() : even;
        double sy = ySays ? y.together() / y.spread() : even;
        if (!(sx > 0 && sy > 0) || sx > sy * MostSquash || sy > sx * MostSquash)
            sx = sy = even;
        // Writing can be small or large, never shrunk to a point nor flipped.
        const double boxSide = std::max(m_writtenBox.width(), m_writtenBox.height());
        const double schoolSide = std::max(m_schoolBox.width(), m_schoolBox.height());
        const double boxScale = boxSide > 0 ? schoolSide / boxSide : 1.0;
        if (!(sx > boxScale / 3 && sx < boxScale * 3 && sy > boxScale / 3 && sy < boxScale * 3))
            return std::nullopt;
        Fit f;
        f.ax = sx;
        f.ay = sy;
        f.bx = (x.v - sx * x.u) / x.n;
        f.by = (y.v - sy * y.u) / y.n;
        return f;
    }

    const std::vector<ReferenceStroke>& m_reference;
    Tolerance m_tolerance;
    std::vector<Segment> m_written;
    Box m_writtenBox;
    Box m_schoolBox;
};

QString strokesInKana(int n)
{
    switch (n) {
    case 1: return QStringLiteral("ひとつ");
    case 2: return QStringLiteral("ふたつ");
    case 3: return QStringLiteral("みっつ");
    default: return fullWidthNumber(n) + QStringLiteral("かく");
    }
}

} // namespace

StrokeCheck checkStrokes(const Strokes& written, const std::vector<ReferenceStroke>& reference)
{
    using Verdict = StrokeCheck::Verdict;
    const Comparison steady(written, reference, Tolerance{});
    const int m = steady.written(), n = steady.school();
    StrokeCheck check;
    check.difference = m - n;
    auto far = [&] {
        check.verdict = m < n ? Verdict::TooFew : m > n ? Verdict::TooMany : Verdict::Far;
        check.difference = std::abs(m - n);
        return check;
    };
    if (m == 0 || n == 0)
        return far();
    Alignment a = steady.best();
    // A loose hand is compared again with the room it needs.
    const double looseness = std::min(steady.hand(a) / SteadyHand, LoosestHand);
    if (looseness > 1)
        a = Comparison(written, reference, Tolerance{}.grown(looseness)).best();

    // Close: most strokes matched to one of the kanji's, and few faults.
    int faults = int(a.missing.size() + a.extra.size());
    int outOfTurn = 0;
    for (const Pair& p : a.pairs) {
        faults += p.reversed ? 1 : 0;
        outOfTurn += p.outOfTurn ? 1 : 0;
    }
    faults += (outOfTurn + 1) / 2; // two strokes swapped are one fault, as is one moved
    if (int(a.pairs.size()) * 2 < std::max(m, n) || faults > std::max(1, n / 4))
        return far();

    if (!a.missing.empty()) {
        const ReferenceStroke& r = reference[std::size_t(a.missing.front())];
        check.verdict = Verdict::Missing;
        check.stroke = a.missing.front() + 1;
        check.missingAt = ReferenceStroke{a.fit.onWriting(r.start), a.fit.onWriting(r.end)};
        return check;
    }
    if (!a.extra.empty()) {
        check.verdict = Verdict::Extra;
        check.stroke = a.extra.front() + 1;
        return check;
    }
    // The first stroke written out of its turn: where the strokes as written (in pairs, in the
    // order written) first differ from the school order.
    std::vector<int> order;
    for (const Pair& p : a.pairs)
        order.push_back(p.school);
    std::sort(order.begin(), order.end());
    for (std::size_t i = 0; i < a.pairs.size(); ++i) {
        if (a.pairs[i].school != order[i]) {
            check.verdict = Verdict::Order;
            check.stroke = a.pairs[i].written + 1;
            return check;
        }
    }
    for (const Pair& p : a.pairs) {
        if (p.reversed) {
            check.verdict = Verdict::Direction;
            check.stroke = p.written + 1;
            return check;
        }
    }
    check.difference = 0;
    return check;
}

QString strokeCheckMessage(const StrokeCheck& check)
{
    using Verdict = StrokeCheck::Verdict;
    switch (check.verdict) {
    case Verdict::Right: return QStringLiteral("かきじゅんも　ばっちり！");
    case Verdict::TooFew: return QStringLiteral("かくすうが　%1　たりないよ").arg(strokesInKana(check.difference));
    case Verdict::TooMany: return QStringLiteral("かくすうが　%1　おおいよ").arg(strokesInKana(check.difference));
    case Verdict::Order: return QStringLiteral("%1かくめの　じゅんばんが　ちがうよ").arg(fullWidthNumber(check.stroke));
    case Verdict::Direction: return QStringLiteral("%1かくめの　むきが　ちがうよ").arg(fullWidthNumber(check.stroke));
    case Verdict::Missing: return QStringLiteral("%1かくめが　ないよ").arg(fullWidthNumber(check.stroke));
    case Verdict::Extra: return QStringLiteral("オレンジの　せんは　いらないよ");
    case Verdict::Far: return QStringLiteral("もういちど　かいてみよう");
    }
    return {};
}

} // namespace moji::handwriting
