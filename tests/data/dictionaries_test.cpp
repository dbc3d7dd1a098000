// Loading Bushu1.dat, Mojimaru1.dat and Mondai2.dat into the study state.

#include "clock.h"
#include "errors.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace moji;
using namespace testing_support;

namespace {

QByteArray kanji(int no, int strokes, int g1, int n1, int g2 = 0, int n2 = 0)
{
    // Glyph 88 ab (悪) for every test record; the loaders never look at which kanji it is.
    return Bytes().i16(no).u8(0x88).u8(0xab).i16(strokes).i16(g1).i16(n1).i16(g2).i16(n2);
}

// The dictionary must hold every kanji 1 to 440: those a test does not write itself, with 16
// to 20 strokes and no components, so that the lists the test looks at stay its own.
QByteArray otherKanji(int firstTaken = 0, int lastTaken = -1)
{
    Bytes b;
    for (int k = 1; k <= 440; ++k) {
        if (k < firstTaken || k > lastTaken)
            b.raw(kanji(k, 16 + k % 5, 0, 0));
    }
    return b;
}

QByteArray radical(int group, int number, int picture)
{
    return Bytes().i16(group).i16(0).i16(number).i16(picture);
}

class Dictionaries : public ::testing::Test {
protected:
    Dictionaries() : state(dir.path(), clock) {}
    void write(const char* name, const QByteArray& bytes) { writeFile(dir.filePath(QLatin1String(name)), bytes); }

    // The loader must refuse the file and name it in the report.
    template <typename Load>
    void expectRejected(Load load, const char* file)
    {
        try {
            load();
            ADD_FAILURE() << "accepted a bad " << file;
        } catch (const RangeError& e) {
            EXPECT_EQ(e.fileName(), QLatin1String(file));
        }
    }

    QTemporaryDir dir;
    ManualClock clock;
    StudyState state;
};

} // namespace

TEST_F(Dictionaries, KanjiListsFollowTheFileOrder)
{
    write("Mojimaru1.dat", Bytes()
                               .raw(kanji(241, 11, 4, 3))
                               .raw(kanji(242, 6, 3, 2, 8, 1))
                               .raw(kanji(243, 11, 4, 3, 4, 3)) // same part twice: listed twice
                               .raw(kanji(244, 6, 0, 49))       // group 0: number not looked at
                               .raw(kanji(245, 6, -3, 99))
                               .raw(kanji(241, 12, 1, 1))      // repeated KanjiNo: last values win
                               .raw(otherKanji(241, 245)));
    state.LoadKanji();
    EXPECT_EQ(state.KanjiTable[241].StrokeCount, 12);
    EXPECT_EQ(state.KanjiTable[241].Glyph.toUnicode(), QStringLiteral("悪"));
    EXPECT_EQ(state.KanjiTable[242].Component2Group, 8);
    EXPECT_EQ(state.KanjiTable[441].StrokeCount, 0) << "entries no record fills stay empty";

    EXPECT_EQ(state.KanjiByStrokes[11][1], 241);
    EXPECT_EQ(state.KanjiByStrokes[11][2], 243);
    EXPECT_EQ(state.KanjiByStrokes[11][3], 0);
    EXPECT_EQ(state.KanjiByStrokes[6][3], 245);
    EXPECT_EQ(state.KanjiByStrokes[12][1], 241);

    EXPECT_EQ(state.KanjiByComponent[4][3][1], 241);
    EXPECT_EQ(state.KanjiByComponent[4][3][2], 243);
    EXPECT_EQ(state.KanjiByComponent[4][3][3], 243);
    EXPECT_EQ(state.KanjiByComponent[4][3][4], 0);
    EXPECT_EQ(state.KanjiByComponent[8][1][1], 242);
    EXPECT_EQ(state.KanjiByComponent[1][1][1], 241);
}

