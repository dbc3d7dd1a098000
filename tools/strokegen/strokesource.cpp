#include "strokesource.h"

#include "errors.h"
#include "filestore.h"
#include "textcodec.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace moji::content {

namespace {

constexpr int Square = 256;

// Every kanji of data.json with its strokes, whatever count it is filed under.
QHash<QString, QJsonArray> strokesByKanji(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(filestore::readAll(path, name), &error);
    if (!document.isObject())
        throw FileError(name, QStringLiteral("not a JSON object: %1").arg(error.errorString()));
    QHash<QString, QJsonArray> out;
    const QJsonObject byCount = document.object();
    for (auto count = byCount.begin(); count != byCount.end(); ++count) {
        if (!count->isObject())
            throw FileError(name, QStringLiteral("the entry for %1 strokes is not an object").arg(count.key()));
        const QJsonObject kanji = count->toObject();
        for (auto k = kanji.begin(); k != kanji.end(); ++k)
            out.insert(k.key(), k->toArray());
    }
    return out;
}

} // namespace

std::vector<StrokeOrderRecord> strokeOrderRecords(const QString& dataJson, const std::vector<KanjiFact>& facts,
                                                  Problems& problems)
{
    const QHash<QString, QJsonArray> data = strokesByKanji(dataJson);
    std::vector<StrokeOrderRecord> records;
    for (const KanjiFact& f : facts) {
        const auto strokes = data.constFind(f.kanji);
        if (strokes == data.cend()) {
            problems.add(f.kanji, QStringLiteral("no stroke data"));
            continue;
        }
        const int count = int(strokes->size());
        if (count > StrokeOrderRecord::MaxStrokes) {
            problems.add(f.kanji, QStringLiteral("%1 strokes, a record holds %2").arg(count).arg(StrokeOrderRecord::MaxStrokes));
            continue;
        }
        if (count != f.strokesKanjivg) {
            problems.add(f.kanji, QStringLiteral("%1 strokes in the stroke data, %2 in strokes_kanjivg").arg(count).arg(f.strokesKanjivg));
            continue;
        }
        const auto glyph = cp932::encode(f.kanji);
        if (!glyph || glyph->size() != 2) {
            problems.add(f.kanji, QStringLiteral("no double-byte CP932 form"));
            continue;
        }
        StrokeOrderRecord r;
        r.GlyphLead = uint8_t((*glyph)[0]);
        r.GlyphTrail = uint8_t((*glyph)[1]);
        r.StrokeCount = int16_t(count);
        bool whole = true;
        for (int i = 0; i < count; ++i) {
            const QJsonArray stroke = strokes->at(i).toArray();
            for (int c = 0; c < 4; ++c) {
                const int value = stroke.at(c).toInt(-1); // -1 for anything but a whole number
                if (stroke.size() != 4 || value < 0 || value >= Square) {
                    problems.add(f.kanji, QStringLiteral("stroke %1 is not four whole numbers in 0..%2").arg(i + 1).arg(Square - 1));
                    whole = false;
                    break;
                }
                r.Strokes[std::size_t(i)][std::size_t(c)] = uint8_t(value);
            }
            if (!whole)
                break;
        }
        if (whole)
            records.push_back(r);
    }
    return records;
}

} // namespace moji::content
