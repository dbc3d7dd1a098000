// The four sound effects: valid 16-bit mono WAVE files of the intended lengths, loud enough
// but never clipped, that start and end in silence so they never click; and the synthesiser
// and its description format behind them.

#include "sound.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>

using namespace moji::audio;
using moji::content::Problems;

namespace {

const QString ProgramDir = QStringLiteral(MOJIMARU_PROGRAM_DIR);

struct Effect {
    const char* file;
    double minSeconds;
    double maxSeconds;
};

constexpr Effect Effects[] = {
    {"Maru.wav", 0.6, 0.9},
    {"Batsu.wav", 0.5, 0.7},
    {"Atari.wav", 0.2, 0.4},
    {"Hazure.wav", 0.3, 0.5},
};

uint32_t le(const QByteArray& b, qsizetype at, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | uint8_t(b[at + i]);
    return v;
}

double dbfs(int sample)
{
    return 20 * std::log10(std::abs(sample) / 32768.0);
}

int loudest(const std::vector<int16_t>& s, std::size_t from, std::size_t to)
{
    int peak = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i)
        peak = std::max(peak, std::abs(int(s[i])));
    return peak;
}

} // namespace

TEST(Sounds, EveryEffectIsAShortCleanWave)
{
    for (const Effect& effect : Effects) {
        SCOPED_TRACE(effect.file);
        const QByteArray b = testing_support::readFile(ProgramDir + QLatin1Char('/') + QLatin1String(effect.file));
        ASSERT_GE(b.size(), 44);
        EXPECT_EQ(b.left(4), "RIFF");
        EXPECT_EQ(le(b, 4, 4), uint32_t(b.size() - 8));
        EXPECT_EQ(b.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(le(b, 16, 4), 16u);
        EXPECT_EQ(le(b, 20, 2), 1u) << "PCM";
        EXPECT_EQ(le(b, 22, 2), 1u) << "mono";
        const uint32_t rate = le(b, 24, 4);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
        EXPECT_EQ(le(b, 28, 4), rate * 2);
        EXPECT_EQ(le(b, 32, 2), 2u);
        EXPECT_EQ(le(b, 34, 2), 16u);
        EXPECT_EQ(b.mid(36, 4), "data");
        ASSERT_EQ(le(b, 40, 4), uint32_t(b.size() - 44));

        std::vector<int16_t> s;
        for (qsizetype i = 44; i + 1 < b.size(); i += 2)
            s.push_back(int16_t(le(b, i, 2)));
        ASSERT_FALSE(s.empty());
        const double seconds = double(s.size()) / rate;
        EXPECT_GE(seconds, effect.minSeconds);
        EXPECT_LE(seconds, effect.maxSeconds);

        const int peak = loudest(s, 0, s.size());
        EXPECT_GE(dbfs(peak), -6.0);
        EXPECT_LE(dbfs(peak), -1.0);

        // A jump from or to silence is heard as a click.
        const std::size_t halfMs = rate / 2000;
        EXPECT_LE(std::abs(int(s.front())), 328);
        EXPECT_LE(std::abs(int(s.back())), 328);
        EXPECT_LE(loudest(s, 0, halfMs), 3277) << "starts too abruptly";
        EXPECT_LE(loudest(s, s.size() - halfMs, s.size()), 3277) << "stops too abruptly";
    }
}

TEST(Sounds, TheSynthesiserPlacesPitchLengthAndPeak)
{
    SoundRecipe recipe;
    recipe.rate = 22050;
    recipe.peak = -6;
    Tone tone;
    tone.length = 0.2;
    tone.pitch = 1000;
    tone.attack = 0.01;
    tone.release = 0.01;
    recipe.tones = {tone};
    std::vector<int16_t> s = synthesise(recipe);
    ASSERT_EQ(s.size(), 4411u); // 0.2 s and the closing sample
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 0);
    EXPECT_EQ(loudest(s, 0, s.size()), int(std::lround(std::pow(10.0, -6.0 / 20) * 32767)));
    int crossings = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        crossings += (s[i - 1] < 0) != (s[i] < 0);
    EXPECT_NEAR(crossings, 400, 4) << "1000 Hz for 0.2 s";

    // A later tone lengthens the sound; the mix is scaled, never clipped.
    tone.at = 0.3;
    tone.level = 1;
    recipe.tones.push_back(tone);
    recipe.tones.push_back(recipe.tones[0]);
    s = synthesise(recipe);
    EXPECT_EQ(s.size(), std::size_t(std::lround(0.5 * 22050)) + 1);
    EXPECT_EQ(loudest(s, 0, s.size()), int(std::lround(std::pow(10.0, -6.0 / 20) * 32767)));
    EXPECT_EQ(waveFile(s, 22050).size(), qsizetype(44 + 2 * s.size()));
}

TEST(Sounds, MistakesInADescriptionAreRefusedWithTheirLineAndReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bad.txt"));
    testing_support::writeFile(path,
                               "rate 48000\n"                                                    // 1
                               "peak -3   # fine\n"                                              // 2
                               "tone at 0.1 length 0.2 pitch A4 wave saw attack 0.001\n"         // 3
                               "tone at 0.2 length 0.3 pitch 30000Hz\n"                          // 4
                               "tone length 0.05 pitch C9 attack 0.04 release 0.02\n"            // 5
                               "tone at 0 length 0.3 pitch A4 speed 3\n");                       // 6
    Problems problems;
    readSound(path, problems);
    const QString all = problems.list().join(QLatin1Char('\n'));
    const std::pair<int, const char*> expected[] = {
        {1, "expected \"rate 22050|44100\""},
        {3, "unknown wave \"saw\""},
        {3, "attack must be from 0.002"},
        {4, "pitch \"30000Hz\" is not a note"},
        {5, "attack and release are longer than the tone"},
        {6, "unknown tone setting \"speed\""},
    };
    for (const auto& [line, text] : expected) {
        EXPECT_TRUE(all.contains(QStringLiteral("Bad.txt:%1: ").arg(line) + QString::fromUtf8(text)))
            << "line " << line << ": " << text << "\n" << qPrintable(all);
    }
    EXPECT_FALSE(all.contains(QStringLiteral("Bad.txt:2:"))) << qPrintable(all);

    testing_support::writeFile(path, "tone at 0.1 length 0.2 pitch A4\n");
    Problems late;
    readSound(path, late);
    ASSERT_EQ(late.list().size(), 1);
    EXPECT_TRUE(late.list()[0].contains(QLatin1String("must start at once"))) << qPrintable(late.list()[0]);
}
