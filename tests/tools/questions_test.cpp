// The question bank: the built Mondai1.dat and Mondai2.dat read back through the program's
// own loaders, every target checked against the kanji's readings and against MeCab, and the
// compiler's refusal of bad sources.

#include "clock.h"
#include "filestore.h"
#include "kanachart.h"
#include "mecabreader.h"
#include "questionsource.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>
#include <set>

using namespace moji;
using namespace moji::content;

namespace {

const QString ProgramDir = QStringLiteral(MOJIMARU_PROGRAM_DIR);
const QString ContentDir = QStringLiteral(MOJIMARU_CONTENT_DIR);

std::vector<KanjiFact> facts()
{
    Problems problems;
    auto f = readKanjiFacts(ContentDir + QStringLiteral("/kanji/kanji-facts.tsv"), problems);
    EXPECT_TRUE(problems.empty());
    return f;
}

// A question as the program shows it: the kanji and the three decoded parts.
struct BuiltQuestion {
    int kanjiNo;
    QString kanji;
    QuestionRecord record;
    QString part(int i) const { return cp932::decodeLossy(record.Parts[std::size_t(i - 1)]); }
    QString target() const { return part(record.TargetPart); }
    QString before() const
    {
        QString s;
        for (int i = 1; i < record.TargetPart; ++i)
            s += part(i);
        return s;
    }
    QString after() const
    {
        QString s;
        for (int i = record.TargetPart + 1; i <= 3; ++i)
            s += part(i);
        return s;
    }
    QString sentence() const { return before() + kanji + after(); }
    QString marked() const { return before() + QStringLiteral("[") + kanji + QStringLiteral("=") + target() + QStringLiteral("]") + after(); }
};

// Every question of the built bank, read the way the question session reads it.
std::vector<BuiltQuestion> builtQuestions()
{
    ManualClock clock;
    StudyState state(ProgramDir, clock);
    state.LoadKanji();
    state.LoadQuestionIndex();
    std::vector<BuiltQuestion> out;
    const QString bank = state.dataPath(QStringLiteral("Mondai1.dat"));
    for (int k = FirstKanjiNo; k <= 440; ++k) {
        const QuestionIndexRecord& index = state.QuestionIndex[k];
        for (int q = 1; q <= index.QuestionCount; ++q) {
            const auto record = filestore::readRecordAt<QuestionRecord>(bank, QStringLiteral("Mondai1.dat"), index.FirstQuestion + q - 2);
            out.push_back({k, state.KanjiTable[k].Glyph.toUnicode(), record});
        }
    }
    return out;
}

} // namespace

TEST(QuestionBank, BuiltFilesFollowTheFormatRules)
{
    const auto all = facts();
    std::set<QString> known;
    for (const KanjiFact& f : all)
        known.insert(f.kanji);

    ManualClock clock;
    StudyState state(ProgramDir, clock);
    state.LoadQuestionIndex();
    int expectedFirst = 1;
    for (int k = FirstKanjiNo; k <= 440; ++k) {
        EXPECT_GE(state.QuestionIndex[k].QuestionCount, 6) << "KanjiNo " << k;
        EXPECT_EQ(state.QuestionIndex[k].FirstQuestion, expectedFirst) << "questions of a kanji are consecutive";
        expectedFirst += state.QuestionIndex[k].QuestionCount;
    }
    EXPECT_EQ(QFileInfo(state.dataPath(QStringLiteral("Mondai2.dat"))).size(), 200 * QuestionIndexRecord::Size);
    EXPECT_EQ(QFileInfo(state.dataPath(QStringLiteral("Mondai1.dat"))).size(), (expectedFirst - 1) * QuestionRecord::Size);

    const auto questions = builtQuestions();
    EXPECT_GE(questions.size(), 1200u);
    std::map<int, std::set<QString>> sentences;
    for (const BuiltQuestion& q : questions) {
        ASSERT_GE(q.record.TargetPart, 1);
        ASSERT_LE(q.record.TargetPart, 3);
        const QByteArray target = q.record.Parts[std::size_t(q.record.TargetPart - 1)];
        EXPECT_LE(target.size(), 10) << qPrintable(q.marked());
        EXPECT_TRUE(q.target().size() >= 1 && q.target().size() <= 4) << qPrintable(q.marked());
        for (const QChar c : q.target())
            EXPECT_TRUE(isEnterableKana(c)) << "not on the kana chart: " << qPrintable(q.marked());
        for (int i = 1; i <= 3; ++i) {
            const QByteArray bytes = q.record.Parts[std::size_t(i - 1)];
            const auto text = cp932::decode(bytes);
            ASSERT_TRUE(text.has_value()) << qPrintable(q.marked());
            EXPECT_EQ(bytes.size(), 2 * text->size()) << "full-width only: " << qPrintable(q.marked());
            EXPECT_FALSE(text->startsWith(QChar(u'　')) || text->endsWith(QChar(u'　'))) << qPrintable(q.marked());
            if (i == q.record.TargetPart)
                continue;
            EXPECT_FALSE(text->contains(q.kanji)) << "gives the answer away: " << qPrintable(q.marked());
            for (const QChar c : *text)
                EXPECT_TRUE(!isIdeograph(c) || known.count(QString(c))) << "beyond grade 3: " << qPrintable(q.marked());
        }
        EXPECT_TRUE(sentences[q.kanjiNo].insert(q.sentence()).second) << "repeated: " << qPrintable(q.marked());
    }
}

