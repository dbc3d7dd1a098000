// Reading handwriting with Zinnia: stored writing is read as the right kanji, among the kanji of
// grades 1 to 3 only; input with nothing to read, and a missing or damaged model, give no
// candidates and no crash; a stroke of thousands of points is cut down before it is read.

#include "errors.h"
#include "factkanji.h"
#include "recognizer.h"
#include "strokestext.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace moji;
using namespace moji::handwriting;

namespace {

const QString WritingDir = QStringLiteral(MOJIMARU_WRITING_DIR);

QSet<QString> schoolKanji()
{
    const QStringList kanji = kanjiOfFacts(QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv"));
    return QSet<QString>(kanji.begin(), kanji.end());
}

Strokes stored(const char* file)
{
    QString error;
    const auto strokes = parseStrokes(QString::fromUtf8(testing_support::readFile(WritingDir + QLatin1Char('/') + QLatin1String(file))), error);
    EXPECT_TRUE(strokes) << file << ": " << error.toStdString();
    return strokes.value_or(Strokes{});
}

QStringList kanjiOf(const std::vector<Candidate>& candidates)
{
    QStringList out;
    for (const Candidate& c : candidates)
        out << c.kanji;
    return out;
}

} // namespace

TEST(Recognizer, ReadsStoredWritingAmongTheSchoolKanjiOnly)
{
    const QSet<QString> allowed = schoolKanji();
    ASSERT_EQ(allowed.size(), 440);
    const auto recognizer = createZinniaRecognizer(defaultModelPath(), allowed);
    // Drawn by hand (bent strokes, the look-alikes 田, 申 and 由) and written by our synthetic
    // hand from Kakijun.dat (recognize --write).
    const struct {
        const char* file;
        QString kanji;
    } samples[] = {
        {"kuchi.txt", QStringLiteral("口")}, {"ta.txt", QStringLiteral("田")},     {"saru.txt", QStringLiteral("申")},
        {"yoshi.txt", QStringLiteral("由")}, {"eki.txt", QStringLiteral("駅")},    {"dai.txt", QStringLiteral("題")},
    };
    for (const auto& sample : samples) {
        const std::vector<Candidate> candidates = recognizer->recognize(stored(sample.file), 5);
        const QStringList read = kanjiOf(candidates);
        EXPECT_TRUE(read.contains(sample.kanji)) << sample.file << " read as " << read.join(u' ').toStdString();
        EXPECT_LE(candidates.size(), 5u);
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            EXPECT_TRUE(allowed.contains(candidates[i].kanji)) << candidates[i].kanji.toStdString() << " is not taught in grades 1 to 3";
            if (i > 0) {
                EXPECT_GE(candidates[i - 1].score, candidates[i].score) << "candidates come best first";
            }
        }
    }
    EXPECT_TRUE(recognizer->error().isEmpty());
    EXPECT_EQ(kanjiOf(recognizer->recognize(stored("ta.txt"), 1)), QStringList{QStringLiteral("田")});
}

TEST(Recognizer, NothingToReadGivesNoCandidatesAndNoCrash)
{
    const auto recognizer = createZinniaRecognizer(defaultModelPath(), schoolKanji());
    const Stroke line{{40, 128}, {215, 128}};
    EXPECT_TRUE(recognizer->recognize({}, 8).empty()) << "no strokes";
    EXPECT_TRUE(recognizer->recognize({{}, {}}, 8).empty()) << "strokes without points";
    EXPECT_TRUE(recognizer->recognize({{{128, 128}}, {{128, 128}, {128, 128}}}, 8).empty()) << "taps on one spot";
    EXPECT_TRUE(recognizer->recognize({line}, 0).empty()) << "no candidates asked for";
    EXPECT_FALSE(recognizer->recognize({line}, 8).empty()) << "a real stroke is read";
    EXPECT_TRUE(recognizer->error().isEmpty());

    // Out of the writing square: kept on its edge, not read out of bounds.
    EXPECT_FALSE(recognizer->recognize({{{-500, 128}, {9000, 128}}}, 8).empty());

    // A missing model, and a model cut short, are reported by name.
    QTemporaryDir dir;
    const QString cut = dir.filePath(QStringLiteral("cut.model"));
    QFile model(defaultModelPath());
    ASSERT_TRUE(model.open(QIODevice::ReadOnly));
    testing_support::writeFile(cut, model.read(100000));
    for (const QString& path : {QStringLiteral("/nonexistent/handwriting-ja.model"), cut}) {
        const auto broken = createZinniaRecognizer(path, schoolKanji());
        EXPECT_TRUE(broken->recognize({line}, 8).empty());
        EXPECT_TRUE(broken->error().startsWith(path)) << broken->error().toStdString();
    }
}

TEST(Recognizer, AZigZagOfThousandsOfPointsIsResampledAndRead)
{
    // A scribble back and forth across the square, 6000 points in one stroke.
    Stroke zigzag;
    for (int i = 0; i < 6000; ++i)
        zigzag.push_back({20 + (i % 200 < 100 ? i % 100 : 99 - i % 100) * 2, 20 + i / 28});
    const Stroke cut = resampled(zigzag);
    EXPECT_EQ(cut.size(), 16u);
    EXPECT_EQ(cut.front(), zigzag.front());
    EXPECT_EQ(cut.back(), zigzag.back());
    const auto recognizer = createZinniaRecognizer(defaultModelPath(), schoolKanji());
    EXPECT_FALSE(recognizer->recognize({zigzag, {{40, 30}, {220, 30}}}, 8).empty());
}

TEST(StrokesText, ReadsWhatItWritesAndNamesTheBadLine)
{
    const Strokes strokes{{{0, 0}, {255, 255}}, {{10, 20}}};
    QString error;
    EXPECT_EQ(parseStrokes(QStringLiteral("# two strokes\n\n") + strokesToText(strokes), error), strokes);
    const struct {
        const char* text;
        const char* says;
    } bad[] = {
        {"1,2 3,4\n5,6 7\n", "line 2: \"7\" is not a point"},
        {"1,2 3,4,5\n", "line 1: \"3,4,5\" is not a point"},
        {"# nothing\n1,2 256,3\n", "line 2: 256,3 lies outside the 0..255 square"},
        {"1,2 -1,3\n", "line 1: -1,3 lies outside"},
        {"\n# only a comment\n", "no strokes"},
    };
    for (const auto& b : bad) {
        error.clear();
        EXPECT_FALSE(parseStrokes(QString::fromUtf8(b.text), error)) << b.text;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(b.says))) << error.toStdString();
    }
}
