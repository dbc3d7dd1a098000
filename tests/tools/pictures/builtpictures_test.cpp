// The pictures built into the program folder, checked the way the program uses them: white
// is cut out as transparent, Stars.bmp is flooded with navy from (1, 1), metafiles are played
// by our own player of a few GDI records.

#include "handcursor.h"
#include "metafilepictures.h"
#include "testfiles.h"
#include "wmfreader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <vector>

using namespace moji::pictures;

namespace {

const QString ProgramDir = QStringLiteral(MOJIMARU_PROGRAM_DIR);
const QString HandCursor = QStringLiteral(MOJIMARU_HAND_CURSOR);
constexpr QRgb White = 0xFFFFFFFF;

QImage bitmap(const QString& name)
{
    return QImage(ProgramDir + u'/' + name).convertToFormat(QImage::Format_RGB32);
}

// The pixels of `area` reached from `seeds` through pure white, stepping to the four neighbours.
std::vector<bool> whiteReach(const QImage& image, const QRect& area, const std::vector<QPoint>& seeds)
{
    std::vector<bool> reached(std::size_t(area.width() * area.height()), false);
    auto index = [&](const QPoint& p) { return std::size_t((p.y() - area.y()) * area.width() + p.x() - area.x()); };
    std::vector<QPoint> pending = seeds;
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        if (!area.contains(p) || reached[index(p)] || image.pixel(p) != White)
            continue;
        reached[index(p)] = true;
        pending.insert(pending.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    return reached;
}

std::vector<QPoint> border(const QRect& area)
{
    std::vector<QPoint> points;
    for (int x = area.left(); x <= area.right(); ++x)
        points.insert(points.end(), {QPoint(x, area.top()), QPoint(x, area.bottom())});
    for (int y = area.top(); y <= area.bottom(); ++y)
        points.insert(points.end(), {QPoint(area.left(), y), QPoint(area.right(), y)});
    return points;
}

struct Coverage {
    int opaque = 0;          // not pure white
    int strayWhite = 0;      // pure white not connected to the border: a hole on screen
    int paleEdge = 0;        // light pixels touching the cut-out background: a fringe on navy
};

Coverage coverage(const QImage& image, const QRect& area)
{
    const std::vector<bool> background = whiteReach(image, area, border(area));
    auto isBackground = [&](const QPoint& p) {
        return !area.contains(p) || background[std::size_t((p.y() - area.y()) * area.width() + p.x() - area.x())];
    };
    Coverage c;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint p(x, y);
            if (isBackground(p))
                continue;
            if (image.pixel(p) == White) {
                ++c.strayWhite;
                continue;
            }
            ++c.opaque;
            const bool edge = isBackground(p + QPoint(1, 0)) || isBackground(p - QPoint(1, 0)) ||
                              isBackground(p + QPoint(0, 1)) || isBackground(p - QPoint(0, 1));
            if (edge && qGray(image.pixel(p)) > 150)
                ++c.paleEdge;
        }
    }
    return c;
}

} // namespace

TEST(BuiltPictures, EveryHeaderButtonIsAFullPictureWithADarkEdgeAndNoHoles)
{
    const QImage strip = bitmap(QStringLiteral("ButtonX.bmp"));
    ASSERT_EQ(strip.size(), QSize(384, 48));
    for (int k = 1; k <= 8; ++k) {
        const Coverage c = coverage(strip, QRect(48 * (k - 1), 0, 48, 48));
        EXPECT_GT(c.opaque, 48 * 48 / 4) << "button " << k << " is nearly blank";
        EXPECT_EQ(c.strayWhite, 0) << "button " << k << " has white inside it, shown as a hole";
        EXPECT_EQ(c.paleEdge, 0) << "button " << k << " has a light edge that shows as a fringe on navy";
    }
}

TEST(BuiltPictures, StarsFloodAroundBothStarsWithoutLeakingIntoThem)
{
    const QImage stars = bitmap(QStringLiteral("Stars.bmp"));
    ASSERT_EQ(stars.size(), QSize(68, 34));
    const QRect all = stars.rect();
    const std::vector<bool> flooded = whiteReach(stars, all, {QPoint(1, 1)});
    auto reached = [&](int x, int y) { return bool(flooded[std::size_t(y * all.width() + x)]); };
    for (const int left : {0, 34}) {
        for (const QPoint& corner : {QPoint(0, 0), QPoint(33, 0), QPoint(0, 33), QPoint(33, 33)})
            EXPECT_TRUE(reached(left + corner.x(), corner.y())) << "tile at " << left << " corner " << corner.x() << "," << corner.y();
        EXPECT_FALSE(reached(left + 17, 17)) << "the flood leaks into the star at " << left;
    }
    int whiteLeft = 0;
    for (int i = 0; i < all.width() * all.height(); ++i)
        whiteLeft += !flooded[std::size_t(i)] && stars.pixel(i % all.width(), i / all.width()) == White;
    EXPECT_EQ(whiteLeft, 0) << "white the flood does not reach stays white on the navy screen";

    const QRgb lit = stars.pixel(17, 17), unlit = stars.pixel(51, 17);
    EXPECT_GT(qGray(lit), 2 * qGray(unlit)) << "the lit star must stand out from the unlit one";
    EXPECT_GT(qRed(lit), qBlue(lit) + 80) << "the lit star is golden";
}

