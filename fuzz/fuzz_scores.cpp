// Game1.dat (the matching game) and Game13.dat (the catcher) through what the table screen
// does after a game: read the stored rows, rank the new result among them, write the table
// back. The table written must read again, ten rows at most, every name as it was.

#include "daynumber.h"
#include "filestore.h"
#include "fuzzsupport.h"
#include "hintcontext.h"
#include "scoretable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // The first byte picks the game and the new result; the rest is the file.
    if (size < 1)
        return 0;
    const int game = data[0] & 1 ? moji::HintTopics::CatcherGame : moji::HintTopics::MatchingGame;
    const int score = int(data[0] >> 1) * 3;
    const QString file = moji::ScoreTable::fileName(game);
    const QString path = fuzz::writeInput(file, data + 1, size - 1);
    const QDate today = moji::daynumber::toDate(fuzz::fixedClock().now()).value();
    try {
        const auto stored = moji::filestore::readRecords<moji::GameScoreRecord>(path, file);
        const std::vector<moji::ScoreRow> rows = moji::ScoreTable::rank(stored, score, moji::SjisString<10>::fromUnicode(QStringLiteral("じろう")), today);
        FUZZ_CHECK(rows.size() <= std::size_t(moji::ScoreTable::MaxRows));
        const int row = moji::ScoreTable::newRow(rows);
        (void)moji::ScoreTable::message(row);
        QByteArray bytes;
        for (const moji::GameScoreRecord& r : moji::ScoreTable::records(rows, today))
            bytes += r.encode();
        moji::filestore::writeAtomically(path, file, bytes);
        const auto written = moji::filestore::readRecords<moji::GameScoreRecord>(path, file);
        FUZZ_CHECK(written.size() == rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            FUZZ_CHECK(written[i].Name == rows[i].name); // names go back byte for byte
        if (row > 0)
            FUZZ_CHECK(written[std::size_t(row - 1)].Score == score);
    } catch (const moji::DataError&) {
    }
    return 0;
}
