#include "midiwriter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <tuple>

namespace moji::audio {

namespace {

void appendBigEndian(QByteArray& out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// MIDI's variable-length quantity: seven bits a byte, most significant first.
void appendVariableLength(QByteArray& out, uint32_t value)
{
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (n > 1)
        out.append(char(groups[--n] | 0x80));
    out.append(char(groups[0]));
}

class TrackWriter {
public:
    void meta(int tick, uint8_t type, const QByteArray& data)
    {
        delta(tick);
        m_bytes.append(char(0xFF));
        m_bytes.append(char(type));
        appendVariableLength(m_bytes, uint32_t(data.size()));
        m_bytes += data;
        m_status = 0; // a meta event cancels running status
    }

    void channel(int tick, uint8_t status, uint8_t first, int second = -1)
    {
        delta(tick);
        if (status != m_status)
            m_bytes.append(char(status));
        m_status = status;
        m_bytes.append(char(first));
        if (second >= 0)
            m_bytes.append(char(second));
    }

    void end(int tick) { meta(tick, 0x2F, QByteArray()); }

    QByteArray chunk() const
    {
        QByteArray out("MTrk");
        appendBigEndian(out, uint32_t(m_bytes.size()), 4);
        return out + m_bytes;
    }

private:
    void delta(int tick)
    {
        appendVariableLength(m_bytes, uint32_t(tick - m_tick));
        m_tick = tick;
    }

    QByteArray m_bytes;
    int m_tick = 0;
    uint8_t m_status = 0;
};

QByteArray conductorTrack(const Score& score)
{
    TrackWriter track;
    track.meta(0, 0x03, score.title.toUtf8());
    QByteArray time;
    time.append(char(score.beatsPerBar));
    time.append(char(std::countr_zero(unsigned(score.beatUnit))));
    time.append(char(96 / score.beatUnit)); // MIDI clocks per beat
    time.append(char(8));                   // 32nd notes per quarter
    track.meta(0, 0x58, time);
    QByteArray tempo;
    appendBigEndian(tempo, uint32_t(std::lround(60'000'000.0 / score.tempo)), 3);
    track.meta(0, 0x51, tempo);
    track.end(score.ticks());
    return track.chunk();
}

QByteArray partTrack(const Part& part, int endTick)
{
    TrackWriter track;
    track.meta(0, 0x03, part.name.toUtf8());
    const auto ch = uint8_t(part.channel);
    track.channel(0, 0xC0 | ch, uint8_t(part.program));
    track.channel(0, 0xB0 | ch, 7, part.volume);
    track.channel(0, 0xB0 | ch, 10, part.pan);
    track.channel(0, 0xB0 | ch, 91, part.reverb);

    // (tick, 0 for off / 1 for on, key, velocity): offs sort before ons at the same tick.
    std::vector<std::tuple<int, int, int, int>> events;
    for (const Note& n : part.notes) {
        events.emplace_back(n.start, 1, n.key, n.velocity);
        events.emplace_back(n.start + n.length, 0, n.key, 0);
    }
    std::sort(events.begin(), events.end());
    for (const auto& [tick, on, key, velocity] : events)
        track.channel(tick, 0x90 | ch, uint8_t(key), on ? velocity : 0);
    track.end(endTick);
    return track.chunk();
}

} // namespace

QByteArray standardMidiFile(const Score& score)
{
    QByteArray out("MThd");
    appendBigEndian(out, 6, 4);
    appendBigEndian(out, 1, 2); // format 1: simultaneous tracks
    appendBigEndian(out, uint32_t(score.parts.size() + 1), 2);
    appendBigEndian(out, Score::Division, 2);
    out += conductorTrack(score);
    for (const Part& part : score.parts)
        out += partTrack(part, score.ticks());
    return out;
}

} // namespace moji::audio
