#pragma once

#include "kanjifacts.h"
#include "records.h"
#include "table.h"

#include <QString>

#include <vector>

namespace moji::content {

// The stroke order file (Kakijun.dat): one record per kanji of `facts`, in KanjiNo order, from
// the stroke data of python3-kanjidraw (data.json: stroke count -> kanji -> [x1, y1, x2, y2] of
// each stroke in a 0..255 square, derived from KanjiVG). A kanji that is missing, has more
// strokes than a record holds, a count other than `strokes_kanjivg` of the facts, or a point
// outside the square is reported to `problems` by name. Raises FileError when data.json cannot
// be read or is not that shape.
std::vector<StrokeOrderRecord> strokeOrderRecords(const QString& dataJson, const std::vector<KanjiFact>& facts,
                                                  Problems& problems);

} // namespace moji::content
