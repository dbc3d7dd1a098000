#pragma once

#include "records.h"

#include <QDate>
#include <QString>

#include <vector>

namespace moji {

// One row of a game's best-ten table as shown.
struct ScoreRow {
    bool isNew = false; // the result just played ("＊")
    int score = 0;
    SjisString<10> name; // as stored, or the pupil's as registered
    QString date; // "yy/mm/dd"
    double storedDate = 0; // kept for a date that cannot be shown
};

// Ranking a game's result among the ten best, and the table's file: "Game" + (the game's
// hint topic − 1) + ".dat", at most ten 24-byte records, best first.
class ScoreTable {
public:
    static constexpr int MaxRows = 10;

    // "Game1.dat" for the matching game (topic 2), "Game13.dat" for the catcher (topic 14).
    static QString fileName(int gameHintTopic);

    // The new result goes before the first stored result whose score is not higher, so on
    // equal scores it ranks above the older ones; the table keeps ten rows at most.
    static std::vector<ScoreRow> rank(const std::vector<GameScoreRecord>& stored, int score,
                                      const SjisString<10>& name, const QDate& today);
    // The new result's row from 1, or 0 when it did not get in.
    static int newRow(const std::vector<ScoreRow>& rows);
    // The result message: the row reached, or that the result did not get in.
    static QString message(int newRow);

    // "yy/mm/dd", and back, the two-digit year read in the century of `today` (or the one
    // before, for a year that would lie in the future).
    static QString formatDate(const QDate& date);
    static QDate parseDate(const QString& text, const QDate& today);

    // The records written back, each rebuilt from its row's texts; names keep their bytes.
    static std::vector<GameScoreRecord> records(const std::vector<ScoreRow>& rows, const QDate& today);
};

} // namespace moji
