// The stroke check on the Kakijun.dat the build wrote: writing in the right order passes however
// loose its proportions and wherever it lies on the square, and a swap, a reversed stroke, a
// missing or an extra stroke are each told to the child in kana, naming the right stroke.
// A damaged Kakijun.dat, or one that does not match the kanji dictionary, is refused by name
// and leaves the table as it was.

#include "errors.h"
#include "factkanji.h"
#include "randomsource.h"
#include "strokeorder.h"
#include "synthetic.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

using namespace moji;
using namespace moji::handwriting;

namespace {

const QString TablePath = QStringLiteral(MOJIMARU_PROGRAM_DIR "/Kakijun.dat");

const QString FactsPath = QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv");

QStringList kanjiOfGrade(int grade)
{
    return kanjiOfFacts(FactsPath, grade);
}

double length(const ReferenceStroke& r)
{
    return std::hypot(r.end.x - r.start.x, r.end.y - r.start.y);
}

// How far apart two reference strokes lie: their starts and their ends.
double apart(const ReferenceStroke& a, const ReferenceStroke& b)
{
    return std::hypot(a.start.x - b.start.x, a.start.y - b.start.y) + std::hypot(a.end.x - b.end.x, a.end.y - b.end.y);
}

class StrokeOrder : public ::testing::Test {
protected:
    void SetUp() override { table.load(TablePath, dictionary); }

    const std::vector<ReferenceStroke>& strokesOf(const QString& kanji)
    {
        const auto* strokes = table.strokesOf(kanji);
        EXPECT_NE(strokes, nullptr) << kanji.toStdString();
        static const std::vector<ReferenceStroke> none;
        return strokes ? *strokes : none;
    }

    const std::vector<DictionaryKanji> dictionary = dictionaryOfFacts(FactsPath);
    StrokeOrderTable table;
    RandomSource hand{7};
};

} // namespace

// Right writing is praised with a steady hand and with a loose one (each stroke's ends up to
// 12 % of the square out), across the square or small in a corner.
TEST_F(StrokeOrder, EveryKanjiWrittenInOrderPassesHoweverLooseAndWherever)
{
    int n = 0;
    for (int grade = 1; grade <= 3; ++grade) {
        for (const QString& kanji : kanjiOfGrade(grade)) {
            const auto& reference = strokesOf(kanji);
            const Strokes steady = handwritten(reference, hand);
            const Strokes loose = handwritten(reference, hand, LooseEnds);
            const double corner = (n++ % 2) * 150;
            for (const Strokes& written : {steady, loose, placed(loose, 0.4, corner, 150 - corner)}) {
                const StrokeCheck check = checkStrokes(written, reference);
                EXPECT_EQ(check.verdict, StrokeCheck::Verdict::Right)
                    << kanji.toStdString() << ": " << strokeCheckMessage(check).toStdString();
            }
        }
    }

    // 鉄 with a narrow 金 whose fourth stroke lies just under the third, in the right order.
    const auto& reference = strokesOf(QStringLiteral("鉄"));
    Strokes tight = handwritten(reference, hand);
    for (std::size_t i = 0; i < 8; ++i) {
        for (Point& p : tight[i])
            p.x = 55 + (p.x - 55) * 6 / 10;
    }
    const int third = (tight[2].front().y + tight[2].back().y) / 2;
    const int fourth = (tight[3].front().y + tight[3].back().y) / 2;
    for (Point& p : tight[3])
        p.y += third + 7 - fourth;
    EXPECT_EQ(strokeCheckMessage(checkStrokes(tight, reference)), QStringLiteral("かきじゅんも　ばっちり！"));
}

