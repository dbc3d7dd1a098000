#pragma once

#include "strokecheck.h"

#include <QHash>
#include <QString>

#include <vector>

namespace moji::handwriting {

// A kanji of the kanji dictionary, in its order, with its stroke count: what the stroke order
// table must hold in the same place.
struct DictionaryKanji {
    QString kanji;
    int strokes = 0;
};

// The stroke order of the 440 kanji of grades 1 to 3, read from the program's Kakijun.dat
// (compiled at build time from the stroke data of Debian's python3-kanjidraw, derived from
// KanjiVG).
class StrokeOrderTable {
public:
    // Raises FileError naming Kakijun.dat when the file cannot be read or is damaged: when it
    // does not hold the dictionary's kanji in the dictionary's order, each with the
    // dictionary's stroke count, or when a kanji's strokes all lie on one spot. A table that
    // passes the form alone would make right writing wrong, or any writing right. A refused
    // file leaves the table as it was.
    void load(const QString& path, const std::vector<DictionaryKanji>& dictionary);
    // The strokes of a kanji, or nullptr for a kanji the table does not hold.
    const std::vector<ReferenceStroke>* strokesOf(const QString& kanji) const;

private:
    QHash<QString, std::vector<ReferenceStroke>> m_strokes;
};

} // namespace moji::handwriting
