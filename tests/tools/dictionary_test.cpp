// The kanji dictionary and component pictures built from content/kanji, read back through
// the program's loaders, and the compiler's refusal of data that breaks the panels' limits.

#include "clock.h"
#include "dictionarysource.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <set>

using namespace moji;
using namespace moji::content;

namespace {

const QString ProgramDir = QStringLiteral(MOJIMARU_PROGRAM_DIR);
const QString ContentDir = QStringLiteral(MOJIMARU_CONTENT_DIR);

std::vector<KanjiFact> facts()
{
    Problems problems;
    return readKanjiFacts(ContentDir + QStringLiteral("/kanji/kanji-facts.tsv"), problems);
}

class BuiltDictionary : public ::testing::Test {
protected:
    BuiltDictionary() : state(ProgramDir, clock)
    {
        EXPECT_TRUE(state.LoadRadicals());
        state.LoadKanji();
    }
    ManualClock clock;
    StudyState state;
};

bool isBlank(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 100)
                return false;
        }
    }
    return true;
}

} // namespace

TEST_F(BuiltDictionary, HoldsTheFourHundredFortyKanjiWithTheirStrokeCounts)
{
    EXPECT_EQ(QFileInfo(state.dataPath(QStringLiteral("Mojimaru1.dat"))).size(), 440 * KanjiRecord::Size);
    for (const KanjiFact& f : facts()) {
        const KanjiEntry& e = state.KanjiTable[f.kanjiNo];
        EXPECT_EQ(e.Glyph.toUnicode(), f.kanji);
        EXPECT_EQ(e.StrokeCount, f.strokes) << qPrintable(f.kanji);
    }
    EXPECT_EQ(state.KanjiTable[441].StrokeCount, 0);
}

// Walks the tables the way the writing panel does: a group button lists parts until the first
// 0 (at most 40 buttons), a part lists kanji until the first 0, a stroke count shows its first
// 80 kanji.
TEST_F(BuiltDictionary, EveryGradeThreeKanjiIsReachableByStrokesAndByItsRadical)
{
    std::set<int> byStrokes, byPart1;
    for (int s = 1; s <= 20; ++s) {
        for (int i = 1; i <= 80 && state.KanjiByStrokes[s][i] != 0; ++i)
            byStrokes.insert(state.KanjiByStrokes[s][i]);
    }
    for (int g = 1; g <= 8; ++g) {
        for (int slot = 1; slot <= 40 && state.RadicalPictures[g][slot] != 0; ++slot) {
            for (int i = 1; i <= 50 && state.KanjiByComponent[g][slot][i] != 0; ++i) {
                const int k = state.KanjiByComponent[g][slot][i];
                if (state.KanjiTable[k].Component1Group == g && state.KanjiTable[k].Component1No == slot)
                    byPart1.insert(k);
            }
        }
    }
    for (int k = FirstKanjiNo; k <= 440; ++k) {
        EXPECT_TRUE(byStrokes.count(k)) << "not reachable by strokes: " << qPrintable(state.KanjiTable[k].Glyph.toUnicode());
        EXPECT_TRUE(byPart1.count(k)) << "not reachable by its radical: " << qPrintable(state.KanjiTable[k].Glyph.toUnicode());
    }
    for (int g = 9; g <= 10; ++g)
        EXPECT_EQ(state.RadicalPictures[g][1], 0) << "the panel has eight group buttons";
}

