// questgen: compiles content/questions into the question bank (Mondai1.dat) and its index
// by kanji (Mondai2.dat).
//
//   questgen <content folder> <program folder>
//   questgen --sample N <content folder>     prints N random questions for review

#include "errors.h"
#include "filestore.h"
#include "questionsource.h"
#include "randomsource.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

#include <cstdio>

using namespace moji;
using namespace moji::content;

namespace {

// Whole sentences with the asked word marked 【】, for a reader's review of the bank.
int printSample(int count, const QString& contentFolder)
{
    Problems problems;
    const QDir content(contentFolder);
    const auto facts = readKanjiFacts(content.filePath(QStringLiteral("kanji/kanji-facts.tsv")), problems);
    SchoolReadings readings;
    readings.load(contentFolder, facts, problems);
    QuestionBank bank;
    bank.load(content.filePath(QStringLiteral("questions")), facts, readings, problems);
    std::vector<QuestionSource> pool = bank.questions();
    RandomSource random(uint32_t(QDateTime::currentMSecsSinceEpoch()));
    for (int i = 0; i < count && !pool.empty(); ++i) {
        const auto pick = pool.begin() + random.Random(int(pool.size()));
        std::printf("%2d. %s【%s（%s）】%s\n", i + 1, qPrintable(pick->before), qPrintable(pick->kanji),
                    qPrintable(pick->target), qPrintable(pick->after));
        pool.erase(pick);
    }
    return problems.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--sample"))
        return printSample(args[2].toInt(), args[3]);
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: questgen <content folder> <program folder>\n");
        return 2;
    }
    const QDir content(args[1]);
    const QDir out(args[2]);
    try {
        Problems problems;
        const auto facts = readKanjiFacts(content.filePath(QStringLiteral("kanji/kanji-facts.tsv")), problems);
        SchoolReadings readings;
        if (problems.empty())
            readings.load(args[1], facts, problems);
        QuestionBank bank;
        if (problems.empty())
            bank.load(content.filePath(QStringLiteral("questions")), facts, readings, problems);
        if (!problems.empty()) {
            for (const QString& p : problems.list())
                std::fprintf(stderr, "questgen: %s\n", qPrintable(p));
            return 1;
        }
        QByteArray questions;
        for (const QuestionRecord& r : bank.questionRecords())
            questions += r.encode();
        QByteArray index;
        for (const QuestionIndexRecord& r : bank.indexRecords())
            index += r.encode();
        filestore::writeAtomically(out.filePath(QStringLiteral("Mondai1.dat")), QStringLiteral("Mondai1.dat"), questions);
        filestore::writeAtomically(out.filePath(QStringLiteral("Mondai2.dat")), QStringLiteral("Mondai2.dat"), index);
    } catch (const DataError& e) {
        std::fprintf(stderr, "questgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
