// The bitmap reader on the program's own pictures and on every way of cutting them short.

#include "bitmap.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace moji;
using testing_support::readFile;

// Every bitmap the build makes reads whole, as Qt decodes it; cut short anywhere, or with a
// declared size that is not its own, none is taken for a picture.
TEST(Bitmap, TheProgramsPicturesReadWholeAndNeverCutShort)
{
    const QStringList names = QDir(QStringLiteral(MOJIMARU_PROGRAM_DIR)).entryList({QStringLiteral("*.bmp")}, QDir::Files);
    for (const char* expected : {"ButtonX.bmp", "BuhinX.bmp", "bushu8.bmp", "Stars.bmp"})
        ASSERT_TRUE(names.contains(QLatin1String(expected))) << expected;
    for (const QString& name : names) {
        const QByteArray bytes = readFile(QStringLiteral(MOJIMARU_PROGRAM_DIR "/") + name);
        const QImage image = parseBitmap(bytes);
        ASSERT_FALSE(image.isNull()) << qPrintable(name);
        EXPECT_EQ(image, QImage::fromData(bytes, "BMP")) << qPrintable(name);
        for (qsizetype cut = 0; cut < bytes.size(); cut += 1 + cut / 8)
            EXPECT_TRUE(parseBitmap(bytes.left(cut)).isNull()) << qPrintable(name) << " cut after " << cut;
        QByteArray longer = bytes + QByteArray(4, '\0');
        EXPECT_TRUE(parseBitmap(longer).isNull()) << qPrintable(name) << " running past its declared size";
        longer.replace(2, 4, testing_support::Bytes().i16(int(longer.size()) & 0xFFFF).i16(int(longer.size()) >> 16).data());
        EXPECT_FALSE(parseBitmap(longer).isNull()) << qPrintable(name) << " declaring its own size";
    }
}
