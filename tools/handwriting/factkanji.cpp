#include "factkanji.h"

#include "errors.h"
#include "kanjifacts.h"

#include <QFileInfo>

namespace moji::handwriting {

namespace {

std::vector<content::KanjiFact> facts(const QString& path)
{
    content::Problems problems;
    auto facts = content::readKanjiFacts(path, problems);
    if (!problems.empty())
        throw FileError(QFileInfo(path).fileName(), problems.list().join(QStringLiteral("; ")));
    return facts;
}

} // namespace

QStringList kanjiOfFacts(const QString& path, int grade)
{
    QStringList kanji;
    for (const content::KanjiFact& f : facts(path)) {
        if (grade == 0 || f.grade == grade)
            kanji << f.kanji;
    }
    return kanji;
}

std::vector<DictionaryKanji> dictionaryOfFacts(const QString& path)
{
    std::vector<DictionaryKanji> out;
    for (const content::KanjiFact& f : facts(path))
        out.push_back({f.kanji, f.strokes});
    return out;
}

} // namespace moji::handwriting
