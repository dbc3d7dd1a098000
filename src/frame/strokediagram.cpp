#include "strokediagram.h"

#include "screenframe.h"
#include "studystate.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace moji {

namespace {

const QString FontFamily = QStringLiteral("KanjiStrokeOrders");
const QColor Paper(255, 253, 240);
const QColor Ink(20, 30, 90);
const QColor Number(200, 40, 30);

// The share of the side left as margin around the kanji's square.
constexpr double Margin = 0.06;
// The font draws KanjiVG's square (Kakijun.dat's 0..255) over its em square shifted: at an em
// of 1024 units, from x = 26 and from y = -852 (above the baseline). Measured on the 440
// kanji: 97 % of the strokes' recorded ends lie within 20 units of the font's ink (see the
// diagram test).
constexpr double Em = 1024;
constexpr double SquareLeft = 26;
constexpr double SquareTop = -852;
// The font's numbers are drawn with lines some 6 units thick, its strokes 30: an opening with
// a disc this wide (in em units) takes away the one and keeps the other.
constexpr double Opening = 16;

QFont diagramFont(int pixels)
{
    QFont f(FontFamily);
    f.setPixelSize(pixels);
    // Never another font's kanji without numbers in its place.
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

double unit(int side)
{
    return side * (1 - 2 * Margin) / 255.0;
}

// The minimum (erode) or maximum (dilate) of each pixel's neighbours within a disc of
// `radius`: round, so that a slanting stroke fares as a level one.
void spread(std::vector<uchar>& mask, int w, int h, int radius, bool grow)
{
    std::vector<QPoint> disc;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if (dx * dx + dy * dy <= radius * radius + radius)
                disc.emplace_back(dx, dy);
        }
    }
    const std::vector<uchar> from = mask;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uchar v = from[std::size_t(y * w + x)];
            for (const QPoint& d : disc) {
                const int px = x + d.x(), py = y + d.y();
                if (px < 0 || py < 0 || px >= w || py >= h)
                    continue;
                const uchar n = from[std::size_t(py * w + px)];
                v = grow ? std::max(v, n) : std::min(v, n);
            }
            mask[std::size_t(y * w + x)] = v;
        }
    }
}

// The kanji's strokes in ink without the font's numbers.
QImage strokesWithoutNumbers(const QPainterPath& glyph, int side)
{
    const double k = unit(side) * 255.0 / Em;
    QTransform place;
    place.translate(side * Margin - SquareLeft * k, side * Margin - SquareTop * k);
    place.scale(k, k);
    const QPainterPath path = place.map(glyph);

    QImage hard(side, side, QImage::Format_Grayscale8);
    hard.fill(0);
    {
        QPainter p(&hard);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(path);
    }
    std::vector<uchar> mask(std::size_t(side * side));
    for (int y = 0; y < side; ++y)
        std::copy_n(hard.constScanLine(y), side, mask.begin() + std::ptrdiff_t(y * side));
    const int radius = std::max(1, int(std::lround((Opening * k - 1) / 2)));
    spread(mask, side, side, radius, false);
    spread(mask, side, side, radius + 1, true); // one pixel more keeps the smoothed edges

    QImage ink(side, side, QImage::Format_ARGB32_Premultiplied);
    ink.fill(Qt::transparent);
    {
        QPainter p(&ink);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawPath(path);
    }
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(ink.scanLine(y));
        for (int x = 0; x < side; ++x) {
            if (!mask[std::size_t(y * side + x)])
                row[x] = 0;
        }
    }
    return ink;
}

