#pragma once

#include "table.h"

#include <QString>

#include <vector>

namespace moji::audio {

// A tune as read from content/music/<name>.txt, in MIDI ticks. The notation:
//
//   # a comment (a '#' at the start of a word; "F#4" is a pitch)
//   title Menu                      optional, the file's name otherwise
//   tempo 112                       quarter notes per minute
//   time 4/4                        beats per bar / beat note (2, 4 or 8)
//   part melody flute volume 100 pan 64 reverb 40 velocity 90
//   part drums drums                the General MIDI percussion channel (10)
//   melody: | C5/4 E5/8 G5 C6/2 | D6/4. C6/8 A5/2 |
//   drums x4 @1: | kick/8 hat hat hat snare hat hat hat |
//
// A part line gives whole bars, each closed by '|'. "x4" plays the line four times, "@9"
// asserts that the line starts at bar 9 of its part. A note is a pitch (C4 is middle C), a
// chord joined by '+' (C4+E4+G4), a drum name in a drums part, or 'r' for a rest; its length
// follows a '/' (1 2 4 8 16 32, then '.' for dotted or 't' for a triplet) and, when left out,
// is the previous note's on that line. After the length, '~' ties the note to the same pitch
// in the next note, '!' accents it and '?' softens it. Every part must have the same number
// of bars. Because the program replays the tune when it ends, the tune must start with a note
// on its first tick and sound until the end of its last bar.
struct Note {
    int start = 0;  // ticks from the beginning
    int length = 0; // ticks
    int key = 0;
    int velocity = 0;
};

struct Part {
    QString name;
    int channel = 0; // 0..15; 9 is percussion
    int program = 0; // 0..127
    bool drums = false;
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int velocity = 90;
    std::vector<Note> notes; // in order of start
    int ticks = 0;           // where the part's last bar ends
};

struct Score {
    static constexpr int Division = 480; // ticks per quarter note

    QString title;
    int tempo = 120; // quarter notes per minute
    int beatsPerBar = 4;
    int beatUnit = 4;
    std::vector<Part> parts;

    int barTicks() const { return beatsPerBar * (4 * Division / beatUnit); }
    // Where the tune ends: the end of the last bar.
    int ticks() const;
    int bars() const { return ticks() / barTicks(); }
    double seconds() const { return ticks() * 60.0 / (double(tempo) * Division); }
};

// Reads and checks a score. Everything wrong is added to `problems` as "<file>:<line>: ..."
// so that one build reports every mistake; the score is usable only when nothing was added.
// Raises moji::FileError when the file cannot be read or is not UTF-8.
Score readScore(const QString& path, content::Problems& problems);

} // namespace moji::audio
