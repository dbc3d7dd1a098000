#include "scoretable.h"

#include "daynumber.h"

namespace moji {

QString ScoreTable::fileName(int gameHintTopic)
{
    return QStringLiteral("Game%1.dat").arg(gameHintTopic - 1);
}

QString ScoreTable::formatDate(const QDate& date)
{
    return daynumber::japanese(date);
}

QDate ScoreTable::parseDate(const QString& text, const QDate& today)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return {};
    bool okY = false, okM = false, okD = false;
    const int yy = parts[0].toInt(&okY);
    const int mm = parts[1].toInt(&okM);
    const int dd = parts[2].toInt(&okD);
    if (!okY || !okM || !okD || yy < 0)
        return {};
    if (parts[0].size() == 4)
        return QDate(yy, mm, dd);
    if (yy > 99)
        return {};
    // A two-digit year: the current century, unless that lies in the future.
    int year = today.year() / 100 * 100 + yy;
    if (year > today.year() + 1)
        year -= 100;
    return QDate(year, mm, dd);
}

std::vector<ScoreRow> ScoreTable::rank(const std::vector<GameScoreRecord>& stored, int score,
                                       const SjisString<10>& name, const QDate& today)
{
    std::vector<ScoreRow> rows;
    bool placed = false;
    auto addNew = [&] {
        rows.push_back({true, score, name, formatDate(today), daynumber::fromDate(today)});
        placed = true;
    };
    for (std::size_t i = 0; i < stored.size() && i < std::size_t(MaxRows); ++i) {
        const GameScoreRecord& r = stored[i];
        if (!placed && r.Score <= score)
            addNew();
        rows.push_back({false, r.Score, r.Name, formatDate(daynumber::toDate(r.Date).value_or(QDate())), r.Date});
    }
    if (!placed)
        addNew();
    if (rows.size() > std::size_t(MaxRows))
        rows.resize(MaxRows);
    return rows;
}

int ScoreTable::newRow(const std::vector<ScoreRow>& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].isNew)
            return int(i) + 1;
    }
    return 0;
}

QString ScoreTable::message(int newRow)
{
    if (newRow == 0)
        return QStringLiteral("ざんねん！ １０いまでにはいれなかった。またがんばろう！");
    return QStringLiteral("やった！  ") + QString::number(newRow) + QStringLiteral(" いにはいったよ。またがんばろう！");
}

std::vector<GameScoreRecord> ScoreTable::records(const std::vector<ScoreRow>& rows, const QDate& today)
{
    std::vector<GameScoreRecord> out;
    for (const ScoreRow& row : rows) {
        GameScoreRecord r;
        r.Score = int16_t(QString::number(row.score).toInt());
        r.Name = row.name;
        const QDate date = parseDate(row.date, today);
        // A stored date that could not be shown is kept as it was rather than lost.
        r.Date = date.isValid() ? daynumber::fromDate(date) : row.storedDate;
        out.push_back(r);
    }
    return out;
}

} // namespace moji
