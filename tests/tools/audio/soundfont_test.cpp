// The program's own soundfont (Music.sf2, what the tunes play of the General MIDI soundfont):
// FluidSynth plays every tune from it sample for sample as from the whole soundfont, and it is
// a small part of it.

#include "testfiles.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QString>

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const QString ProgramDir = QStringLiteral(MOJIMARU_PROGRAM_DIR);
const QString WholeFont = QStringLiteral(MOJIMARU_GM_SOUNDFONT);

// A synthesiser playing one tune from one soundfont, its time kept by the samples it renders,
// so that two of them render alike.
class Rendering {
public:
    Rendering(const QString& font, const QString& tune)
    {
        m_settings = new_fluid_settings();
        fluid_settings_setnum(m_settings, "synth.sample-rate", 44100.0);
        fluid_settings_setstr(m_settings, "player.timing-source", "sample");
        m_synth = new_fluid_synth(m_settings);
        m_loaded = fluid_synth_sfload(m_synth, QFile::encodeName(font).constData(), 1) != FLUID_FAILED;
        m_player = new_fluid_player(m_synth);
        m_loaded = m_loaded && fluid_player_add(m_player, QFile::encodeName(tune).constData()) == FLUID_OK
                   && fluid_player_play(m_player) == FLUID_OK;
    }
    ~Rendering()
    {
        delete_fluid_player(m_player);
        delete_fluid_synth(m_synth);
        delete_fluid_settings(m_settings);
    }
    Rendering(const Rendering&) = delete;
    Rendering& operator=(const Rendering&) = delete;

    bool loaded() const { return m_loaded; }
    bool playing() const { return fluid_player_get_status(m_player) == FLUID_PLAYER_PLAYING; }
    // The next `frames` stereo frames into `out` (2 x frames floats).
    void render(int frames, float* out) { fluid_synth_write_float(m_synth, frames, out, 0, 2, out, 1, 2); }

private:
    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr;
    fluid_player_t* m_player = nullptr;
    bool m_loaded = false;
};

TEST(SoundFont, EveryTunePlaysFromTheProgramsSoundFontAsFromTheWholeOne)
{
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr); // "no preset" would be a difference below anyway
    for (const char* name : {"Menu.mid", "Mondai.mid", "Eawase.mid", "Mogu.mid", "ichiran.mid"}) {
        const QString tune = ProgramDir + QLatin1Char('/') + QLatin1String(name);
        Rendering whole(WholeFont, tune);
        Rendering own(ProgramDir + QStringLiteral("/Music.sf2"), tune);
        ASSERT_TRUE(whole.loaded() && own.loaded()) << name;
        constexpr int Frames = 512;
        float a[2 * Frames];
        float b[2 * Frames];
        long long frame = 0;
        long long firstDifference = -1;
        float loudest = 0;
        while ((whole.playing() || own.playing()) && frame < 44100LL * 120) {
            whole.render(Frames, a);
            own.render(Frames, b);
            if (firstDifference < 0 && std::memcmp(a, b, sizeof a) != 0)
                firstDifference = frame;
            for (const float v : a)
                loudest = std::max(loudest, std::abs(v));
            frame += Frames;
        }
        EXPECT_EQ(firstDifference, -1) << name << " differs from second " << firstDifference / 44100.0;
        EXPECT_GT(frame, 44100LL * 15) << name << " played to its end";
        EXPECT_GT(loudest, 0.05f) << name << " is heard";
    }
}

TEST(SoundFont, TheProgramsSoundFontIsASmallPartOfTheWholeOne)
{
    const qint64 own = QFileInfo(ProgramDir + QStringLiteral("/Music.sf2")).size();
    EXPECT_GT(own, 100 * 1024);
    EXPECT_LT(own, QFileInfo(WholeFont).size() / 4);
}

} // namespace
