// The metafile player on metafiles written out by hand, and on broken ones.

#include "metafile.h"
#include "randomsource.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSet>

using namespace moji;
using testing_support::Bytes;

namespace {

// A record: size in 16-bit words (including the 3-word head), function, parameters.
QByteArray record(int function, std::initializer_list<int> params)
{
    Bytes b;
    const int words = 3 + int(params.size());
    b.i16(words & 0xFFFF).i16(words >> 16).i16(function);
    for (int p : params)
        b.i16(p);
    return b;
}

QByteArray colorParams(quint32 rgb) // COLORREF as two words
{
    return Bytes().i16(int(rgb & 0xFFFF)).i16(int(rgb >> 16));
}

QByteArray placeable(int right, int bottom)
{
    Bytes b;
    b.i16(0xCDD7).i16(0x9AC6).i16(0).i16(0).i16(0).i16(right).i16(bottom).i16(96).i16(0).i16(0);
    // Checksum: XOR of the first ten words.
    const QByteArray head = b;
    quint16 sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= quint16(quint8(head[2 * i]) | (quint8(head[2 * i + 1]) << 8));
    b.i16(sum);
    return b;
}

// The standard header; whole() fills in the size once the records are there.
QByteArray header(int objects)
{
    return Bytes().i16(1).i16(9).i16(0x0300).i16(0).i16(0).i16(objects).i16(0).i16(0).i16(0);
}

// A placeable metafile with its declared size (in words, from the standard header on) set to
// what follows the placeable header.
QByteArray whole(QByteArray m)
{
    const int words = int(m.size() - 22) / 2;
    m.replace(22 + 6, 4, Bytes().i16(words & 0xFFFF).i16(words >> 16).data());
    return m;
}

// Red brush, null pen, a rectangle over the top-left quarter and a blue ellipse at the
// bottom right, in a 100 x 100 window.
QByteArray picture()
{
    QByteArray m = placeable(100, 100) + header(3);
    m += record(0x020B, {0, 0});     // SetWindowOrg y, x
    m += record(0x020C, {100, 100}); // SetWindowExt y, x
    m += Bytes().i16(7).i16(0).i16(0x02FC).i16(0).raw(colorParams(0x0000FF)).i16(0); // red solid brush
    m += record(0x012D, {0});
    m += Bytes().i16(8).i16(0).i16(0x02FA).i16(5).i16(0).i16(0).raw(colorParams(0)); // null pen
    m += record(0x012D, {1});
    m += record(0x041B, {50, 50, 0, 0}); // Rectangle bottom, right, top, left
    m += Bytes().i16(7).i16(0).i16(0x02FC).i16(0).raw(colorParams(0xFF0000)).i16(0); // blue brush, slot 2
    m += record(0x012D, {2});
    m += record(0x0418, {100, 100, 60, 60}); // Ellipse
    m += record(0x0000, {});
    return whole(m);
}

QImage render(const QByteArray& bytes, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const auto m = Metafile::parse(bytes);
    if (m) {
        QPainter p(&image);
        m->render(p, QRectF(0, 0, size, size));
    }
    return image;
}

} // namespace

TEST(Metafile, DrawsShapesStretchedOntoTheTarget)
{
    const auto m = Metafile::parse(picture());
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->frame(), QRectF(0, 0, 100, 100));

    for (const int size : {48, 70}) {
        const QImage image = render(picture(), size);
        const int q = size / 4;
        EXPECT_EQ(image.pixelColor(q, q), QColor(Qt::red)) << size;
        EXPECT_EQ(image.pixelColor(size * 80 / 100, size * 80 / 100), QColor(Qt::blue)) << size;
        EXPECT_EQ(image.pixelColor(size * 80 / 100, q), QColor(Qt::white)) << size;
        EXPECT_EQ(image.pixelColor(size * 61 / 100, size - 2), QColor(Qt::white)) << "outside the ellipse";
    }
}