TEST_F(Dictionaries, KanjiValuesOutsideTheirRangesAreRejected)
{
    const QByteArray bad[] = {
        kanji(0, 5, 1, 1),     kanji(1025, 5, 1, 1), kanji(241, 21, 1, 1), kanji(241, 0, 1, 1),
        kanji(241, 5, 11, 1),  kanji(241, 5, 1, 51), kanji(241, 5, 1, 0),  kanji(241, 5, 0, 0, 11, 1),
        kanji(241, 5, 0, 0, 2, 0),
        Bytes().i16(241).u8(0x41).u8(0x42).i16(5).i16(1).i16(1).i16(0).i16(0), // not a two-byte glyph
    };
    for (const QByteArray& b : bad) {
        write("Mojimaru1.dat", otherKanji() + b);
        expectRejected([&] { state.LoadKanji(); }, "Mojimaru1.dat");
    }
    EXPECT_EQ(state.KanjiTable[300].StrokeCount, 0) << "a rejected file installs nothing";
    for (const QByteArray& incomplete : {QByteArray(), otherKanji(300, 300), otherKanji(1, 1)}) {
        write("Mojimaru1.dat", incomplete);
        expectRejected([&] { state.LoadKanji(); }, "Mojimaru1.dat");
    }

    // 100 kanji with one stroke count fit; the 101st does not.
    Bytes strokes;
    for (int i = 1; i <= 100; ++i)
        strokes.raw(kanji(i, 7, 0, 0));
    strokes.raw(otherKanji(1, 100));
    write("Mojimaru1.dat", strokes);
    EXPECT_NO_THROW(state.LoadKanji());
    EXPECT_EQ(state.KanjiByStrokes[7][100], 100);
    write("Mojimaru1.dat", Bytes(strokes).raw(kanji(101, 7, 0, 0)));
    expectRejected([&] { state.LoadKanji(); }, "Mojimaru1.dat");

    // 50 kanji with one component fit; the 51st does not, as component 1 or component 2.
    Bytes parts;
    for (int i = 1; i <= 50; ++i)
        parts.raw(kanji(i, 1 + i % 20, 2, 9));
    parts.raw(otherKanji(1, 50));
    write("Mojimaru1.dat", parts);
    EXPECT_NO_THROW(state.LoadKanji());
    EXPECT_EQ(state.KanjiByComponent[2][9][50], 50);
    write("Mojimaru1.dat", Bytes(parts).raw(kanji(51, 3, 1, 1, 2, 9)));
    expectRejected([&] { state.LoadKanji(); }, "Mojimaru1.dat");
}

TEST_F(Dictionaries, RadicalPicturesInAnyOrder)
{
    EXPECT_FALSE(state.LoadRadicals()) << "missing Bushu1.dat is reported to the caller";

    write("Bushu1.dat", Bytes().raw(radical(2, 3, 9)).raw(radical(1, 1, 4)).raw(radical(10, 50, 1)).raw(radical(2, 3, 7)));
    ASSERT_TRUE(state.LoadRadicals());
    const auto first = state.RadicalPictures;
    EXPECT_EQ(state.RadicalPictures[2][3], 7) << "a later record replaces an earlier one";
    EXPECT_EQ(state.RadicalPictures[1][1], 4);
    EXPECT_EQ(state.RadicalPictures[10][50], 1);
    EXPECT_EQ(state.RadicalPictures[1][2], 0);

    write("Bushu1.dat", Bytes().raw(radical(10, 50, 1)).raw(radical(1, 1, 4)).raw(radical(2, 3, 9)).raw(radical(2, 3, 7)));
    ASSERT_TRUE(state.LoadRadicals());
    EXPECT_TRUE(state.RadicalPictures == first);

    for (const QByteArray& b : {radical(0, 1, 1), radical(11, 1, 1), radical(1, 0, 1), radical(1, 51, 1), radical(1, 1, -1)}) {
        write("Bushu1.dat", radical(1, 1, 1) + b);
        expectRejected([&] { state.LoadRadicals(); }, "Bushu1.dat");
    }
}

TEST_F(Dictionaries, QuestionIndexFillsFrom241)
{
    write("Mondai2.dat", QByteArray());
    state.LoadQuestionIndex();
    EXPECT_EQ(state.QuestionIndex[241].QuestionCount, 0);

    Bytes full;
    for (int i = 0; i < 200; ++i)
        full.i16(0).i16(1 + 7 * i).i16(7);
    write("Mondai2.dat", full);
    state.LoadQuestionIndex();
    EXPECT_EQ(state.QuestionIndex[241].FirstQuestion, 1);
    EXPECT_EQ(state.QuestionIndex[440].FirstQuestion, 1 + 7 * 199);
    EXPECT_EQ(state.QuestionIndex[441].QuestionCount, 0) << "slot 441 stays empty";

    write("Mondai2.dat", Bytes(full).i16(0).i16(2000).i16(1));
    EXPECT_NO_THROW(state.LoadQuestionIndex()) << "201 records fit the table";
    write("Mondai2.dat", Bytes(full).i16(0).i16(2000).i16(1).i16(0).i16(2001).i16(1));
    expectRejected([&] { state.LoadQuestionIndex(); }, "Mondai2.dat");

    for (const QByteArray& b : {Bytes().i16(0).i16(0).i16(3).data(), Bytes().i16(0).i16(1).i16(-1).data(),
                                Bytes().i16(0).i16(32767).i16(2).data()}) {
        write("Mondai2.dat", b);
        expectRejected([&] { state.LoadQuestionIndex(); }, "Mondai2.dat");
    }
}

TEST_F(Dictionaries, ReadErrorsNameTheFile)
{
    // Mojimaru1.dat and Mondai2.dat have no existence test: missing is a read error.
    try {
        state.LoadKanji();
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(fileErrorMessage(e.fileName()), QStringLiteral("Mojimaru1.datでエラーがおこりました。 "));
    }
    QDir(dir.path()).mkdir(QStringLiteral("Mondai2.dat"));
    try {
        state.LoadQuestionIndex();
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), QStringLiteral("Mondai2.dat"));
    }
}
