#include "zinniamodel.h"

#include <QtEndian>

#include <algorithm>

namespace moji::handwriting {

namespace {

// The layout of a Zinnia model (version 1), little-endian: a header of three 32-bit words (the
// file's size XOR Magic, the version, the number of characters), then each character: its name
// in 16 bytes of UTF-8 padded with zeros, a float bias, and its weights as pairs of a 32-bit
// feature index and a float, ended by the index -1.
constexpr quint32 Magic = 0xef71821;
constexpr quint32 Version = 1;
constexpr qsizetype Header = 12;
constexpr qsizetype NameBytes = 16;
constexpr qsizetype BiasBytes = 4;
constexpr qsizetype WeightBytes = 8;
constexpr qint32 LastWeight = -1;
constexpr qint64 Piece = 1 << 20;

// The model's bytes, a piece at a time.
class Pieces {
public:
    explicit Pieces(QIODevice& device) : m_device(device) {}

    // The next `n` bytes, or an empty view at the end of the model. Valid until the next call.
    QByteArrayView take(qsizetype n)
    {
        if (m_bytes.size() - m_at < n) {
            m_bytes = m_bytes.sliced(m_at) + m_device.read(std::max<qint64>(n, Piece));
            m_at = 0;
            if (m_bytes.size() < n)
                return {};
        }
        m_at += n;
        return QByteArrayView(m_bytes).sliced(m_at - n, n);
    }

    bool atEnd() const { return m_at == m_bytes.size() && m_device.atEnd(); }

private:
    QIODevice& m_device;
    QByteArray m_bytes;
    qsizetype m_at = 0;
};

template <typename T>
T read(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<T>(bytes.data() + at);
}

template <typename T>
void write(QByteArray& bytes, qsizetype at, T value)
{
    qToLittleEndian<T>(value, bytes.data() + at);
}

} // namespace

std::optional<QByteArray> narrowedZinniaModel(QIODevice& model, const QSet<QString>& kept)
{
    Pieces in(model);
    const QByteArrayView header = in.take(Header);
    if (header.isEmpty() || (read<quint32>(header, 0) ^ Magic) != quint64(model.size()) || read<quint32>(header, 4) != Version)
        return std::nullopt;
    const quint32 characters = read<quint32>(header, 8);
    QByteArray out(Header, '\0');
    quint32 keptCount = 0;
    for (quint32 i = 0; i < characters; ++i) {
        const QByteArrayView start = in.take(NameBytes + BiasBytes);
        if (start.isEmpty())
            return std::nullopt;
        const QByteArrayView name = start.first(NameBytes);
        const bool keep = kept.contains(QString::fromUtf8(name.first(std::find(name.begin(), name.end(), '\0') - name.begin())));
        if (keep) {
            out += start;
            ++keptCount;
        }
        for (bool last = false; !last;) {
            const QByteArrayView weight = in.take(WeightBytes);
            if (weight.isEmpty())
                return std::nullopt;
            if (keep)
                out += weight;
            last = read<qint32>(weight, 0) == LastWeight;
        }
    }
    if (!in.atEnd())
        return std::nullopt;
    write<quint32>(out, 0, quint32(out.size()) ^ Magic);
    write<quint32>(out, 4, Version);
    write<quint32>(out, 8, keptCount);
    return out;
}

} // namespace moji::handwriting