TEST(Metafile, PiesFillOnlyTheirSlice)
{
    QByteArray m = placeable(100, 100) + header(2);
    m += Bytes().i16(7).i16(0).i16(0x02FC).i16(0).raw(colorParams(0x00FF00)).i16(0);
    m += record(0x012D, {0});
    // Pie: end point (100, 50) = 0 degrees, start point (50, 0) = 90 degrees, counter-clockwise
    // from start to end covers the left half and the bottom: three quarters.
    m += record(0x081A, {50, 100, 0, 50, 100, 100, 0, 0});
    m += record(0x0000, {});
    const QImage image = render(whole(m), 100);
    EXPECT_EQ(image.pixelColor(25, 50), QColor(Qt::green)) << "left";
    EXPECT_EQ(image.pixelColor(50, 80), QColor(Qt::green)) << "bottom";
    EXPECT_EQ(image.pixelColor(75, 25), QColor(Qt::white)) << "the top-right quarter is left out";
}

TEST(Metafile, WritesTextInCodePage932)
{
    QByteArray m = placeable(100, 100) + header(1);
    m += record(0x0209, {0, 0}); // SetTextColor black
    m += record(0x0102, {1});    // transparent background
    // Font: height -40, face left empty.
    m += Bytes().i16(3 + 9 + 16).i16(0).i16(0x02FB).i16(-40).i16(0).i16(0).i16(0).i16(700).i16(0).i16(0x80).i16(0).i16(0).zeros(32);
    m += record(0x012D, {0});
    // TextOut: length 4, "あい" in CP932, y 20, x 10.
    m += Bytes().i16(3 + 1 + 2 + 2).i16(0).i16(0x0521).i16(4).raw(testing_support::hex("82a0 82a2")).i16(20).i16(10);
    m += record(0x0000, {});
    const QImage image = render(whole(m), 100);
    int dark = 0;
    for (int y = 20; y < 70; ++y)
        for (int x = 10; x < 100; ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 100) << "the two kana were drawn";
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
}

