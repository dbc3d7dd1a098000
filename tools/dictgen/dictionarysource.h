#pragma once

#include "kanjifacts.h"
#include "records.h"
#include "table.h"

#include <QString>

#include <array>
#include <map>
#include <vector>

namespace moji::content {

// The eight groups of the radical panel, in button order (group numbers 1 to 8).
inline const std::array<QString, 8> GroupNames = {
    QStringLiteral("へん"), QStringLiteral("つくり"), QStringLiteral("かんむり"), QStringLiteral("あし"),
    QStringLiteral("かまえ"), QStringLiteral("たれ"), QStringLiteral("にょう"), QStringLiteral("その他"),
};

// Where a part's picture is drawn in its square.
enum class PartBox { Font, Left, Right, Top, Bottom };

struct Part {
    int group = 0;   // 1 to 8
    int number = 0;  // 1 to 40, the button within the group
    int picture = 0; // 1-based position in the picture strip
    QString part;
    QString name;
    QString render;
    PartBox box = PartBox::Font;
    std::vector<int> kanji; // KanjiNo of every kanji listed under this part, in file order
};

struct KanjiChoice {
    int kanjiNo = 0;
    const Part* part1 = nullptr;
    const Part* part2 = nullptr;
};

// Limits of the data formats and of the panels that show them.
constexpr int MaxPartsPerGroup = 40;
constexpr int MaxKanjiPerPart = 50;
constexpr int MaxKanjiPerStrokeCount = 100;

// The kanji dictionary as described by content/kanji: facts, parts and component choices,
// checked against every limit. Problems are collected, not thrown, so one build lists them all.
class DictionarySource {
public:
    DictionarySource() = default;
    // Choices point into the part list.
    DictionarySource(const DictionarySource&) = delete;
    DictionarySource& operator=(const DictionarySource&) = delete;

    void load(const QString& folder, Problems& problems);

    const std::vector<KanjiFact>& facts() const { return m_facts; }
    const std::vector<Part>& parts() const { return m_parts; }
    const std::vector<KanjiChoice>& choices() const { return m_choices; }

    // Records in file order: this grade's kanji first, so that they lead every list a pupil
    // pages through, then the earlier grades'.
    std::vector<KanjiRecord> kanjiRecords() const;
    std::vector<RadicalRecord> radicalRecords() const;

private:
    void readParts(const QString& path, Problems& problems);
    void readChoices(const QString& path, Problems& problems);
    void checkLimits(Problems& problems);
    const Part* findPart(const QString& ref, const Row& row, Problems& problems);

    std::vector<KanjiFact> m_facts;
    std::vector<Part> m_parts;
    std::vector<KanjiChoice> m_choices;
};

} // namespace moji::content
