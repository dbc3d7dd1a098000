#pragma once

#include "records.h"
#include "table.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace moji::content {

struct HintSource {
    QString where;
    int topic = 0;
    int section = 0;
    int mode = 0;
    QStringList level1; // the red prompt, up to five lines
    QStringList level2; // the blue explanation, up to five lines
};

constexpr int MaxHints = 100;
constexpr int MaxHintLines = 5;

// content/hints/hints.txt: "@ topic section mode" starts a hint; "1:" and "2:" lines give its
// level-1 and level-2 text. The hints of one context must be consecutive, since the hint
// screen pages only through a run of records.
std::vector<HintSource> readHints(const QString& path, Problems& problems);

// Records numbered by position (hint number n is record n).
std::vector<HintRecord> hintRecords(const std::vector<HintSource>& hints);

} // namespace moji::content
