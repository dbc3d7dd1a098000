#include "midireader.h"

#include <algorithm>
#include <map>
#include <string>

namespace midi {

namespace {

class Cursor {
public:
    Cursor(const QByteArray& bytes, qsizetype begin, qsizetype end) : m_bytes(bytes), m_pos(begin), m_end(end) {}

    bool atEnd() const { return m_pos >= m_end; }
    qsizetype position() const { return m_pos; }

    uint8_t byte()
    {
        if (m_pos >= m_end)
            throw FormatError("event runs past the end of its chunk at byte " + std::to_string(m_pos));
        return uint8_t(m_bytes[m_pos++]);
    }
    uint8_t peek() const
    {
        if (m_pos >= m_end)
            throw FormatError("event runs past the end of its chunk");
        return uint8_t(m_bytes[m_pos]);
    }
    uint32_t bigEndian(int n)
    {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | byte();
        return v;
    }
    uint32_t variableLength()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const uint8_t b = byte();
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return v;
        }
        throw FormatError("variable-length number longer than four bytes");
    }
    std::vector<uint8_t> take(uint32_t n)
    {
        std::vector<uint8_t> out;
        for (uint32_t i = 0; i < n; ++i)
            out.push_back(byte());
        return out;
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos;
    qsizetype m_end;
};

std::vector<Event> parseTrack(const QByteArray& bytes, qsizetype begin, qsizetype end)
{
    Cursor c(bytes, begin, end);
    std::vector<Event> events;
    long tick = 0;
    uint8_t running = 0;
    while (!c.atEnd()) {
        if (!events.empty() && events.back().status == 0xFF && events.back().metaType == 0x2F)
            throw FormatError("events after end-of-track");
        Event e;
        tick += long(c.variableLength());
        e.tick = tick;
        uint8_t status = c.peek();
        if (status & 0x80) {
            c.byte();
        } else {
            if (running == 0)
                throw FormatError("data byte without a running status");
            status = running;
        }
        e.status = status;
        if (status == 0xFF) {
            e.metaType = c.byte();
            e.data = c.take(c.variableLength());
            running = 0;
        } else if (status == 0xF0 || status == 0xF7) {
            e.data = c.take(c.variableLength());
            running = 0;
        } else if (status >= 0xF0) {
            throw FormatError("system message inside a file");
        } else {
            running = status;
            const int kind = status & 0xF0;
            e.data = c.take(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
            for (const uint8_t d : e.data) {
                if (d & 0x80)
                    throw FormatError("data byte with its top bit set");
            }
        }
        events.push_back(e);
    }
    if (events.empty() || events.back().status != 0xFF || events.back().metaType != 0x2F)
        throw FormatError("track does not end with end-of-track");
    return events;
}

} // namespace

File parse(const QByteArray& bytes)
{
    Cursor header(bytes, 0, bytes.size());
    if (bytes.left(4) != "MThd")
        throw FormatError("no MThd header chunk");
    header.take(4);
    if (header.bigEndian(4) != 6)
        throw FormatError("header chunk length is not 6");
    File file;
    file.format = int(header.bigEndian(2));
    const uint32_t trackCount = header.bigEndian(2);
    file.division = int(header.bigEndian(2));
    if (file.format > 2)
        throw FormatError("unknown format");
    if (file.division <= 0 || (file.division & 0x8000))
        throw FormatError("division is not in ticks per quarter note");
    qsizetype pos = 14;
    for (uint32_t t = 0; t < trackCount; ++t) {
        if (pos + 8 > bytes.size() || bytes.mid(pos, 4) != "MTrk")
            throw FormatError("missing MTrk chunk " + std::to_string(t));
        Cursor length(bytes, pos + 4, pos + 8);
        const qsizetype size = qsizetype(length.bigEndian(4));
        if (pos + 8 + size > bytes.size())
            throw FormatError("track chunk longer than the file");
        file.tracks.push_back(parseTrack(bytes, pos + 8, pos + 8 + size));
        pos += 8 + size;
    }
    if (pos != bytes.size())
        throw FormatError("bytes after the last track chunk");
    if (file.format == 0 && file.tracks.size() != 1)
        throw FormatError("format 0 with more than one track");
    return file;
}

std::vector<Note> notes(const File& file)
{
    std::vector<Note> out;
    for (const auto& track : file.tracks) {
        std::map<std::pair<int, int>, Note> sounding;
        for (const Event& e : track) {
            const bool on = e.kind() == 0x90 && e.data[1] > 0;
            const bool off = e.kind() == 0x80 || (e.kind() == 0x90 && e.data[1] == 0);
            if (e.status >= 0xF0 || (!on && !off))
                continue;
            const std::pair<int, int> id{e.channel(), e.data[0]};
            const std::string where = " (channel " + std::to_string(id.first + 1) + ", key " + std::to_string(id.second)
                                      + ", tick " + std::to_string(e.tick) + ")";
            if (on) {
                if (sounding.count(id))
                    throw FormatError("note-on of a sounding key" + where);
                sounding[id] = Note{id.first, id.second, e.data[1], e.tick, 0};
            } else {
                const auto it = sounding.find(id);
                if (it == sounding.end())
                    throw FormatError("note-off of a silent key" + where);
                it->second.end = e.tick;
                out.push_back(it->second);
                sounding.erase(it);
            }
        }
        if (!sounding.empty())
            throw FormatError("stuck note: key " + std::to_string(sounding.begin()->first.second) + " never ends");
    }
    std::sort(out.begin(), out.end(), [](const Note& a, const Note& b) { return a.start < b.start; });
    return out;
}

double seconds(const File& file, long tick)
{
    std::vector<std::pair<long, uint32_t>> tempos; // (tick, microseconds per quarter)
    for (const auto& track : file.tracks) {
        for (const Event& e : track) {
            if (e.status == 0xFF && e.metaType == 0x51 && e.data.size() == 3)
                tempos.emplace_back(e.tick, (uint32_t(e.data[0]) << 16) | (uint32_t(e.data[1]) << 8) | e.data[2]);
        }
    }
    std::sort(tempos.begin(), tempos.end());
    double total = 0;
    long at = 0;
    uint32_t tempo = 500000;
    for (const auto& [when, value] : tempos) {
        if (when >= tick)
            break;
        total += double(when - at) * tempo / file.division / 1e6;
        at = when;
        tempo = value;
    }
    return total + double(tick - at) * tempo / file.division / 1e6;
}

} // namespace midi
