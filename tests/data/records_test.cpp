// Every record layout against byte vectors written out by hand.

#include "errors.h"
#include "records.h"
#include "testfiles.h"

#include <gtest/gtest.h>

using namespace moji;
using testing_support::hex;

TEST(Records, KanjiRecord)
{
    // 悪: KanjiNo 241, glyph 88 ab, 11 strokes, component (4, 3), no second component.
    const QByteArray bytes = hex("f100 88 ab 0b00 0400 0300 0000 0000");
    const KanjiRecord r = KanjiRecord::decode(bytes);
    EXPECT_EQ(r.KanjiNo, 241);
    EXPECT_EQ(r.GlyphLead, 0x88);
    EXPECT_EQ(r.GlyphTrail, 0xab);
    EXPECT_EQ(r.StrokeCount, 11);
    EXPECT_EQ(r.Component1Group, 4);
    EXPECT_EQ(r.Component1No, 3);
    EXPECT_EQ(r.Component2Group, 0);
    EXPECT_EQ(r.encode(), bytes);
    // Negative values stay signed.
    EXPECT_EQ(KanjiRecord::decode(hex("ffff 88 ab 0b00 feff 0300 0000 0000")).Component1Group, -2);
}

TEST(Records, RadicalAndQuestionIndexRecords)
{
    const QByteArray radical = hex("0100 0000 0700 0c00");
    const RadicalRecord r = RadicalRecord::decode(radical);
    EXPECT_EQ(r.Group, 1);
    EXPECT_EQ(r.Number, 7);
    EXPECT_EQ(r.Picture, 12);
    EXPECT_EQ(r.encode(), radical);

    const QByteArray index = hex("0000 2b01 0700");
    const QuestionIndexRecord q = QuestionIndexRecord::decode(index);
    EXPECT_EQ(q.FirstQuestion, 299);
    EXPECT_EQ(q.QuestionCount, 7);
    EXPECT_EQ(q.encode(), index);
}

TEST(Records, PlayerRecordKeepsReservedFieldsAndPadsWithZeros)
{
    // Level 3, matching game 2, catcher 1, writing, name たろう; reserved fields 5 and 9 kept.
    const QByteArray bytes = hex("0500 0300 0200 0000 0100 0900 0000 0200 06 82bd 82eb 82a4 00000000 00");
    ASSERT_EQ(bytes.size(), PlayerRecord::Size);
    const PlayerRecord r = PlayerRecord::decode(bytes);
    EXPECT_EQ(r.Reserved0, 5);
    EXPECT_EQ(r.Level, 3);
    EXPECT_EQ(r.Game1Level, 2);
    EXPECT_EQ(r.Game3Level, 1);
    EXPECT_EQ(r.Reserved10, 9);
    EXPECT_EQ(r.Mode, 2);
    EXPECT_EQ(r.Name.toUnicode(), QStringLiteral("たろう"));
    EXPECT_EQ(r.encode(), bytes);

    // Bytes past the length and in the padding are ignored on reading, zero on writing.
    QByteArray dirty = bytes;
    dirty[16 + 1 + 6] = 'x';
    dirty[27] = char(0xff);
    EXPECT_EQ(PlayerRecord::decode(dirty).encode(), bytes);

    QByteArray tooLong = bytes;
    tooLong[16] = 11;
    EXPECT_THROW(PlayerRecord::decode(tooLong), RangeError);
}

TEST(Records, HistoryRecord)
{
    const QByteArray bytes = hex("0100 0200 0100 0000 000000 0010f9e540"
                                 "0501 0601 0701 0801 0901 0a01 0b01 0c01 0d01 0e01"
                                 "01 00 01 01 01 01 01 01 00 01"
                                 "0000 01 000000");
    ASSERT_EQ(bytes.size(), HistoryRecord::Size);
    const HistoryRecord r = HistoryRecord::decode(bytes);
    EXPECT_EQ(r.Kind, 1);
    EXPECT_EQ(r.Level, 2);
    EXPECT_EQ(r.Mode, 1);
    EXPECT_EQ(r.When, 45000.5);
    EXPECT_EQ(r.KanjiNo[0], 261);
    EXPECT_EQ(r.KanjiNo[9], 270);
    EXPECT_FALSE(r.Correct[1]);
    EXPECT_TRUE(r.Correct[9]);
    EXPECT_EQ(r.correctCount(), 8);
    EXPECT_TRUE(r.Counted);
    EXPECT_EQ(r.encode(), bytes);
}

