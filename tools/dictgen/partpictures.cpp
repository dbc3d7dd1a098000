#include "partpictures.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>

namespace moji::content {

namespace {

const QColor Ink(Qt::black);
const QColor Guide(0xc8, 0xc8, 0xc8);
const QColor Region(0xe8, 0x50, 0x30);

// The square a part is drawn in, inside a light guide frame.
constexpr qreal Margin = 3;

QPainterPath glyphPath(const QString& family, const QString& text, qreal pixelSize)
{
    QFont font(family);
    font.setPixelSize(int(pixelSize));
    font.setStyleStrategy(QFont::NoFontMerging);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// Maps `from` onto `to` (non-uniformly) and returns the transformed path.
QPainterPath fitted(const QPainterPath& path, const QRectF& from, const QRectF& to)
{
    QTransform t;
    t.translate(to.left(), to.top());
    t.scale(to.width() / from.width(), to.height() / from.height());
    t.translate(-from.left(), -from.top());
    return t.map(path);
}

void drawFrame(QPainter& p, int size)
{
    p.setPen(QPen(Guide, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size - 1, size - 1));
}

} // namespace

PartPainter::PartPainter()
{
    // Noto Sans CJK JP has the CJK Radicals Supplement forms (⺡ ⺅ ⻌ …); IPA Gothic does not.
    const QStringList families = QFontDatabase::families();
    for (const char* wanted : {"Noto Sans CJK JP", "IPAGothic", "IPAexGothic"}) {
        if (families.contains(QLatin1String(wanted))) {
            m_family = QLatin1String(wanted);
            break;
        }
    }
}

bool PartPainter::canRender(const Part& part) const
{
    if (m_family.isEmpty())
        return false;
    QFont font(m_family);
    font.setPixelSize(PartSize);
    const QRawFont raw = QRawFont::fromFont(font);
    const QList<uint> codePoints = part.render.toUcs4();
    return !codePoints.isEmpty() && raw.supportsCharacter(codePoints.front());
}

QImage PartPainter::partPicture(const Part& part) const
{
    QImage image(PartSize, PartSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawFrame(p, PartSize);

    constexpr qreal em = 100;
    const QPainterPath path = glyphPath(m_family, part.render, em);
    // The em square of an ideograph: the ink box of a full-square kanji, which positional
    // forms such as 氵 or 艹 are drawn relative to.
    const QRectF emBox = glyphPath(m_family, QStringLiteral("國"), em).boundingRect();
    const QRectF ink = path.boundingRect();
    const QRectF square(Margin, Margin, PartSize - 2 * Margin, PartSize - 2 * Margin);
    const qreal half = square.width() * 0.44;

    QRectF side = square;
    switch (part.box) {
    case PartBox::Font: break;
    case PartBox::Left: side.setWidth(half); break;
    case PartBox::Right: side.setLeft(square.right() - half); break;
    case PartBox::Top: side.setHeight(half); break;
    case PartBox::Bottom: side.setTop(square.bottom() - half); break;
    }
    QPainterPath placed;
    if (part.box == PartBox::Font) {
        placed = fitted(path, emBox, square);
    } else {
        // Squeezed into its side but never drawn larger than the font draws it, so a form
        // smaller than a whole character (the two ticks ⺀ at the foot of 冬) keeps its shape
        // instead of being stretched into long dashes.
        QRectF target(0, 0, std::min(side.width(), ink.width() * square.width() / emBox.width()),
                      std::min(side.height(), ink.height() * square.height() / emBox.height()));
        target.moveCenter(side.center());
        placed = fitted(path, ink, target);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawPath(placed);
    return image;
}

QImage PartPainter::strip(const std::vector<Part>& parts) const
{
    QImage image(PartSize * std::max<int>(1, int(parts.size())), PartSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (const Part& part : parts)
        p.drawImage((part.picture - 1) * PartSize, 0, partPicture(part));
    return image;
}

QImage PartPainter::groupPicture(int group) const
{
    constexpr int s = GroupPictureSize;
    QImage image(s, s, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(4.5, 4.5, s - 9, s - 9);
    const qreal band = box.width() * 0.38;
    const qreal thin = box.width() * 0.24;
    QPainterPath region;
    switch (group) {
    case 1: region.addRect(box.left(), box.top(), band, box.height()); break;                      // left
    case 2: region.addRect(box.right() - band, box.top(), band, box.height()); break;              // right
    case 3: region.addRect(box.left(), box.top(), box.width(), band); break;                       // top
    case 4: region.addRect(box.left(), box.bottom() - band, box.width(), band); break;             // bottom
    case 5:                                                                                         // enclosing
        region.addRect(box);
        region.addRect(box.adjusted(thin, thin, -thin, -thin));
        region.setFillRule(Qt::OddEvenFill);
        break;
    case 6:                                                                                         // top and left
        region.addRect(box.left(), box.top(), box.width(), thin);
        region.addRect(box.left(), box.top(), thin, box.height());
        region = region.simplified();
        break;
    case 7:                                                                                         // left and bottom
        region.addRect(box.left(), box.top(), thin, box.height());
        region.addRect(box.left(), box.bottom() - thin, box.width(), thin);
        region = region.simplified();
        break;
    default:                                                                                        // anything else
        region.addEllipse(box.center(), box.width() * 0.3, box.height() * 0.3);
        break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Region);
    p.drawPath(region);
    p.setPen(QPen(Ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    return image;
}

QImage PartPainter::contactSheet(const DictionarySource& source) const
{
    constexpr int columns = 3;
    constexpr int cellWidth = 660;
    constexpr int cellHeight = 64;
    constexpr int headerHeight = 40;

    int rows = 0;
    for (int g = 1; g <= 8; ++g) {
        const auto n = std::count_if(source.parts().begin(), source.parts().end(), [g](const Part& p) { return p.group == g; });
        rows += 1 + int((n + columns - 1) / columns);
    }
    QImage sheet(columns * cellWidth, rows * cellHeight + headerHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    QFont text(m_family);
    text.setPixelSize(18);
    QFont heading(m_family);
    heading.setPixelSize(26);
    heading.setBold(true);

    auto glyphOf = [&](int kanjiNo) { return source.facts()[std::size_t(kanjiNo - 1)].kanji; };
    int y = 0;
    for (int g = 1; g <= 8; ++g) {
        p.setFont(heading);
        p.setPen(Region);
        p.drawImage(4, y + 12, groupPicture(g));
        p.drawText(QRect(52, y, cellWidth * columns, cellHeight), Qt::AlignVCenter,
                   QStringLiteral("%1  %2").arg(g).arg(GroupNames[std::size_t(g - 1)]));
        y += cellHeight;
        int column = 0;
        for (const Part& part : source.parts()) {
            if (part.group != g)
                continue;
            const int x = column * cellWidth;
            p.drawImage(x + 4, y + 8, partPicture(part));
            p.setFont(text);
            p.setPen(Ink);
            QString kanji;
            for (const int k : part.kanji)
                kanji += glyphOf(k);
            p.drawText(QRect(x + 58, y + 4, cellWidth - 62, 24), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("%1. %2 %3 (%4)").arg(part.number).arg(part.part, part.name).arg(part.kanji.size()));
            p.drawText(QRect(x + 58, y + 28, cellWidth - 62, 34), Qt::AlignLeft | Qt::TextWrapAnywhere, kanji);
            if (++column == columns) {
                column = 0;
                y += cellHeight;
            }
        }
        if (column != 0)
            y += cellHeight;
    }
    return sheet;
}

} // namespace moji::content
