// picturegen: draws the program's pictures into the program folder (ButtonX.bmp, Stars.bmp,
// STARS2.bmp, Pop1.wmf … Pop10.wmf, Present1.wmf … Present3.wmf), the hand pointer for the
// program to embed, and a preview sheet for reviewing them; or, with --icons, the program's
// icon in a hicolor icon theme folder (48, 64, 128 and 256 pixels, and scalable).
//
//   picturegen <program folder> <hand-cursor.png> [preview.png]
//   picturegen --icons <theme folder> <icon name>

#include "appicon.h"
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

void writeIcons(const QDir& theme, const QString& name)
{
    for (const int pixels : {48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(pixels);
        theme.mkpath(folder);
        save(appIcon(pixels), theme.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png")), "PNG");
    }
    theme.mkpath(QStringLiteral("scalable/apps"));
    const QString svg = name + QStringLiteral(".svg");
    filestore::writeAtomically(theme.filePath(QStringLiteral("scalable/apps/") + svg), svg, appIconSvg());
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: picturegen <program folder> <hand-cursor.png> [preview.png]\n"
                             "       picturegen --icons <theme folder> <icon name>\n");
        return 2;
    }
    const QDir out(args[1]);

    try {
        if (args[1] == QLatin1String("--icons")) {
            writeIcons(QDir(args[2]), args.value(3, QStringLiteral("mojimaru")));
            return 0;
        }
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
