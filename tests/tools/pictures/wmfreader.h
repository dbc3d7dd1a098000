#pragma once

#include <QByteArray>
#include <QColor>
#include <QPainter>
#include <QRect>
#include <QStringList>

#include <cstdint>
#include <vector>

// An independent reading of Windows metafiles, written from the public format rather than from
// our writer, for checking what the writer produced.
namespace wmf_check {

struct Record {
    uint16_t function = 0;
    std::vector<int16_t> words; // parameters
};

struct Metafile {
    QRect bounds;
    int unitsPerInch = 0;
    int objectCount = 0;
    std::vector<Record> records; // without the end record
};

// Reads the file and lists every fault against the format and the records our player draws:
// header fields and checksum, sizes, unknown records, parameter counts, object table use.
Metafile read(const QByteArray& bytes, QStringList& problems);

// Plays the records onto a `pixels` square, the window stretched over it, antialiased.
QImage replay(const Metafile& metafile, int pixels);

// The share of pixels (0 to 1) where two same-sized pictures differ visibly.
double differingShare(const QImage& a, const QImage& b);

} // namespace wmf_check
