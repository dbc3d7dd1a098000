// The button, part and radical-group pictures: readBitmap, as start-up and the writing pickers
// read them. A picture it accepts has pixels; anything else is a reported file error.

#include "bitmap.h"
#include "errors.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const QString path = fuzz::writeInput(QStringLiteral("BuhinX.bmp"), data, size);
    try {
        const QImage image = moji::readBitmap(path, QStringLiteral("BuhinX.bmp"));
        FUZZ_CHECK(!image.isNull() && image.width() > 0 && image.height() > 0);
    } catch (const moji::DataError&) {
    }
    return 0;
}
