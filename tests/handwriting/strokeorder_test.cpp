// The stroke order and direction check on the Kakijun.dat the build wrote: writing in the right
// order passes, and a swap, a reversed stroke, a missing or an extra stroke are each told to the
// child in kana. A damaged Kakijun.dat is refused by name and leaves the table as it was.

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

QStringList kanjiOfGrade(int grade)
{
    return kanjiOfFacts(QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv"), grade);
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
    void SetUp() override { table.load(TablePath); }

    const std::vector<ReferenceStroke>& strokesOf(const QString& kanji)
    {
        const auto* strokes = table.strokesOf(kanji);
        EXPECT_NE(strokes, nullptr) << kanji.toStdString();
        static const std::vector<ReferenceStroke> none;
        return strokes ? *strokes : none;
    }

    StrokeOrderTable table;
    RandomSource hand{7};
};

} // namespace

TEST_F(StrokeOrder, EveryKanjiWrittenInOrderPasses)
{
    for (int grade = 1; grade <= 3; ++grade) {
        for (const QString& kanji : kanjiOfGrade(grade)) {
            const auto& reference = strokesOf(kanji);
            const StrokeCheck check = checkStrokes(handwritten(reference, hand), reference);
            EXPECT_EQ(check.verdict, StrokeCheck::Verdict::Right) << kanji.toStdString() << " faulted at stroke " << check.stroke;
        }
    }
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
    EXPECT_EQ(strokeCheckMessage(checkStrokes(missing, reference)), QStringLiteral("かくすうが　ひとつ　たりないよ"));
    Strokes extra = right;
    extra.push_back(right[0]);
    extra.push_back(right[1]);
    EXPECT_EQ(strokeCheckMessage(checkStrokes(extra, reference)), QStringLiteral("かくすうが　ふたつ　おおいよ"));

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

TEST_F(StrokeOrder, ADamagedTableIsRefusedByNameAndTheOldOneKept)
{
    // A record: the kanji's two CP932 bytes, its stroke count (16 bits, little-endian), then
    // 20 strokes of four bytes.
    constexpr int Record = 84;
    const QByteArray good = testing_support::readFile(TablePath);
    ASSERT_EQ(good.size(), 440 * Record);
    const QByteArray first = good.left(Record);
    auto withFirst = [&](int at, const QByteArray& bytes) { return QByteArray(good).replace(at, bytes.size(), bytes); };
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
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kakijun.dat"));
    const auto before = strokesOf(QStringLiteral("申"));
    for (const auto& d : damaged) {
        testing_support::writeFile(path, d.bytes);
        try {
            table.load(path);
            ADD_FAILURE() << "accepted a table with " << d.damage;
        } catch (const FileError& e) {
            EXPECT_EQ(e.fileName(), QStringLiteral("Kakijun.dat")) << d.damage;
        }
    }
    EXPECT_THROW(table.load(dir.filePath(QStringLiteral("none.dat"))), FileError);
    ASSERT_NE(table.strokesOf(QStringLiteral("申")), nullptr) << "a refused table leaves the loaded one";
    EXPECT_EQ(table.strokesOf(QStringLiteral("申"))->size(), before.size());
}
