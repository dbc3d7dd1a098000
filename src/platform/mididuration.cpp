// The length of a Standard MIDI File from its tempo map: the latest end-of-track over all
// tracks, with every tempo change applied. Used to loop music without the synthesiser's
// trailing silence.

#include "audio.h"

#include <QtEndian>

#include <map>

namespace moji {

namespace {

class Cursor {
public:
    Cursor(const QByteArray& bytes, qsizetype begin, qsizetype end) : m_bytes(bytes), m_pos(begin), m_end(end) {}
    bool atEnd() const { return m_pos >= m_end; }
    bool ok() const { return m_ok; }
    quint8 byte()
    {
        if (m_pos >= m_end) {
            m_ok = false;
            return 0;
        }
        return quint8(m_bytes[m_pos++]);
    }
    quint32 variable()
    {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const quint8 b = byte();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return value;
        }
        m_ok = false;
        return value;
    }
    void skip(quint32 n)
    {
        if (qsizetype(n) > m_end - m_pos) {
            m_ok = false;
            m_pos = m_end;
        } else {
            m_pos += n;
        }
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos;
    qsizetype m_end;
    bool m_ok = true;
};

} // namespace

double midiDurationSeconds(const QByteArray& smf)
{
    if (smf.size() < 14 || !smf.startsWith("MThd"))
        return 0;
    const char* d = smf.constData();
    const quint16 tracks = qFromBigEndian<quint16>(d + 10);
    const qint16 division = qFromBigEndian<qint16>(d + 12);
    if (division <= 0) // SMPTE time is not used by our tunes
        return 0;
    std::map<quint64, quint32> tempo{{0, 500000}}; // tick -> microseconds per quarter note
    quint64 lastTick = 0;
    qsizetype at = 8 + qFromBigEndian<quint32>(d + 4);
    for (int t = 0; t < tracks && at + 8 <= smf.size(); ++t) {
        const quint32 length = qFromBigEndian<quint32>(d + at + 4);
        if (!smf.mid(at, 4).startsWith("MTrk") || qsizetype(length) > smf.size() - at - 8)
            return 0;
        Cursor c(smf, at + 8, at + 8 + length);
        quint64 tick = 0;
        quint8 status = 0;
        while (!c.atEnd() && c.ok()) {
            tick += c.variable();
            quint8 b = c.byte();
            if (b == 0xFF) {
                const quint8 type = c.byte();
                const quint32 len = c.variable();
                if (type == 0x51 && len == 3) {
                    const quint32 us = (quint32(c.byte()) << 16) | (quint32(c.byte()) << 8) | c.byte();
                    tempo[tick] = us;
                } else {
                    c.skip(len);
                }
                if (type == 0x2F)
                    break;
            } else if (b == 0xF0 || b == 0xF7) {
                c.skip(c.variable());
            } else {
                if (b & 0x80) {
                    status = b;
                    b = c.byte();
                }
                const quint8 kind = status & 0xF0;
                if (kind != 0xC0 && kind != 0xD0)
                    c.byte();
            }
        }
        if (!c.ok())
            return 0;
        lastTick = std::max(lastTick, tick);
        at += 8 + qsizetype(length);
    }
    double seconds = 0;
    quint64 tick = 0;
    quint32 us = 500000;
    for (const auto& [changeAt, value] : tempo) {
        if (changeAt >= lastTick)
            break;
        seconds += double(changeAt - tick) * us / division / 1e6;
        tick = changeAt;
        us = value;
    }
    seconds += double(lastTick - tick) * us / division / 1e6;
    return seconds;
}

} // namespace moji
