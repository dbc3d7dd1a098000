// The drifting kanji of the main menu and the notice timing.

#include "menuanimation.h"
#include "randomsource.h"
#include "studystate.h"
#include "clock.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

using namespace moji;

namespace {

// Each of this grade's slots gets a distinct kanji of code page 932's first kanji rows.
QByteArray glyphBytes(int k)
{
    const int i = k - 241;
    QByteArray bytes;
    bytes.append(char(0x89 + i / 90));
    bytes.append(char(0x9F + i % 90));
    return bytes;
}

StudyState& dictionary()
{
    static ManualClock clock;
    static StudyState state(QString(), clock);
    for (int k = 241; k <= 440; ++k)
        state.KanjiTable[k].Glyph = SjisString<2>::fromBytes(glyphBytes(k));
    return state;
}

int kanjiNoOf(const QString& glyph)
{
    for (int k = 241; k <= 440; ++k) {
        if (dictionary().KanjiTable[k].Glyph.toUnicode() == glyph)
            return k;
    }
    return 0;
}

} // namespace

TEST(MenuAnimation, SpritesFollowTheLevelsReached)
{
    for (const int highest : {1, 4, 10, 11}) {
        RandomSource random{uint32_t(highest)};
        MenuAnimation a(random, dictionary(), highest);
        a.setArea({600, 360});
        EXPECT_EQ(a.usedSlots(), std::min(24, 2 * highest));
        std::set<QString> glyphs;
        int16_t popNo = 2;
        std::array<int16_t, MenuAnimation::SlotCount> before{};
        for (int t = 0; t < 3000; ++t) {
            for (int i = 0; i < MenuAnimation::SlotCount; ++i)
                before[std::size_t(i)] = a.slot(i).State;
            a.tick(false, popNo);
            int moving = 0;
            for (int i = 0; i < MenuAnimation::SlotCount; ++i) {
                const TKanji_State& s = a.slot(i);
                if (i >= a.usedSlots()) {
                    EXPECT_FALSE(s.HasPicture) << "slot beyond 2 x HighestLevel used";
                    continue;
                }
                if (s.State == 1) {
                    ++moving;
                    // A sprite starts on the edge and is inside from its first move on.
                    if (before[std::size_t(i)] == 1) {
                        EXPECT_TRUE(s.X > 0 && s.X < 600 && s.Y > 0 && s.Y < 360) << "a moving sprite left the area";
                    }
                    EXPECT_TRUE(s.Speed >= 2 && s.Speed <= 10 && s.Speed % 2 == 0);
                    EXPECT_TRUE(s.Direction >= 1 && s.Direction <= 8);
                }
                if (s.HasPicture)
                    glyphs.insert(s.Glyph);
            }
            EXPECT_LE(moving, 2 * highest);
        }
        const int levels = std::min(highest, 10);
        for (const QString& g : glyphs) {
            const int k = kanjiNoOf(g);
            EXPECT_GE(k, 241);
            EXPECT_LE(k, 240 + 20 * levels) << "highest level " << highest;
        }
        EXPECT_GT(glyphs.size(), std::size_t(levels * 10)) << "glyphs drawn from the whole range";
    }
}

TEST(MenuAnimation, ASpriteLeavingTheAreaGoesIdle)
{
    RandomSource random(3);
    MenuAnimation a(random, dictionary(), 1);
    a.setArea({60, 40}); // small: sprites leave within a few ticks
    int16_t popNo = 2;
    int idleAfterMoving = 0;
    std::array<int16_t, 2> last{};
    for (int t = 0; t < 500; ++t) {
        a.tick(false, popNo);
        for (int i = 0; i < 2; ++i) {
            if (last[std::size_t(i)] == 1 && a.slot(i).State == 0) {
                ++idleAfterMoving;
                const TKanji_State& s = a.slot(i);
                EXPECT_FALSE(s.X > 0 && s.X < 60 && s.Y > 0 && s.Y < 40);
            }
            last[std::size_t(i)] = a.slot(i).State;
        }
    }
    EXPECT_GT(idleAfterMoving, 5);
}

TEST(MenuAnimation, NoticesComeOnTheEleventhTickThenEveryThirtyFirst)
{
    RandomSource random(5);
    MenuAnimation a(random, dictionary(), 2);
    a.restart();
    int16_t popNo = 2;
    std::vector<int> noticeTicks;
    std::vector<int16_t> numbers;
    for (int t = 1; t <= 80; ++t) {
        if (a.tick(true, popNo) == MenuAnimation::Step::Notice) {
            noticeTicks.push_back(t);
            numbers.push_back(popNo);
        }
    }
    EXPECT_EQ(noticeTicks, (std::vector<int>{11, 42, 73}));
    EXPECT_EQ(numbers, (std::vector<int16_t>{3, 4, 9}));

    // With notices off the counter passes 30 and stops at its limit without wrapping.
    a.restart();
    for (int t = 0; t < 40000; ++t)
        ASSERT_EQ(a.tick(false, popNo), MenuAnimation::Step::Frame);
    EXPECT_EQ(a.counter(), 32767);
    EXPECT_EQ(a.tick(true, popNo), MenuAnimation::Step::Frame) << "a counter past 30 shows no notice";

    int16_t cycle = 2;
    std::vector<int16_t> seen;
    for (int i = 0; i < 8; ++i)
        seen.push_back(cycle = MenuAnimation::nextNotice(cycle));
    EXPECT_EQ(seen, (std::vector<int16_t>{3, 4, 9, 6, 7, 8, 5, 2}));
    EXPECT_EQ(MenuAnimation::nextNotice(1), 1);
}
