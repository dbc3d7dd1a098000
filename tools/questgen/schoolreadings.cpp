#include "schoolreadings.h"

#include <QDir>

#include <algorithm>
#include <map>

namespace moji::content {

namespace {

const QString ReadingsFile = QStringLiteral("kanji/school-readings.tsv");
const QString ExceptionsFile = QStringLiteral("questions/reading-exceptions.tsv");

// Voiced and half-voiced forms of a kana, if any.
QString soundChanges(QChar c)
{
    static const QString plain = QStringLiteral("かきくけこさしすせそたちつてとはひふへほ");
    static const QString voiced = QStringLiteral("がぎぐげござじずぜぞだぢづでどばびぶべぼ");
    static const QString halfVoiced = QStringLiteral("ぱぴぷぺぽ");
    const qsizetype i = plain.indexOf(c);
    if (i < 0)
        return {};
    QString out = voiced[i];
    if (i >= 15)
        out += halfVoiced[i - 15];
    return out;
}

bool isKana(const QString& text, bool katakana)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool ok = katakana ? (u >= 0x30A1 && u <= 0x30FC) : ((u >= 0x3041 && u <= 0x3096) || c == QLatin1Char('.'));
        if (!ok)
            return false;
    }
    return !text.isEmpty();
}

} // namespace

bool SchoolReading::primary() const
{
    return stage.size() == 1 && stage[0] >= QLatin1Char('1') && stage[0] <= QLatin1Char('6');
}

QString SchoolReading::stem() const
{
    return toHiragana(reading).section(QLatin1Char('.'), 0, 0);
}

QStringList readingForms(const QString& hiragana)
{
    if (hiragana.isEmpty())
        return {};
    QStringList forms{hiragana};
    for (const QChar v : soundChanges(hiragana[0]))
        forms << v + hiragana.mid(1);
    for (const QString& f : QStringList(forms)) {
        if (f.size() >= 2 && QStringLiteral("つちくき").contains(f.back()))
            forms << f.chopped(1) + QChar(u'っ');
    }
    return forms;
}

QString inflectedStarts(QChar okurigana)
{
    static const std::map<QChar, QString> starts = {
        {u'う', QStringLiteral("わいうえおっ")},       {u'く', QStringLiteral("かきくけこい")},
        {u'ぐ', QStringLiteral("がぎぐげごい")},       {u'す', QStringLiteral("さしすせそ")},
        {u'つ', QStringLiteral("たちつてとっ")},       {u'ぬ', QStringLiteral("なにぬねのん")},
        {u'ぶ', QStringLiteral("ばびぶべぼん")},       {u'む', QStringLiteral("まみむめもん")},
        {u'る', QStringLiteral("らりるれろったてなまよずさ")},
        {u'い', QStringLiteral("いかくけさそがみ")}, {u'か', QStringLiteral("かなにだでさ")},
    };
    const auto it = starts.find(okurigana);
    return it == starts.end() ? QString(okurigana) : it->second;
}

void SchoolReadings::load(const QString& contentFolder, const std::vector<KanjiFact>& facts, Problems& problems)
{
    std::map<QString, int> grade;
    for (const KanjiFact& f : facts)
        grade[f.kanji] = f.grade;
    const QDir content(contentFolder);
    for (const Row& row : readTable(content.filePath(ReadingsFile), true)) {
        SchoolReading r{row.where(), row.field(0), row.field(1), row.field(2)};
        const bool katakana = isKana(r.reading, true);
        if (row.fields.size() != 3 || grade[r.kanji] != 3 || !(katakana || isKana(r.reading, false))
            || !(r.primary() || r.stage == QStringLiteral("中") || r.stage == QStringLiteral("高"))) {
            problems.add(r.where, QStringLiteral("expected a grade-3 kanji, its reading in kana and a stage 1 to 6, 中 or 高"));
            continue;
        }
        m_byKanji[r.kanji].push_back(r);
    }
    for (const KanjiFact& f : facts) {
        if (f.grade == 3 && m_byKanji[f.kanji].empty())
            problems.add(ReadingsFile, QStringLiteral("no readings for %1").arg(f.kanji));
    }
    for (const Row& row : readTable(content.filePath(ExceptionsFile), true)) {
        const auto& listed = of(row.field(0));
        const bool known = std::any_of(listed.begin(), listed.end(), [&](const SchoolReading& r) {
            return r.primary() && r.reading == row.field(1);
        });
        if (row.fields.size() != 3 || row.field(2).trimmed().isEmpty() || !known) {
            problems.add(row.where(), QStringLiteral("expected a primary-school reading of a kanji and the reason fewer than two questions drill it"));
            continue;
        }
        m_exceptions[row.field(0) + QLatin1Char('\t') + row.field(1)] = row.field(2);
    }
}

const std::vector<SchoolReading>& SchoolReadings::of(const QString& kanji) const
{
    static const std::vector<SchoolReading> none;
    const auto it = m_byKanji.find(kanji);
    return it == m_byKanji.end() ? none : it->second;
}

bool SchoolReadings::isPrimaryTarget(const QString& kanji, const QString& target) const
{
    const auto& listed = of(kanji);
    return std::any_of(listed.begin(), listed.end(),
                       [&](const SchoolReading& r) { return r.primary() && readingForms(r.stem()).contains(target); });
}

std::vector<const SchoolReading*> SchoolReadings::drilledBy(const QString& kanji, const QString& target,
                                                          const QString& after) const
{
    // Kun readings that share the target are told apart by what follows the kanji, most
    // surely first: the whole okurigana as written (温か|な against 温か|い), then the first kana
    // of an okurigana of two kana or more, which inflection keeps (集め|た, 集ま|った), and last
    // a one-kana okurigana, by the kana its inflections start with (開か|ない).
    std::vector<const SchoolReading*> plain;
    const SchoolReading* whole = nullptr;
    std::vector<const SchoolReading*> firstKana;
    std::vector<const SchoolReading*> loose;
    for (const SchoolReading& r : of(kanji)) {
        if (!r.primary() || !readingForms(r.stem()).contains(target))
            continue;
        const QString okurigana = toHiragana(r.okurigana());
        if (okurigana.isEmpty())
            plain.push_back(&r);
        else if (after.startsWith(okurigana) && (!whole || okurigana.size() > whole->okurigana().size()))
            whole = &r;
        if (okurigana.size() >= 2 && after.startsWith(okurigana[0]))
            firstKana.push_back(&r);
        else if (okurigana.size() == 1 && !after.isEmpty() && inflectedStarts(okurigana[0]).contains(after[0]))
            loose.push_back(&r);
    }
    if (whole)
        plain.push_back(whole);
    else if (!firstKana.empty())
        plain.insert(plain.end(), firstKana.begin(), firstKana.end());
    else
        plain.insert(plain.end(), loose.begin(), loose.end());
    return plain;
}

bool SchoolReadings::excused(const SchoolReading& reading) const
{
    return m_exceptions.count(reading.kanji + QLatin1Char('\t') + reading.reading) > 0;
}

} // namespace moji::content