TEST_F(BuiltDictionary, EveryPartHasANonBlankPictureInsideTheStrip)
{
    const QImage strip(state.dataPath(QStringLiteral("BuhinX.bmp")));
    ASSERT_FALSE(strip.isNull());
    ASSERT_EQ(strip.height(), 48);
    std::set<int> pictures;
    for (int g = 1; g <= 10; ++g) {
        int slot = 1;
        for (; slot <= 50 && state.RadicalPictures[g][slot] != 0; ++slot) {
            const int p = state.RadicalPictures[g][slot];
            ASSERT_LE(p * 48, strip.width()) << "group " << g << " part " << slot;
            EXPECT_TRUE(pictures.insert(p).second) << "two parts share picture " << p;
            EXPECT_FALSE(isBlank(strip.copy((p - 1) * 48, 0, 48, 48))) << "blank picture " << p;
            EXPECT_NE(state.KanjiByComponent[g][slot][1], 0) << "part without kanji: group " << g << " part " << slot;
        }
        EXPECT_LE(slot - 1, 40) << "group " << g << " has more parts than the panel shows";
        for (; slot <= 50; ++slot)
            EXPECT_EQ(state.RadicalPictures[g][slot], 0) << "a gap in group " << g;
    }
    for (int g = 1; g <= 8; ++g) {
        const QImage button(state.dataPath(QStringLiteral("bushu%1.bmp").arg(g)));
        ASSERT_FALSE(button.isNull()) << g;
        EXPECT_LE(button.height(), 48);
        EXPECT_FALSE(isBlank(button)) << g;
    }
}

TEST(DictionarySource, TheCompilerRefusesDataBeyondThePanelsLimits)
{
    QTemporaryDir dir;
    QFile::copy(ContentDir + QStringLiteral("/kanji/kanji-facts.tsv"), dir.filePath(QStringLiteral("kanji-facts.tsv")));
    const auto all = facts();

    // 41 parts in へん, each used once by a grade-3 kanji; つくり:口 used by 51 kanji.
    QByteArray parts = "group\tpart\tname\trender\tbox\n";
    const QString someKanji = QStringLiteral("一二三四五六七八九十百千上下左右中大小月日年早木林山川土空田天生花草虫犬人名女男子目耳手足見音力気円入出立休先夕本文字学校村町森正水火玉王石竹糸貝車金雨赤青白");
    for (int i = 0; i < 41; ++i)
        parts += QStringLiteral("へん\t%1\tなまえ\t\tL\n").arg(someKanji[i]).toUtf8();
    parts += "つくり\t口\tくち\t\tR\n";
    parts += "その他\t皿\tさら\t\tF\n"; // used by nobody
    testing_support::writeFile(dir.filePath(QStringLiteral("parts.tsv")), parts);

    QByteArray choices = "kanji\tpart1\tpart2\n";
    for (const KanjiFact& f : all) {
        QString line = f.kanji;
        if (f.kanjiNo == 241)
            line += QStringLiteral("\tへん:鬱"); // unknown part
        else if (f.kanjiNo == 242)
            line += QStringLiteral("\tつくり:口\tつくり:口"); // the same part twice
        else if (f.kanjiNo == 243)
            line += QStringLiteral("\t"); // grade 3 without a radical
        else if (f.kanjiNo >= 244 && f.kanjiNo < 244 + 41)
            line += QStringLiteral("\tへん:%1\tつくり:口").arg(someKanji[f.kanjiNo - 244]);
        else if (f.kanjiNo >= 300 && f.kanjiNo < 310)
            line += QStringLiteral("\tつくり:口");
        else
            line += QStringLiteral("\tへん:一");
        choices += line.toUtf8() + '\n';
    }
    testing_support::writeFile(dir.filePath(QStringLiteral("components.tsv")), choices);

    DictionarySource source;
    Problems problems;
    source.load(dir.path(), problems);
    const QString text = problems.list().join(QLatin1Char('\n'));
    EXPECT_TRUE(text.contains(QStringLiteral("more than 40 parts in group へん"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("unknown part へん:鬱"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("part1 and part2 are the same part"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("components.tsv:244: a grade-3 kanji needs part1"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("つくり:口: 53 kanji, at most 50"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("その他:皿: no kanji uses this part"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("へん:一: 387 kanji"))) << qPrintable(text);
}

TEST(DictionarySource, ThisGradesKanjiLeadEveryList)
{
    DictionarySource source;
    Problems problems;
    source.load(ContentDir + QStringLiteral("/kanji"), problems);
    ASSERT_TRUE(problems.empty()) << qPrintable(problems.list().join(QLatin1Char('\n')));
    const auto records = source.kanjiRecords();
    ASSERT_EQ(records.size(), 440u);
    for (std::size_t i = 0; i < 200; ++i)
        EXPECT_EQ(records[i].KanjiNo, int(FirstKanjiNo + i));
    EXPECT_EQ(records[200].KanjiNo, 1);
}
