#include "preview.h"

#include "bitmappictures.h"
#include "metafilepictures.h"

#include <QPainter>

#include <vector>

namespace moji::pictures {

namespace {

constexpr int SheetWidth = 1760;
constexpr int Gap = 16;

// Pure white shown as the screen behind it.
QImage onNavy(const QImage& picture)
{
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                image.setPixel(x, y, Navy.rgb());
        }
    }
    return image;
}

QImage enlarged(const QImage& picture, int factor)
{
    return picture.scaled(picture.size() * factor);
}

QImage cursorOn(const QColor& background, int factor)
{
    QImage image(CursorSize, CursorSize, QImage::Format_RGB32);
    image.fill(background);
    QPainter(&image).drawImage(0, 0, handCursor());
    return enlarged(image, factor);
}

// A matching-game card back: navy, a white frame, the picture at (1, 1).
QImage cardBack(const MetafilePicture& picture, int size)
{
    QImage card(size + 2, size + 2, QImage::Format_RGB32);
    card.fill(Navy);
    QPainter p(&card);
    p.setPen(Qt::white);
    p.drawRect(0, 0, size + 1, size + 1);
    p.drawImage(1, 1, onNavy(toImage(picture, size)));
    return card;
}

class Sheet {
public:
    Sheet() : m_image(SheetWidth, 4000, QImage::Format_RGB32) { m_image.fill(QColor(236, 236, 240)); }

    void heading(const QString& text)
    {
        QPainter p(&m_image);
        QFont font = p.font();
        font.setPixelSize(20);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(Gap, m_y + 24, text);
        m_y += 34;
    }

    void row(const std::vector<QImage>& pictures, const QColor& background)
    {
        int height = 0;
        for (const QImage& i : pictures)
            height = std::max(height, i.height());
        QPainter p(&m_image);
        p.fillRect(0, m_y, SheetWidth, height + 2 * Gap, background);
        int x = Gap;
        for (const QImage& i : pictures) {
            p.drawImage(x, m_y + Gap, i);
            x += i.width() + Gap;
        }
        m_y += height + 2 * Gap;
    }

    QImage finish() const { return m_image.copy(0, 0, SheetWidth, m_y + Gap); }

private:
    QImage m_image;
    int m_y = 0;
};

} // namespace

QImage previewSheet()
{
    Sheet sheet;
    const QImage buttons = buttonStrip();
    sheet.heading(QStringLiteral("ButtonX.bmp (x4): hint, help, minimise, back, study, grades, registration, settings"));
    sheet.row({enlarged(buttons, 4)}, Qt::white);
    sheet.row({enlarged(onNavy(buttons), 4)}, Navy);
    // The main menu's order at real size: 1, 2, 3, 8, 5, 6, 7, 4.
    std::vector<QImage> menu;
    for (const int k : {1, 2, 3, 8, 5, 6, 7, 4})
        menu.push_back(onNavy(buttons.copy((k - 1) * ButtonSize, 0, ButtonSize, ButtonSize)));
    sheet.row(menu, Navy);

    const auto metafiles = metafilePictures();
    std::vector<QImage> pops, popsOnNavy, cards48, cards70, presents, presentsOnNavy;
    for (const MetafilePicture& m : metafiles) {
        const bool present = m.fileName.startsWith(QLatin1String("Present"));
        const QImage big = toImage(m, present ? 300 : 160);
        (present ? presents : pops).push_back(big);
        (present ? presentsOnNavy : popsOnNavy).push_back(onNavy(big));
        if (!present) {
            cards48.push_back(cardBack(m, 48));
            cards70.push_back(cardBack(m, 70));
        }
    }
    sheet.heading(QStringLiteral("Pop1.wmf ... Pop10.wmf, and as card backs at 48 and 70 pixels"));
    sheet.row(pops, Qt::white);
    sheet.row(popsOnNavy, Navy);
    sheet.row(cards48, Navy);
    sheet.row(cards70, Navy);
    sheet.heading(QStringLiteral("Present1.wmf (perfect score), Present2.wmf (level up), Present3.wmf (passed)"));
    sheet.row(presents, Qt::white);
    sheet.row(presentsOnNavy, Navy);

    const QImage stars = starTiles();
    QImage flooded = stars;
    floodFill(flooded, QPoint(1, 1), Navy);
    const QImage twinkles = twinkleTiles();
    sheet.heading(QStringLiteral("Stars.bmp (x6, then flooded with navy), STARS2.bmp (x6), hand pointer (x6)"));
    sheet.row({enlarged(stars, 6), enlarged(twinkles, 6), cursorOn(Qt::white, 6)}, Qt::white);
    sheet.row({enlarged(flooded, 6), enlarged(onNavy(twinkles), 6), cursorOn(Navy, 6)}, Navy);
    // A row of level stars at real size as the study menu shows them, one partly lit.
    QImage progress(10 * StarTileSize, StarTileSize, QImage::Format_RGB32);
    progress.fill(Navy);
    {
        QPainter p(&progress);
        for (int i = 0; i < 10; ++i) {
            const int tile = i < 6 ? 0 : 1;
            p.drawImage(i * StarTileSize, 0, flooded, tile * StarTileSize, 0, StarTileSize, StarTileSize);
        }
        p.drawImage(6 * StarTileSize, 0, flooded, 0, 0, StarTileSize, StarTileSize);
        p.fillRect(6 * StarTileSize + 1 + 14, 0, 32 - 14, StarTileSize, Navy);
    }
    sheet.row({progress, onNavy(twinkles), cursorOn(Navy, 1)}, Navy);
    return sheet.finish();
}

} // namespace moji::pictures
