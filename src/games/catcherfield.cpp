#include "catcherfield.h"

#include "catchergame.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace moji {

namespace {

constexpr QImage::Format PictureFormat = QImage::Format_ARGB32_Premultiplied;
constexpr int Object = CatcherGame::ObjectSize;
constexpr int Star = CatcherGame::StarSize;

QImage blank(QSize size, const QColor& colour)
{
    QImage image(size, PictureFormat);
    image.fill(colour);
    return image;
}

// The left twinkle of the strip with white made transparent, in the middle of a 32 x 32
// square so that it sits where the kanji it turns into will hang.
QImage starPicture(const QImage& strip)
{
    QImage star = blank(QSize(Object, Object), Qt::transparent);
    QPainter p(&star);
    const int inset = (Object - Star) / 2;
    if (!strip.isNull() && strip.width() >= Star && strip.height() >= Star) {
        QImage twinkle = strip.copy(0, 0, Star, Star).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < Star; ++y) {
            auto* line = reinterpret_cast<QRgb*>(twinkle.scanLine(y));
            for (int x = 0; x < Star; ++x) {
                if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                    line[x] = 0;
            }
        }
        p.drawImage(inset, inset, twinkle);
        return star;
    }
    // Without the picture: a plain four-pointed golden twinkle.
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const QPointF c(Object / 2.0, Object / 2.0);
    for (int k = 0; k < 8; ++k) {
        const double r = k % 2 == 0 ? Star / 2.0 : Star / 8.0;
        const double a = -std::numbers::pi / 2 + k * std::numbers::pi / 4;
        const QPointF pt = c + QPointF(r * std::cos(a), r * std::sin(a));
        if (k == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    p.fillPath(path, QColor(255, 200, 40));
    p.setBrush(QColor(255, 250, 210));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 3.0, 3.0);
    return star;
}

// The 72 x 24 red bar, with a light edge on top and a dark one below so that it reads as a
// solid paddle on the navy field.
QImage paddlePicture(const QColor& body, const QColor& light, const QColor& dark)
{
    const QSize size(72, CatcherGame::PaddleHeight);
    QImage paddle = blank(size, Qt::transparent);
    QPainter p(&paddle);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    p.setPen(QPen(dark, 1));
    p.setBrush(body);
    p.drawRoundedRect(r, 5, 5);
    p.setPen(QPen(light, 2));
    p.drawLine(QPointF(6, 3), QPointF(size.width() - 6, 3));
    return paddle;
}

} // namespace

const QColor CatcherField::Navy(0, 0, 128);
const QColor CatcherField::Aqua(0, 255, 255);

CatcherField::CatcherField(QSize fieldSize, const QImage& starStrip, const std::array<QString, 20>& glyphs,
                           const QFont& tileFont)
    : m_size(fieldSize.expandedTo(QSize(Object, Object)))
{
    m_star = starPicture(starStrip);
    m_paddle = paddlePicture(QColor(255, 0, 0), QColor(255, 140, 140), QColor(150, 0, 0));
    m_flashPaddle = paddlePicture(QColor(255, 150, 0), QColor(255, 240, 140), QColor(180, 70, 0));
    for (std::size_t i = 0; i < m_tiles.size(); ++i) {
        QImage tile = blank(QSize(Object, Object), Navy);
        QPainter p(&tile);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(tileFont);
        p.setPen(Aqua);
        p.drawText(tile.rect(), Qt::AlignCenter, glyphs[i]);
        m_tiles[i] = tile;
    }
    m_background = blank(m_size, Navy);
    m_work = m_background.copy();
    m_view = m_background.copy();
}

const QImage& CatcherField::tile(int slot) const
{
    return m_tiles[std::size_t(std::clamp(slot, 1, int(m_tiles.size())) - 1)];
}

void CatcherField::clear()
{
    m_work.fill(Navy);
    m_view.fill(Navy);
}

void CatcherField::composeFrame(const CatcherGame& game)
{
    {
        QPainter p(&m_work);
        for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
            const FallObject& o = game.object(i);
            if (o.showsStar())
                p.drawImage(o.X, o.Y, m_star);
            else if (o.showsKanji() && o.KanjiSlot >= 1 && o.KanjiSlot <= m_tiles.size())
                p.drawImage(o.X, o.Y, m_tiles[std::size_t(o.KanjiSlot - 1)]);
        }
    }
    {
        QPainter v(&m_view);
        v.setCompositionMode(QPainter::CompositionMode_Source);
        v.drawImage(0, 0, m_work);
    }
    QPainter p(&m_work);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (int i = 1; i <= CatcherGame::SlotCount; ++i) {
        const FallObject& o = game.object(i);
        if (o.active())
            p.drawImage(QPoint(o.X, o.Y), m_background, QRect(o.X, o.Y, Object, Object));
    }
}

void CatcherField::drawPaddleStrip(int paddleX, bool flash)
{
    const int top = m_size.height() - CatcherGame::PaddleHeight;
    QPainter p(&m_view);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(0, top, m_size.width(), CatcherGame::PaddleHeight, Navy);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(paddleX, top, flash ? m_flashPaddle : m_paddle);
}

} // namespace moji
