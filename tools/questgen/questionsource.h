#pragma once

#include "kanjifacts.h"
#include "records.h"
#include "schoolreadings.h"
#include "table.h"

#include <QString>

#include <map>
#include <vector>

namespace moji::content {

// One question as written in content/questions: the asked kanji, the text before it, the
// reading of that kanji alone, the text after it. A "｜" in the text before or after marks
// where the asked word starts or ends when it runs into kana (びょう院, whose 病 is learned
// later); the marks are taken out of the text.
struct QuestionSource {
    QString where;
    int level = 0;
    int kanjiNo = 0;
    QString kanji;
    QString before;
    QString target;
    QString after;
    int wordStart = -1; // where the word starts in `before`, or -1 when unmarked
    int wordEnd = -1;   // where it ends in `after`, or -1 when unmarked

    // The sentence as a pupil reads it, with the kanji in place.
    QString sentence() const { return before + kanji + after; }
};

// The readings of a kanji in hiragana as the facts list them (kun readings up to the
// okurigana dot), with the regular sound changes a word can bring: a voiced or half-voiced
// first kana (か→が, は→ば/ぱ), and a small っ for a final つ, ち, く or き (発見 はっけん).
QStringList possibleReadings(const KanjiFact& fact);

// A CJK ideograph: a kanji of some grade, or none a school teaches.
inline bool isIdeograph(QChar c)
{
    return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
}

inline bool isHiragana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x3096;
}

constexpr int LevelFiles = 10;
constexpr QChar WordMark = u'｜';
constexpr int MinQuestionsPerKanji = 7;
constexpr int MaxQuestionsPerKanji = 10;
// Every reading taught in primary school is drilled by at least this many questions, unless
// it is listed in content/questions/reading-exceptions.tsv.
constexpr int MinQuestionsPerReading = 2;
constexpr int MaxTargetKana = 4;
constexpr int PartBytes = 20;

// The question bank described by content/questions/level01.txt … level10.txt, checked for
// everything the screens rely on (sizes, full-width text, kana the chart can enter, enough
// distinct questions per kanji) and for what a teacher asks of a drill: targets read as taught
// in primary school, every reading taught there drilled twice, only kanji the pupil has
// already learned in the text around the target, no sentence that another question's answer
// gives away, and no asked word shown in another sentence of the same level.
class QuestionBank {
public:
    void load(const QString& folder, const std::vector<KanjiFact>& facts, const SchoolReadings& readings,
              Problems& problems);

    // In KanjiNo order, each kanji's questions in file order.
    const std::vector<QuestionSource>& questions() const { return m_questions; }

    // How many questions drill each primary-school reading; readings no question drills are
    // not listed.
    std::map<const SchoolReading*, int> readingDrills(const SchoolReadings& readings) const;

    // Mondai1.dat records and the 200 Mondai2.dat records for KanjiNo 241..440.
    std::vector<QuestionRecord> questionRecords() const;
    std::vector<QuestionIndexRecord> indexRecords() const;

    // The three displayed parts of a question, with the target part number (1 to 3). A
    // question that starts with the asked kanji puts the target first.
    static QuestionRecord toRecord(const QuestionSource& q);

private:
    void check(const QuestionSource& q, int level, const std::vector<KanjiFact>& facts, const SchoolReadings& readings,
               Problems& problems) const;
    void checkAcrossKanji(const std::vector<KanjiFact>& facts, const SchoolReadings& readings, Problems& problems) const;

    std::vector<QuestionSource> m_questions;
};

} // namespace moji::content
