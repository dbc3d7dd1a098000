// hintgen: compiles content/hints/hints.txt into the hint file (Hint.dat).
//
//   hintgen <hints.txt> <program folder>

#include "errors.h"
#include "filestore.h"
#include "hintsource.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace moji;
using namespace moji::content;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: hintgen <hints.txt> <program folder>\n");
        return 2;
    }
    try {
        Problems problems;
        const auto hints = readHints(args[1], problems);
        if (!problems.empty()) {
            for (const QString& p : problems.list())
                std::fprintf(stderr, "hintgen: %s\n", qPrintable(p));
            return 1;
        }
        QByteArray bytes;
        for (const HintRecord& r : hintRecords(hints))
            bytes += r.encode();
        filestore::writeAtomically(QDir(args[2]).filePath(QStringLiteral("Hint.dat")), QStringLiteral("Hint.dat"), bytes);
    } catch (const DataError& e) {
        std::fprintf(stderr, "hintgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
