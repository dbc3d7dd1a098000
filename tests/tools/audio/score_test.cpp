// The score notation: what a small score compiles to, byte for byte, and the mistakes the
// compiler refuses with a message that says where and what.

#include "midiwriter.h"
#include "score.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace moji::audio;
using moji::content::Problems;
using testing_support::hex;

namespace {

struct Compiled {
    Score score;
    QStringList problems;
};

Compiled compile(const QByteArray& text)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tiny.txt"));
    testing_support::writeFile(path, text);
    Problems problems;
    Compiled c{readScore(path, problems), {}};
    c.problems = problems.list();
    return c;
}

} // namespace

TEST(Score, ASmallScoreCompilesToTheExpectedMidiBytes)
{
    const Compiled c = compile("# two bars of 2/4\n"
                               "title Tiny\n"
                               "tempo 120\n"
                               "time 2/4\n"
                               "part tune flute volume 90 pan 30 reverb 20 velocity 80\n"
                               "part beat drums\n"
                               "tune: | C5/8 E5 G5/4~ | G5/8 r C5+E5/4! |   # lengths carry over\n"
                               "beat x2: | kick/4 hat/4? |\n");
    ASSERT_TRUE(c.problems.isEmpty()) << qPrintable(c.problems.join(QLatin1Char('\n')));
    EXPECT_EQ(c.score.bars(), 2);
    EXPECT_DOUBLE_EQ(c.score.seconds(), 2.0);

    const QByteArray expected = hex(
        "4d 54 68 64 00 00 00 06 00 01 00 03 01 e0"
        // conductor: title, 2/4, 120 beats a minute, end at tick 1920
        " 4d 54 72 6b 00 00 00 1c"
        " 00 ff 03 04 54 69 6e 79  00 ff 58 04 02 02 18 08  00 ff 51 03 07 a1 20  8f 00 ff 2f 00"
        // tune on channel 1: flute, volume 90, pan 30, reverb 20
        " 4d 54 72 6b 00 00 00 3d"
        " 00 ff 03 04 74 75 6e 65  00 c0 49  00 b0 07 5a  00 0a 1e  00 5b 14"
        " 00 90 48 50  81 70 48 00  00 4c 50"  // C5, then E5 at 240 under running status
        " 81 70 4c 00  00 4f 50  85 50 4f 00"  // G5 from 480, tied over the bar line to 1200
        " 81 70 48 64  00 4c 64"               // accented chord at 1440
        " 83 60 48 00  00 4c 00  00 ff 2f 00"
        // beat on channel 10: standard kit, kick and a softened hat, twice
        " 4d 54 72 6b 00 00 00 36"
        " 00 ff 03 04 62 65 61 74  00 c9 00  00 b9 07 64  00 0a 40  00 5b 28"
        " 00 99 24 5a  83 60 24 00  00 2a 41  83 60 2a 00  00 24 5a  83 60 24 00  00 2a 41  83 60 2a 00"
        " 00 ff 2f 00");
    EXPECT_EQ(standardMidiFile(c.score).toHex(' '), expected.toHex(' '));
}

TEST(Score, MistakesAreRefusedWithTheirLineAndReason)
{
    const Compiled c = compile("tempo 120\n"                          // 1
                               "time 4/4\n"                           // 2
                               "part tune flute\n"                    // 3
                               "part tune marimba\n"                  // 4 declared twice
                               "part pad kazoo\n"                     // 5 no such instrument
                               "tune: | C5/4 E5/4 G5/4 |\n"           // 6 a beat short
                               "tune: | C5/4 H5/4 r/2 |\n"            // 7 not a pitch
                               "tune @5: | C5/1 |\n"                  // 8 really bar 3
                               "tune: | C5/4~ D5/4 r/2 |\n"           // 9 tie to another pitch
                               "tune: | C5/4 C5/3 r/2 |\n"            // 10 no such length
                               "drums: | kick/4 |\n"                  // 11 undeclared part
                               "tempo 90\n"                           // 12 too late
                               "tune: | C5/2 | D5/2 |\n");            // 13 two short bars
    const QString all = c.problems.join(QLatin1Char('\n'));
    const std::pair<int, const char*> expected[] = {
        {4, "part \"tune\" is declared twice"},
        {5, "unknown instrument \"kazoo\""},
        {6, "bar 1 of \"tune\" lasts 3 beats, not 4"},
        {7, "\"H5\" is not a pitch"},
        {8, "this line of \"tune\" starts at bar 3, not bar 5"},
        {9, "a tie in \"tune\" is not followed by the same pitch"},
        {10, "\"C5/3\": the length after '/' must be 1, 2, 4, 8, 16 or 32"},
        {11, "unknown part \"drums\""},
        {12, "tempo must come before the first part line"},
        {13, "bar 6 of \"tune\" lasts 2 beats"},
        {13, "bar 7 of \"tune\" lasts 2 beats"},
    };
    for (const auto& [line, text] : expected) {
        EXPECT_TRUE(all.contains(QStringLiteral("tiny.txt:%1: ").arg(line) + QString::fromUtf8(text)))
            << "line " << line << ": " << text << "\n" << qPrintable(all);
    }
    for (const int fine : {1, 2, 3})
        EXPECT_FALSE(all.contains(QStringLiteral("tiny.txt:%1:").arg(fine))) << qPrintable(all);
    EXPECT_FALSE(all.contains(QLatin1String("bar 5 of"))) << "an unreadable note is one mistake, not two";
}

TEST(Score, ATuneMustSoundFromItsFirstTickToItsLastBarLine)
{
    const QByteArray head = "tempo 100\ntime 3/4\npart a piano\npart b acoustic_bass\n";
    const Compiled leadIn = compile(head + "a: | r/4 C5/2 |\nb: | r/4 C3/2 |\n");
    ASSERT_EQ(leadIn.problems.size(), 1);
    EXPECT_TRUE(leadIn.problems[0].contains(QLatin1String("start with a note on its first beat")));

    const Compiled tail = compile(head + "a: | C5/2 r/4 |\nb: | C3/4 r/2 |\n");
    ASSERT_EQ(tail.problems.size(), 1);
    EXPECT_TRUE(tail.problems[0].contains(QLatin1String("falls silent before the end of its last bar")));

    const Compiled ragged = compile(head + "a: | C5/2. | D5/2. |\nb: | C3/2. |\n");
    ASSERT_EQ(ragged.problems.size(), 1);
    EXPECT_TRUE(ragged.problems[0].contains(QLatin1String("\"b\" has 1 bar where the tune has 2")));

    // One part holding to the bar line is enough: the other may rest.
    const Compiled fine = compile(head + "a: | C5/2 r/4 |\nb: | r/4 C3/2 |\n");
    EXPECT_TRUE(fine.problems.isEmpty()) << qPrintable(fine.problems.join(QLatin1Char('\n')));
    EXPECT_EQ(fine.score.bars(), 1);
}
