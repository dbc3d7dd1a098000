// The metafile writer: its exact bytes, the object table it asks the player to keep, and that
// what it records draws the same picture as the QPainter canvas it mirrors.

#include "canvas.h"
#include "testfiles.h"
#include "wmfreader.h"
#include "wmfwriter.h"

#include <gtest/gtest.h>

#include <QPainter>

using namespace moji::pictures;
using testing_support::hex;

TEST(WmfWriter, WritesOneRectangleByteForByte)
{
    WmfWriter writer(100, 100);
    writer.setPen(QColor(0x10, 0x20, 0x30), 2);
    writer.setBrush(QColor(0xFF, 0, 0));
    writer.drawRect(QRectF(10, 20, 30, 40));

    const QByteArray expected = hex(
        // placeable header: key, handle, box 0 0 100 100, 1440 per inch, reserved, checksum
        "d7 cd c6 9a  00 00  00 00 00 00 64 00 64 00  a0 05  00 00 00 00  b1 52"
        // metafile header: in memory, 9 words, version 3, 60 words, 2 objects, largest 8, 0
        "01 00 09 00 00 03  3c 00 00 00  02 00  08 00 00 00  00 00"
        "05 00 00 00 0b 02  00 00 00 00"                         // window origin y 0, x 0
        "05 00 00 00 0c 02  64 00 64 00"                         // window extent 100 x 100
        "04 00 00 00 02 01  01 00"                               // transparent background
        "04 00 00 00 06 01  01 00"                               // alternate fill
        "08 00 00 00 fa 02  00 00 02 00 00 00 10 20 30 00"       // solid pen, width 2
        "04 00 00 00 2d 01  00 00"                               // select object 0
        "07 00 00 00 fc 02  00 00 ff 00 00 00 00 00"             // solid red brush
        "04 00 00 00 2d 01  01 00"                               // select object 1
        "07 00 00 00 1b 04  3c 00 28 00 14 00 0a 00"             // rectangle: bottom 60, right 40, top 20, left 10
        "03 00 00 00 00 00");                                    // end
    EXPECT_EQ(writer.finish().toHex(' '), expected.toHex(' '));
}

// Windows puts each new object in the lowest free slot of the table; a player that follows
// it must find the same slots as the writer, and the header must size the table.
TEST(WmfWriter, ReusesFreedSlotsAndCreatesNothingForAnUnchangedTool)
{
    WmfWriter writer(100, 1000);
    writer.setPen(Qt::black, 1);
    writer.setBrush(Qt::red);
    writer.drawEllipse(QRectF(0, 0, 10, 10));
    writer.setPen(Qt::black, 1);
    writer.setBrush(Qt::red);
    writer.drawEllipse(QRectF(10, 0, 10, 10)); // same tools: no new object
    writer.setPen(Qt::blue, 2);
    writer.setPen(Qt::green, 2);               // never drawn with blue: no blue object
    writer.drawPolyline(QPolygonF{{0, 0}, {50, 50}});
    writer.setNoBrush();
    writer.drawEllipse(QRectF(20, 0, 10, 10));

    QStringList problems;
    const wmf_check::Metafile m = wmf_check::read(writer.finish(), problems);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(u'\n'));
    std::vector<std::pair<int, int>> objectRecords; // function, slot (-1 for a creation)
    for (const auto& r : m.records) {
        if (r.function == 0x02FA || r.function == 0x02FC)
            objectRecords.emplace_back(r.function, -1);
        else if (r.function == 0x012D || r.function == 0x01F0)
            objectRecords.emplace_back(r.function, r.words[0]);
    }
    const std::vector<std::pair<int, int>> expected = {
        {0x02FA, -1}, {0x012D, 0},               // black pen in 0
        {0x02FC, -1}, {0x012D, 1},               // red brush in 1
        {0x02FA, -1}, {0x012D, 2}, {0x01F0, 0},  // green pen in 2, black freed
        {0x02FC, -1}, {0x012D, 0}, {0x01F0, 1},  // null brush in the freed 0
    };
    EXPECT_EQ(objectRecords, expected);
    EXPECT_EQ(m.objectCount, 3);
}

// Every record kind, with the argument orders that are easy to get wrong: reversed boxes,
// clockwise spans, holes, winding fills, rounded corners.
TEST(WmfWriter, RecordsDrawTheSamePictureAsThePainterCanvas)
{
    auto draw = [](Canvas& c) {
        c.setNoPen();
        c.setBrush(Qt::white);
        c.drawRect(QRectF(0, 0, 100, 100));
        c.setPen(QColor(20, 20, 60), 2);
        c.setBrush(QColor(250, 60, 60));
        c.drawRoundedRect(QRectF(4, 4, 40, 22), 10, 5);
        c.drawEllipse(QPointF(72, 14), 22, 10);
        c.setBrush(QColor(60, 160, 250));
        c.drawPie(QRectF(4, 32, 30, 30), 30 * 16, 100 * 16);
        c.drawChord(QRectF(36, 32, 30, 30), 200 * 16, -120 * 16);
        c.drawArc(QRectF(68, 32, 30, 20), 0, -200 * 16);
        QPainterPath ring;
        ring.addEllipse(QPointF(20, 80), 15, 15);
        ring.addEllipse(QPointF(20, 80), 7, 7);
        c.setBrush(QColor(80, 200, 80));
        c.drawPath(ring);
        c.drawPolygon(QPolygonF{{40, 70}, {90, 70}, {50, 98}, {65, 60}, {80, 98}}, Qt::WindingFill);
        c.setPen(QColor(200, 120, 0), 4);
        c.drawPolyline(QPolygonF{{40, 62}, {60, 66}, {95, 62}});
    };
    constexpr int pixels = 200;
    QImage painted(pixels, pixels, QImage::Format_RGB32);
    painted.fill(Qt::white);
    {
        QPainter p(&painted);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(pixels / 100.0, pixels / 100.0);
        PainterCanvas canvas(p);
        draw(canvas);
    }
    WmfWriter writer(100, 3000);
    draw(writer);
    QStringList problems;
    const wmf_check::Metafile m = wmf_check::read(writer.finish(), problems);
    ASSERT_TRUE(problems.isEmpty()) << qPrintable(problems.join(u'\n'));
    EXPECT_LT(wmf_check::differingShare(painted, wmf_check::replay(m, pixels)), 0.005);
}
