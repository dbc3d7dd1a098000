#include "wmfreader.h"

#include <QImage>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <map>

namespace wmf_check {

namespace {

uint16_t word(const QByteArray& b, qsizetype at)
{
    return uint16_t(uchar(b[at]) | uchar(b[at + 1]) << 8);
}

uint32_t dword(const QByteArray& b, qsizetype at) { return word(b, at) | uint32_t(word(b, at + 2)) << 16; }

// Parameter words each record must have; 0 for the variable-length point lists.
const std::map<uint16_t, std::vector<std::size_t>> Allowed = {
    {0x020B, {2}}, {0x020C, {2}}, {0x0102, {1, 2}}, {0x0106, {1, 2}},
    {0x02FA, {5}}, {0x02FC, {4}}, {0x012D, {1}}, {0x01F0, {1}},
    {0x0324, {0}}, {0x0325, {0}}, {0x0538, {0}},
    {0x0418, {4}}, {0x041B, {4}}, {0x061C, {6}}, {0x0817, {8}}, {0x081A, {8}}, {0x0830, {8}},
};

std::size_t pointListWords(const Record& r)
{
    if (r.words.empty())
        return 1;
    if (r.function != 0x0538)
        return 1 + 2 * std::size_t(std::max<int>(0, r.words[0]));
    const std::size_t count = uint16_t(r.words[0]);
    std::size_t total = 1 + count;
    for (std::size_t i = 1; i <= count && i < r.words.size(); ++i)
        total += 2 * uint16_t(r.words[i]);
    return total;
}

QColor colourRef(int16_t rg, int16_t b0)
{
    return QColor(uint16_t(rg) & 0xFF, uint16_t(rg) >> 8, uint16_t(b0) & 0xFF);
}

} // namespace

Metafile read(const QByteArray& bytes, QStringList& problems)
{
    Metafile m;
    constexpr qsizetype placeable = 22, header = 18;
    if (bytes.size() < placeable + header + 6) {
        problems << QStringLiteral("too short");
        return m;
    }
    if (dword(bytes, 0) != 0x9AC6CDD7u)
        problems << QStringLiteral("no placeable key");
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= word(bytes, 2 * i);
    if (checksum != word(bytes, 20))
        problems << QStringLiteral("bad checksum");
    m.bounds = QRect(QPoint(int16_t(word(bytes, 6)), int16_t(word(bytes, 8))),
                     QPoint(int16_t(word(bytes, 10)) - 1, int16_t(word(bytes, 12)) - 1));
    m.unitsPerInch = word(bytes, 14);
    if (m.bounds.isEmpty() || m.unitsPerInch == 0)
        problems << QStringLiteral("empty bounding box or no units per inch");

    const qsizetype h = placeable;
    if (word(bytes, h) != 1 || word(bytes, h + 2) != 9 || word(bytes, h + 4) != 0x0300 || word(bytes, h + 16) != 0)
        problems << QStringLiteral("bad metafile header");
    if (qsizetype(dword(bytes, h + 6)) * 2 != bytes.size() - placeable)
        problems << QStringLiteral("header size %1 words, file has %2 bytes").arg(dword(bytes, h + 6)).arg(bytes.size());
    m.objectCount = word(bytes, h + 10);
    const uint32_t maxRecord = dword(bytes, h + 12);

    std::vector<bool> live(std::size_t(m.objectCount), false);
    bool ended = false;
    for (qsizetype at = placeable + header; at < bytes.size() && !ended;) {
        if (at + 6 > bytes.size()) {
            problems << QStringLiteral("torn record at %1").arg(at);
            break;
        }
        const uint32_t size = dword(bytes, at);
        if (size < 3 || at + qsizetype(size) * 2 > bytes.size()) {
            problems << QStringLiteral("record at %1 runs past the end").arg(at);
            break;
        }
        if (size > maxRecord)
            problems << QStringLiteral("record at %1 larger than the header's maximum").arg(at);
        Record r{word(bytes, at + 4), {}};
        for (uint32_t i = 3; i < size; ++i)
            r.words.push_back(int16_t(word(bytes, at + 2 * qsizetype(i))));
        at += qsizetype(size) * 2;
        if (r.function == 0) {
            ended = true;
            if (size != 3 || at != bytes.size())
                problems << QStringLiteral("end record is not the last three words");
            continue;
        }
        const auto allowed = Allowed.find(r.function);
        if (allowed == Allowed.end()) {
            problems << QStringLiteral("record 0x%1 not drawn by the player").arg(r.function, 4, 16, QLatin1Char('0'));
            continue;
        }
        const auto& counts = allowed->second;
        const bool fits = counts.front() == 0 ? pointListWords(r) == r.words.size()
                                              : std::find(counts.begin(), counts.end(), r.words.size()) != counts.end();
        if (!fits) {
            problems << QStringLiteral("record 0x%1 has %2 parameter words").arg(r.function, 4, 16, QLatin1Char('0')).arg(r.words.size());
            continue;
        }

        if (r.function == 0x02FA || r.function == 0x02FC) {
            const auto slot = std::size_t(std::find(live.begin(), live.end(), false) - live.begin());
            if (slot == live.size())
                problems << QStringLiteral("more objects than the header's %1").arg(m.objectCount);
            else
                live[slot] = true;
        } else if (r.function == 0x012D || r.function == 0x01F0) {
            const auto slot = std::size_t(uint16_t(r.words.at(0)));
            if (slot >= live.size() || !live[slot])
                problems << QStringLiteral("object %1 used before it was created").arg(slot);
            else if (r.function == 0x01F0)
                live[slot] = false;
        }
        m.records.push_back(r);
    }
    if (!ended)
        problems << QStringLiteral("no end record");
    return m;
}

QImage replay(const Metafile& metafile, int pixels)
{
    QImage image(pixels, pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    QPoint origin;
    QSize extent = metafile.bounds.size();
    auto place = [&] {
        p.resetTransform();
        p.scale(qreal(pixels) / extent.width(), qreal(pixels) / extent.height());
        p.translate(-origin);
    };
    place();
    std::vector<std::pair<QPen, QBrush>> objects(std::size_t(metafile.objectCount));
    std::vector<bool> isPen(objects.size());
    std::vector<bool> used(objects.size(), false);
    Qt::FillRule rule = Qt::OddEvenFill;

    for (const Record& r : metafile.records) {
        const auto& w = r.words;
        auto points = [&](std::size_t from, int n) {
            QPolygonF poly;
            for (int i = 0; i < n; ++i)
                poly << QPointF(w[from + 2 * std::size_t(i)], w[from + 2 * std::size_t(i) + 1]);
            return poly;
        };
        auto box = [&](std::size_t from) { return QRectF(QPointF(w[from + 3], w[from + 2]), QPointF(w[from + 1], w[from])); };
        switch (r.function) {
        case 0x020B: origin = QPoint(w[1], w[0]); place(); break;
        case 0x020C: extent = QSize(w[1], w[0]); place(); break;
        case 0x0106: rule = w[0] == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
        case 0x02FA:
        case 0x02FC: {
            const auto slot = std::size_t(std::find(used.begin(), used.end(), false) - used.begin());
            used[slot] = true;
            isPen[slot] = r.function == 0x02FA;
            if (isPen[slot])
                objects[slot].first = w[0] == 5 ? QPen(Qt::NoPen) : QPen(colourRef(w[3], w[4]), w[1], Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            else
                objects[slot].second = w[0] == 1 ? QBrush(Qt::NoBrush) : QBrush(colourRef(w[1], w[2]));
            break;
        }
        case 0x012D: {
            const auto slot = std::size_t(w[0]);
            if (isPen[slot])
                p.setPen(objects[slot].first);
            else
                p.setBrush(objects[slot].second);
            break;
        }
        case 0x01F0: used[std::size_t(w[0])] = false; break;
        case 0x0324: p.drawPolygon(points(1, w[0]), rule); break;
        case 0x0325: p.drawPolyline(points(1, w[0])); break;
        case 0x0538: {
            QPainterPath path;
            path.setFillRule(rule);
            std::size_t at = 1 + std::size_t(w[0]);
            for (int i = 0; i < w[0]; ++i) {
                path.addPolygon(points(at, w[std::size_t(1 + i)]));
                path.closeSubpath();
                at += 2 * std::size_t(w[std::size_t(1 + i)]);
            }
            p.drawPath(path);
            break;
        }
        case 0x0418: p.drawEllipse(box(0)); break;
        case 0x041B: p.drawRect(box(0)); break;
        case 0x061C: p.drawRoundedRect(box(2), w[1] / 2.0, w[0] / 2.0); break;
        case 0x0817:
        case 0x081A:
        case 0x0830: {
            // Radials given as points; the arc runs counter-clockwise from start to end.
            const QRectF rect = box(4);
            auto angle = [&](int x, int y) {
                return qRadiansToDegrees(std::atan2(-(y - rect.center().y()) / rect.height(), (x - rect.center().x()) / rect.width()));
            };
            const qreal start = angle(w[3], w[2]);
            qreal span = std::fmod(angle(w[1], w[0]) - start + 720, 360);
            if (span < 1e-6)
                span = 360;
            const int a = qRound(start * 16), s = qRound(span * 16);
            if (r.function == 0x0817)
                p.drawArc(rect, a, s);
            else if (r.function == 0x081A)
                p.drawPie(rect, a, s);
            else
                p.drawChord(rect, a, s);
            break;
        }
        default: break;
        }
    }
    return image;
}

double differingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) > 48)
                ++differing;
        }
    }
    return double(differing) / (a.width() * a.height());
}

} // namespace wmf_check