TEST(Records, QuestionRecordTrimsBlankPaddedParts)
{
    // Target part 2; parts "みずうみ" is the target between "大きな" and "で泳ぐ。".
    QByteArray bytes = hex("0000 0200");
    bytes += hex("91e5 82ab 82c8") + QByteArray(14, ' ');
    bytes += hex("82dd 82b8 82a4 82dd") + QByteArray(12, ' ');
    bytes += QByteArray(2, ' ') + hex("82c5 896a 82ae 8142") + QByteArray(10, ' ');
    ASSERT_EQ(bytes.size(), QuestionRecord::Size);
    const QuestionRecord r = QuestionRecord::decode(bytes);
    EXPECT_EQ(r.TargetPart, 2);
    EXPECT_EQ(r.Parts[0], hex("91e5 82ab 82c8"));
    EXPECT_EQ(r.Parts[1], hex("82dd 82b8 82a4 82dd"));
    EXPECT_EQ(r.Parts[2], hex("82c5 896a 82ae 8142"));

    QuestionRecord w = r;
    w.Parts[2] = hex("82c5 896a 82ae 8142");
    const QByteArray written = w.encode();
    EXPECT_EQ(written.mid(44, 20), hex("82c5 896a 82ae 8142") + QByteArray(12, ' '));
    w.Parts[0] = QByteArray(21, 'a');
    EXPECT_THROW(w.encode(), RangeError);
}

TEST(Records, HintRecordLinesEndAtNul)
{
    QByteArray bytes = hex("0c00 0200 0100 0000 0700");
    QByteArray line1 = hex("82a0 82a2") + QByteArray(36, '\0');
    line1[6] = 'z'; // after the NUL: not part of the line
    bytes += line1 + QByteArray(160, '\0');
    bytes += QByteArray(60, 'x') + QByteArray(240, '\0');
    ASSERT_EQ(bytes.size(), HintRecord::Size);
    const HintRecord r = HintRecord::decode(bytes);
    EXPECT_EQ(r.Topic, 12);
    EXPECT_EQ(r.Section, 2);
    EXPECT_EQ(r.Mode, 1);
    EXPECT_EQ(r.HintNo, 7);
    EXPECT_EQ(r.Level1[0], hex("82a0 82a2"));
    EXPECT_TRUE(r.Level1[4].isEmpty());
    EXPECT_EQ(r.Level2[0], QByteArray(60, 'x')) << "a full line has no NUL at all";

    HintRecord w = r;
    const QByteArray written = w.encode();
    EXPECT_EQ(written.size(), HintRecord::Size);
    EXPECT_EQ(written.mid(10, 40), hex("82a0 82a2") + QByteArray(36, '\0'));
    w.Level1[0] = QByteArray(41, 'a');
    EXPECT_THROW(w.encode(), RangeError);
}

TEST(Records, GameScoreRecord)
{
    // 12 points for はな on 5 December 2025.
    const QByteArray bytes = hex("0c00 04 82cd 82c8 000000000000 000000 0000000080 75e640");
    ASSERT_EQ(bytes.size(), GameScoreRecord::Size);
    const GameScoreRecord r = GameScoreRecord::decode(bytes);
    EXPECT_EQ(r.Score, 12);
    EXPECT_EQ(r.Name.toUnicode(), QStringLiteral("はな"));
    EXPECT_EQ(r.Date, 45996.0);
    EXPECT_EQ(r.encode(), bytes);

    QByteArray badLength = bytes;
    badLength[2] = char(200);
    EXPECT_THROW(GameScoreRecord::decode(badLength), RangeError);
}

TEST(Records, DecodeNeedsTheWholeRecord)
{
    EXPECT_THROW(KanjiRecord::decode(hex("f100 88 ab")), RangeError);
    EXPECT_THROW(HistoryRecord::decode(QByteArray(53, '\0')), RangeError);
}
