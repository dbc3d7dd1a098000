// dictgen: compiles content/kanji into the kanji dictionary (Mojimaru1.dat), the component
// table (Bushu1.dat) and the component pictures (BuhinX.bmp, bushu1.bmp … bushu8.bmp), and
// draws a contact sheet for reviewing the choices.
//
//   dictgen <content/kanji folder> <program folder> [contact-sheet.png]

#include "dictionarysource.h"
#include "errors.h"
#include "filestore.h"
#include "partpictures.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

using namespace moji;
using namespace moji::content;

namespace {

template <typename Record>
QByteArray encodeAll(const std::vector<Record>& records)
{
    QByteArray bytes;
    for (const Record& r : records)
        bytes += r.encode();
    return bytes;
}

void saveImage(const QImage& image, const QString& path)
{
    if (!image.save(path, "BMP"))
        throw FileError(QFileInfo(path).fileName(), QStringLiteral("cannot write picture"));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: dictgen <content/kanji> <program folder> [contact-sheet.png]\n");
        return 2;
    }
    const QDir out(args[2]);

    try {
        DictionarySource source;
        Problems problems;
        source.load(args[1], problems);
        PartPainter painter;
        for (const Part& part : source.parts()) {
            if (!painter.canRender(part))
                problems.add(QStringLiteral("parts.tsv"), QStringLiteral("no installed font draws %1").arg(part.render));
        }
        if (!problems.empty()) {
            for (const QString& p : problems.list())
                std::fprintf(stderr, "dictgen: %s\n", qPrintable(p));
            return 1;
        }

        filestore::writeAtomically(out.filePath(QStringLiteral("Mojimaru1.dat")), QStringLiteral("Mojimaru1.dat"),
                                   encodeAll(source.kanjiRecords()));
        filestore::writeAtomically(out.filePath(QStringLiteral("Bushu1.dat")), QStringLiteral("Bushu1.dat"),
                                   encodeAll(source.radicalRecords()));
        saveImage(painter.strip(source.parts()), out.filePath(QStringLiteral("BuhinX.bmp")));
        for (int g = 1; g <= 8; ++g)
            saveImage(painter.groupPicture(g), out.filePath(QStringLiteral("bushu%1.bmp").arg(g)));
        if (args.size() > 3 && !painter.contactSheet(source).save(args[3], "PNG"))
            throw FileError(args[3], QStringLiteral("cannot write contact sheet"));
    } catch (const DataError& e) {
        std::fprintf(stderr, "dictgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