TEST(BuiltPictures, TwinklesAreCutOutCleanlyAndTheSecondIsDimmer)
{
    const QImage twinkles = bitmap(QStringLiteral("STARS2.bmp"));
    ASSERT_EQ(twinkles.size(), QSize(48, 24));
    long brightness[2] = {0, 0};
    for (int frame = 0; frame < 2; ++frame) {
        const QRect tile(24 * frame, 0, 24, 24);
        const Coverage c = coverage(twinkles, tile);
        EXPECT_GT(c.opaque, 20) << "frame " << frame;
        EXPECT_EQ(c.strayWhite, 0) << "frame " << frame;
        for (int y = 0; y < 24; ++y) {
            for (int x = tile.left(); x <= tile.right(); ++x)
                brightness[frame] += twinkles.pixel(x, y) == White ? 0 : qGray(twinkles.pixel(x, y));
        }
    }
    EXPECT_GT(brightness[0], brightness[1]);
}

TEST(BuiltPictures, TheHandPointerHasItsHotspotOnTheFingertip)
{
    const QImage hand(HandCursor);
    ASSERT_EQ(hand.size(), QSize(32, 32));
    ASSERT_TRUE(hand.hasAlphaChannel());
    EXPECT_GT(qAlpha(hand.pixel(moji::HandCursorHotX, moji::HandCursorHotY)), 128) << "the hotspot is on the hand";
    for (int y = 0; y < moji::HandCursorHotY; ++y)
        EXPECT_LT(qAlpha(hand.pixel(moji::HandCursorHotX, y)), 128) << "the hotspot is the topmost point of the finger";
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            opaque += qAlpha(hand.pixel(x, y)) > 128;
    }
    EXPECT_GT(opaque, 150);
    EXPECT_LT(opaque, 32 * 32 * 3 / 4) << "a pointer, not a block";
    EXPECT_EQ(qAlpha(hand.pixel(31, 0)), 0);
}

// Each file must be read by our player exactly as the preview sheet showed it: the file's
// records, played independently, must give the picture the drawing code painted.
TEST(BuiltPictures, EveryMetafileIsWellFormedAndPlaysAsDrawn)
{
    const auto pictures = metafilePictures();
    ASSERT_EQ(pictures.size(), 13u);
    for (const MetafilePicture& picture : pictures) {
        SCOPED_TRACE(picture.fileName.toStdString());
        const QByteArray bytes = testing_support::readFile(ProgramDir + u'/' + picture.fileName);
        QStringList problems;
        const wmf_check::Metafile m = wmf_check::read(bytes, problems);
        ASSERT_TRUE(problems.isEmpty()) << qPrintable(problems.join(u'\n'));
        EXPECT_EQ(m.bounds, QRect(0, 0, picture.units, picture.units));
        EXPECT_EQ(m.unitsPerInch, 1440);

        // Pure white only for the background square: anything else white would be cut out.
        int whiteTools = 0;
        for (const auto& r : m.records) {
            // A solid pen has its colour in words 3 and 4, a solid brush in words 1 and 2.
            std::size_t colourAt = 0;
            if (r.function == 0x02FA && r.words[0] != 5)
                colourAt = 3;
            else if (r.function == 0x02FC && r.words[0] != 1)
                colourAt = 1;
            else
                continue;
            if (uint16_t(r.words[colourAt]) == 0xFFFF && (uint16_t(r.words[colourAt + 1]) & 0xFF) == 0xFF)
                ++whiteTools;
        }
        EXPECT_EQ(whiteTools, 1);

        const QImage played = wmf_check::replay(m, 96);
        EXPECT_EQ(played.pixel(0, 0), White) << "corners are transparent";
        EXPECT_LT(wmf_check::differingShare(played, toImage(picture, 96)), 0.01);
        QImage blank(96, 96, QImage::Format_RGB32);
        blank.fill(Qt::white);
        EXPECT_GT(wmf_check::differingShare(played, blank), 0.2) << "nearly blank";
    }
}
