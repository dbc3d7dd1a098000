#include "strokeorder.h"

#include "errors.h"
#include "filestore.h"
#include "records.h"
#include "textcodec.h"

#include <algorithm>

namespace moji::handwriting {

namespace {

const QString TableFile = QStringLiteral("Kakijun.dat");

// Whether every start and end of the record's strokes is one and the same point: no kanji to
// compare writing with.
bool onOneSpot(const std::vector<ReferenceStroke>& strokes)
{
    return std::all_of(strokes.begin(), strokes.end(), [&](const ReferenceStroke& s) {
        return s.start == strokes.front().start && s.end == strokes.front().start;
    });
}

} // namespace

void StrokeOrderTable::load(const QString& path, const std::vector<DictionaryKanji>& dictionary)
{
    // Every fault is a FileError naming the file, as the header promises: a damaged table is
    // reported like an unreadable one, and never half used.
    const QByteArray bytes = filestore::readAll(path, TableFile);
    const qsizetype records = qsizetype(dictionary.size());
    if (bytes.size() != records * StrokeOrderRecord::Size) {
        throw FileError(TableFile, QStringLiteral("%1 bytes, not the %2 records of %3 bytes")
                                       .arg(bytes.size()).arg(records).arg(StrokeOrderRecord::Size));
    }
    QHash<QString, std::vector<ReferenceStroke>> table;
    for (qsizetype at = 0; at < bytes.size(); at += StrokeOrderRecord::Size) {
        const auto record = StrokeOrderRecord::decode(QByteArrayView(bytes).sliced(at, StrokeOrderRecord::Size));
        const int number = int(at / StrokeOrderRecord::Size) + 1;
        if (record.StrokeCount < 1 || record.StrokeCount > StrokeOrderRecord::MaxStrokes) {
            throw FileError(TableFile, QStringLiteral("record %1: StrokeCount = %2 outside 1..%3")
                                           .arg(number).arg(record.StrokeCount).arg(StrokeOrderRecord::MaxStrokes));
        }
        const char glyph[2] = {char(record.GlyphLead), char(record.GlyphTrail)};
        const auto kanji = cp932::decode(QByteArrayView(glyph, 2));
        if (!kanji || kanji->size() != 1)
            throw FileError(TableFile, QStringLiteral("record %1 holds no kanji").arg(number));
        const DictionaryKanji& expected = dictionary[std::size_t(number - 1)];
        if (*kanji != expected.kanji) {
            throw FileError(TableFile, QStringLiteral("record %1 holds %2 where the kanji dictionary has %3")
                                           .arg(number).arg(*kanji, expected.kanji));
        }
        if (record.StrokeCount != expected.strokes) {
            throw FileError(TableFile, QStringLiteral("record %1: %2 has %3 strokes, %4 in the kanji dictionary")
                                           .arg(number).arg(*kanji).arg(record.StrokeCount).arg(expected.strokes));
        }
        if (table.contains(*kanji))
            throw FileError(TableFile, QStringLiteral("record %1 repeats %2").arg(number).arg(*kanji));
        std::vector<ReferenceStroke> strokes;
        for (int i = 0; i < record.StrokeCount; ++i) {
            const auto& s = record.Strokes[std::size_t(i)];
            strokes.push_back({{s[0], s[1]}, {s[2], s[3]}});
        }
        if (onOneSpot(strokes))
            throw FileError(TableFile, QStringLiteral("record %1: the strokes of %2 all lie on one spot").arg(number).arg(*kanji));
        table.insert(*kanji, std::move(strokes));
    }
    m_strokes = std::move(table);
}

const std::vector<ReferenceStroke>* StrokeOrderTable::strokesOf(const QString& kanji) const
{
    const auto it = m_strokes.constFind(kanji);
    return it == m_strokes.cend() ? nullptr : &it.value();
}

} // namespace moji::handwriting
