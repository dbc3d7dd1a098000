// Kakijun.dat as built from python3-kanjidraw's stroke data: one record for each kanji of the
// facts, in KanjiNo order, with KanjiVG's stroke count; and the compiler's refusal, by kanji, of
// stroke data that is missing, too long, miscounted or off the square.

#include "filestore.h"
#include "kanjifacts.h"
#include "strokesource.h"
#include "testfiles.h"
#include "textcodec.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace moji;
using namespace moji::content;

namespace {

std::vector<KanjiFact> allFacts()
{
    Problems problems;
    return readKanjiFacts(QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv"), problems);
}

} // namespace

TEST(StrokeOrderFile, HoldsEveryKanjiInKanjiNoOrderWithItsStrokes)
{
    const auto facts = allFacts();
    const auto records = filestore::readRecords<StrokeOrderRecord>(QStringLiteral(MOJIMARU_PROGRAM_DIR "/Kakijun.dat"),
                                                                   QStringLiteral("Kakijun.dat"));
    ASSERT_EQ(facts.size(), 440u);
    ASSERT_EQ(records.size(), facts.size());
    for (std::size_t i = 0; i < facts.size(); ++i) {
        const StrokeOrderRecord& r = records[i];
        const char glyph[2] = {char(r.GlyphLead), char(r.GlyphTrail)};
        EXPECT_EQ(cp932::decode(QByteArrayView(glyph, 2)), facts[i].kanji) << "record " << i + 1;
        EXPECT_EQ(r.StrokeCount, facts[i].strokesKanjivg) << facts[i].kanji.toStdString();
        for (int s = 0; s < StrokeOrderRecord::MaxStrokes; ++s) {
            const auto& xy = r.Strokes[std::size_t(s)];
            const bool blank = xy == std::array<uint8_t, 4>{};
            EXPECT_EQ(blank, s >= r.StrokeCount) << facts[i].kanji.toStdString() << " stroke " << s + 1;
        }
    }
}

TEST(StrokeOrderFile, TheCompilerRefusesMissingLongMiscountedAndStrayStrokes)
{
    auto fact = [](const char* kanji, int strokes) {
        KanjiFact f;
        f.kanji = QString::fromUtf8(kanji);
        f.strokes = f.strokesKanjivg = strokes;
        return f;
    };
    const std::vector<KanjiFact> facts{fact("一", 1), fact("二", 2), fact("右", 5), fact("川", 3), fact("山", 4), fact("木", 4)};
    QByteArray twentyOne = "[";
    for (int i = 0; i < 21; ++i)
        twentyOne += QByteArray(i ? "," : "") + "[10,10,200,200]";
    twentyOne += "]";
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("data.json"));
    testing_support::writeFile(json, "{\"1\": {\"一\": [[25,126,226,116]]},"
                                     " \"2\": {\"二\": [[60,80,190,80], [30,180,220,180]]},"
                                     " \"21\": {\"川\": " + twentyOne + "},"
                                     " \"3\": {\"山\": [[1,2,3,4], [5,6,7,8], [9,10,11,12]]},"
                                     " \"4\": {\"木\": [[1,2,3,4], [5,6,7,8], [9,10,11,256], [1,2,3,4]]}}");
    Problems problems;
    const auto records = strokeOrderRecords(json, facts, problems);
    const QString text = problems.list().join(QLatin1Char('\n'));
    EXPECT_TRUE(text.contains(QStringLiteral("右: no stroke data"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("川: 21 strokes, a record holds 20"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("山: 3 strokes in the stroke data, 4 in strokes_kanjivg"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("木: stroke 3 is not four whole numbers in 0..255"))) << qPrintable(text);
    EXPECT_EQ(problems.list().size(), 4);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].StrokeCount, 2);
    EXPECT_EQ(records[1].Strokes[1], (std::array<uint8_t, 4>{30, 180, 220, 180}));

    testing_support::writeFile(json, "{\"1\": [1, 2]}");
    try {
        strokeOrderRecords(json, facts, problems);
        ADD_FAILURE() << "read stroke data that is not keyed by kanji";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), QStringLiteral("data.json"));
    }
}
