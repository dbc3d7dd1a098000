// strokegen: compiles the stroke order file (Kakijun.dat) for the kanji of
// content/kanji/kanji-facts.tsv from the stroke data that Debian's python3-kanjidraw installs
// (derived from KanjiVG). The data is read where the package put it, never copied.
//
//   strokegen <data.json> <kanji-facts.tsv> <program folder>

#include "errors.h"
#include "filestore.h"
#include "kanjifacts.h"
#include "strokesource.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace moji;
using namespace moji::content;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: strokegen <data.json> <kanji-facts.tsv> <program folder>\n");
        return 2;
    }
    try {
        Problems problems;
        const auto facts = readKanjiFacts(args[2], problems);
        const auto records = problems.empty() ? strokeOrderRecords(args[1], facts, problems) : std::vector<StrokeOrderRecord>{};
        if (!problems.empty()) {
            for (const QString& p : problems.list())
                std::fprintf(stderr, "strokegen: %s\n", qPrintable(p));
            return 1;
        }
        QByteArray bytes;
        for (const StrokeOrderRecord& r : records)
            bytes += r.encode();
        filestore::writeAtomically(QDir(args[3]).filePath(QStringLiteral("Kakijun.dat")), QStringLiteral("Kakijun.dat"), bytes);
    } catch (const DataError& e) {
        std::fprintf(stderr, "strokegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
