// audiogen: compiles a score from content/music into a Standard MIDI File, or a sound
// description from content/sounds into a WAVE file, or takes from a General MIDI soundfont
// what the tunes play.
//
//   audiogen music <score.txt> <file.mid>
//   audiogen sound <sound.txt> <file.wav>
//   audiogen soundfont <general-midi.sf2> <file.sf2> <score.txt>...

#include "errors.h"
#include "filestore.h"
#include "midiwriter.h"
#include "score.h"
#include "sound.h"
#include "soundfont.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

using namespace moji;
using namespace moji::audio;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool soundFont = args.size() >= 5 && args[1] == QLatin1String("soundfont");
    if (!soundFont && (args.size() != 4 || (args[1] != QLatin1String("music") && args[1] != QLatin1String("sound")))) {
        std::fprintf(stderr, "usage: audiogen music <score.txt> <file.mid>\n"
                             "       audiogen sound <sound.txt> <file.wav>\n"
                             "       audiogen soundfont <general-midi.sf2> <file.sf2> <score.txt>...\n");
        return 2;
    }
    const QString& output = args[3];
    try {
        content::Problems problems;
        QByteArray bytes;
        if (soundFont) {
            std::vector<Score> scores;
            for (qsizetype i = 4; i < args.size(); ++i)
                scores.push_back(readScore(args[i], problems));
            if (problems.empty())
                bytes = soundFontSubset(filestore::readAll(args[2], QFileInfo(args[2]).fileName()),
                                        instrumentationOf(scores), QFileInfo(args[2]).fileName());
        } else if (args[1] == QLatin1String("music")) {
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
