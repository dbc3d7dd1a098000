#include "audio.h"

#include "errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QTimer>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <map>

namespace moji {

QString mediaErrorMessage(const QString& fileName)
{
    return fileErrorMessage(fileName + QLatin1Char(' '));
}

namespace {

const char* const GeneralMidiSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// SDL_mixer brings the synthesiser and the sound servers' clients with it, dozens of
// libraries whose loading every start would wait for. It is loaded when the first sound is
// wanted instead, and its functions are called through this table.
#define MOJI_MIXER_FUNCTIONS(X)                                                                                         \
    X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_GetCurrentAudioDriver) X(Mix_Init)                   \
    X(Mix_Quit) X(Mix_OpenAudio) X(Mix_CloseAudio) X(Mix_AllocateChannels) X(Mix_HookMusicFinished)                     \
    X(Mix_ChannelFinished) X(Mix_SetSoundFonts) X(Mix_GetNumMusicDecoders) X(Mix_GetMusicDecoder)                       \
    X(Mix_LoadMUS) X(Mix_FreeMusic) X(Mix_PlayMusic) X(Mix_HaltMusic) X(Mix_LoadWAV) X(Mix_FreeChunk)                   \
    X(Mix_PlayChannel) X(Mix_HaltChannel) X(Mix_GetChunk)

struct MixerLibrary {
#define MOJI_DECLARE(name) decltype(&::name) name = nullptr;
    MOJI_MIXER_FUNCTIONS(MOJI_DECLARE)
#undef MOJI_DECLARE

