#pragma once

#include "table.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace moji::audio {

// One voice of a sound effect: a pitch (possibly gliding and wobbling) with a smooth attack,
// an exponential decay and a smooth release that reaches exact silence at its end, so no
// sound clicks at either end.
struct Tone {
    enum class Wave { Sine, Bell, Soft, Buzz };

    double at = 0;       // seconds from the start of the sound
    double length = 0;   // seconds, release included
    double pitch = 0;    // Hz at the start
    double glideTo = 0;  // Hz at the end (an even glide in pitch); 0 keeps the pitch
    Wave wave = Wave::Sine;
    double attack = 0.005;  // seconds
    double decay = 0;       // 1/s: the level falls by e every 1/decay seconds
    double release = 0.02;  // seconds of fade-out at the end
    double level = 1;       // relative to the other tones, 0..1
    double vibrato = 0;     // Hz of the wobble
    double depth = 0;       // semitones of the wobble at the start; it fades out over the tone
};

struct SoundRecipe {
    int rate = 44100;    // samples per second
    double peak = -3;    // dBFS of the loudest sample
    std::vector<Tone> tones;

    double seconds() const; // where the last tone ends
};

// content/sounds/<name>.txt:
//
//   # a comment
//   rate 44100
//   peak -3
//   tone at 0 length 0.3 pitch E6 wave bell attack 0.004 decay 7
//   tone at 0.1 length 0.4 pitch 330Hz glide 165Hz wave soft vibrato 12 depth 1.5
//
// Pitches are note names (A4 = 440 Hz) or frequencies with "Hz". Waves: sine, bell (a
// struck-bar chime), soft (warm, few overtones), buzz (reedy but rounded). Settings left out
// keep the defaults of Tone. Problems are added as "<file>:<line>: ..."; the sound is usable
// only when nothing was added. Raises moji::FileError when the file cannot be read.
SoundRecipe readSound(const QString& path, content::Problems& problems);

// 16-bit mono samples scaled so the loudest is at the recipe's peak. The last sample falls at the
// end of the last tone, where every tone has faded to silence.
std::vector<int16_t> synthesise(const SoundRecipe& recipe);

// A RIFF WAVE file of 16-bit mono PCM.
QByteArray waveFile(const std::vector<int16_t>& samples, int rate);

} // namespace moji::audio
