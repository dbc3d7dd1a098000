#include "bitmap.h"

#include "filestore.h"

#include <QtEndian>

#include <cstdlib>

namespace moji {

namespace {

constexpr qint64 FileHeaderSize = 14;
constexpr quint32 CoreHeaderSize = 12;

enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

quint16 u16(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// Whether the headers describe pixel data that the file holds whole.
bool isWhole(const QByteArray& b)
{
    const qint64 size = b.size();
    if (size < FileHeaderSize + 4 || b[0] != 'B' || b[1] != 'M' || u32(b, 2) != quint64(size))
        return false;
    const qint64 pixelsAt = u32(b, 10);
    const quint32 infoSize = u32(b, 14);
    if ((infoSize != CoreHeaderSize && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108
         && infoSize != 124)
        || FileHeaderSize + infoSize > size || pixelsAt < FileHeaderSize + infoSize || pixelsAt > size)
        return false;

    qint64 width = 0;
    qint64 height = 0;
    quint16 planes = 0;
    quint16 bits = 0;
    quint32 compression = Rgb;
    qint64 dataSize = 0;
    if (infoSize == CoreHeaderSize) {
        width = u16(b, 18);
        height = u16(b, 20);
        planes = u16(b, 22);
        bits = u16(b, 24);
    } else {
        width = qint32(u32(b, 18));
        height = std::llabs(qint32(u32(b, 22)));
        planes = u16(b, 26);
        bits = u16(b, 28);
        compression = u32(b, 30);
        dataSize = u32(b, 34);
    }
    if (width <= 0 || height <= 0 || planes != 1)
        return false;
    switch (compression) {
    case Rgb:
    case BitFields:
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return false;
        // Rows are padded to whole 32-bit words.
        return pixelsAt + (width * bits + 31) / 32 * 4 * height <= size;
    case Rle8:
    case Rle4:
        return bits == (compression == Rle8 ? 8 : 4) && dataSize > 0 && pixelsAt + dataSize <= size;
    default: return false;
    }
}

} // namespace

QImage parseBitmap(const QByteArray& bytes)
{
    if (!isWhole(bytes))
        return {};
    return QImage::fromData(bytes, "BMP");
}

QImage readBitmap(const QString& path, const QString& displayName)
{
    const QImage image = parseBitmap(filestore::readAll(path, displayName));
    if (image.isNull())
        throw FileError(displayName, QStringLiteral("not a whole bitmap"));
    return image;
}

} // namespace moji
