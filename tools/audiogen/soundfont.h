#pragma once

#include "score.h"

#include <QByteArray>
#include <QString>

#include <set>
#include <vector>

namespace moji::audio {

// What a set of tunes plays: the General MIDI programs of their melodic parts and the keys of
// their drums part (the standard kit, bank 128).
struct Instrumentation {
    std::set<int> programs;
    std::set<int> drumKeys;
};

Instrumentation instrumentationOf(const std::vector<Score>& scores);

// A SoundFont 2 file holding only what `used` plays of `font`: the melodic presets of its
// programs (bank 0) and the piano, which the synthesiser gives every channel before a tune
// chooses, and of the standard drum kit only the zones of its keys; with their instruments and
// samples, unchanged. The synthesiser plays the tunes from it exactly as from the whole font,
// for a fraction of the memory and of the time it takes to load. Raises FileError naming
// `displayName` when `font` is not a SoundFont 2 file it can read.
QByteArray soundFontSubset(const QByteArray& font, const Instrumentation& used, const QString& displayName);

} // namespace moji::audio