TEST_F(StrokeOrder, SwapsReversalsAndMissingStrokesAreToldInKana)
{
    // 申: left side, top and right side, the two bars inside, the long stroke through the middle.
    const auto& reference = strokesOf(QStringLiteral("申"));
    ASSERT_EQ(reference.size(), 5u);
    const Strokes right = handwritten(reference, hand);
    EXPECT_EQ(strokeCheckMessage(checkStrokes(right, reference)), QStringLiteral("かきじゅんも　ばっちり！"));

    Strokes swapped = right;
    std::swap(swapped[1], swapped[2]);
    const StrokeCheck order = checkStrokes(swapped, reference);
    EXPECT_EQ(order.verdict, StrokeCheck::Verdict::Order);
    EXPECT_EQ(strokeCheckMessage(order), QStringLiteral("２かくめの　じゅんばんが　ちがうよ"));

    Strokes reversed = right;
    std::reverse(reversed[4].begin(), reversed[4].end());
    const StrokeCheck direction = checkStrokes(reversed, reference);
    EXPECT_EQ(direction.verdict, StrokeCheck::Verdict::Direction);
    EXPECT_EQ(strokeCheckMessage(direction), QStringLiteral("５かくめの　むきが　ちがうよ"));

    Strokes missing = right;
    missing.erase(missing.begin() + 3);
    const StrokeCheck gap = checkStrokes(missing, reference);
    EXPECT_EQ(strokeCheckMessage(gap), QStringLiteral("４かくめが　ないよ"));
    ASSERT_TRUE(gap.missingAt);
    EXPECT_LT(std::hypot(gap.missingAt->start.x - reference[3].start.x, gap.missingAt->start.y - reference[3].start.y), 12)
        << "shown where it belongs";
    Strokes extra = right;
    extra.insert(extra.begin() + 2, Stroke{{200, 230}, {240, 240}});
    const StrokeCheck more = checkStrokes(extra, reference);
    EXPECT_EQ(more.verdict, StrokeCheck::Verdict::Extra);
    EXPECT_EQ(more.stroke, 3);
    EXPECT_EQ(strokeCheckMessage(more), QStringLiteral("オレンジの　せんは　いらないよ"));
    extra.push_back(right[1]);
    EXPECT_EQ(strokeCheckMessage(checkStrokes(extra, reference)), QStringLiteral("かくすうが　ふたつ　おおいよ"))
        << "too far from the kanji to say which";
    EXPECT_EQ(strokeCheckMessage(checkStrokes({right[0], right[4]}, reference)), QStringLiteral("かくすうが　みっつ　たりないよ"));

    // Over the whole grade: the first stroke swapped with the one furthest from it is an order
    // fault at stroke 1; the longest stroke written backwards is a direction fault there.
    for (const QString& kanji : kanjiOfGrade(3)) {
        const auto& ref = strokesOf(kanji);
        const Strokes written = handwritten(ref, hand);
        const auto far = std::max_element(ref.begin(), ref.end(), [&](const auto& a, const auto& b) { return apart(ref[0], a) < apart(ref[0], b); });
        Strokes s = written;
        std::swap(s[0], s[std::size_t(far - ref.begin())]);
        const StrokeCheck swap = checkStrokes(s, ref);
        EXPECT_EQ(swap.verdict, StrokeCheck::Verdict::Order) << kanji.toStdString();
        EXPECT_EQ(swap.stroke, 1) << kanji.toStdString();

        const auto longest = std::max_element(ref.begin(), ref.end(), [](const auto& a, const auto& b) { return length(a) < length(b); });
        const std::size_t at = std::size_t(longest - ref.begin());
        Strokes back = written;
        std::reverse(back[at].begin(), back[at].end());
        const StrokeCheck reversal = checkStrokes(back, ref);
        EXPECT_EQ(reversal.verdict, StrokeCheck::Verdict::Direction) << kanji.toStdString();
        EXPECT_EQ(reversal.stroke, int(at) + 1) << kanji.toStdString();
    }
}

