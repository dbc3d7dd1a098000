// Audio through SDL2_mixer with the dummy driver (plays in real time, heard by nobody), and
// the tune length read from a MIDI file's tempo map.

#include "audio.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace moji;
using testing_support::hex;

namespace {

// One track, 96 ticks a quarter: a half-second note at 120 bpm, then a tempo change to
// 60 bpm and end of track 48 ticks later (half a second more): one second in all.
QByteArray oneSecondTune()
{
    const QByteArray track = hex("00 ff5103 07a120"
                                 "00 c0 0b"
                                 "00 90 3c 64"
                                 "60 3c 00" // running status: note off as velocity 0
                                 "00 ff5103 0f4240"
                                 "30 ff2f00");
    QByteArray smf = hex("4d546864 00000006 0000 0001 0060") + QByteArray("MTrk");
    const quint32 n = quint32(track.size());
    smf += char(n >> 24);
    smf += char(n >> 16);
    smf += char(n >> 8);
    smf += char(n);
    return smf + track;
}

} // namespace

TEST(Audio, TuneLengthFollowsTheTempoMap)
{
    EXPECT_DOUBLE_EQ(midiDurationSeconds(oneSecondTune()), 1.0);
    EXPECT_EQ(midiDurationSeconds(QByteArray("MThd")), 0.0);
    EXPECT_EQ(midiDurationSeconds(oneSecondTune().left(30)), 0.0) << "a track cut short";
    QByteArray lying = oneSecondTune();
    lying[21] = char(0x7f); // track length far past the end
    EXPECT_EQ(midiDurationSeconds(lying), 0.0);
}

TEST(Audio, MediaErrorsNameTheFileWithABlank)
{
    EXPECT_EQ(mediaErrorMessage(QStringLiteral("Menu.mid")), QStringLiteral("Menu.mid でエラーがおこりました。 "));
}

// The end-of-play notice restarts the music, as the menu's loop does; without a device that
// anyone hears there is no MIDI device to report.
TEST(Audio, EndOfPlayNoticeRestartsTheMusic)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    QTemporaryDir dir;
    const QString tune = dir.filePath(QStringLiteral("Menu.mid"));
    testing_support::writeFile(tune, oneSecondTune());

    auto audio = createSdlAudio(QString());
    EXPECT_EQ(audio->midiDeviceCount(), 0) << "the dummy driver is not a MIDI output";
    auto player = audio->createPlayer();
    ASSERT_TRUE(player->open(tune));
    int plays = 0;
    QObject::connect(player.get(), &MediaPlayer::finished, [&] {
        ++plays;
        player->setNotify(true);
        player->play();
    });
    player->setNotify(true);
    ASSERT_TRUE(player->play());
    QTRY_VERIFY_WITH_TIMEOUT(plays >= 2, 6000);
    player->setNotify(false);
    player->stop();
    const int settled = plays;
    QTest::qWait(1500);
    EXPECT_EQ(plays, settled) << "no notice after stop";

    auto missing = audio->createPlayer();
    EXPECT_FALSE(missing->open(dir.filePath(QStringLiteral("nothing.mid"))));
    auto sound = audio->createPlayer();
    EXPECT_FALSE(sound->open(dir.filePath(QStringLiteral("nothing.wav"))));
}

TEST(Audio, SilentAudioOpensOnlyWhatExists)
{
    QTemporaryDir dir;
    testing_support::writeFile(dir.filePath(QStringLiteral("Maru.wav")), "RIFF");
    auto audio = createSilentAudio();
    EXPECT_EQ(audio->midiDeviceCount(), 0);
    auto player = audio->createPlayer();
    EXPECT_TRUE(player->open(dir.filePath(QStringLiteral("Maru.wav"))));
    EXPECT_TRUE(player->play());
    EXPECT_FALSE(audio->createPlayer()->open(dir.filePath(QStringLiteral("Batsu.wav"))));
}

// The program's own tunes load in SDL2_mixer, with the program's own soundfont, and have a
// known length, so they loop on time.
TEST(Audio, TheProgramsTunesLoadAndHaveALength)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    auto audio = createSdlAudio(QStringLiteral(MOJIMARU_PROGRAM_DIR "/Music.sf2"), true);
    EXPECT_EQ(audio->midiDeviceCount(), 1) << "the synthesiser, the program's soundfont and an output all open";
    for (const char* name : {"Menu.mid", "Mondai.mid", "Eawase.mid", "Mogu.mid", "ichiran.mid"}) {
        const QString path = QStringLiteral(MOJIMARU_PROGRAM_DIR "/") + QLatin1String(name);
        const double seconds = midiDurationSeconds(testing_support::readFile(path));
        EXPECT_GT(seconds, 20.0) << name;
        EXPECT_LT(seconds, 90.0) << name;
        auto player = audio->createPlayer();
        EXPECT_TRUE(player->open(path)) << name;
    }
    for (const char* name : {"Maru.wav", "Batsu.wav", "Atari.wav", "Hazure.wav"}) {
        auto player = audio->createPlayer();
        EXPECT_TRUE(player->open(QStringLiteral(MOJIMARU_PROGRAM_DIR "/") + QLatin1String(name))) << name;
        EXPECT_TRUE(player->play()) << name;
    }
}
