#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

namespace moji {

// A Windows metafile (.wmf) with the drawing records our pictures use: the placeable header,
// window origin and extent, pens, brushes and fonts, polygons, polylines, ellipses,
// rectangles, round rectangles, arcs, pies, chords and text (in CP932). Records it does not
// know are skipped; parameters running past their record are read as zero, never beyond it;
// a shape reaching far beyond the picture is not drawn.
class Metafile {
public:
    // nullopt when the bytes are not one whole metafile: no valid header, a placeable header
    // whose checksum fails, a declared size other than the real one, or records that do not
    // run exactly to a closing end record.
    static std::optional<Metafile> parse(const QByteArray& bytes);
    // The metafile in a file. Raises FileError naming `displayName` when the file cannot be
    // read or is not one whole metafile.
    static Metafile read(const QString& path, const QString& displayName);

    // The picture's frame in its own units: the placeable header's box, else the window.
    QRectF frame() const { return m_frame; }

    // Draws the whole picture stretched onto `target`.
    void render(QPainter& painter, const QRectF& target) const;

private:
    QByteArray m_bytes;
    int m_firstRecord = 0;
    QRectF m_frame;
};

} // namespace moji
