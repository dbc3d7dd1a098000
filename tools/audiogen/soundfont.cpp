#include "soundfont.h"

#include "errors.h"

#include <QtEndian>

#include <map>
#include <optional>

namespace moji::audio {

namespace {

// SoundFont 2.04: the generators and sample types this needs.
constexpr quint16 KeyRange = 43;
constexpr quint16 Instrument = 41;
constexpr quint16 SampleId = 53;
constexpr quint16 MonoSample = 1;
constexpr int DrumBank = 128;
// Every sample is followed by at least 46 zero sample points.
constexpr int SampleGap = 46;

constexpr int PresetSize = 38;
constexpr int BagSize = 4;
constexpr int ModulatorSize = 10;
constexpr int GeneratorSize = 4;
constexpr int InstrumentSize = 22;
constexpr int SampleSize = 46;

quint16 u16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

// The chunks of a RIFF list, by their ids, each body with its own bounds checked.
class Chunks {
public:
    Chunks(const QByteArray& bytes, qsizetype begin, qsizetype end, const QString& name)
    {
        qsizetype at = begin;
        while (at + 8 <= end) {
            const QByteArray id = bytes.mid(at, 4);
            const quint32 size = u32(bytes, at + 4);
            if (size > quint32(end - at - 8))
                throw FileError(name, QStringLiteral("the chunk %1 runs past its list").arg(QString::fromLatin1(id)));
            m_chunks.push_back({id, bytes.mid(at + 8, size), at + 8});
            at += 8 + qsizetype(size) + (size & 1);
        }
    }
    struct Chunk {
        QByteArray id;
        QByteArray body;
        qsizetype offset;
    };
    // The first LIST of `type`, or the first chunk of `id`; empty when there is none.
    const Chunk* list(const QByteArray& type) const
    {
        for (const Chunk& c : m_chunks) {
            if (c.id == "LIST" && c.body.startsWith(type))
                return &c;
        }
        return nullptr;
    }
    QByteArray chunk(const QByteArray& id) const
    {
        for (const Chunk& c : m_chunks) {
            if (c.id == id)
                return c.body;
        }
        return {};
    }

private:
    std::vector<Chunk> m_chunks;
};

QByteArray chunk(const QByteArray& id, const QByteArray& body)
{
    QByteArray out = id;
    out.resize(8);
    put32(out, 4, quint32(body.size()));
    out += body;
    if (body.size() & 1)
        out.append('\0');
    return out;
}

QByteArray list(const QByteArray& type, const QByteArray& chunks)
{
    return chunk("LIST", type + chunks);
}

// A zone: its generators and modulators, as stored.
struct Zone {
    QByteArray generators;
    QByteArray modulators;

