// The notice and level-up pictures: Metafile::parse, then render into a small image as
// start-up and the level-up screen do.

#include "filestore.h"
#include "fuzzsupport.h"
#include "metafile.h"

#include <QImage>
#include <QPainter>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // Read back through the program's own file reader, as the screens load them.
    const QString path = fuzz::writeInput(QStringLiteral("Pop1.wmf"), data, size);
    try {
        const auto metafile = moji::Metafile::parse(moji::filestore::readAll(path, QStringLiteral("Pop1.wmf")));
        if (!metafile)
            return 0;
        QImage image(48, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        metafile->render(painter, QRectF(0, 0, image.width(), image.height()));
    } catch (const moji::DataError&) {
    }
    return 0;
}
