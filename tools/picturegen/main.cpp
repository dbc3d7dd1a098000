// picturegen: draws the program's pictures into the program folder (ButtonX.bmp, Stars.bmp,
// STARS2.bmp, Pop1.wmf … Pop10.wmf, Present1.wmf … Present3.wmf), the hand pointer for the
// program to embed, and a preview sheet for reviewing them.
//
//   picturegen <program folder> <hand-cursor.png> [preview.png]

#include "bitmappictures.h"
#include "errors.h"
#include "filestore.h"
#include "metafilepictures.h"
#include "preview.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace moji;
using namespace moji::pictures;

namespace {

void save(const QImage& image, const QString& path, const char* format)
{
    const QString name = QFileInfo(path).fileName();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        throw FileError(name, QStringLiteral("cannot encode picture"));
    filestore::writeAtomically(path, name, bytes);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: picturegen <program folder> <hand-cursor.png> [preview.png]\n");
        return 2;
    }
    const QDir out(args[1]);

    try {
        save(buttonStrip(), out.filePath(QStringLiteral("ButtonX.bmp")), "BMP");
        save(starTiles(), out.filePath(QStringLiteral("Stars.bmp")), "BMP");
        save(twinkleTiles(), out.filePath(QStringLiteral("STARS2.bmp")), "BMP");
        for (const MetafilePicture& picture : metafilePictures())
            filestore::writeAtomically(out.filePath(picture.fileName), picture.fileName, toMetafile(picture));
        QDir().mkpath(QFileInfo(args[2]).absolutePath());
        save(handCursor(), args[2], "PNG");
        if (args.size() > 3)
            save(previewSheet(), args[3], "PNG");
    } catch (const DataError& e) {
        std::fprintf(stderr, "picturegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