// Over the whole grade, written small in a corner as a child might: each stroke left out in
// turn is named and shown where it belongs on the writing; each two consecutive strokes
// swapped, and each stroke with a direction written backwards, are named.
TEST_F(StrokeOrder, OverTheGradeTheStrokeThatDiffersIsNamed)
{
    int missing = 0, missingNamed = 0, swaps = 0, swapsNamed = 0, reversals = 0, reversalsNamed = 0;
    int n = 0;
    for (const QString& kanji : kanjiOfGrade(3)) {
        const auto& ref = strokesOf(kanji);
        const Strokes written = handwritten(ref, hand);
        const double left = (n % 2) * 150, top = (n / 2 % 2) * 150;
        ++n;
        for (std::size_t s = 0; s < ref.size(); ++s) {
            Strokes fewer = written;
            fewer.erase(fewer.begin() + std::ptrdiff_t(s));
            const StrokeCheck check = checkStrokes(placed(fewer, 0.4, left, top), ref);
            ++missing;
            if (check.verdict != StrokeCheck::Verdict::Missing || check.stroke != int(s) + 1)
                continue;
            ++missingNamed;
            EXPECT_LT(std::hypot(check.missingAt->start.x - (left + ref[s].start.x * 0.4), check.missingAt->start.y - (top + ref[s].start.y * 0.4)), 12)
                << kanji.toStdString() << " stroke " << s + 1 << " is shown away from where it belongs";
        }
        for (std::size_t s = 0; s + 1 < ref.size(); ++s) {
            Strokes turned = written;
            std::swap(turned[s], turned[s + 1]);
            const StrokeCheck check = checkStrokes(turned, ref);
            ++swaps;
            swapsNamed += check.verdict == StrokeCheck::Verdict::Order && check.stroke == int(s) + 1;
        }
        for (std::size_t s = 0; s < ref.size(); ++s) {
            if (length(ref[s]) < 26) // a dot has no way to be told
                continue;
            Strokes back = written;
            std::reverse(back[s].begin(), back[s].end());
            const StrokeCheck check = checkStrokes(back, ref);
            ++reversals;
            reversalsNamed += check.verdict == StrokeCheck::Verdict::Direction && check.stroke == int(s) + 1;
        }
    }
    EXPECT_GE(missingNamed, missing * 9 / 10) << missingNamed << " of " << missing;
    EXPECT_GE(swapsNamed, swaps * 95 / 100) << swapsNamed << " of " << swaps;
    EXPECT_GE(reversalsNamed, reversals * 95 / 100) << reversalsNamed << " of " << reversals;
}

TEST_F(StrokeOrder, ADamagedTableIsRefusedByNameAndTheOldOneKept)
{
    // A record: the kanji's two CP932 bytes, its stroke count (16 bits, little-endian), then
    // 20 strokes of four bytes.
    constexpr int Record = 84;
    const QByteArray good = testing_support::readFile(TablePath);
    ASSERT_EQ(good.size(), 440 * Record);
    const QByteArray first = good.left(Record);
    auto withFirst = [&](int at, const QByteArray& bytes) { return QByteArray(good).replace(at, bytes.size(), bytes); };
    // Well formed, but not the dictionary's: 一 with twenty strokes, its first two kanji
    // exchanged, every coordinate at 255 (which would make any writing right).
    QByteArray twenty = withFirst(2, testing_support::hex("14 00"));
    for (int i = 1; i < 20; ++i)
        twenty.replace(4 + 4 * i, 4, testing_support::hex("10 20 30 40"));
    const QByteArray exchanged = good.mid(Record, Record) + first + good.mid(2 * Record);
    QByteArray allAlike = good;
    for (qsizetype at = 0; at < allAlike.size(); at += Record)
        allAlike.replace(at + 4, Record - 4, QByteArray(Record - 4, '\xff'));
    const struct {
        const char* damage;
        QByteArray bytes;
    } damaged[] = {
        {"nothing in it", QByteArray()},
        {"a record short", good.chopped(Record)},
        {"a torn record", good + first.left(10)},
        {"no strokes", withFirst(2, testing_support::hex("00 00"))},
        {"21 strokes", withFirst(2, testing_support::hex("15 00"))},
        {"a negative count", withFirst(2, testing_support::hex("ff ff"))},
        {"no kanji", withFirst(0, "AB")},
        {"a kanji twice", good.chopped(Record) + first},
        {"a stroke count the dictionary does not give", twenty},
        {"kanji out of the dictionary's order", exchanged},
        {"every coordinate alike", allAlike},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kakijun.dat"));
    const auto before = strokesOf(QStringLiteral("申"));
    for (const auto& d : damaged) {
        testing_support::writeFile(path, d.bytes);
        try {
            table.load(path, dictionary);
            ADD_FAILURE() << "accepted a table with " << d.damage;
        } catch (const FileError& e) {
            EXPECT_EQ(e.fileName(), QStringLiteral("Kakijun.dat")) << d.damage;
        }
    }
    EXPECT_THROW(table.load(dir.filePath(QStringLiteral("none.dat")), dictionary), FileError);
    ASSERT_NE(table.strokesOf(QStringLiteral("申")), nullptr) << "a refused table leaves the loaded one";
    EXPECT_EQ(table.strokesOf(QStringLiteral("申"))->size(), before.size());
}
