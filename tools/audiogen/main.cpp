// audiogen: compiles a score from content/music into a Standard MIDI File, or a sound
// description from content/sounds into a WAVE file.
//
//   audiogen music <score.txt> <file.mid>
//   audiogen sound <sound.txt> <file.wav>

#include "errors.h"
#include "filestore.h"
#include "midiwriter.h"
#include "score.h"
#include "sound.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

using namespace moji;
using namespace moji::audio;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 || (args[1] != QLatin1String("music") && args[1] != QLatin1String("sound"))) {
        std::fprintf(stderr, "usage: audiogen music <score.txt> <file.mid>\n"
                             "       audiogen sound <sound.txt> <file.wav>\n");
        return 2;
    }
    const QString& output = args[3];
    try {
        content::Problems problems;
        QByteArray bytes;
        if (args[1] == QLatin1String("music")) {
            const Score score = readScore(args[2], problems);
            if (problems.empty())
                bytes = standardMidiFile(score);
        } else {
            const SoundRecipe recipe = readSound(args[2], problems);
            if (problems.empty())
                bytes = waveFile(synthesise(recipe), recipe.rate);
        }
        if (!problems.empty()) {
            for (const QString& p : problems.list())
                std::fprintf(stderr, "audiogen: %s\n", qPrintable(p));
            return 1;
        }
        filestore::writeAtomically(output, QFileInfo(output).fileName(), bytes);
    } catch (const DataError& e) {
        std::fprintf(stderr, "audiogen: %s\n", e.what());
        return 1;
    }
    return 0;
}