// The numbers at the strokes' starts, each set back from its stroke and clear of the numbers
// before it.
void drawNumbers(QPainter& p, const std::vector<handwriting::ReferenceStroke>& strokes, int side)
{
    QFont f = pixelFont(QFont(), std::max(10, int(side * 0.085)));
    p.setFont(f);
    const QFontMetricsF metrics(f);
    const double radius = metrics.height() * 0.55;
    std::vector<QPointF> placed;
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        const QPointF start = onDiagram(strokes[i].start, side);
        const QPointF end = onDiagram(strokes[i].end, side);
        QPointF along = end - start;
        const double length = std::hypot(along.x(), along.y());
        along = length > 0 ? along / length : QPointF(1, 0);
        const QPointF across(-along.y(), along.x());
        const double away = radius + side * 0.025;
        // Behind the start first, then to either side of it, then further out.
        const QPointF tries[] = {start - along * away,          start + across * away,
                                 start - across * away,         start - (along + across) * away * 0.8,
                                 start - (along - across) * away * 0.8, start - along * away * 1.8,
                                 start + across * away * 1.8,   start - across * away * 1.8};
        QPointF best = tries[0];
        double bestClearance = -1;
        for (QPointF at : tries) {
            at.setX(std::clamp(at.x(), radius, side - radius));
            at.setY(std::clamp(at.y(), radius, side - radius));
            double clearance = 2 * radius;
            for (const QPointF& other : placed)
                clearance = std::min(clearance, std::hypot(at.x() - other.x(), at.y() - other.y()));
            if (clearance > bestClearance + 0.5) {
                bestClearance = clearance;
                best = at;
            }
            if (clearance >= 2 * radius)
                break;
        }
        placed.push_back(best);

        p.setPen(Qt::NoPen);
        p.setBrush(Number);
        p.drawEllipse(start, side * 0.013, side * 0.013);
        const QString text = QString::number(i + 1);
        QPainterPath number;
        number.addText(best.x() - metrics.horizontalAdvance(text) / 2, best.y() + (metrics.ascent() - metrics.descent()) / 2, f, text);
        // A white edge keeps the number readable over the ink.
        p.setPen(QPen(Paper, std::max(2.0, side * 0.012), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(number);
        p.setPen(Qt::NoPen);
        p.setBrush(Number);
        p.drawPath(number);
    }
}

} // namespace

bool hasStrokeOrderFont(const QString& kanji)
{
    if (kanji.isEmpty() || !QFontDatabase::families().contains(FontFamily))
        return false;
    return QFontMetrics(diagramFont(64)).inFontUcs4(kanji.toUcs4().value(0));
}

QString strokeOrderCaption(const StudyState& state, const QString& kanji)
{
    if (!hasStrokeOrderFont(kanji))
        return QStringLiteral("「%1」の　かきじゅんの　ずは　ないよ").arg(kanji);
    QString caption = QStringLiteral("「%1」の　かきじゅん").arg(kanji);
    for (int k = 1; k < LastKanjiSlot; ++k) {
        if (state.KanjiTable[k].Glyph.toUnicode() == kanji) {
            caption += QStringLiteral("（%1かく）").arg(state.KanjiTable[k].StrokeCount);
            break;
        }
    }
    return caption;
}

QPointF onDiagram(const handwriting::Point& p, int side)
{
    return {side * Margin + p.x * unit(side), side * Margin + p.y * unit(side)};
}

QImage strokeDiagram(const QString& kanji, const std::vector<handwriting::ReferenceStroke>* strokes, int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Paper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(232, 150, 150), 1.5, Qt::DashLine));
    p.drawLine(QPointF(side / 2.0, 4), QPointF(side / 2.0, side - 4));
    p.drawLine(QPointF(4, side / 2.0), QPointF(side - 4, side / 2.0));
    p.setPen(QPen(QColor(240, 192, 0), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, side - 3, side - 3));

    if (!hasStrokeOrderFont(kanji)) {
        p.setFont(pixelFont(QFont(), int(side * 0.8), false));
        p.setPen(Ink);
        p.drawText(QRect(0, 0, side, side), Qt::AlignCenter, kanji);
        return image;
    }
    if (!strokes || strokes->empty()) {
        // The font's own numbers, small: the stroke-order font draws its kanji small within
        // the em square, so a large size keeps them as readable as they can be.
        p.setFont(diagramFont(int(side * 0.92)));
        p.setPen(Ink);
        p.drawText(QRect(0, 0, side, side), Qt::AlignCenter, kanji);
        return image;
    }
    const QRawFont font = QRawFont::fromFont(diagramFont(int(Em)));
    const QList<quint32> glyphs = font.glyphIndexesForString(kanji);
    if (!glyphs.isEmpty())
        p.drawImage(0, 0, strokesWithoutNumbers(font.pathForGlyph(glyphs.front()), side));
    drawNumbers(p, *strokes, side);
    return image;
}

} // namespace moji