TEST(QuestionBank, EveryTargetIsAReadingOfItsKanji)
{
    const auto all = facts();
    for (const BuiltQuestion& q : builtQuestions()) {
        const QStringList readings = possibleReadings(all[std::size_t(q.kanjiNo - 1)]);
        EXPECT_TRUE(readings.contains(q.target())) << qPrintable(q.marked()) << " not in " << qPrintable(readings.join(u' '));
    }
}

// MeCab reads each whole sentence; the reading it gives to the word holding the kanji must
// have the target at the kanji's place. Reviewed exceptions are listed with a reason.
TEST(QuestionBank, MecabReadsEveryKanjiAsTheTargetSays)
{
    MecabReader mecab;
    ASSERT_TRUE(mecab.isValid()) << qPrintable(mecab.error());

    std::set<QString> exceptions;
    for (const content::Row& row : readTable(ContentDir + QStringLiteral("/questions/mecab-exceptions.tsv"), true)) {
        EXPECT_EQ(row.fields.size(), 3) << qPrintable(row.where());
        EXPECT_FALSE(row.field(2).trimmed().isEmpty()) << "an exception needs its reason: " << qPrintable(row.where());
        exceptions.insert(row.field(0) + QLatin1Char('\t') + row.field(1));
    }

    auto pattern = [](const QString& text) {
        QString rx;
        for (const QChar c : text)
            rx += (c.unicode() >= 0x3040 && c.unicode() <= 0x30FF) ? QRegularExpression::escape(toHiragana(QString(c))) : QStringLiteral(".+");
        return rx;
    };

    std::set<QString> used;
    for (const BuiltQuestion& q : builtQuestions()) {
        const QString sentence = q.sentence();
        const int at = int(q.before().size());
        QString verdict = QStringLiteral("no token");
        int start = 0;
        for (const MecabReader::Token& t : mecab.analyse(sentence)) {
            if (at >= start && at < start + t.surface.size()) {
                const QString pre = sentence.mid(start, at - start);
                const QString post = sentence.mid(at + 1, start + t.surface.size() - at - 1);
                const QRegularExpression rx(QStringLiteral("^") + pattern(pre) + QRegularExpression::escape(q.target())
                                            + pattern(post) + QStringLiteral("$"));
                verdict = rx.match(t.reading).hasMatch() ? QString() : QStringLiteral("MeCab reads %1 as %2").arg(t.surface, t.reading);
                break;
            }
            start += int(t.surface.size());
        }
        const QString key = q.kanji + QLatin1Char('\t') + sentence;
        if (verdict.isEmpty())
            continue;
        if (exceptions.count(key)) {
            used.insert(key);
            continue;
        }
        ADD_FAILURE() << qPrintable(q.marked()) << ": " << qPrintable(verdict);
    }
    for (const QString& e : exceptions)
        EXPECT_TRUE(used.count(e)) << "exception no longer needed: " << qPrintable(e);
}

