// recognize: reads a handwritten kanji as the program's writing pad does (Zinnia with the
// Japanese model of tegaki-zinnia-japanese, among the 440 kanji of grades 1 to 3), and measures
// how well it reads.
//
//   recognize [--count N] [FILE]        strokes from FILE or standard input; prints the candidates
//   recognize --write KANJI [--seed S]  a kanji written by hand from Kakijun.dat, as such text
//   recognize --accuracy [--seed S]     top-1 and top-5 accuracy over the 200 grade-3 kanji
//   recognize --coach [--seed S]        how often the stroke check names a fault made on purpose
//
// Strokes are text: one stroke a line, its points "x,y x,y ..." in the 0..255 writing square.

#include "accuracy.h"
#include "coachrates.h"
#include "errors.h"
#include "factkanji.h"
#include "randomsource.h"
#include "recognizer.h"
#include "strokeorder.h"
#include "strokestext.h"
#include "synthetic.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace moji;
using namespace moji::handwriting;

namespace {

const QString FactsPath = QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv");

void print(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
}

void complain(const QString& text)
{
    std::fprintf(stderr, "recognize: %s\n", text.toUtf8().constData());
}

std::unique_ptr<Recognizer> recognizer()
{
    const QStringList kanji = kanjiOfFacts(FactsPath);
    return createZinniaRecognizer(defaultModelPath(), QSet<QString>(kanji.begin(), kanji.end()));
}

StrokeOrderTable strokeOrder(const QString& programDir)
{
    StrokeOrderTable table;
    table.load(QDir(programDir).filePath(QStringLiteral("Kakijun.dat")), dictionaryOfFacts(FactsPath));
    return table;
}

int read(const QString& file, int count)
{
    const bool fromInput = file.isEmpty() || file == QLatin1String("-");
    const QString name = fromInput ? QStringLiteral("standard input") : file;
    QFile in(file);
    if (!(fromInput ? in.open(stdin, QIODevice::ReadOnly) : in.open(QIODevice::ReadOnly))) {
        complain(QStringLiteral("cannot read %1: %2").arg(name, in.errorString()));
        return 1;
    }
    QString error;
    const auto strokes = parseStrokes(QString::fromUtf8(in.readAll()), error);
    if (!strokes) {
        complain(name + QStringLiteral(", ") + error);
        return 1;
    }
    const auto reader = recognizer();
    const std::vector<Candidate> candidates = reader->recognize(*strokes, count);
    if (!reader->error().isEmpty()) {
        complain(QStringLiteral("cannot open the handwriting model %1").arg(reader->error()));
        return 1;
    }
    if (candidates.empty()) {
        complain(QStringLiteral("nothing to read: the writing never leaves one spot"));
        return 1;
    }
    for (std::size_t i = 0; i < candidates.size(); ++i)
        print(QStringLiteral("%1\t%2\t%3\n").arg(i + 1).arg(candidates[i].kanji).arg(candidates[i].score, 0, 'f', 4));
    return 0;
}

int write(const QString& programDir, const QString& kanji, uint32_t seed)
{
    const StrokeOrderTable table = strokeOrder(programDir);
    const std::vector<ReferenceStroke>* reference = table.strokesOf(kanji);
    if (!reference) {
        complain(QStringLiteral("%1 is not one of the 440 kanji of Kakijun.dat").arg(kanji));
        return 1;
    }
    RandomSource random(seed);
    print(QStringLiteral("# %1 written from Kakijun.dat, seed %2\n").arg(kanji).arg(seed));
    print(strokesToText(handwritten(*reference, random)));
    return 0;
}

int accuracy(const QString& programDir, uint32_t seed)
{
    const StrokeOrderTable table = strokeOrder(programDir);
    const QStringList kanji = kanjiOfFacts(FactsPath, 3);
    const auto reader = recognizer();
    const std::vector<AccuracyLine> lines = measureAccuracy(*reader, table, kanji, seed);
    if (!reader->error().isEmpty()) {
        complain(QStringLiteral("cannot open the handwriting model %1").arg(reader->error()));
        return 1;
    }
    auto percent = [](int part, int whole) { return QStringLiteral("%1 %").arg(100.0 * part / std::max(whole, 1), 5, 'f', 1); };
    print(QStringLiteral("The %1 grade-3 kanji written from Kakijun.dat (seed %2):\n").arg(kanji.size()).arg(seed));
    print(QStringLiteral("%1 %2 %3 %4\n").arg(QStringLiteral("writing"), -20).arg(QStringLiteral("kanji"), 5)
              .arg(QStringLiteral("top-1"), 8).arg(QStringLiteral("top-5"), 8));
    for (const AccuracyLine& line : lines) {
        print(QStringLiteral("%1 %2 %3 %4\n").arg(line.writing, -20).arg(line.tried, 5)
                  .arg(percent(line.first, line.tried), 8).arg(percent(line.inFive, line.tried), 8));
    }
    if (!lines.front().missed.isEmpty())
        print(QStringLiteral("Not among the first five, whole strokes: %1\n").arg(lines.front().missed.join(QStringLiteral(", "))));
    return 0;
}

int coach(const QString& programDir, uint32_t seed)
{
    const StrokeOrderTable table = strokeOrder(programDir);
    const QStringList kanji = kanjiOfFacts(FactsPath, 3);
    const std::vector<CoachLine> lines = measureCoach(table, kanji, seed);
    print(QStringLiteral("The stroke check on the %1 grade-3 kanji written from Kakijun.dat (seed %2):\n").arg(kanji.size()).arg(seed));
    print(QStringLiteral("%1 %2 %3\n").arg(QStringLiteral("writing"), -22).arg(QStringLiteral("tried"), 6).arg(QStringLiteral("named"), 8));
    for (const CoachLine& line : lines) {
        print(QStringLiteral("%1 %2 %3 %\n").arg(line.writing, -22).arg(line.tried, 6)
                  .arg(100.0 * line.named / std::max(line.tried, 1), 6, 'f', 1));
    }
    for (const CoachLine& line : lines) {
        if (!line.examples.isEmpty())
            print(QStringLiteral("Missed, %1: %2\n").arg(line.writing, line.examples.join(QStringLiteral("; "))));
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads a handwritten kanji among the 440 of grades 1 to 3. Strokes are text: one stroke a line,\n"
        "its points \"x,y x,y ...\" in the 0..255 writing square, y growing down."));
    parser.addHelpOption();
    const QCommandLineOption countOption(QStringLiteral("count"), QStringLiteral("How many candidates to print (default 8)."),
                                         QStringLiteral("N"), QStringLiteral("8"));
    const QCommandLineOption writeOption(QStringLiteral("write"),
                                         QStringLiteral("Print KANJI as a hand might write it, from Kakijun.dat."), QStringLiteral("KANJI"));
    const QCommandLineOption accuracyOption(QStringLiteral("accuracy"),
                                            QStringLiteral("Measure top-1 and top-5 accuracy on the grade-3 kanji written from Kakijun.dat."));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the writing hand (default 1)."),
                                        QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption programOption(QStringLiteral("program-dir"),
                                           QStringLiteral("The program folder holding Kakijun.dat."), QStringLiteral("DIR"),
                                           QStringLiteral(MOJIMARU_PROGRAM_DIR));
    const QCommandLineOption coachOption(QStringLiteral("coach"),
                                         QStringLiteral("Measure how often the stroke check names a missing, swapped or reversed stroke,\n"
                                                        "and how often it blames right writing, on the grade-3 kanji."));
    parser.addOptions({countOption, writeOption, accuracyOption, coachOption, seedOption, programOption});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The strokes to read (default: standard input)."), QStringLiteral("[file]"));
    parser.process(app);

