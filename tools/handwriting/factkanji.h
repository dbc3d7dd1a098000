#pragma once

#include <QStringList>

namespace moji::handwriting {

// The kanji of content/kanji/kanji-facts.tsv in KanjiNo order: all of them (grade 0) or those
// of one grade. Raises FileError naming the table when it cannot be read or a row is malformed.
QStringList kanjiOfFacts(const QString& path, int grade = 0);

} // namespace moji::handwriting
