#pragma once

#include "score.h"

#include <QByteArray>

namespace moji::audio {

// The Standard MIDI File (format 1, General MIDI) of a checked score: a first track with the
// title, time signature and tempo, then one track per part that sets its instrument, volume,
// pan and reverb on the first tick. Note-offs are written as note-ons of velocity 0 under
// running status, and come before the note-ons of the same tick, so a repeated key restarts
// cleanly. Every track ends exactly at the end of the last bar, leaving no silence before the
// program replays the tune.
QByteArray standardMidiFile(const Score& score);

} // namespace moji::audio
