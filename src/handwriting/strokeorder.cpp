#include "strokeorder.h"

#include "errors.h"
#include "filestore.h"
#include "records.h"
#include "textcodec.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace moji::handwriting {

namespace {

const QString TableFile = QStringLiteral("Kakijun.dat");
// One record for each kanji of grades 1 to 3, in KanjiNo order.
constexpr int TableKanji = 440;

// A written stroke counts as a reference stroke's when the distances between their starts and
// between their ends add up to less than this (in the 0..255 square, after the written kanji is
// fitted onto the reference one): a child's hand is far from exact.
constexpr double Near = 70;
// Another match must be at least this much better before the order or the direction is blamed.
constexpr double Clearly = 0.5;
// Dots are too short to have a direction a child can be told about.
constexpr double ShortestDirected = 30;

struct Box {
    double left = std::numeric_limits<double>::max();
    double top = std::numeric_limits<double>::max();
    double right = std::numeric_limits<double>::lowest();
    double bottom = std::numeric_limits<double>::lowest();

    void add(const Point& p)
    {
        left = std::min(left, double(p.x));
        right = std::max(right, double(p.x));
        top = std::min(top, double(p.y));
        bottom = std::max(bottom, double(p.y));
    }
    double size() const { return std::max(right - left, bottom - top); }
    double centreX() const { return (left + right) / 2; }
    double centreY() const { return (top + bottom) / 2; }
};

struct Segment {
    double x1, y1, x2, y2;
};

double distance(double ax, double ay, double bx, double by)
{
    return std::hypot(ax - bx, ay - by);
}

double cost(const Segment& written, const ReferenceStroke& r)
{
    return distance(written.x1, written.y1, r.start.x, r.start.y) + distance(written.x2, written.y2, r.end.x, r.end.y);
}

double reversedCost(const Segment& written, const ReferenceStroke& r)
{
    return distance(written.x1, written.y1, r.end.x, r.end.y) + distance(written.x2, written.y2, r.start.x, r.start.y);
}

// Each written stroke as its start and end, the whole kanji moved and scaled (keeping its
// proportions) onto the reference kanji's box, so that writing small or off-centre is no fault.
std::vector<Segment> fitted(const Strokes& written, const std::vector<ReferenceStroke>& reference)
{
    Box from;
    for (const Stroke& s : written) {
        for (const Point& p : s)
            from.add(p);
    }
    Box to;
    for (const ReferenceStroke& r : reference) {
        to.add(r.start);
        to.add(r.end);
    }
    const double scale = from.size() > 0 && to.size() > 0 ? to.size() / from.size() : 1.0;
    auto x = [&](int v) { return (v - from.centreX()) * scale + to.centreX(); };
    auto y = [&](int v) { return (v - from.centreY()) * scale + to.centreY(); };
    std::vector<Segment> out;
    for (const Stroke& s : written) {
        if (s.empty())
            continue;
        out.push_back({x(s.front().x), y(s.front().y), x(s.back().x), y(s.back().y)});
    }
    return out;
}

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

void StrokeOrderTable::load(const QString& path)
{
    // Every fault is a FileError naming the file, as the header promises: a damaged table is
    // reported like an unreadable one, and never half used.
    const QByteArray bytes = filestore::readAll(path, TableFile);
    if (bytes.size() != TableKanji * StrokeOrderRecord::Size) {
        throw FileError(TableFile, QStringLiteral("%1 bytes, not the %2 records of %3 bytes")
                                       .arg(bytes.size()).arg(TableKanji).arg(StrokeOrderRecord::Size));
    }
    QHash<QString, std::vector<ReferenceStroke>> table;
    for (qsizetype at = 0; at < bytes.size(); at += StrokeOrderRecord::Size) {
        const auto record = StrokeOrderRecord::decode(QByteArrayView(bytes).sliced(at, StrokeOrderRecord::Size));
        const int number = int(at / StrokeOrderRecord::Size) + 1;
        if (record.StrokeCount < 1 || record.StrokeCount > StrokeOrderRecord::MaxStrokes) {
            throw FileError(TableFile, QStringLiteral("record %1: StrokeCount = %2 outside 1..%3")
                                           .arg(number).arg(record.StrokeCount).arg(StrokeOrderRecord::MaxStrokes));
        }
        const char glyph[2] = {char(record.GlyphLead), char(record.GlyphTrail)};
        const auto kanji = cp932::decode(QByteArrayView(glyph, 2));
        if (!kanji || kanji->size() != 1)
            throw FileError(TableFile, QStringLiteral("record %1 holds no kanji").arg(number));
        if (table.contains(*kanji))
            throw FileError(TableFile, QStringLiteral("record %1 repeats %2").arg(number).arg(*kanji));
        std::vector<ReferenceStroke> strokes;
        for (int i = 0; i < record.StrokeCount; ++i) {
            const auto& s = record.Strokes[std::size_t(i)];
            strokes.push_back({{s[0], s[1]}, {s[2], s[3]}});
        }
        table.insert(*kanji, std::move(strokes));
    }
    m_strokes = std::move(table);
}

const std::vector<ReferenceStroke>* StrokeOrderTable::strokesOf(const QString& kanji) const
{
    const auto it = m_strokes.constFind(kanji);
    return it == m_strokes.cend() ? nullptr : &it.value();
}

StrokeCheck checkStrokes(const Strokes& written, const std::vector<ReferenceStroke>& reference)
{
    const std::vector<Segment> segments = fitted(written, reference);
    const int have = int(segments.size());
    const int want = int(reference.size());
    if (have < want)
        return {StrokeCheck::Verdict::TooFew, 0, want - have};
    if (have > want)
        return {StrokeCheck::Verdict::TooMany, 0, have - want};
    for (int i = 0; i < want; ++i) {
        const Segment& w = segments[std::size_t(i)];
        const ReferenceStroke& r = reference[std::size_t(i)];
        const double own = cost(w, r);
        if (own <= Near)
            continue;
        double other = std::numeric_limits<double>::max();
        for (int j = 0; j < want; ++j) {
            if (j != i)
                other = std::min(other, cost(w, reference[std::size_t(j)]));
        }
        if (other <= Near && other < own * Clearly)
            return {StrokeCheck::Verdict::Order, i + 1, 0};
        const double length = distance(r.start.x, r.start.y, r.end.x, r.end.y);
        if (length >= ShortestDirected && reversedCost(w, r) < own * Clearly)
            return {StrokeCheck::Verdict::Direction, i + 1, 0};
    }
    return {};
}

QString strokeCheckMessage(const StrokeCheck& check)
{
    switch (check.verdict) {
    case StrokeCheck::Verdict::Right: return QStringLiteral("かきじゅんも　ばっちり！");
    case StrokeCheck::Verdict::TooFew:
        return QStringLiteral("かくすうが　%1　たりないよ").arg(strokesInKana(check.difference));
    case StrokeCheck::Verdict::TooMany:
        return QStringLiteral("かくすうが　%1　おおいよ").arg(strokesInKana(check.difference));
    case StrokeCheck::Verdict::Order:
        return QStringLiteral("%1かくめの　じゅんばんが　ちがうよ").arg(fullWidthNumber(check.stroke));
    case StrokeCheck::Verdict::Direction:
        return QStringLiteral("%1かくめの　むきが　ちがうよ").arg(fullWidthNumber(check.stroke));
    }
    return {};
}

} // namespace moji::handwriting
