#include "dictionarysource.h"

#include "textcodec.h"

#include <QDir>

#include <algorithm>

namespace moji::content {

namespace {

int groupNumber(const QString& name)
{
    const auto it = std::find(GroupNames.begin(), GroupNames.end(), name);
    return it == GroupNames.end() ? 0 : int(it - GroupNames.begin()) + 1;
}

bool parseBox(const QString& text, PartBox& box)
{
    static const std::map<QString, PartBox> boxes = {
        {QStringLiteral("F"), PartBox::Font}, {QStringLiteral("L"), PartBox::Left},
        {QStringLiteral("R"), PartBox::Right}, {QStringLiteral("T"), PartBox::Top},
        {QStringLiteral("B"), PartBox::Bottom},
    };
    const auto it = boxes.find(text);
    if (it == boxes.end())
        return false;
    box = it->second;
    return true;
}

// One character, counting a surrogate pair as one.
bool isOneCharacter(const QString& s)
{
    return s.size() == 1 || (s.size() == 2 && s[0].isHighSurrogate());
}

} // namespace

void DictionarySource::load(const QString& folder, Problems& problems)
{
    const QDir dir(folder);
    m_facts = readKanjiFacts(dir.filePath(QStringLiteral("kanji-facts.tsv")), problems);
    readParts(dir.filePath(QStringLiteral("parts.tsv")), problems);
    readChoices(dir.filePath(QStringLiteral("components.tsv")), problems);
    checkLimits(problems);
}

void DictionarySource::readParts(const QString& path, Problems& problems)
{
    m_parts.clear();
    std::array<int, 8> used{};
    for (const Row& row : readTable(path, true)) {
        Part p;
        p.group = groupNumber(row.field(0));
        p.part = row.field(1);
        p.name = row.field(2);
        p.render = row.field(3).isEmpty() ? p.part : row.field(3);
        if (row.fields.size() != 5 || p.group == 0 || !isOneCharacter(p.part) || p.name.isEmpty()
            || !isOneCharacter(p.render) || !parseBox(row.field(4), p.box)) {
            problems.add(row.where(), QStringLiteral("expected: group, one-character part, name, render, box F/L/R/T/B"));
            continue;
        }
        const bool duplicate = std::any_of(m_parts.begin(), m_parts.end(),
                                           [&](const Part& q) { return q.group == p.group && q.part == p.part; });
        if (duplicate) {
            problems.add(row.where(), QStringLiteral("part %1:%2 listed twice").arg(row.field(0), p.part));
            continue;
        }
        p.number = ++used[std::size_t(p.group - 1)];
        if (p.number > MaxPartsPerGroup)
            problems.add(row.where(), QStringLiteral("more than %1 parts in group %2").arg(MaxPartsPerGroup).arg(row.field(0)));
        m_parts.push_back(p);
    }
    // Pictures follow the button order: group by group, part by part.
    std::stable_sort(m_parts.begin(), m_parts.end(), [](const Part& a, const Part& b) { return a.group < b.group; });
    for (std::size_t i = 0; i < m_parts.size(); ++i)
        m_parts[i].picture = int(i) + 1;
}

const Part* DictionarySource::findPart(const QString& ref, const Row& row, Problems& problems)
{
    if (ref.isEmpty())
        return nullptr;
    const qsizetype colon = ref.indexOf(QLatin1Char(':'));
    const int group = colon < 0 ? 0 : groupNumber(ref.left(colon));
    const QString part = colon < 0 ? QString() : ref.mid(colon + 1);
    for (const Part& p : m_parts) {
        if (p.group == group && p.part == part)
            return &p;
    }
    problems.add(row.where(), QStringLiteral("unknown part %1").arg(ref));
    return nullptr;
}

void DictionarySource::readChoices(const QString& path, Problems& problems)
{
    m_choices.clear();
    const std::vector<Row> rows = readTable(path, true);
    for (const Row& row : rows) {
        const std::size_t index = m_choices.size();
        if (index >= m_facts.size() || row.field(0) != m_facts[index].kanji) {
            problems.add(row.where(), QStringLiteral("expected kanji %1 here (KanjiNo order)")
                                          .arg(index < m_facts.size() ? m_facts[index].kanji : QStringLiteral("none")));
            return;
        }
        KanjiChoice c;
        c.kanjiNo = m_facts[index].kanjiNo;
        c.part1 = findPart(row.field(1), row, problems);
        c.part2 = findPart(row.field(2), row, problems);
        if (c.part1 && c.part1 == c.part2)
            problems.add(row.where(), QStringLiteral("part1 and part2 are the same part"));
        if (!c.part1 && c.part2)
            problems.add(row.where(), QStringLiteral("part2 without part1"));
        if (!c.part1 && m_facts[index].grade == 3)
            problems.add(row.where(), QStringLiteral("a grade-3 kanji needs part1 so a pupil can find it"));
        m_choices.push_back(c);
    }
    if (m_choices.size() != m_facts.size())
        problems.add(path, QStringLiteral("%1 kanji listed, %2 expected").arg(m_choices.size()).arg(m_facts.size()));
}

void DictionarySource::checkLimits(Problems& problems)
{
    for (Part& p : m_parts)
        p.kanji.clear();
    for (const KanjiRecord& r : kanjiRecords()) {
        for (const auto& [group, number] : {std::pair{r.Component1Group, r.Component1No}, std::pair{r.Component2Group, r.Component2No}}) {
            for (Part& p : m_parts) {
                if (group >= 1 && p.group == group && p.number == number)
                    p.kanji.push_back(r.KanjiNo);
            }
        }
    }
    for (const Part& p : m_parts) {
        const QString where = QStringLiteral("parts.tsv %1:%2").arg(GroupNames[std::size_t(p.group - 1)], p.part);
        if (p.kanji.empty())
            problems.add(where, QStringLiteral("no kanji uses this part"));
        if (p.kanji.size() > std::size_t(MaxKanjiPerPart))
            problems.add(where, QStringLiteral("%1 kanji, at most %2").arg(p.kanji.size()).arg(MaxKanjiPerPart));
    }
    std::map<int, int> strokes;
    for (const KanjiFact& f : m_facts) {
        if (f.strokes < 1 || f.strokes > 20)
            problems.add(f.kanji, QStringLiteral("stroke count %1 outside 1..20").arg(f.strokes));
        if (++strokes[f.strokes] == MaxKanjiPerStrokeCount + 1)
            problems.add(f.kanji, QStringLiteral("more than %1 kanji with %2 strokes").arg(MaxKanjiPerStrokeCount).arg(f.strokes));
        const auto glyph = cp932::encode(f.kanji);
        if (!glyph || glyph->size() != 2)
            problems.add(f.kanji, QStringLiteral("no double-byte CP932 form"));
    }
}

std::vector<KanjiRecord> DictionarySource::kanjiRecords() const
{
    std::vector<KanjiRecord> records;
    for (const int grade : {3, 1, 2}) {
        for (std::size_t i = 0; i < m_facts.size(); ++i) {
            const KanjiFact& f = m_facts[i];
            if (f.grade != grade)
                continue;
            KanjiRecord r;
            r.KanjiNo = int16_t(f.kanjiNo);
            const QByteArray glyph = cp932::encode(f.kanji).value_or(QByteArray("??"));
            r.GlyphLead = uint8_t(glyph.size() > 0 ? glyph[0] : 0);
            r.GlyphTrail = uint8_t(glyph.size() > 1 ? glyph[1] : 0);
            r.StrokeCount = int16_t(f.strokes);
            if (i < m_choices.size()) {
                if (const Part* p = m_choices[i].part1) {
                    r.Component1Group = int16_t(p->group);
                    r.Component1No = int16_t(p->number);
                }
                if (const Part* p = m_choices[i].part2) {
                    r.Component2Group = int16_t(p->group);
                    r.Component2No = int16_t(p->number);
                }
            }
            records.push_back(r);
        }
    }
    return records;
}

std::vector<RadicalRecord> DictionarySource::radicalRecords() const
{
    std::vector<RadicalRecord> records;
    for (const Part& p : m_parts) {
        RadicalRecord r;
        r.Group = int16_t(p.group);
        r.Number = int16_t(p.number);
        r.Picture = int16_t(p.picture);
        records.push_back(r);
    }
    return records;
}

} // namespace moji::content
