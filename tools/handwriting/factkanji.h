#pragma once

#include "strokeorder.h"

#include <QStringList>

#include <vector>

namespace moji::handwriting {

// The kanji of content/kanji/kanji-facts.tsv in KanjiNo order: all of them (grade 0) or those
// of one grade. Raises FileError naming the table when it cannot be read or a row is malformed.
QStringList kanjiOfFacts(const QString& path, int grade = 0);

// All 440 kanji of the table in KanjiNo order with their stroke counts, as the kanji
// dictionary made from it holds them: what Kakijun.dat is checked against.
std::vector<DictionaryKanji> dictionaryOfFacts(const QString& path);

} // namespace moji::handwriting
