#pragma once

#include <QByteArray>
#include <QRectF>

#include <optional>

class QPainter;

namespace moji {

// A Windows metafile (.wmf) with the drawing records our pictures use: the placeable header,
// window origin and extent, pens, brushes and fonts, polygons, polylines, ellipses,
// rectangles, round rectangles, arcs, pies, chords and text (in CP932). Records it does not
// know are skipped; a record whose size or parameters run past the file ends the drawing,
// never the program; a shape reaching far beyond the picture is not drawn.
class Metafile {
public:
    // nullopt when the bytes are not a metafile at all (no valid header).
    static std::optional<Metafile> parse(const QByteArray& bytes);

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