// A damaged file is never taken for a picture: not a metafile at all, cut short anywhere,
// running on past its declared end, a placeable header whose checksum fails, a record claiming
// more than the file holds, or records that do not close with the end record.
TEST(Metafile, RefusesDamagedFiles)
{
    EXPECT_FALSE(Metafile::parse(QByteArray()).has_value());
    EXPECT_FALSE(Metafile::parse(QByteArray("not a metafile at all, just text")).has_value());
    EXPECT_FALSE(Metafile::parse(placeable(10, 10)).has_value());

    const QByteArray good = picture();
    ASSERT_TRUE(Metafile::parse(good).has_value());
    for (qsizetype cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(Metafile::parse(good.left(cut)).has_value()) << "cut after " << cut << " bytes";
    EXPECT_FALSE(Metafile::parse(good + QByteArray(2, '\0')).has_value()) << "past its declared end";
    EXPECT_FALSE(Metafile::parse(whole(good + QByteArray(2, '\0'))).has_value()) << "past the end record";
    QByteArray box = good;
    box[10] = char(box[10] + 1);
    EXPECT_FALSE(Metafile::parse(box).has_value()) << "placeable checksum";
    const QByteArray liar = placeable(100, 100) + header(1) + Bytes().i16(0x7000).i16(0x7000).i16(0x0324).i16(3000).data();
    EXPECT_FALSE(Metafile::parse(whole(liar)).has_value());
    EXPECT_FALSE(Metafile::parse(whole(placeable(100, 100) + header(0) + record(0x041B, {1, 1, 0, 0}))).has_value()) << "no end";
}

// Whole files with any values in their records never crash the player: random functions and
// parameters, objects selected before they exist.
TEST(Metafile, PlaysAnyValuesSafely)
{
    const int known[] = {0x001E, 0x0127, 0x0102, 0x0106, 0x012E, 0x012D, 0x01F0, 0x0201, 0x0209, 0x020B, 0x020C,
                         0x0213, 0x0214, 0x02FA, 0x02FB, 0x02FC, 0x0324, 0x0325, 0x0418, 0x041B, 0x0521, 0x0538,
                         0x061C, 0x0817, 0x081A, 0x0830};
    RandomSource random(7);
    for (int round = 0; round < 300; ++round) {
        QByteArray m = placeable(100, 100) + header(5);
        for (int i = 0; i < 20; ++i) {
            const int params = random.Random(12);
            Bytes r;
            r.i16(3 + params).i16(0).i16(random.Random(2) ? known[random.Random(int(std::size(known)))] : 1 + random.Random(65535));
            for (int p = 0; p < params; ++p)
                r.i16(random.Random(65536));
            m += r.data();
        }
        m += record(0x0000, {});
        ASSERT_TRUE(Metafile::parse(whole(m)).has_value());
        render(whole(m), 32);
    }
    const QImage image = render(whole(placeable(100, 100) + header(1) + record(0x012D, {40}) + record(0x0000, {})), 32);
    EXPECT_EQ(image.pixelColor(16, 16), QColor(Qt::white));
}

// Found by fuzzing: a broken file whose lines and polygons run across the whole 16-bit range
// kept the painter busy for minutes, however little of them lay in the picture. Such shapes are
// left out; shapes near the picture, even partly beyond it, are still drawn.
TEST(Metafile, LeavesOutShapesReachingFarBeyondThePicture)
{
    QByteArray m = placeable(100, 100) + header(3);
    m += record(0x020C, {2, 2}); // SetWindowExt: one unit is half the picture
    m += Bytes().i16(7).i16(0).i16(0x02FC).i16(0).raw(colorParams(0x0000FF)).i16(0); // red brush
    m += record(0x012D, {0});
    m += Bytes().i16(8).i16(0).i16(0x02FA).i16(5).i16(0).i16(0).raw(colorParams(0)); // null pen
    m += record(0x012D, {1});
    m += record(0x041B, {1, 1, 0, 0}); // the top-left quarter
    m += record(0x041B, {3, 3, 1, 1}); // from the middle to well past the bottom-right corner
    m += Bytes().i16(8).i16(0).i16(0x02FA).i16(0).i16(1).i16(0).raw(colorParams(0xFF0000)); // blue pen, half the picture wide
    m += record(0x012D, {2});
    m += record(0x0325, {2, 1, -32768, 1, 32767}); // a vertical line through the middle
    // Fifty points zigzagging between the corners of the coordinate range, as a line and as a
    // polygon.
    for (const int function : {0x0325, 0x0324}) {
        Bytes zigzag;
        zigzag.i16(3 + 1 + 100).i16(0).i16(function).i16(50);
        for (int i = 0; i < 50; ++i)
            zigzag.i16(i % 2 ? 32767 : -32768).i16(i / 2 % 2 ? 32767 : -32768);
        m += zigzag;
    }
    m += record(0x0000, {});

    const QImage image = render(whole(m), 100);
    EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(75, 75), QColor(Qt::red)) << "partly beyond the picture, still drawn";
    EXPECT_EQ(image.pixelColor(60, 30), QColor(Qt::white)) << "the line running far beyond is left out";
    EXPECT_EQ(image.pixelColor(90, 10), QColor(Qt::white));
}

// The pictures the build makes play as pictures: each fills a good part of its square with
// more than one colour and leaves its white background.
TEST(Metafile, PlaysTheProgramsOwnPictures)
{
    QStringList names;
    for (int n = 1; n <= 10; ++n)
        names << QStringLiteral("Pop%1.wmf").arg(n);
    names << QStringLiteral("Present1.wmf") << QStringLiteral("Present2.wmf") << QStringLiteral("Present3.wmf");
    QImage sheet(13 * 100, 100, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray bytes = testing_support::readFile(QStringLiteral(MOJIMARU_PROGRAM_DIR "/") + names[i]);
        ASSERT_FALSE(bytes.isEmpty()) << qPrintable(names[i]);
        const auto m = Metafile::parse(bytes);
        ASSERT_TRUE(m.has_value()) << qPrintable(names[i]);
        const QImage image = render(bytes, 100);
        QSet<QRgb> colours;
        int painted = 0;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                const QRgb c = image.pixel(x, y);
                colours.insert(c);
                painted += c != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        EXPECT_GT(painted, 1500) << qPrintable(names[i]);
        EXPECT_LT(painted, 9900) << qPrintable(names[i]) << " keeps some white background";
        EXPECT_GT(colours.size(), 4) << qPrintable(names[i]);
        QPainter(&sheet).drawImage(i * 100, 0, image);
    }
    if (qEnvironmentVariableIsSet("MOJIMARU_SHOTS"))
        sheet.save(qEnvironmentVariable("MOJIMARU_SHOTS") + QStringLiteral("/metafiles.png"));
}
