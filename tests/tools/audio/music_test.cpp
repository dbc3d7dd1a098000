// The five tunes in the program folder: valid General MIDI files that the program can replay
// end to end without a gap, a stuck note or a silence, at the lengths the screens expect.

#include "midireader.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <set>

namespace {

const QString ProgramDir = QStringLiteral(MOJIMARU_PROGRAM_DIR);

struct Tune {
    const char* file;
    double minSeconds;
    double maxSeconds;
};

// Menu and the quiz tune are heard for long stretches, so they must not repeat too soon; the
// board's tune must outlast its ten-second gathering animation.
constexpr Tune Tunes[] = {
    {"Menu.mid", 30, 60},
    {"Mondai.mid", 40, 60},
    {"Eawase.mid", 25, 60},
    {"Mogu.mid", 25, 60},
    {"ichiran.mid", 15, 60},
};

midi::File load(const Tune& tune)
{
    return midi::parse(testing_support::readFile(ProgramDir + QLatin1Char('/') + QLatin1String(tune.file)));
}

std::vector<const midi::Event*> metaEvents(const midi::File& file, uint8_t type)
{
    std::vector<const midi::Event*> found;
    for (const auto& track : file.tracks) {
        for (const midi::Event& e : track) {
            if (e.status == 0xFF && e.metaType == type)
                found.push_back(&e);
        }
    }
    return found;
}

} // namespace

TEST(Music, EveryTuneIsAGeneralMidiFileWithMelodyBassAndAccompaniment)
{
    for (const Tune& tune : Tunes) {
        SCOPED_TRACE(tune.file);
        midi::File file;
        ASSERT_NO_THROW(file = load(tune));
        EXPECT_LE(file.format, 1);
        std::vector<midi::Note> notes;
        ASSERT_NO_THROW(notes = midi::notes(file)) << "every note-on needs its note-off";

        // Each sounding channel chooses its instrument before its first note (percussion uses
        // the standard kit), and stays within the keys a General MIDI player sounds well.
        std::set<int> channels;
        for (const midi::Note& n : notes)
            channels.insert(n.channel);
        EXPECT_GE(channels.size(), 3u);
        int lowest = 127;
        int highest = 0;
        for (const int ch : channels) {
            long firstNote = -1;
            long program = -1;
            for (const auto& track : file.tracks) {
                for (const midi::Event& e : track) {
                    if (e.status < 0xF0 && e.channel() == ch && e.kind() == 0xC0 && program < 0)
                        program = e.tick;
                    if (e.status < 0xF0 && e.channel() == ch && e.kind() == 0x90 && firstNote < 0)
                        firstNote = e.tick;
                }
            }
            if (ch != 9) {
                EXPECT_TRUE(program >= 0 && program <= firstNote) << "channel " << ch + 1 << " has no instrument";
            }
        }
        for (const midi::Note& n : notes) {
            if (n.channel == 9) {
                EXPECT_TRUE(n.key >= 35 && n.key <= 81) << "no General MIDI drum on key " << n.key;
            } else {
                EXPECT_TRUE(n.key >= 28 && n.key <= 100) << "key " << n.key << " out of range";
                lowest = std::min(lowest, n.key);
                highest = std::max(highest, n.key);
            }
            EXPECT_GE(n.velocity, 20) << "a note too soft to hear";
        }
        EXPECT_LE(lowest, 45) << "no bass line";
        EXPECT_GE(highest, 72) << "no melody above middle C's octave";
    }
}

TEST(Music, EveryTuneLoopsWithoutGapOrLeadIn)
{
    for (const Tune& tune : Tunes) {
        SCOPED_TRACE(tune.file);
        const midi::File file = load(tune);
        const auto notes = midi::notes(file);
        ASSERT_FALSE(notes.empty());

        const auto signatures = metaEvents(file, 0x58);
        ASSERT_EQ(signatures.size(), 1u) << "one time signature";
        ASSERT_EQ(signatures[0]->tick, 0);
        const int numerator = signatures[0]->data[0];
        const int denominator = 1 << signatures[0]->data[1];
        const long bar = long(file.division) * 4 * numerator / denominator;

        const long end = file.tracks[0].back().tick;
        for (const auto& track : file.tracks)
            EXPECT_EQ(track.back().tick, end) << "every track ends at the same bar line";
        EXPECT_GT(end, 0);
        EXPECT_EQ(end % bar, 0) << "the tune ends inside a bar";

        long lastOff = 0;
        for (const midi::Note& n : notes)
            lastOff = std::max(lastOff, n.end);
        EXPECT_EQ(notes.front().start, 0) << "silence before the first note";
        EXPECT_EQ(lastOff, end) << "silence after the last note";
    }
}

TEST(Music, EveryTuneLastsAsLongAsIntended)
{
    for (const Tune& tune : Tunes) {
        SCOPED_TRACE(tune.file);
        const midi::File file = load(tune);
        const auto tempos = metaEvents(file, 0x51);
        ASSERT_FALSE(tempos.empty());
        EXPECT_EQ(tempos.front()->tick, 0) << "the tempo is set before the first note";
        const double length = midi::seconds(file, file.tracks[0].back().tick);
        EXPECT_GE(length, tune.minSeconds);
        EXPECT_LE(length, tune.maxSeconds);
    }
}
