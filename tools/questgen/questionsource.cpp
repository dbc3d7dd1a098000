#include "questionsource.h"

#include "giveaways.h"
#include "kanachart.h"
#include "studystate.h"
#include "textcodec.h"

#include <QDir>

#include <algorithm>
#include <map>
#include <set>

namespace moji::content {

namespace {

// Takes the word mark out of a text part; the mark's place, or -1 when there is none.
int takeWordMark(QString& part, const QString& where, Problems& problems)
{
    const int at = int(part.indexOf(WordMark));
    if (at >= 0 && part.count(WordMark) > 1)
        problems.add(where, QStringLiteral("%1 marks the word more than once").arg(part));
    part.remove(WordMark);
    return at;
}

} // namespace

QStringList possibleReadings(const KanjiFact& fact)
{
    QStringList base;
    for (const QString& on : fact.onReadings)
        base << toHiragana(on);
    for (QString kun : fact.kunReadings) {
        kun.remove(QLatin1Char('-'));
        base << kun.section(QLatin1Char('.'), 0, 0);
    }
    QStringList all;
    for (const QString& r : base)
        all << readingForms(r);
    all.removeDuplicates();
    return all;
}

void QuestionBank::load(const QString& folder, const std::vector<KanjiFact>& facts, const SchoolReadings& readings,
                        Problems& problems)
{
    std::map<QString, int> kanjiNo;
    for (const KanjiFact& f : facts)
        kanjiNo[f.kanji] = f.kanjiNo;

    std::vector<QuestionSource> all;
    for (int level = 1; level <= LevelFiles; ++level) {
        const QString path = QDir(folder).filePath(QStringLiteral("level%1.txt").arg(level, 2, 10, QLatin1Char('0')));
        for (const Row& row : readTable(path, false)) {
            QuestionSource q;
            q.where = row.where();
            q.level = level;
            q.kanji = row.field(0);
            q.before = row.field(1);
            q.target = row.field(2);
            q.after = row.field(3);
            q.wordStart = takeWordMark(q.before, q.where, problems);
            q.wordEnd = takeWordMark(q.after, q.where, problems);
            const auto no = kanjiNo.find(q.kanji);
            q.kanjiNo = no == kanjiNo.end() ? 0 : no->second;
            if (row.fields.size() != 4) {
                problems.add(q.where, QStringLiteral("expected kanji, text before, reading, text after"));
                continue;
            }
            if (q.kanjiNo < firstKanjiOfLevel(level) || q.kanjiNo > lastKanjiOfLevel(level)) {
                problems.add(q.where, QStringLiteral("%1 is not a kanji of level %2").arg(q.kanji).arg(level));
                continue;
            }
            check(q, level, facts, readings, problems);
            all.push_back(q);
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.kanjiNo < b.kanjiNo; });
    m_questions = all;

    std::map<int, std::set<QString>> sentences;
    for (const QuestionSource& q : m_questions) {
        if (!sentences[q.kanjiNo].insert(q.sentence()).second)
            problems.add(q.where, QStringLiteral("the same sentence twice for %1").arg(q.kanji));
    }
    for (int k = firstKanjiOfLevel(1); k <= lastKanjiOfLevel(LevelFiles); ++k) {
        const QString& kanji = facts[std::size_t(k - 1)].kanji;
        if (sentences[k].size() < std::size_t(MinQuestionsPerKanji))
            problems.add(QStringLiteral("questions"), QStringLiteral("%1 has %2 questions, at least %3 needed")
                                                          .arg(kanji).arg(sentences[k].size()).arg(MinQuestionsPerKanji));
        if (sentences[k].size() > std::size_t(MaxQuestionsPerKanji))
            problems.add(QStringLiteral("questions"), QStringLiteral("%1 has %2 questions, at most %3 allowed")
                                                          .arg(kanji).arg(sentences[k].size()).arg(MaxQuestionsPerKanji));
    }
    if (m_questions.size() > 32767)
        problems.add(QStringLiteral("questions"), QStringLiteral("more questions than Mondai2.dat can address"));
    checkAcrossKanji(facts, readings, problems);
    checkGiveAways(m_questions, readings, problems);
}

std::map<const SchoolReading*, int> QuestionBank::readingDrills(const SchoolReadings& readings) const
{
    std::map<const SchoolReading*, int> drills;
    for (const QuestionSource& q : m_questions) {
        for (const SchoolReading* r : readings.drilledBy(q.kanji, q.target, q.after))
            ++drills[r];
    }
    return drills;
}

void QuestionBank::checkAcrossKanji(const std::vector<KanjiFact>& facts, const SchoolReadings& readings,
                                    Problems& problems) const
{
    // A sentence that is another kanji's too shows each question's answer in the other.
    std::map<QString, const QuestionSource*> bySentence;
    for (const QuestionSource& q : m_questions) {
        const auto [first, added] = bySentence.emplace(q.sentence(), &q);
        if (!added && first->second->kanji != q.kanji)
            problems.add(q.where, QStringLiteral("the same sentence as %1, which asks %2").arg(first->second->where, first->second->kanji));
    }
    auto drills = readingDrills(readings);
    for (const KanjiFact& f : facts) {
        for (const SchoolReading& r : readings.of(f.kanji)) {
            if (r.primary() && drills[&r] < MinQuestionsPerReading && !readings.excused(r))
                problems.add(r.where, QStringLiteral("%1 of %2 is taught in primary school but %3 drills it, at least %4 needed")
                                          .arg(r.reading, r.kanji, drills[&r] == 0 ? QStringLiteral("no question") : QStringLiteral("only one question"))
                                          .arg(MinQuestionsPerReading));
        }
    }
}

void QuestionBank::check(const QuestionSource& q, int level, const std::vector<KanjiFact>& facts,
                         const SchoolReadings& readings, Problems& problems) const
{
    auto fact = [&](QChar c) -> const KanjiFact* {
        const auto it = std::find_if(facts.begin(), facts.end(), [c](const KanjiFact& f) { return f.kanji == QString(c); });
        return it == facts.end() ? nullptr : &*it;
    };
    if (!q.target.isEmpty() && !readings.isPrimaryTarget(q.kanji, q.target))
        problems.add(q.where, QStringLiteral("%1 is not a reading of %2 taught in primary school").arg(q.target, q.kanji));
    if (q.target.isEmpty() || q.target.size() > MaxTargetKana
        || !std::all_of(q.target.begin(), q.target.end(), isEnterableKana))
        problems.add(q.where, QStringLiteral("reading %1 must be 1 to %2 kana of the chart").arg(q.target).arg(MaxTargetKana));
    for (const QString* part : {&q.before, &q.after}) {
        const auto bytes = cp932::encode(*part);
        if (!bytes) {
            problems.add(q.where, QStringLiteral("%1 has characters without a Shift-JIS form").arg(*part));
            continue;
        }
        if (bytes->size() > PartBytes)
            problems.add(q.where, QStringLiteral("%1 is longer than %2 bytes").arg(*part).arg(PartBytes));
        if (bytes->size() != 2 * part->size())
            problems.add(q.where, QStringLiteral("%1 must be full-width characters only").arg(*part));
        if (part->startsWith(QChar(u'　')) || part->endsWith(QChar(u'　')))
            problems.add(q.where, QStringLiteral("%1 starts or ends with a blank").arg(*part));
        if (part->contains(q.kanji))
            problems.add(q.where, QStringLiteral("the asked kanji %1 also appears in %2").arg(q.kanji, *part));
        for (const QChar c : *part) {
            if (!isIdeograph(c))
                continue;
            const KanjiFact* f = fact(c);
            if (!f)
                problems.add(q.where, QStringLiteral("%1 is not a kanji of grades 1 to 3").arg(c));
            else if (f->kanjiNo >= firstKanjiOfLevel(level) && f->kanji != q.kanji)
                problems.add(q.where, QStringLiteral("%1 is learned at level %2 or later: write it in kana")
                                          .arg(c).arg((f->kanjiNo - firstKanjiOfLevel(1)) / KanjisPerLevel + 1));
        }
    }
}

QuestionRecord QuestionBank::toRecord(const QuestionSource& q)
{
    QuestionRecord r;
    const QByteArray before = cp932::encodeLossy(q.before);
    const QByteArray target = cp932::encodeLossy(q.target);
    const QByteArray after = cp932::encodeLossy(q.after);
    if (before.isEmpty()) {
        r.TargetPart = 1;
        r.Parts = {target, after, QByteArray()};
    } else {
        r.TargetPart = 2;
        r.Parts = {before, target, after};
    }
    return r;
}

std::vector<QuestionRecord> QuestionBank::questionRecords() const
{
    std::vector<QuestionRecord> records;
    for (const QuestionSource& q : m_questions)
        records.push_back(toRecord(q));
    return records;
}

std::vector<QuestionIndexRecord> QuestionBank::indexRecords() const
{
    std::vector<QuestionIndexRecord> index(std::size_t(lastKanjiOfLevel(LevelFiles) - firstKanjiOfLevel(1) + 1));
    for (std::size_t i = 0; i < m_questions.size(); ++i) {
        QuestionIndexRecord& r = index[std::size_t(m_questions[i].kanjiNo - firstKanjiOfLevel(1))];
        if (r.QuestionCount == 0)
            r.FirstQuestion = int16_t(i + 1);
        ++r.QuestionCount;
    }
    return index;
}

} // namespace moji::content