    bool okCount = false, okSeed = false;
    const int count = parser.value(countOption).toInt(&okCount);
    const uint32_t seed = parser.value(seedOption).toUInt(&okSeed);
    if (!okCount || count < 1) {
        complain(QStringLiteral("--count takes a number from 1 up"));
        return 2;
    }
    if (!okSeed) {
        complain(QStringLiteral("--seed takes a whole number from 0 to 4294967295"));
        return 2;
    }
    const int modes = int(parser.isSet(writeOption)) + int(parser.isSet(accuracyOption)) + int(parser.isSet(coachOption))
        + int(!parser.positionalArguments().isEmpty());
    if (parser.positionalArguments().size() > 1 || modes > 1) {
        complain(QStringLiteral("give one file of strokes, --write KANJI, --accuracy or --coach (see --help)"));
        return 2;
    }
    try {
        if (parser.isSet(accuracyOption))
            return accuracy(parser.value(programOption), seed);
        if (parser.isSet(coachOption))
            return coach(parser.value(programOption), seed);
        if (parser.isSet(writeOption))
            return write(parser.value(programOption), parser.value(writeOption), seed);
        return read(parser.positionalArguments().value(0), count);
    } catch (const DataError& e) {
        complain(QString::fromUtf8(e.what()));
        return 1;
    }
}
