#pragma once

#include <QByteArray>

#include <cstdint>
#include <stdexcept>
#include <vector>

// A Standard MIDI File reader for the tests, written apart from the compiler's writer so that
// the two cannot share a mistake. It follows the file format, not our writer's habits: any
// format, running status, system-exclusive and meta events.
namespace midi {

struct Event {
    long tick = 0;
    uint8_t status = 0; // 0xFF for meta events, 0xF0/0xF7 for system exclusive
    uint8_t metaType = 0;
    std::vector<uint8_t> data; // the data bytes (meta and sysex: the payload)

    int channel() const { return status & 0x0F; }
    int kind() const { return status & 0xF0; }
};

struct File {
    int format = 0;
    int division = 0; // ticks per quarter note
    std::vector<std::vector<Event>> tracks;
};

// A note between its note-on and its note-off.
struct Note {
    int channel;
    int key;
    int velocity;
    long start;
    long end;
};

class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises FormatError on anything malformed: bad chunk ids or lengths, a data byte where a
// status is needed, events running past their chunk, a track without end-of-track last, or
// bytes after the last chunk.
File parse(const QByteArray& bytes);

// Pairs note-ons with note-offs (a note-on of velocity 0 is a note-off) on each channel and
// key. Raises FormatError for a note-on while the same key sounds, a note-off of a silent key,
// or a note still sounding at the end.
std::vector<Note> notes(const File& file);

// Seconds from the start to `tick`, following every tempo change (120 beats a minute until the
// first).
double seconds(const File& file, long tick);

} // namespace midi