TEST(QuestionBank, TheCompilerRefusesBadSources)
{
    QTemporaryDir dir;
    // Level 1 kanji are 悪安暗…駅…界, level 2 開階寒…; each line below breaks one rule.
    const QByteArray levelOne =
        "悪\tろうかを走るのは\tわる\tいことだよ。\n"            // 2: fine
        "悪\tあいうえおかきくけこさ\tわる\tい。\n"             // 3: more than 10 characters
        "悪\tABC\tわる\tい。\n"                                // 4: half-width
        "悪\t\tアク\tにんをやっつけた。\n"                     // 5: katakana target
        "悪\tわるい子は\tあく\tにん。悪い\n"                   // 6: asked kanji in the text
        "悪\t鬱な\tあく\tだ。\n"                                // 7: kanji beyond grade 3
        "悪\tろうかを走るのは\tわる\tいことだよ。\n"            // 8: repeated sentence
        "駅\tえきの\tえき\tまえ\n"                             // 9: fine
        "湖\tおおきな\tみずうみ\tでおよぐ\n"                    // 10: not a level-1 kanji
        "悪\tわる\n"                                          // 11: too few fields
        "悪\tさむけと\tお\tかんがする。\n"                    // 12: a middle-school reading
        "悪\t寒い日は\tわる\tいことばかり。\n"                 // 13: a kanji of a later level
        "安\t駅で\tあん\t心した。\n"                          // 14: a kanji of its own level
        "駅\t\tえき\t員さんに道を聞いた。\n"                    // 15: 員 is of the same level …
        "員\t駅\tいん\tさんに道を聞いた。\n";                   // 16: … and the same sentence
    const QByteArray levelTwo = "開\tまどを\tあ\tけた。\n"; // 1: fine
    QDir().mkpath(dir.filePath(QStringLiteral("q")));
    for (int level = 1; level <= 10; ++level) {
        const QByteArray text = level == 1 ? QByteArray("# level one\n") + levelOne : level == 2 ? levelTwo : QByteArray();
        testing_support::writeFile(dir.filePath(QStringLiteral("q/level%1.txt").arg(level, 2, 10, QLatin1Char('0'))), text);
    }
    Problems problems;
    SchoolReadings readings;
    readings.load(ContentDir, facts(), problems);
    ASSERT_TRUE(problems.empty()) << qPrintable(problems.list().join(u'\n'));
    QuestionBank bank;
    bank.load(dir.filePath(QStringLiteral("q")), facts(), readings, problems);
    const QString all = problems.list().join(QLatin1Char('\n'));
    auto refused = [&](int level, int line, const QString& why) {
        const QString where = QStringLiteral("level%1.txt:%2: ").arg(level, 2, 10, QLatin1Char('0')).arg(line);
        return std::any_of(problems.list().begin(), problems.list().end(),
                           [&](const QString& p) { return p.startsWith(where) && p.contains(why); });
    };
    for (const int line : {3, 4, 5, 6, 7, 8, 10, 11})
        EXPECT_TRUE(all.contains(QStringLiteral("level01.txt:%1:").arg(line))) << "line " << line << " not refused:\n" << qPrintable(all);
    EXPECT_TRUE(refused(1, 12, QStringLiteral("not a reading of 悪 taught in primary school"))) << qPrintable(all);
    EXPECT_TRUE(refused(1, 13, QStringLiteral("寒 is learned at level 2"))) << qPrintable(all);
    EXPECT_TRUE(refused(1, 14, QStringLiteral("駅 is learned at level 1"))) << qPrintable(all);
    EXPECT_TRUE(refused(1, 16, QStringLiteral("the same sentence as level01.txt:15, which asks 駅"))
                || refused(1, 15, QStringLiteral("the same sentence as level01.txt:16, which asks 員")))
        << qPrintable(all);
    for (const auto& [level, line] : {std::pair{1, 2}, {1, 9}, {2, 1}})
        EXPECT_FALSE(all.contains(QStringLiteral("level%1.txt:%2:").arg(level, 2, 10, QLatin1Char('0')).arg(line))) << qPrintable(all);
    EXPECT_TRUE(all.contains(QStringLiteral("駅 has 2 questions, at least 7 needed"))) << qPrintable(all);
    // Readings fewer than two lines drill are named at their line of the readings table: 安
    // やす.い is drilled by no line, 安 アン by line 14 alone, 悪 わる.い by lines 2, 8 and 13.
    EXPECT_TRUE(std::any_of(problems.list().begin(), problems.list().end(), [](const QString& p) {
        return p.startsWith(QStringLiteral("school-readings.tsv:")) && p.contains(QStringLiteral("やす.い of 安 is taught in primary school but no question"));
    })) << qPrintable(all);
    EXPECT_TRUE(all.contains(QStringLiteral("アン of 安 is taught in primary school but only one question drills it"))) << qPrintable(all);
    EXPECT_FALSE(all.contains(QStringLiteral("わる.い of 悪"))) << qPrintable(all);
}

