#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace moji {

// One media file opened by name, played, stopped, rewound and closed, with a notice at the
// end of play. The notice arrives on the Qt event loop, and only while notification is on.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    ~MediaPlayer() override = default;

    // False on a media error (missing or unreadable file): the caller reports
    // mediaErrorMessage() and goes on without this sound.
    virtual bool open(const QString& path) = 0;
    virtual bool play() = 0;
    virtual void stop() = 0;
    virtual void rewind() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    void setNotify(bool on) { m_notify = on; }
    bool notify() const { return m_notify; }

signals:
    void finished();

protected:
    void endOfPlay()
    {
        if (m_notify)
            emit finished();
    }

private:
    bool m_notify = false;
};

// The program's audio: MIDI music and WAVE effects. midiDeviceCount() is 1 only when music
// can really be heard (a MIDI synthesiser, its soundfont and an audio output all open);
// screens play music only then.
class AudioSystem {
public:
    virtual ~AudioSystem() = default;
    virtual int midiDeviceCount() const = 0;
    // A player for a .mid (music) or .wav (effect) file.
    virtual std::unique_ptr<MediaPlayer> createPlayer() = 0;
};

// SDL2_mixer with its FluidSynth MIDI back end and `soundFont` (the program's own, holding what
// its tunes play), else the General MIDI soundfont it was taken from. Without an audio output
// every player is silent and no message is shown. Music plays only where it is heard, unless
// `musicOnSilentOutputs`: the benchmarks play it through SDL's dummy output on a machine
// without a sound card, so that it costs what it costs a family.
std::unique_ptr<AudioSystem> createSdlAudio(const QString& soundFont, bool musicOnSilentOutputs = false);

// Plays nothing; opens any readable file. For tests and for machines without sound.
std::unique_ptr<AudioSystem> createSilentAudio();

// "<file> でエラーがおこりました。 ": the report of a media error.
QString mediaErrorMessage(const QString& fileName);

// Playing length of a Standard MIDI File from its tempo map, in seconds; 0 when unknown.
double midiDurationSeconds(const QByteArray& smf);

} // namespace moji