    // The amount of generator `oper`, if the zone has it.
    std::optional<quint16> find(quint16 oper) const
    {
        for (qsizetype at = 0; at + GeneratorSize <= generators.size(); at += GeneratorSize) {
            if (u16(generators, at) == oper)
                return u16(generators, at + 2);
        }
        return std::nullopt;
    }
    void replace(quint16 oper, quint16 amount)
    {
        for (qsizetype at = 0; at + GeneratorSize <= generators.size(); at += GeneratorSize) {
            if (u16(generators, at) == oper)
                put16(generators, at + 2, amount);
        }
    }
    // Whether the zone plays any of `keys` (a zone without a key range plays them all).
    bool playsAnyOf(const std::set<int>& keys) const
    {
        const std::optional<quint16> range = find(KeyRange);
        if (!range)
            return true;
        const int low = *range & 0xFF;
        const int high = *range >> 8;
        const auto it = keys.lower_bound(low);
        return it != keys.end() && *it <= high;
    }
};

// A preset or an instrument: its header record and its zones.
struct Item {
    QByteArray header;
    std::vector<Zone> zones;
};

// The headers of `headers` (records of `size`, the last a terminal one whose bag index ends the
// last item), each with its zones from the bags, generators and modulators.
std::vector<Item> readItems(const QByteArray& headers, int size, int bagAt, const QByteArray& bags,
                            const QByteArray& generators, const QByteArray& modulators, const QString& name)
{
    const qsizetype count = headers.size() / size;
    const qsizetype bagCount = bags.size() / BagSize;
    if (count < 2 || bagCount < 1)
        throw FileError(name, QStringLiteral("no presets or instruments"));
    std::vector<Item> items;
    for (qsizetype i = 0; i + 1 < count; ++i) {
        Item item{headers.mid(i * size, size), {}};
        const quint16 first = u16(headers, i * size + bagAt);
        const quint16 last = u16(headers, (i + 1) * size + bagAt);
        if (first > last || last >= bagCount)
            throw FileError(name, QStringLiteral("zones out of order"));
        for (quint16 b = first; b < last; ++b) {
            const quint16 g0 = u16(bags, b * BagSize), g1 = u16(bags, (b + 1) * BagSize);
            const quint16 m0 = u16(bags, b * BagSize + 2), m1 = u16(bags, (b + 1) * BagSize + 2);
            if (g0 > g1 || m0 > m1 || qsizetype(g1) * GeneratorSize > generators.size()
                || qsizetype(m1) * ModulatorSize > modulators.size())
                throw FileError(name, QStringLiteral("generators or modulators out of order"));
            item.zones.push_back({generators.mid(g0 * GeneratorSize, (g1 - g0) * GeneratorSize),
                                  modulators.mid(m0 * ModulatorSize, (m1 - m0) * ModulatorSize)});
        }
        items.push_back(std::move(item));
    }
    return items;
}

// The records of `items` with their bags, generators and modulators, and the terminal records.
struct Written {
    QByteArray headers, bags, generators, modulators;
};

Written writeItems(const std::vector<Item>& items, int size, int bagAt, const char* terminalName)
{
    Written w;
    for (const Item& item : items) {
        QByteArray header = item.header;
        put16(header, bagAt, quint16(w.bags.size() / BagSize));
        w.headers += header;
        for (const Zone& zone : item.zones) {
            QByteArray bag(BagSize, '\0');
            put16(bag, 0, quint16(w.generators.size() / GeneratorSize));
            put16(bag, 2, quint16(w.modulators.size() / ModulatorSize));
            w.bags += bag;
            w.generators += zone.generators;
            w.modulators += zone.modulators;
        }
    }
    QByteArray terminal(size, '\0');
    terminal.replace(0, qsizetype(qstrlen(terminalName)), terminalName);
    put16(terminal, bagAt, quint16(w.bags.size() / BagSize));
    w.headers += terminal;
    QByteArray bag(BagSize, '\0');
    put16(bag, 0, quint16(w.generators.size() / GeneratorSize));
    put16(bag, 2, quint16(w.modulators.size() / ModulatorSize));
    w.bags += bag;
    w.generators += QByteArray(GeneratorSize, '\0');
    w.modulators += QByteArray(ModulatorSize, '\0');
    return w;
}

} // namespace

Instrumentation instrumentationOf(const std::vector<Score>& scores)
{
    Instrumentation used;
    for (const Score& score : scores) {
        for (const Part& part : score.parts) {
            if (!part.drums) {
                used.programs.insert(part.program);
                continue;
            }
            for (const Note& note : part.notes)
                used.drumKeys.insert(note.key);
        }
    }
    return used;
}

QByteArray soundFontSubset(const QByteArray& font, const Instrumentation& used, const QString& name)
{
    if (font.size() < 12 || !font.startsWith("RIFF") || font.mid(8, 4) != "sfbk")
        throw FileError(name, QStringLiteral("not a SoundFont 2 file"));
    const Chunks top(font, 12, std::min<qsizetype>(font.size(), 8 + qsizetype(u32(font, 4))), name);
    const Chunks::Chunk* info = top.list("INFO");
    const Chunks::Chunk* sdta = top.list("sdta");
    const Chunks::Chunk* pdta = top.list("pdta");
    if (!info || !sdta || !pdta)
        throw FileError(name, QStringLiteral("a list is missing"));
    const Chunks sampleData(font, sdta->offset + 4, sdta->offset + sdta->body.size(), name);
    const Chunks presetData(font, pdta->offset + 4, pdta->offset + pdta->body.size(), name);
    const QByteArray smpl = sampleData.chunk("smpl");
    const QByteArray sm24 = sampleData.chunk("sm24");

    std::vector<Item> presets = readItems(presetData.chunk("phdr"), PresetSize, 24, presetData.chunk("pbag"),
                                          presetData.chunk("pgen"), presetData.chunk("pmod"), name);
    const std::vector<Item> instruments = readItems(presetData.chunk("inst"), InstrumentSize, 20, presetData.chunk("ibag"),
                                                    presetData.chunk("igen"), presetData.chunk("imod"), name);
    const QByteArray samples = presetData.chunk("shdr");
    const qsizetype sampleCount = samples.size() / SampleSize - 1;
    if (sampleCount < 1)
        throw FileError(name, QStringLiteral("no samples"));

    std::set<int> programs = used.programs;
    programs.insert(0);
    // The presets kept; the instruments they play, and whether through the drum kit only.
    std::vector<Item> keptPresets;
    std::map<quint16, bool> drumOnly;
    for (Item& preset : presets) {
        const int program = u16(preset.header, 20);
        const int bank = u16(preset.header, 22);
        const bool drums = bank == DrumBank && program == 0 && !used.drumKeys.empty();
        if (!drums && !(bank == 0 && programs.count(program)))
            continue;
        std::vector<Zone> zones;
        for (const Zone& zone : preset.zones) {
            const std::optional<quint16> instrument = zone.find(Instrument);
            if (instrument && drums && !zone.playsAnyOf(used.drumKeys))
                continue;
            if (instrument) {
                if (*instrument >= instruments.size())
                    throw FileError(name, QStringLiteral("a preset plays an instrument that is not there"));
                const auto [it, added] = drumOnly.emplace(*instrument, drums);
                if (!added)
                    it->second = it->second && drums;
            }
            zones.push_back(zone);
        }
        preset.zones = std::move(zones);
        keptPresets.push_back(std::move(preset));
    }

    // The instruments, in their order, with the drum kit's zones of other keys left out; the
    // samples they play.
    std::map<quint16, quint16> newInstrument;
    std::vector<Item> keptInstruments;
    std::map<quint16, quint16> newSample;
    for (const auto& [index, drums] : drumOnly) {
        Item instrument = instruments[index];
        std::vector<Zone> zones;
        for (const Zone& zone : instrument.zones) {
            const std::optional<quint16> sample = zone.find(SampleId);
            if (sample && drums && !zone.playsAnyOf(used.drumKeys))
                continue;
            if (sample) {
                if (*sample >= sampleCount)
                    throw FileError(name, QStringLiteral("an instrument plays a sample that is not there"));
                newSample.emplace(*sample, 0);
                // A stereo sample's other half goes with it.
                const qsizetype at = qsizetype(*sample) * SampleSize;
                if (u16(samples, at + 44) != MonoSample && u16(samples, at + 42) < sampleCount)
                    newSample.emplace(u16(samples, at + 42), 0);
            }
            zones.push_back(zone);
        }
        instrument.zones = std::move(zones);
        newInstrument[index] = quint16(keptInstruments.size());
        keptInstruments.push_back(std::move(instrument));
    }

    // The samples, in their order, each followed by its gap; their points moved with them.
    QByteArray newSmpl;
    QByteArray newSm24;
    QByteArray newHeaders;
    quint16 next = 0;
    for (auto& [index, newIndex] : newSample)
        newIndex = next++;
    for (const auto& [index, newIndex] : newSample) {
        QByteArray header = samples.mid(qsizetype(index) * SampleSize, SampleSize);
        const quint32 start = u32(header, 20);
        const quint32 end = u32(header, 24);
        if (start > end || qsizetype(end) * 2 > smpl.size())
            throw FileError(name, QStringLiteral("a sample runs past the sample data"));
        const quint32 moved = quint32(newSmpl.size() / 2);
        newSmpl += smpl.mid(qsizetype(start) * 2, qsizetype(end - start) * 2);
        newSmpl += QByteArray(SampleGap * 2, '\0');
        if (!sm24.isEmpty()) {
            newSm24 += sm24.mid(start, end - start);
            newSm24 += QByteArray(SampleGap, '\0');
        }
        for (const int at : {20, 24, 28, 32})
            put32(header, at, u32(header, at) - start + moved);
        const auto link = newSample.find(u16(header, 42));
        put16(header, 42, link == newSample.end() ? 0 : link->second);
        newHeaders += header;
    }
    QByteArray terminal(SampleSize, '\0');
    terminal.replace(0, 3, "EOS");
    newHeaders += terminal;

    for (Item& preset : keptPresets) {
        for (Zone& zone : preset.zones) {
            if (const std::optional<quint16> instrument = zone.find(Instrument))
                zone.replace(Instrument, newInstrument.at(*instrument));
        }
    }
    for (Item& instrument : keptInstruments) {
        for (Zone& zone : instrument.zones) {
            if (const std::optional<quint16> sample = zone.find(SampleId))
                zone.replace(SampleId, newSample.at(*sample));
        }
    }
    const Written p = writeItems(keptPresets, PresetSize, 24, "EOP");
    const Written i = writeItems(keptInstruments, InstrumentSize, 20, "EOI");
    QByteArray sdtaOut = chunk("smpl", newSmpl);
    if (!newSm24.isEmpty())
        sdtaOut += chunk("sm24", newSm24);
    const QByteArray body = QByteArray("sfbk") + chunk("LIST", info->body) + list("sdta", sdtaOut)
        + list("pdta", chunk("phdr", p.headers) + chunk("pbag", p.bags) + chunk("pmod", p.modulators)
                           + chunk("pgen", p.generators) + chunk("inst", i.headers) + chunk("ibag", i.bags)
                           + chunk("imod", i.modulators) + chunk("igen", i.generators) + chunk("shdr", newHeaders));
    return chunk("RIFF", body);
}

} // namespace moji::audio
