#include "metafile.h"

#include "filestore.h"
#include "textcodec.h"

#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <cmath>
#include <variant>
#include <vector>

namespace moji {

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr int PlaceableSize = 22;
constexpr int HeaderWords = 9;
constexpr int MaxObjects = 1024;

enum Function : quint16 {
    Eof = 0x0000,
    SaveDc = 0x001E,
    RestoreDc = 0x0127,
    SetBkMode = 0x0102,
    SetPolyFillMode = 0x0106,
    SetTextAlign = 0x012E,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    RoundRect = 0x061C,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
};

// Bounds-checked access to one record's parameter words.
class Params {
public:
    Params(const char* data, qsizetype words) : m_data(data), m_words(words) {}
    qsizetype words() const { return m_words; }
    bool has(qsizetype n) const { return n >= 0 && n <= m_words; }
    qint16 i16(qsizetype word) const { return has(word + 1) ? qFromLittleEndian<qint16>(m_data + 2 * word) : 0; }
    quint16 u16(qsizetype word) const { return quint16(i16(word)); }
    quint32 u32(qsizetype word) const { return quint32(u16(word)) | (quint32(u16(word + 1)) << 16); }
    QByteArrayView bytes(qsizetype byteOffset, qsizetype count) const
    {
        if (byteOffset < 0 || count < 0 || byteOffset + count > 2 * m_words)
            return {};
        return QByteArrayView(m_data + byteOffset, count);
    }

private:
    const char* m_data;
    qsizetype m_words;
};

QColor colorRef(quint32 c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

struct PenObject {
    int style = 0;
    qreal width = 0;
    QColor color;
};
struct BrushObject {
    int style = 0;
    QColor color;
    int hatch = 0;
};
struct FontObject {
    qreal height = 0;
    int weight = 400;
    bool italic = false;
    QString face;
};
using GdiObject = std::variant<std::monostate, PenObject, BrushObject, FontObject>;

struct DeviceState {
    QPointF windowOrg{0, 0};
    QSizeF windowExt{1, 1};
    PenObject pen{0, 0, Qt::black};
    BrushObject brush{0, Qt::white, 0};
    FontObject font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    bool opaqueText = true;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int textAlign = 0;
    QPointF current{0, 0};
};

class Player {
public:
    Player(QPainter& painter, const QRectF& target, const QRectF& frame)
        : m_painter(painter), m_target(target), m_reach(reachOf(target))
    {
        m_state.windowOrg = frame.topLeft();
        m_state.windowExt = frame.size();
    }

    bool play(quint16 function, const Params& p)
    {
        switch (function) {
        case Eof: return false;
        case SaveDc: m_saved.push_back(m_state); break;
        case RestoreDc:
            if (!m_saved.empty()) {
                m_state = m_saved.back();
                m_saved.pop_back();
            }
            break;
        case SetBkMode: m_state.opaqueText = p.u16(0) == 2; break;
        case SetPolyFillMode: m_state.fillRule = p.u16(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
        case SetTextAlign: m_state.textAlign = p.u16(0); break;
        case SetBkColor: m_state.bkColor = colorRef(p.u32(0)); break;
        case SetTextColor: m_state.textColor = colorRef(p.u32(0)); break;
        case SetWindowOrg: m_state.windowOrg = QPointF(p.i16(1), p.i16(0)); break;
        case SetWindowExt:
            if (p.i16(0) != 0 && p.i16(1) != 0)
                m_state.windowExt = QSizeF(p.i16(1), p.i16(0));
            break;
        case MoveTo: m_state.current = QPointF(p.i16(1), p.i16(0)); break;
        case LineTo: {
            const QPointF to(p.i16(1), p.i16(0));
            strokeOnly(QPolygonF({map(m_state.current), map(to)}));
            m_state.current = to;
            break;
        }
        case CreatePenIndirect: create(PenObject{p.u16(0), qreal(p.i16(1)), colorRef(p.u32(3))}); break;
        case CreateBrushIndirect: create(BrushObject{p.u16(0), colorRef(p.u32(1)), p.u16(3)}); break;
        case CreateFontIndirect: create(font(p)); break;
        case SelectObject: select(p.u16(0)); break;
        case DeleteObject:
            if (p.u16(0) < m_objects.size())
                m_objects[p.u16(0)] = std::monostate{};
            break;
        case Polygon: fillPolygon(polygon(p, 1, p.u16(0))); break;
        case Polyline: strokeOnly(polygon(p, 1, p.u16(0))); break;
        case PolyPolygon: polyPolygon(p); break;
        case Ellipse: {
            QPainterPath path;
            path.addEllipse(rect(p, 0));
            fillAndStroke(path);
            break;
        }
        case Rectangle: {
            QPainterPath path;
            path.addRect(rect(p, 0));
            fillAndStroke(path);
            break;
        }
        case RoundRect: {
            QPainterPath path;
            const QSizeF corner = scale(QSizeF(p.i16(1), p.i16(0)));
            path.addRoundedRect(rect(p, 2), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
            fillAndStroke(path);
            break;
        }
        case Arc:
        case Pie:
        case Chord: arc(function, p); break;
        case TextOut: textOut(p); break;
        default: break; // a record our pictures do not use: skipped
        }
        return true;
    }

private:
    QPointF map(QPointF logical) const
    {
        return QPointF(m_target.left() + (logical.x() - m_state.windowOrg.x()) * m_target.width() / m_state.windowExt.width(),
                       m_target.top() + (logical.y() - m_state.windowOrg.y()) * m_target.height() / m_state.windowExt.height());
    }
    QSizeF scale(QSizeF logical) const
    {
        return QSizeF(logical.width() * m_target.width() / m_state.windowExt.width(),
                      logical.height() * m_target.height() / m_state.windowExt.height());
    }
    // Rectangle-like records store bottom, right, top, left from word `at`.
    QRectF rect(const Params& p, qsizetype at) const
    {
        return QRectF(map(QPointF(p.i16(at + 3), p.i16(at + 2))), map(QPointF(p.i16(at + 1), p.i16(at)))).normalized();
    }
    QPolygonF polygon(const Params& p, qsizetype at, int count) const
    {
        QPolygonF poly;
        for (int i = 0; i < count && p.has(at + 2 * i + 2); ++i)
            poly << map(QPointF(p.i16(at + 2 * i), p.i16(at + 2 * i + 1)));
        return poly;
    }

    void create(GdiObject object)
    {
        for (auto& slot : m_objects) {
            if (std::holds_alternative<std::monostate>(slot)) {
                slot = std::move(object);
                return;
            }
        }
        if (m_objects.size() < MaxObjects)
            m_objects.push_back(std::move(object));
    }
    void select(quint16 index)
    {
        if (index >= m_objects.size())
            return;
        if (const auto* pen = std::get_if<PenObject>(&m_objects[index]))
            m_state.pen = *pen;
        else if (const auto* brush = std::get_if<BrushObject>(&m_objects[index]))
            m_state.brush = *brush;
        else if (const auto* f = std::get_if<FontObject>(&m_objects[index]))
            m_state.font = *f;
    }
    static FontObject font(const Params& p)
    {
        FontObject f;
        f.height = p.i16(0);
        f.weight = p.i16(4);
        f.italic = (p.u16(5) & 0xFF) != 0;
        const QByteArrayView face = p.bytes(18, std::min<qsizetype>(32, 2 * p.words() - 18));
        const qsizetype nul = face.indexOf('\0');
        f.face = cp932::decodeLossy(nul < 0 ? face : face.first(nul));
        return f;
    }

    QPen pen() const
    {
        const PenObject& o = m_state.pen;
        if ((o.style & 0x0F) == 5)
            return Qt::NoPen;
        QPen pen(o.color);
        const qreal width = std::abs(scale(QSizeF(o.width, o.width)).width());
        pen.setWidthF(std::max<qreal>(1.0, width));
        switch (o.style & 0x0F) {
        case 1: pen.setStyle(Qt::DashLine); break;
        case 2: pen.setStyle(Qt::DotLine); break;
        case 3: pen.setStyle(Qt::DashDotLine); break;
        case 4: pen.setStyle(Qt::DashDotDotLine); break;
        default: pen.setStyle(Qt::SolidLine); break;
        }
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }
    QBrush brush() const
    {
        const BrushObject& o = m_state.brush;
        if (o.style == 1)
            return Qt::NoBrush;
        if (o.style == 2) {
            static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                     Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(o.color, o.hatch >= 0 && o.hatch < 6 ? hatches[o.hatch] : Qt::SolidPattern);
        }
        return QBrush(o.color);
    }

    // The target widened by its own size on every side.
    static QRectF reachOf(const QRectF& target)
    {
        const QRectF t = target.normalized();
        return t.adjusted(-t.width(), -t.height(), t.width(), t.height());
    }
    // The painter's time grows with how far a shape reaches, not with what of it is seen (a
    // few lines across the whole 16-bit range take minutes), so a shape reaching more than the
    // target's own size beyond it, which no picture of ours does, is not drawn.
    bool withinReach(const QRectF& bounds) const
    {
        // Not QRectF::contains, which refuses the empty box of a straight line.
        return bounds.left() >= m_reach.left() && bounds.right() <= m_reach.right() && bounds.top() >= m_reach.top()
               && bounds.bottom() <= m_reach.bottom();
    }

    void fillAndStroke(QPainterPath path)
    {
        if (!withinReach(path.controlPointRect()))
            return;
        path.setFillRule(m_state.fillRule);
        m_painter.setPen(pen());
        m_painter.setBrush(brush());
        m_painter.drawPath(path);
    }
    void fillPolygon(const QPolygonF& poly)
    {
        if (poly.size() < 2)
            return;
        QPainterPath path;
        path.addPolygon(poly);
        path.closeSubpath();
        fillAndStroke(path);
    }
    void strokeOnly(const QPolygonF& poly)
    {
        if (poly.size() < 2 || !withinReach(poly.boundingRect()))
            return;
        m_painter.setPen(pen());
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolyline(poly);
    }
    void polyPolygon(const Params& p)
    {
        const int count = p.u16(0);
        QPainterPath path;
        qsizetype at = 1 + count;
        for (int i = 0; i < count && p.has(at); ++i) {
            const int points = p.u16(1 + i);
            QPolygonF poly = polygon(p, at, points);
            path.addPolygon(poly);
            path.closeSubpath();
            at += 2 * points;
        }
        fillAndStroke(path);
    }
    void arc(quint16 function, const Params& p)
    {
        const QRectF box = rect(p, 4);
        if (box.isEmpty())
            return;
        const QPointF end = map(QPointF(p.i16(1), p.i16(0)));
        const QPointF start = map(QPointF(p.i16(3), p.i16(2)));
        const QPointF c = box.center();
        // Angles counter-clockwise on screen, as the platform draws arcs.
        auto angle = [&](QPointF q) { return std::atan2(-(q.y() - c.y()) * box.width(), (q.x() - c.x()) * box.height()) * 180.0 / M_PI; };
        const qreal a0 = angle(start);
        qreal span = angle(end) - a0;
        if (span <= 0)
            span += 360;
        QPainterPath path;
        if (function == Pie) {
            path.moveTo(c);
            path.arcTo(box, a0, span);
            path.closeSubpath();
            fillAndStroke(path);
        } else if (function == Chord) {
            path.arcMoveTo(box, a0);
            path.arcTo(box, a0, span);
            path.closeSubpath();
            fillAndStroke(path);
        } else {
            path.arcMoveTo(box, a0);
            path.arcTo(box, a0, span);
            if (!withinReach(path.controlPointRect()))
                return;
            m_painter.setPen(pen());
            m_painter.setBrush(Qt::NoBrush);
            m_painter.drawPath(path);
        }
    }
    void textOut(const Params& p)
    {
        const int length = p.i16(0);
        if (length <= 0)
            return;
        const qsizetype textWords = (length + 1) / 2;
        const QString text = cp932::decodeLossy(p.bytes(2, length));
        const QPointF at = map(QPointF(p.i16(2 + textWords), p.i16(1 + textWords)));
        QFont f(m_state.font.face.isEmpty() ? QStringLiteral("IPAPGothic") : m_state.font.face);
        const qreal pixels = std::abs(scale(QSizeF(m_state.font.height, m_state.font.height)).height());
        f.setPixelSize(std::max(1, int(std::lround(m_state.font.height > 0 ? pixels * 0.8 : pixels))));
        f.setWeight(m_state.font.weight >= 600 ? QFont::Bold : QFont::Normal);
        f.setItalic(m_state.font.italic);
        m_painter.setFont(f);
        const QFontMetricsF metrics(f);
        QRectF box(at, QSizeF(metrics.horizontalAdvance(text), metrics.height()));
        if ((m_state.textAlign & 0x06) == 0x06)
            box.moveLeft(at.x() - box.width() / 2);
        else if (m_state.textAlign & 0x02)
            box.moveRight(at.x());
        if ((m_state.textAlign & 0x18) == 0x18)
            box.moveTop(at.y() - metrics.ascent());
        else if (m_state.textAlign & 0x08)
            box.moveBottom(at.y());
        if (m_state.opaqueText)
            m_painter.fillRect(box, m_state.bkColor);
        m_painter.setPen(m_state.textColor);
        m_painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    }

    QPainter& m_painter;
    QRectF m_target;
    QRectF m_reach;
    DeviceState m_state;
    std::vector<DeviceState> m_saved;
    std::vector<GdiObject> m_objects;
};

// Hands each record from `first` on, in order, to `visit(function, params)` until it returns
// false or a record would run past the end. Returns the offset just past the last record
// handed over.
template <typename Visit>
qsizetype walkRecords(const QByteArray& bytes, qsizetype first, Visit visit)
{
    qsizetype r = first;
    while (r + 6 <= bytes.size()) {
        const quint32 words = qFromLittleEndian<quint32>(bytes.constData() + r);
        const quint16 function = qFromLittleEndian<quint16>(bytes.constData() + r + 4);
        if (words < 3 || qsizetype(words) * 2 > bytes.size() - r)
            break;
        const Params params(bytes.constData() + r + 6, qsizetype(words) - 3);
        r += qsizetype(words) * 2;
        if (!visit(function, params))
            break;
    }
    return r;
}

// Whether the records from `first` run exactly to the end of the bytes, the last one the end
// record and no other.
bool recordsEndAtTheEnd(const QByteArray& bytes, qsizetype first)
{
    bool ended = false;
    const qsizetype end = walkRecords(bytes, first, [&](quint16 function, const Params&) {
        ended = function == Eof;
        return !ended;
    });
    return ended && end == bytes.size();
}

} // namespace

std::optional<Metafile> Metafile::parse(const QByteArray& bytes)
{
    Metafile m;
    m.m_bytes = bytes;
    qsizetype at = 0;
    if (bytes.size() >= PlaceableSize && qFromLittleEndian<quint32>(bytes.constData()) == PlaceableKey) {
        const char* d = bytes.constData();
        // The last word is the XOR of the ten before it.
        quint16 checksum = 0;
        for (int word = 0; word < 10; ++word)
            checksum ^= qFromLittleEndian<quint16>(d + 2 * word);
        if (checksum != qFromLittleEndian<quint16>(d + 20))
            return std::nullopt;
        const qint16 left = qFromLittleEndian<qint16>(d + 6);
        const qint16 top = qFromLittleEndian<qint16>(d + 8);
        const qint16 right = qFromLittleEndian<qint16>(d + 10);
        const qint16 bottom = qFromLittleEndian<qint16>(d + 12);
        m.m_frame = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
        at = PlaceableSize;
    }
    // The standard header: type 1 or 2, header size 9 words, version 0x0100 or 0x0300.
    if (bytes.size() < at + 2 * HeaderWords)
        return std::nullopt;
    const char* h = bytes.constData() + at;
    const quint16 type = qFromLittleEndian<quint16>(h);
    const quint16 headerWords = qFromLittleEndian<quint16>(h + 2);
    const quint16 version = qFromLittleEndian<quint16>(h + 4);
    // The size counts 16-bit words from the standard header to the end of the file.
    const quint32 sizeWords = qFromLittleEndian<quint32>(h + 6);
    if ((type != 1 && type != 2) || headerWords != HeaderWords || (version != 0x0100 && version != 0x0300)
        || qint64(sizeWords) * 2 != bytes.size() - at)
        return std::nullopt;
    m.m_firstRecord = int(at + 2 * HeaderWords);
    if (!recordsEndAtTheEnd(bytes, m.m_firstRecord))
        return std::nullopt;

    if (m.m_frame.isEmpty()) {
        // Without a placeable header the window records give the frame.
        QPointF org(0, 0);
        QSizeF ext(0, 0);
        walkRecords(bytes, m.m_firstRecord, [&](quint16 function, const Params& p) {
            if (function == SetWindowOrg)
                org = QPointF(p.i16(1), p.i16(0));
            else if (function == SetWindowExt)
                ext = QSizeF(p.i16(1), p.i16(0));
            return function != Eof;
        });
        m.m_frame = QRectF(org, ext).normalized();
        if (m.m_frame.isEmpty())
            m.m_frame = QRectF(0, 0, 1, 1);
    }
    return m;
}

Metafile Metafile::read(const QString& path, const QString& displayName)
{
    auto metafile = parse(filestore::readAll(path, displayName));
    if (!metafile)
        throw FileError(displayName, QStringLiteral("not a whole metafile"));
    return *std::move(metafile);
}

void Metafile::render(QPainter& painter, const QRectF& target) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(target, Qt::IntersectClip);
    Player player(painter, target, m_frame);
    walkRecords(m_bytes, m_firstRecord, [&](quint16 function, const Params& p) { return player.play(function, p); });
    painter.restore();
}

} // namespace moji