// Within a level every other kanji is written in kana, so a sentence that writes a question's
// word in kana shows a reading question its answer, however it inflects there. The compiler
// names both lines; a word marked as running into kana (びょう院) is looked for whole, and kana
// that belong to other words (五分くらい, びょういんで) are not taken for it.
TEST(QuestionBank, TheCompilerRefusesAWordGivenAwayWithinItsLevel)
{
    QTemporaryDir dir;
    const QByteArray levelOne =
        "飲\tのどがかわいて、水を\tの\tんだ。\n"                 // 1: given away by 3
        "飲\tかぜぐすりを\tの\tんで、早くねた。\n"               // 2: the same verb, another ending
        "温\t雪の日に、\tあたた\tかなココアをのんだ。\n"        // 3
        "院\tおじいちゃんの｜びょう\tいん\tへ行く。\n"           // 4: びょう院, given away by 5
        "医\tびょういんで、お\tい\tしゃさんにみてもらった。\n"  // 5
        "暗\t電気をけすと、へやが\tくら\tい。\n"                 // 6: the くらい of 7 is another word
        "駅\tここから五分くらいで\tえき\tにつくよ。\n"           // 7
        "院\t犬を、どうぶつびょう\tいん\tでみてもらった。\n"    // 8: いんで of 5 and 9 are other words
        "員\tクラスぜん\tいん\tで歌を歌った。\n"                 // 9
        "悪\tきょうは天気が\tわる\tくて、さむいね。\n"          // 10: 悪く, given away by 11's わるい
        "運\t雨にふられるし、\tうん\tがわるいなあ。\n";         // 11
    QDir().mkpath(dir.filePath(QStringLiteral("q")));
    for (int level = 1; level <= 10; ++level)
        testing_support::writeFile(dir.filePath(QStringLiteral("q/level%1.txt").arg(level, 2, 10, QLatin1Char('0'))),
                                   level == 1 ? levelOne : QByteArray());
    Problems problems;
    SchoolReadings readings;
    readings.load(ContentDir, facts(), problems);
    QuestionBank bank;
    bank.load(dir.filePath(QStringLiteral("q")), facts(), readings, problems);
    const QStringList giveAways = problems.list().filter(QStringLiteral(" is shown as "));
    const QString all = giveAways.join(QLatin1Char('\n'));
    EXPECT_TRUE(giveAways.contains(QStringLiteral(
        "level01.txt:1: 飲んだ is shown as のんだ in level01.txt:3, which asks 温: 雪の日に、温かなココアをのんだ。")))
        << qPrintable(all);
    EXPECT_TRUE(all.contains(QStringLiteral("level01.txt:2: 飲んで is shown as のんだ in level01.txt:3"))) << qPrintable(all);
    EXPECT_TRUE(all.contains(QStringLiteral("level01.txt:4: びょう院 is shown as びょういん in level01.txt:5"))) << qPrintable(all);
    EXPECT_TRUE(all.contains(QStringLiteral("level01.txt:10: 悪く is shown as わるい in level01.txt:11"))) << qPrintable(all);
    EXPECT_EQ(giveAways.size(), 4) << qPrintable(all);
    const auto hospital = std::find_if(bank.questions().begin(), bank.questions().end(),
                                       [](const QuestionSource& q) { return q.kanji == QStringLiteral("院"); });
    ASSERT_NE(hospital, bank.questions().end());
    EXPECT_EQ(hospital->sentence(), QStringLiteral("おじいちゃんのびょう院へ行く。")) << "the mark is not shown";
}

TEST(QuestionBank, ReadingsAllowTheRegularSoundChanges)
{
    const auto all = facts();
    auto readingsOf = [&](const QString& kanji) {
        for (const KanjiFact& f : all) {
            if (f.kanji == kanji)
                return possibleReadings(f);
        }
        return QStringList();
    };
    const QStringList hatsu = readingsOf(QStringLiteral("発"));
    for (const char* r : {"はつ", "ぱつ", "はっ", "ぱっ", "ほつ"})
        EXPECT_TRUE(hatsu.contains(QString::fromUtf8(r))) << r;
    EXPECT_TRUE(readingsOf(QStringLiteral("悪")).contains(QStringLiteral("わる"))) << "kun reading up to the dot";
    EXPECT_FALSE(readingsOf(QStringLiteral("悪")).contains(QStringLiteral("わるい")));
    EXPECT_TRUE(readingsOf(QStringLiteral("橋")).contains(QStringLiteral("ばし")));
    EXPECT_FALSE(readingsOf(QStringLiteral("湖")).contains(QStringLiteral("うみ")));
}

TEST(QuestionBank, AQuestionStartingWithTheKanjiPutsTheTargetFirst)
{
    QuestionSource q;
    q.kanji = QStringLiteral("路");
    q.target = QStringLiteral("ろ");
    q.after = QStringLiteral("線バスにのった。");
    const QuestionRecord first = QuestionBank::toRecord(q);
    EXPECT_EQ(first.TargetPart, 1);
    EXPECT_EQ(cp932::decodeLossy(first.Parts[0]), QStringLiteral("ろ"));
    EXPECT_EQ(cp932::decodeLossy(first.Parts[1]), QStringLiteral("線バスにのった。"));
    q.before = QStringLiteral("田んぼの水");
    EXPECT_EQ(QuestionBank::toRecord(q).TargetPart, 2);
}
