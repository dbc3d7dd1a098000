#pragma once

#include <QString>

#include <optional>

namespace moji::audio {

// A pitch name as musicians write it: a letter A-G, sharps (#) or flats (b), and the octave,
// with middle C as C4 (MIDI key 60). "F#3" = 54, "Bb4" = 70, "Cb4" = 59. nullopt for anything
// else or for a key outside 0..127.
std::optional<int> parsePitch(const QString& text);

// Equal-tempered frequency of a MIDI key, A4 (69) = 440 Hz.
double keyFrequency(double key);

} // namespace moji::audio
