// questgen: compiles content/questions into the question bank (Mondai1.dat) and its index
// by kanji (Mondai2.dat).
//
//   questgen <content folder> <program folder>
//   questgen --sample N <content folder> [<earlier content folder>]
//                                            prints N random questions for review (only
//                                            those whose sentence the earlier bank lacks)
//   questgen --report <content folder>       prints how many questions each kanji and each
//                                            reading has, and the problems of the bank

#include "errors.h"
#include "filestore.h"
#include "questionsource.h"
#include "randomsource.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

using namespace moji;
using namespace moji::content;

namespace {

struct LoadedBank {
    Problems problems;
    std::vector<KanjiFact> facts;
    SchoolReadings readings;
    QuestionBank bank;

    explicit LoadedBank(const QString& contentFolder)
    {
        const QDir content(contentFolder);
        facts = readKanjiFacts(content.filePath(QStringLiteral("kanji/kanji-facts.tsv")), problems);
        readings.load(contentFolder, facts, problems);
        bank.load(content.filePath(QStringLiteral("questions")), facts, readings, problems);
    }
};

// Whole sentences with the asked word marked 【】, for a reader's review of the bank.
int printSample(int count, const QString& contentFolder, const QString& earlierFolder)
{
    const LoadedBank loaded(contentFolder);
    std::vector<QuestionSource> pool = loaded.bank.questions();
    if (!earlierFolder.isEmpty()) {
        const LoadedBank before(earlierFolder);
        std::set<QString> earlier;
        for (const QuestionSource& q : before.bank.questions())
            earlier.insert(q.kanji + q.sentence());
        std::erase_if(pool, [&](const QuestionSource& q) { return earlier.count(q.kanji + q.sentence()) > 0; });
    }
    RandomSource random(uint32_t(QDateTime::currentMSecsSinceEpoch()));
    for (int i = 0; i < count && !pool.empty(); ++i) {
        const auto pick = pool.begin() + random.Random(int(pool.size()));
        std::printf("%2d. %s【%s（%s）】%s\n", i + 1, qPrintable(pick->before), qPrintable(pick->kanji),
                    qPrintable(pick->target), qPrintable(pick->after));
        pool.erase(pick);
    }
    return loaded.problems.empty() ? 0 : 1;
}

// The figures a reviewer asks for: questions per kanji, and the primary-school readings
// drilled by fewer than two questions (those listed as exceptions marked so).
int printReport(const QString& contentFolder)
{
    const LoadedBank loaded(contentFolder);
    std::map<QString, int> perKanji;
    for (const QuestionSource& q : loaded.bank.questions())
        ++perKanji[q.kanji];
    const auto [fewest, most] = std::minmax_element(perKanji.begin(), perKanji.end(),
                                                    [](const auto& a, const auto& b) { return a.second < b.second; });
    if (fewest != perKanji.end())
        std::printf("%zu questions; per kanji %d (%s) to %d (%s)\n", loaded.bank.questions().size(), fewest->second,
                    qPrintable(fewest->first), most->second, qPrintable(most->first));
    const auto drills = loaded.bank.readingDrills(loaded.readings);
    int once = 0;
    for (const KanjiFact& f : loaded.facts) {
        for (const SchoolReading& r : loaded.readings.of(f.kanji)) {
            const auto it = drills.find(&r);
            const int n = it == drills.end() ? 0 : it->second;
            if (!r.primary() || n >= MinQuestionsPerReading)
                continue;
            once += n == 1;
            std::printf("%s %s: %d%s\n", qPrintable(r.kanji), qPrintable(r.reading), n,
                        loaded.readings.excused(r) ? " (listed as an exception)" : "");
        }
    }
    std::printf("%d readings drilled by only one question\n", once);
    for (const QString& p : loaded.problems.list())
        std::printf("problem: %s\n", qPrintable(p));
    return loaded.problems.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if ((args.size() == 4 || args.size() == 5) && args[1] == QLatin1String("--sample"))
        return printSample(args[2].toInt(), args[3], args.value(4));
    if (args.size() == 3 && args[1] == QLatin1String("--report"))
        return printReport(args[2]);
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
