// Hint.dat: built from content/hints, it must cover every hint context the screens use,
// with each context's hints consecutive so that paging works.

#include "filestore.h"
#include "hintcontext.h"
#include "hintsource.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>

using namespace moji;
using namespace moji::content;

namespace {
const QString ProgramDir = QStringLiteral(MOJIMARU_PROGRAM_DIR);
}

TEST(Hints, EveryContextTheScreensUseHasConsecutiveHints)
{
    const auto records = filestore::readRecords<HintRecord>(ProgramDir + QStringLiteral("/Hint.dat"), QStringLiteral("Hint.dat"));
    ASSERT_FALSE(records.empty());
    ASSERT_LE(records.size(), 100u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const HintRecord& r = records[i];
        EXPECT_EQ(r.HintNo, int(i) + 1) << "hint numbers are record positions";
        const HintContext context{r.Topic, r.Section, r.Mode};
        EXPECT_TRUE(std::find(UsedHintContexts.begin(), UsedHintContexts.end(), context) != UsedHintContexts.end())
            << "hint " << r.HintNo << " belongs to no screen";
        bool hasText = false;
        for (const auto* lines : {&r.Level1, &r.Level2}) {
            for (const QByteArray& line : *lines) {
                EXPECT_TRUE(cp932::decode(line).has_value()) << "hint " << r.HintNo;
                hasText = hasText || !line.isEmpty();
            }
        }
        EXPECT_TRUE(hasText) << "hint " << r.HintNo;
    }
    for (const HintContext& c : UsedHintContexts) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (HintContext{records[i].Topic, records[i].Section, records[i].Mode} == c)
                at.push_back(i);
        }
        EXPECT_GE(at.size(), 1u) << "no hint for topic " << c.topic << " section " << c.section << " mode " << c.mode;
        EXPECT_LE(at.size(), 3u) << "topic " << c.topic;
        if (!at.empty()) {
            EXPECT_EQ(at.back() - at.front() + 1, at.size()) << "hints of topic " << c.topic << " are not consecutive";
        }
    }
}

TEST(Hints, TheCompilerRefusesBadSources)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hints.txt"));
    testing_support::writeFile(path,
                               "@ 1 1 1\n"
                               "1: めにゅーのヒント\n"
                               "2: あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほま\n" // 31 characters
                               "@ 4 1 1\n"
                               "1: いち\n1: に\n1: さん\n1: よん\n1: ご\n1: ろく\n"                           // six lines
                               "@ 1 1 1\n"                                                                    // not consecutive
                               "2: もういちど\n"
                               "@ 5 x 1\n"
                               "2: ばんごう\n"
                               "hello\n");
    Problems problems;
    readHints(path, problems);
    const QString all = problems.list().join(QLatin1Char('\n'));
    for (const int line : {3, 10, 11, 13, 15})
        EXPECT_TRUE(all.contains(QStringLiteral("hints.txt:%1:").arg(line))) << "line " << line << ":\n" << qPrintable(all);
    EXPECT_FALSE(all.contains(QStringLiteral("hints.txt:2:"))) << qPrintable(all);
}

TEST(Hints, RecordsAreNumberedByPosition)
{
    HintSource a{QString(), 12, 2, 1, {QStringLiteral("こたえは？")}, {QStringLiteral("かなをえらぼう。")}};
    HintSource b{QString(), 12, 2, 1, {}, {QStringLiteral("つぎのヒント")}};
    const auto records = hintRecords({a, b});
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].HintNo, 2);
    EXPECT_EQ(cp932::decodeLossy(records[0].Level1[0]), QStringLiteral("こたえは？"));
    EXPECT_TRUE(records[1].Level1[0].isEmpty());
    EXPECT_EQ(records[0].encode().size(), HintRecord::Size);
}