    // False when the library or one of its functions is missing: the program is silent.
    bool load()
    {
        QLibrary library(QStringLiteral("SDL2_mixer-2.0"), 0);
        if (!library.load())
            return false;
        // The SDL functions come from the SDL library that SDL_mixer itself loaded.
        QLibrary sdl(QStringLiteral("SDL2-2.0"), 0);
        bool complete = sdl.load();
#define MOJI_RESOLVE(name)                                                                                             \
    name = reinterpret_cast<decltype(name)>(library.resolve(#name));                                                   \
    if (!name && sdl.isLoaded())                                                                                       \
        name = reinterpret_cast<decltype(name)>(sdl.resolve(#name));                                                   \
    complete = complete && name != nullptr;
        MOJI_MIXER_FUNCTIONS(MOJI_RESOLVE)
#undef MOJI_RESOLVE
        return complete; // QLibrary never unloads what it loaded unless asked to
    }
};
#undef MOJI_MIXER_FUNCTIONS

MixerLibrary g_mixer;

bool readable(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.size() > 0;
}

class SilentPlayer final : public MediaPlayer {
public:
    bool open(const QString& path) override { return m_open = readable(path); }
    bool play() override { return m_open; }
    void stop() override {}
    void rewind() override {}
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }

private:
    bool m_open = false;
};

class SilentAudio final : public AudioSystem {
public:
    int midiDeviceCount() const override { return 0; }
    std::unique_ptr<MediaPlayer> createPlayer() override { return std::make_unique<SilentPlayer>(); }
};

// SDL_mixer plays one tune at a time and reports its end on the audio thread. The player
// that started the current tune is remembered with a play number, so that a late notice for
// a tune already stopped or replayed is ignored.
class MusicPlayer;
QPointer<MusicPlayer> g_musicOwner; // touched only on the Qt thread
std::atomic<quint64> g_musicPlay{0};

class MusicPlayer final : public MediaPlayer {
public:
    MusicPlayer()
    {
        m_loopTimer.setSingleShot(true);
        connect(&m_loopTimer, &QTimer::timeout, this, [this] {
            // FluidSynth reports the end of a tune seconds after its last note; the tune's
            // own length makes the loop seamless.
            if (!m_playing)
                return;
            haltCurrent();
            endOfPlay();
        });
    }
    ~MusicPlayer() override { close(); }

    bool open(const QString& path) override
    {
        close();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        m_seconds = midiDurationSeconds(file.readAll());
        m_music = g_mixer.Mix_LoadMUS(QFile::encodeName(path).constData());
        return m_music != nullptr;
    }
    bool play() override
    {
        if (!m_music)
            return false;
        haltCurrent();
        g_musicOwner = this;
        m_myPlay = ++g_musicPlay;
        if (g_mixer.Mix_PlayMusic(m_music, 1) != 0)
            return false;
        m_playing = true;
        if (m_seconds > 0.5)
            m_loopTimer.start(int(m_seconds * 1000));
        return true;
    }
    void stop() override { haltCurrent(); }
    void rewind() override {}
    void close() override
    {
        stop();
        if (m_music) {
            g_mixer.Mix_FreeMusic(m_music);
            m_music = nullptr;
        }
    }
    bool isOpen() const override { return m_music != nullptr; }

    // Called on the Qt thread for the tune that just ended by itself.
    void naturalEnd(quint64 play)
    {
        if (!m_playing || play != m_myPlay)
            return;
        m_playing = false;
        m_loopTimer.stop();
        endOfPlay();
    }

private:
    void haltCurrent()
    {
        m_loopTimer.stop();
        if (m_playing && g_musicOwner == this) {
            ++g_musicPlay; // the notice of this halt is not an end of play
            g_mixer.Mix_HaltMusic();
        }
        m_playing = false;
    }

    Mix_Music* m_music = nullptr;
    double m_seconds = 0;
    bool m_playing = false;
    quint64 m_myPlay = 0;
    QTimer m_loopTimer;
};

void musicFinishedOnAudioThread()
{
    // Only the play number crosses threads; the owner is looked up on the Qt thread.
    const quint64 play = g_musicPlay.load();
    QMetaObject::invokeMethod(qApp, [play] {
        if (g_musicOwner)
            g_musicOwner->naturalEnd(play);
    }, Qt::QueuedConnection);
}

std::map<int, QPointer<MediaPlayer>> g_channels;

class SoundPlayer final : public MediaPlayer {
public:
    ~SoundPlayer() override { close(); }
    bool open(const QString& path) override
    {
        close();
        m_chunk = g_mixer.Mix_LoadWAV(QFile::encodeName(path).constData());
        return m_chunk != nullptr;
    }
    bool play() override
    {
        if (!m_chunk)
            return false;
        stop();
        m_channel = g_mixer.Mix_PlayChannel(-1, m_chunk, 0);
        if (m_channel >= 0)
            g_channels[m_channel] = this;
        return m_channel >= 0;
    }
    void stop() override
    {
        if (m_channel >= 0 && g_mixer.Mix_GetChunk(m_channel) == m_chunk) {
            g_channels.erase(m_channel);
            g_mixer.Mix_HaltChannel(m_channel);
        }
        m_channel = -1;
    }
    void rewind() override {}
    void close() override
    {
        stop();
        if (m_chunk) {
            g_mixer.Mix_FreeChunk(m_chunk);
            m_chunk = nullptr;
        }
    }
    bool isOpen() const override { return m_chunk != nullptr; }
    void channelEnded(int channel)
    {
        if (channel == m_channel) {
            m_channel = -1;
            endOfPlay();
        }
    }

private:
    Mix_Chunk* m_chunk = nullptr;
    int m_channel = -1;
};

void channelFinishedOnAudioThread(int channel)
{
    // The channel map is only touched on the Qt thread; the notice carries the number over.
    QMetaObject::invokeMethod(qApp, [channel] {
        const auto it = g_channels.find(channel);
        if (it == g_channels.end())
            return;
        QPointer<MediaPlayer> player = it->second;
        g_channels.erase(it);
        if (player)
            static_cast<SoundPlayer*>(player.data())->channelEnded(channel);
    }, Qt::QueuedConnection);
}

class DispatchingPlayer final : public MediaPlayer {
public:
    explicit DispatchingPlayer(bool audible) : m_audible(audible) {}
    bool open(const QString& path) override
    {
        if (!m_audible)
            m_inner = std::make_unique<SilentPlayer>();
        else if (QFileInfo(path).suffix().compare(QLatin1String("mid"), Qt::CaseInsensitive) == 0)
            m_inner = std::make_unique<MusicPlayer>();
        else
            m_inner = std::make_unique<SoundPlayer>();
        connect(m_inner.get(), &MediaPlayer::finished, this, [this] { endOfPlay(); });
        m_inner->setNotify(true);
        return m_inner->open(path);
    }
    bool play() override { return m_inner && m_inner->play(); }
    void stop() override
    {
        if (m_inner)
            m_inner->stop();
    }
    void rewind() override
    {
        if (m_inner)
            m_inner->rewind();
    }
    void close() override
    {
        if (m_inner)
            m_inner->close();
        m_inner.reset();
    }
    bool isOpen() const override { return m_inner && m_inner->isOpen(); }

private:
    bool m_audible;
    std::unique_ptr<MediaPlayer> m_inner;
};

class SdlAudio final : public AudioSystem {
public:
    SdlAudio(const QString& ownSoundFont, bool musicOnSilentOutputs)
    {
        if (!g_mixer.load())
            return;
        // SDL would take SIGINT and SIGTERM for an event queue nobody reads; the program
        // handles them itself (SystemSignals).
        g_mixer.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (g_mixer.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return;
        g_mixer.Mix_Init(MIX_INIT_MID);
        if (g_mixer.Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            g_mixer.SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return;
        }
        m_open = true;
        g_mixer.Mix_AllocateChannels(8);
        g_mixer.Mix_HookMusicFinished(&musicFinishedOnAudioThread);
        g_mixer.Mix_ChannelFinished(&channelFinishedOnAudioThread);
        const QString font = QFileInfo::exists(ownSoundFont) ? ownSoundFont : QString::fromLatin1(GeneralMidiSoundFont);
        const bool soundFont = QFileInfo::exists(font) && g_mixer.Mix_SetSoundFonts(QFile::encodeName(font).constData()) != 0;
        const char* driver = g_mixer.SDL_GetCurrentAudioDriver();
        // The dummy and disk drivers play in time but nobody hears them.
        const bool heard = driver && (musicOnSilentOutputs || (qstrcmp(driver, "dummy") != 0 && qstrcmp(driver, "disk") != 0));
        bool midi = false;
        for (int i = 0; i < g_mixer.Mix_GetNumMusicDecoders(); ++i)
            midi = midi || qstrcmp(g_mixer.Mix_GetMusicDecoder(i), "MIDI") == 0;
        m_midiDevices = soundFont && heard && midi ? 1 : 0;
    }
    ~SdlAudio() override
    {
        if (m_open) {
            g_mixer.Mix_HookMusicFinished(nullptr);
            g_mixer.Mix_ChannelFinished(nullptr);
            g_mixer.Mix_CloseAudio();
            g_mixer.Mix_Quit();
            g_mixer.SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    int midiDeviceCount() const override { return m_midiDevices; }
    std::unique_ptr<MediaPlayer> createPlayer() override { return std::make_unique<DispatchingPlayer>(m_open); }

private:
    bool m_open = false;
    int m_midiDevices = 0;
};

// Opening the audio device and the soundfont takes a while; it waits until the first sound
// is wanted, so that the first screen appears without waiting for it.
class LazySdlAudio final : public AudioSystem {
public:
    LazySdlAudio(QString soundFont, bool musicOnSilentOutputs)
        : m_soundFont(std::move(soundFont)), m_musicOnSilentOutputs(musicOnSilentOutputs)
    {
    }
    int midiDeviceCount() const override { return audio().midiDeviceCount(); }
    std::unique_ptr<MediaPlayer> createPlayer() override { return audio().createPlayer(); }

private:
    SdlAudio& audio() const
    {
        if (!m_audio)
            m_audio = std::make_unique<SdlAudio>(m_soundFont, m_musicOnSilentOutputs);
        return *m_audio;
    }
    QString m_soundFont;
    bool m_musicOnSilentOutputs;
    mutable std::unique_ptr<SdlAudio> m_audio;
};

} // namespace

std::unique_ptr<AudioSystem> createSdlAudio(const QString& soundFont, bool musicOnSilentOutputs)
{
    return std::make_unique<LazySdlAudio>(soundFont, musicOnSilentOutputs);
}

std::unique_ptr<AudioSystem> createSilentAudio()
{
    return std::make_unique<SilentAudio>();
}

} // namespace moji
