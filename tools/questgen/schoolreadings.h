#pragma once

#include "kanjifacts.h"
#include "table.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace moji::content {

// One reading of content/kanji/school-readings.tsv: a reading of a grade-3 kanji and the
// school stage that teaches it ("1" to "6": that grade of primary school, 中 middle school,
// 高 high school).
struct SchoolReading {
    QString where;
    QString kanji;
    QString reading; // katakana on, hiragana kun with '.' before the okurigana
    QString stage;

    bool primary() const;
    // The reading in hiragana as a target writes it: a kun reading up to its okurigana.
    QString stem() const;
    // The okurigana of a kun reading, empty for others.
    QString okurigana() const { return reading.section(QLatin1Char('.'), 1); }
};

// The hiragana forms a reading takes in words: itself, a voiced or half-voiced first kana
// (か→が, は→ば/ぱ), and a small っ for a final つ, ち, く or き (発見 はっけん).
QStringList readingForms(const QString& hiragana);

// The kana a word can show in place of the last kana of its okurigana as it inflects (乗る:
// 乗らない, 乗った; 着る: 着た, 着ない; 暑い: 暑かった, 暑さ; 温か: 温かな), or that kana alone
// when it does not inflect.
QString inflectedStarts(QChar okurigana);

// What the question bank may ask and must ask: the readings taught at each school stage, and
// the reviewed primary-school readings that fewer than two questions drill (content/questions/
// reading-exceptions.tsv: kanji, reading, reason).
class SchoolReadings {
public:
    void load(const QString& contentFolder, const std::vector<KanjiFact>& facts, Problems& problems);

    // Every reading of a kanji listed, in file order.
    const std::vector<SchoolReading>& of(const QString& kanji) const;
    // Whether a target is a form of a primary-school reading of the kanji.
    bool isPrimaryTarget(const QString& kanji, const QString& target) const;
    // The primary-school readings of the kanji that a question drills: those whose forms hold
    // its target, kun readings that share it (集.まる, 集.める) told apart by the okurigana the
    // text shows after the kanji. Empty when the target is no primary-school reading.
    std::vector<const SchoolReading*> drilledBy(const QString& kanji, const QString& target, const QString& after) const;
    // Whether a primary-school reading is reviewed as one that need not be drilled twice.
    bool excused(const SchoolReading& reading) const;

private:
    std::map<QString, std::vector<SchoolReading>> m_byKanji;
    std::map<QString, QString> m_exceptions; // kanji + '\t' + reading → reason
};

} // namespace moji::content
