#pragma once

#include "table.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace moji::content {

// One row of content/kanji/kanji-facts.tsv.
struct KanjiFact {
    int kanjiNo = 0;
    QString kanji;
    int grade = 0;
    int strokes = 0;
    int strokesKanjivg = 0; // as KanjiVG draws the kanji: the count its stroke data must have
    QString radicalForm;
    QString radicalPosition;
    QStringList onReadings;  // katakana, as listed
    QStringList kunReadings; // hiragana with '.' before okurigana and '-' for affixes
};

// All 440 rows in KanjiNo order; raises FileError or reports malformed rows to `problems`.
std::vector<KanjiFact> readKanjiFacts(const QString& path, Problems& problems);

// Hiragana for the katakana in `text`; other characters unchanged.
QString toHiragana(const QString& text);

} // namespace moji::content
