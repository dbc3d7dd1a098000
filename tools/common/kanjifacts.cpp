#include "kanjifacts.h"

namespace moji::content {

namespace {
QStringList splitReadings(const QString& field)
{
    return field.split(QChar(u'・'), Qt::SkipEmptyParts);
}
} // namespace

std::vector<KanjiFact> readKanjiFacts(const QString& path, Problems& problems)
{
    std::vector<KanjiFact> facts;
    for (const Row& row : readTable(path, true)) {
        if (row.fields.size() != 12) {
            problems.add(row.where(), QStringLiteral("expected 12 fields"));
            continue;
        }
        KanjiFact f;
        bool okNo = false, okGrade = false, okStrokes = false, okKanjivg = false;
        f.kanjiNo = row.field(0).toInt(&okNo);
        f.kanji = row.field(1);
        f.grade = row.field(2).toInt(&okGrade);
        f.strokes = row.field(3).toInt(&okStrokes);
        f.strokesKanjivg = row.field(4).toInt(&okKanjivg);
        f.radicalForm = row.field(7);
        f.radicalPosition = row.field(8);
        f.onReadings = splitReadings(row.field(10));
        f.kunReadings = splitReadings(row.field(11));
        if (!okNo || !okGrade || !okStrokes || !okKanjivg || f.kanji.size() != 1 || f.kanjiNo != int(facts.size()) + 1) {
            problems.add(row.where(), QStringLiteral("malformed facts row"));
            continue;
        }
        facts.push_back(f);
    }
    return facts;
}

QString toHiragana(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c >= QChar(u'ァ') && c <= QChar(u'ヶ'))
            c = QChar(c.unicode() - 0x60);
    }
    return out;
}

} // namespace moji::content
