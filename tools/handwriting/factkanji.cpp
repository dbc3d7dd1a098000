#include "factkanji.h"

#include "errors.h"
#include "kanjifacts.h"

#include <QFileInfo>

namespace moji::handwriting {

QStringList kanjiOfFacts(const QString& path, int grade)
{
    content::Problems problems;
    const auto facts = content::readKanjiFacts(path, problems);
    if (!problems.empty())
        throw FileError(QFileInfo(path).fileName(), problems.list().join(QStringLiteral("; ")));
    QStringList kanji;
    for (const content::KanjiFact& f : facts) {
        if (grade == 0 || f.grade == grade)
            kanji << f.kanji;
    }
    return kanji;
}

} // namespace moji::handwriting
