#include "textcodec.h"
#include "testfiles.h"

#include <gtest/gtest.h>

using namespace moji;
using testing_support::hex;

// The codec must be code page 932 (Windows' Shift-JIS), not plain JIS X 0208 Shift-JIS:
// the wave dash, the full-width minus and the NEC row-13 symbols differ between the two.
TEST(TextCodec, RoundTripsCodePage932)
{
    EXPECT_EQ(cp932::encode(QStringLiteral("悪い")).value(), hex("88ab 82a2"));
    EXPECT_EQ(cp932::decode(hex("88ab 82a2")).value(), QStringLiteral("悪い"));
    EXPECT_EQ(cp932::decode(hex("8160 817c 8740")).value(), QStringLiteral("～－①"));
    EXPECT_EQ(cp932::encode(QStringLiteral("～－①")).value(), hex("8160 817c 8740"));
    EXPECT_EQ(cp932::decode(hex("41 b1")).value(), QStringLiteral("Aｱ"));
}

TEST(TextCodec, RejectsWhatCodePage932CannotHold)
{
    EXPECT_FALSE(cp932::decode(hex("88")).has_value()) << "a lone lead byte";
    EXPECT_FALSE(cp932::encode(QStringLiteral("😀")).has_value());
    EXPECT_EQ(cp932::encodeLossy(QStringLiteral("あ😀い")), hex("82a0 3f 82a2"));
}

// Cutting to a byte maximum never leaves half of a two-byte character.
TEST(TextCodec, CutsOnlyAtCharacterBoundaries)
{
    const QByteArray fiveKana = hex("82a0 82a2 82a4 82a6 82a8"); // あいうえお, 10 bytes
    EXPECT_EQ(cp932::cutToBytes(fiveKana, 10), fiveKana);
    EXPECT_EQ(cp932::cutToBytes(fiveKana, 9), hex("82a0 82a2 82a4 82a6"));
    EXPECT_EQ(cp932::cutToBytes(hex("41 82a0 82a2 82a4 82a6 82a8"), 10), hex("41 82a0 82a2 82a4 82a6"));
    EXPECT_EQ(cp932::cutToBytes(hex("41 42 88"), 10), hex("41 42")) << "dangling lead byte dropped";
    EXPECT_EQ(cp932::cutToBytes(hex("82a0"), 1), QByteArray());
}

TEST(TextCodec, SjisStringKeepsItsDeclaredMaximum)
{
    // A name of five kana fills its 10 bytes exactly; a sixth is dropped whole.
    const auto name = SjisString<10>::fromUnicode(QStringLiteral("あいうえおか"));
    EXPECT_EQ(name.bytes(), hex("82a0 82a2 82a4 82a6 82a8"));
    EXPECT_EQ(name.toUnicode(), QStringLiteral("あいうえお"));
    // A two-byte character that would end one byte past the limit is dropped.
    const auto odd = SjisString<10>::fromUnicode(QStringLiteral("Aあいうえお"));
    EXPECT_EQ(odd.size(), 9);
    EXPECT_EQ(odd.toUnicode(), QStringLiteral("Aあいうえ"));
    EXPECT_EQ(SjisString<2>::fromUnicode(QStringLiteral("漢字")).toUnicode(), QStringLiteral("漢"));
}

TEST(TextCodec, TrimsAndCountsLikeTheAnswerLabel)
{
    EXPECT_EQ(cp932::trim(hex("20 20 82a0 82a2 20 00 09")), hex("82a0 82a2"));
    EXPECT_EQ(cp932::trim(hex("8140 82a0 8140")), hex("8140 82a0 8140")) << "full-width blank is text";
    EXPECT_EQ(cp932::trim(hex("20 20")), QByteArray());
    EXPECT_EQ(cp932::characterCount(hex("41 82a0 82a2")), 3);
    EXPECT_EQ(cp932::withoutLastCharacter(hex("82a0 41 82a2")), hex("82a0 41"));
    EXPECT_EQ(cp932::withoutLastCharacter(QByteArray()), QByteArray());
}
